// lines_gauss: Steger's line detector. Each pixel's second derivatives across the line (the
// Hessian's eigenvalue of largest size) and the first ones give, by a quadratic fit, where the
// line's centre lies; centres within the pixel, of the asked sign and strong enough, are linked
// into contours as edges_sub_pix links its points.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/filters/facet_derivatives.h"
#include "operators/filters/gauss_derivatives.h"
#include "operators/xld/xld_link.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum class LineModel { None, Bar, Parabolic, Gaussian };

// The slope at x of a line profile of half-width w and height 1 smoothed by the Gaussian of
// sigma 1 (its sign does not matter).
double smoothedSlope(LineModel model, double w, double x) {
  const auto gauss = [](double t) { return std::exp(-t * t / 2) / std::sqrt(2 * kPi); };
  const auto cumulative = [](double t) { return 0.5 * std::erfc(-t / std::sqrt(2.0)); };
  switch (model) {
    case LineModel::Gaussian: {
      const double s2 = w * w + 1;
      return x / s2 * std::exp(-x * x / (2 * s2)) / std::sqrt(s2);
    }
    case LineModel::Parabolic: {
      // 1 - u^2 / w^2 on [-w, w]: the integral of its slope -2u / w^2 against the Gaussian.
      if (w <= 0) return x * gauss(x);
      const double a = -w - x, b = w - x;
      return 2 / (w * w) * ((gauss(a) - gauss(b)) + x * (cumulative(b) - cumulative(a)));
    }
    default:
      if (w <= 0) return x * gauss(x);
      return gauss(x - w) - gauss(x + w);
  }
}

// Where the smoothed profile is steepest beyond its centre, for half-widths w = 0 ... 8 in
// sigma 1: the width a line of that model shows.
std::vector<double> tabulateShownWidths(LineModel model) {
  std::vector<double> shown;
  for (int i = 0; i <= 400; ++i) {
    const double w = i * 0.02;
    double best = 0, bestX = 0;
    for (double x = 0.005; x < w + 8; x += 0.005) {
      const double s = std::fabs(smoothedSlope(model, w, x));
      if (s > best) best = s, bestX = x;
    }
    shown.push_back(bestX);
  }
  return shown;
}

// Each model's table, made when first needed and kept: it takes a million evaluations of the
// profile, more than the rest of a call on a camera image.
const std::vector<double>& shownWidths(LineModel model) {
  switch (model) {
    case LineModel::Parabolic: {
      static const std::vector<double> parabolic = tabulateShownWidths(model);
      return parabolic;
    }
    case LineModel::Gaussian: {
      static const std::vector<double> gaussian = tabulateShownWidths(model);
      return gaussian;
    }
    default: {
      static const std::vector<double> bar = tabulateShownWidths(LineModel::Bar);
      return bar;
    }
  }
}

// The half-width of the model's line that shows `shown` (in sigma 1), from the table: the
// reference's correction of the width's bias.
double trueWidth(const std::vector<double>& table, double shown) {
  if (shown <= table.front()) return 0;
  for (std::size_t i = 1; i < table.size(); ++i) {
    if (shown <= table[i]) {
      const double f = (shown - table[i - 1]) / (table[i] - table[i - 1]);
      return 0.02 * (double(i - 1) + f);
    }
  }
  // Beyond the table a line shows its own width less a constant.
  return shown - (table.back() - 8);
}

struct Derivatives {
  const std::vector<double>&x, &y, &xx, &xy, &yy;
};

double bilinear(const std::vector<double>& plane, std::int32_t w, std::int32_t h, double r,
                double c) {
  r = std::min(std::max(r, 0.0), h - 1.0), c = std::min(std::max(c, 0.0), w - 1.0);
  const auto r0 = static_cast<std::int32_t>(r), c0 = static_cast<std::int32_t>(c);
  const std::int32_t r1 = std::min(r0 + 1, h - 1), c1 = std::min(c0 + 1, w - 1);
  const double fr = r - r0, fc = c - c0;
  const auto at = [&](std::int32_t y, std::int32_t x) {
    return plane[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                 static_cast<std::size_t>(x)];
  };
  return (1 - fr) * ((1 - fc) * at(r0, c0) + fc * at(r0, c1)) +
         fr * ((1 - fc) * at(r1, c0) + fc * at(r1, c1));
}

// The distance from (r, c) along (dx, dy) to the line's edge, where the profile is steepest:
// where the second derivative across the line, which has the sign of `lambda` on the line,
// first changes sign. Sampled a pixel apart (bilinear between the pixels) and interpolated
// linearly between the two samples about the change; `reach` when there is none within it.
double edgeDistance(const Derivatives& d, std::int32_t w, std::int32_t h, double r, double c,
                    double dx, double dy, double lambda, double reach) {
  const auto across = [&](double s) {
    const double y = r + s * dy, x = c + s * dx;
    return (dx * dx * bilinear(d.xx, w, h, y, x) + 2 * dx * dy * bilinear(d.xy, w, h, y, x) +
            dy * dy * bilinear(d.yy, w, h, y, x)) *
           (lambda < 0 ? 1 : -1);
  };
  const int steps = std::max(1, static_cast<int>(std::ceil(reach)));
  double before = across(0);
  for (int i = 1; i <= steps; ++i) {
    const double here = across(i);
    if (here >= 0) return before < 0 ? i - 1 + before / (before - here) : i - 1.0;
    before = here;
  }
  return reach;
}

bool isOneOf(const std::string& value, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (value == name) return true;
  }
  return false;
}

// What a line point must be and what it carries.
struct LineSearch {
  bool light;
  double low, high;
  bool widths;  // lines_gauss's widths, corrected by `model`'s `table`, the search 3 sigma + 1
  LineModel model;
  const std::vector<double>& table;
  double sigma;
};

// The image's line points from the derivatives: where the second derivative across the line
// has the side's sign and size, and the profile's extremum along the normal is in the pixel.
std::vector<LinkPoint> linePoints(const Derivatives& d, const ImageObject& image,
                                  const LineSearch& search) {
  const std::int32_t w = image.width, h = image.height;
  const double low = search.low, high = search.high, sigma = search.sigma;
  const bool widths = search.widths;
  std::vector<LinkPoint> points;
  for (const Run& run : clipRuns(*image.domain, h, w)) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      const std::size_t i = static_cast<std::size_t>(run.row) * static_cast<std::size_t>(w) +
                            static_cast<std::size_t>(c);
      const double a = d.xx[i], b = d.xy[i], e = d.yy[i];
      const double mean = (a + e) / 2, dev = std::hypot((a - e) / 2, b);
      const double lambda =
          std::fabs(mean + dev) >= std::fabs(mean - dev) ? mean + dev : mean - dev;
      // A light line curves down across itself, a dark one up.
      if (search.light ? !(lambda < 0) : !(lambda > 0)) continue;
      const double response = std::fabs(lambda);
      if (response < low) continue;
      // The eigenvector of lambda from whichever row of H - lambda I is the larger.
      double nx = b, ny = lambda - a;
      if (std::hypot(lambda - e, b) > std::hypot(nx, ny)) nx = lambda - e, ny = b;
      const double norm = std::hypot(nx, ny);
      if (norm > 0) {
        nx /= norm, ny /= norm;
      } else {
        nx = 1, ny = 0;
      }
      const double t = -(d.x[i] * nx + d.y[i] * ny) / lambda;
      if (!(std::fabs(t * nx) <= 0.5 && std::fabs(t * ny) <= 0.5)) continue;
      LinkPoint& p = points.emplace_back();
      p.pixel = i;
      p.row = run.row + t * ny, p.col = c + t * nx;
      // The normal's angle counter-clockwise from the row axis (x is the column, y the row),
      // turned to the contour's right once linked.
      p.values[0] = std::atan2(nx, ny), p.values[1] = response;
      if (widths) {
        // 'width_left' against the normal, 'width_right' along it; linking swaps them where it
        // turns the normal. The search stops at the image's side, however large Sigma.
        const double reach = std::min(3 * sigma + 1, double(std::max(w, h)));
        std::size_t k = 2;
        for (const double sign : {-1.0, 1.0}) {
          double shown = edgeDistance(d, w, h, p.row, p.col, sign * nx, sign * ny, lambda, reach);
          if (search.model != LineModel::None)
            shown = sigma * trueWidth(search.table, shown / sigma);
          p.values[k++] = shown;
        }
      }
      p.state = response >= high ? 2 : 1;
    }
  }
  return points;
}

// The pixel types both line detectors take, and their first channel as doubles.
constexpr PixelTypes kLineTypes = {PixelType::Byte,  PixelType::Int1, PixelType::Int2,
                                   PixelType::Uint2, PixelType::Int4, PixelType::Real};

std::vector<double> firstPlane(const ImageObject& image) {
  const std::size_t n =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  const PixelReader read = readerOf(image.type());
  std::vector<double> plane(n);
  for (std::size_t i = 0; i < n; ++i) plane[i] = read(image.pixels(0), i);
  return plane;
}

}  // namespace

void LinesGauss(const HObject& Image, HObject* Lines, const HTuple& Sigma, const HTuple& Low,
                const HTuple& High, const HTuple& LightDark, const HTuple& ExtractWidth,
                const HTuple& LineModel_, const HTuple& CompleteJunctions) {
  ApiScope scope("LinesGauss");
  const char* op = "lines_gauss";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma > 0)) fail(op, 1301);
  const double low = oneNumber(Low, op, 2), high = oneNumber(High, op, 3);
  if (!(low >= 0)) fail(op, 1302);
  if (!(high >= low)) fail(op, 1303);
  const std::string side = oneString(LightDark, op, 4);
  if (!isOneOf(side, {"light", "dark"})) fail(op, 1304);
  const std::string width = oneString(ExtractWidth, op, 5);
  if (!isOneOf(width, {"true", "false"})) fail(op, 1305);
  const std::string modelName = oneString(LineModel_, op, 6);
  if (!isOneOf(modelName, {"none", "bar-shaped", "parabolic", "gaussian"})) fail(op, 1306);
  if (!isOneOf(oneString(CompleteJunctions, op, 7), {"true", "false"})) fail(op, 1307);
  const LineModel model = modelName == "bar-shaped"  ? LineModel::Bar
                          : modelName == "parabolic" ? LineModel::Parabolic
                          : modelName == "gaussian"  ? LineModel::Gaussian
                                                     : LineModel::None;
  const bool widths = width == "true";
  static const std::vector<double> none;
  const std::vector<double>& table = widths && model != LineModel::None ? shownWidths(model) : none;
  std::vector<std::string> names = {"angle", "response"};
  if (widths) names.insert(names.end(), {"width_left", "width_right"});
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, kLineTypes)) {
    const std::int32_t w = image->width, h = image->height;
    if (image->channels.empty() || w < 1 || h < 1) continue;
    std::vector<double> plane = firstPlane(*image);
    GaussDerivatives g(std::move(plane), w, h, sigma, sigma);
    const Derivatives d{g.get(1, 0), g.get(0, 1), g.get(2, 0), g.get(1, 1), g.get(0, 2)};
    const LineSearch search{side == "light", low, high, widths, model, table, sigma};
    const std::vector<LinkPoint> points = linePoints(d, *image, search);
    for (ContourPtr& contour : linkPoints(points, w, h, names)) items.push_back(std::move(contour));
  }
  setOutput(Lines, objectOf(items));
}

void LinesFacet(const HObject& Image, HObject* Lines, const HTuple& MaskSize, const HTuple& Low,
                const HTuple& High, const HTuple& LightDark) {
  ApiScope scope("LinesFacet");
  const char* op = "lines_facet";
  const Hlong size = oneInteger(MaskSize, op, 1);
  if (size < 3 || size % 2 == 0) fail(op, 1301);
  const double low = oneNumber(Low, op, 2), high = oneNumber(High, op, 3);
  if (!(low >= 0)) fail(op, 1302);
  if (!(high >= low)) fail(op, 1303);
  const std::string side = oneString(LightDark, op, 4);
  if (!isOneOf(side, {"light", "dark"})) fail(op, 1304);
  static const std::vector<double> none;
  const LineSearch search{side == "light", low, high, false, LineModel::None, none, 0};
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, kLineTypes)) {
    const std::int32_t w = image->width, h = image->height;
    if (image->channels.empty() || w < 1 || h < 1) continue;
    std::vector<double> plane = firstPlane(*image);
    // A window is cut to twice the image's larger side, so that no MaskSize exhausts memory
    // or time; the mirrored image repeats itself beyond that anyway.
    const auto window = static_cast<std::int32_t>(std::min<Hlong>(size, 2 * std::max(w, h) + 1));
    const FacetDerivatives f = facetDerivatives(plane, w, h, window);
    const Derivatives d{f.x, f.y, f.xx, f.xy, f.yy};
    for (ContourPtr& contour :
         linkPoints(linePoints(d, *image, search), w, h, {"angle", "response"}))
      items.push_back(std::move(contour));
  }
  setOutput(Lines, objectOf(items));
}

}  // namespace HalconCpp
