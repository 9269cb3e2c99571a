// edges_sub_pix: gradients of a byte image ('canny': derivatives of a Gaussian of standard
// deviation Alpha; 'sobel_fast': the Sobel masks), maxima of the gradient amplitude along the
// gradient found to a fraction of a pixel, hysteresis between Low and High, and the maxima
// linked into contours through their 8-neighbours.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_params.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Gradients {
  std::int32_t width = 0, height = 0;
  std::vector<double> gr, gc, amp;
  std::size_t at(std::int32_t r, std::int32_t c) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(c);
  }
};

std::int32_t mirrored(std::int32_t i, std::int32_t n) {
  if (n == 1) return 0;
  while (i < 0 || i >= n) i = i < 0 ? -i - 1 : 2 * n - i - 1;
  return i;
}

// One pass of a 1-D correlation along rows (alongCols false) or columns, borders mirrored.
// The mirrored index of every tap is worked out once, not per pixel.
std::vector<double> correlate(const std::vector<double>& src, std::int32_t w, std::int32_t h,
                              const std::vector<double>& kernel, bool alongCols) {
  const auto half = static_cast<std::int32_t>(kernel.size() / 2);
  const std::int32_t n = alongCols ? w : h;
  std::vector<std::size_t> index(static_cast<std::size_t>(n) * kernel.size());
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t k = -half; k <= half; ++k) {
      index[static_cast<std::size_t>(i) * kernel.size() + static_cast<std::size_t>(k + half)] =
          static_cast<std::size_t>(mirrored(i + k, n));
    }
  }
  const auto width = static_cast<std::size_t>(w);
  std::vector<double> dst(src.size(), 0.0);
  for (std::int32_t r = 0; r < h; ++r) {
    double* out = dst.data() + static_cast<std::size_t>(r) * width;
    if (!alongCols) {
      // Whole rows scaled and added, a loop the compiler turns into vector steps.
      const std::size_t* taps = index.data() + static_cast<std::size_t>(r) * kernel.size();
      for (std::size_t k = 0; k < kernel.size(); ++k) {
        const double* line = src.data() + taps[k] * width;
        const double weight = kernel[k];
        for (std::size_t c = 0; c < width; ++c) out[c] += weight * line[c];
      }
      continue;
    }
    const double* row = src.data() + static_cast<std::size_t>(r) * width;
    for (std::int32_t c = 0; c < w; ++c) {
      const std::size_t* taps = index.data() + static_cast<std::size_t>(c) * kernel.size();
      double sum = 0;
      for (std::size_t k = 0; k < kernel.size(); ++k) sum += kernel[k] * row[taps[k]];
      out[c] = sum;
    }
  }
  return dst;
}

// The Gaussian of sigma and its derivative, scaled so that a ramp of slope 1 gives 1.
void gaussKernels(double sigma, std::vector<double>* smooth, std::vector<double>* derive) {
  const auto half = static_cast<std::int32_t>(std::ceil(3 * sigma));
  double sum = 0, moment = 0;
  for (std::int32_t k = -half; k <= half; ++k) {
    const double g = std::exp(-0.5 * k * k / (sigma * sigma));
    smooth->push_back(g);
    derive->push_back(k * g);
    sum += g;
    moment += k * k * g;
  }
  for (double& g : *smooth) g /= sum;
  for (double& d : *derive) d /= moment;
}

Gradients gradientsOf(const ImageObject& image, bool canny, double alpha) {
  Gradients g;
  g.width = image.width, g.height = image.height;
  const std::size_t n = static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height);
  std::vector<double> src(image.pixels(0), image.pixels(0) + n);
  std::vector<double> smooth, derive;
  if (canny) {
    gaussKernels(alpha, &smooth, &derive);
  } else {
    smooth = {0.25, 0.5, 0.25};
    derive = {-0.5, 0, 0.5};
  }
  g.gr =
      correlate(correlate(src, g.width, g.height, smooth, true), g.width, g.height, derive, false);
  g.gc =
      correlate(correlate(src, g.width, g.height, smooth, false), g.width, g.height, derive, true);
  g.amp.resize(n);
  for (std::size_t i = 0; i < n; ++i) g.amp[i] = std::sqrt(g.gr[i] * g.gr[i] + g.gc[i] * g.gc[i]);
  return g;
}

double bilinear(const Gradients& g, double r, double c) {
  r = std::clamp(r, 0.0, g.height - 1.0), c = std::clamp(c, 0.0, g.width - 1.0);
  const auto r0 = static_cast<std::int32_t>(std::floor(r)),
             c0 = static_cast<std::int32_t>(std::floor(c));
  const std::int32_t r1 = std::min(r0 + 1, g.height - 1), c1 = std::min(c0 + 1, g.width - 1);
  const double fr = r - r0, fc = c - c0;
  return (1 - fr) * ((1 - fc) * g.amp[g.at(r0, c0)] + fc * g.amp[g.at(r0, c1)]) +
         fr * ((1 - fc) * g.amp[g.at(r1, c0)] + fc * g.amp[g.at(r1, c1)]);
}

struct EdgePoint {
  double row = 0, col = 0, response = 0, direction = 0;
  int state = 0;  // 0 none, 1 weak, 2 strong, 3 linked
};

std::vector<ContourPtr> linkEdges(std::vector<EdgePoint>& points, const Gradients& g) {
  const std::int32_t w = g.width, h = g.height;
  const auto valid = [&](std::int32_t r, std::int32_t c) {
    return r >= 0 && r < h && c >= 0 && c < w;
  };
  // Hysteresis: weak points joined to a strong one through their 8-neighbours become strong.
  std::vector<std::size_t> stack;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].state == 2) stack.push_back(i);
  }
  while (!stack.empty()) {
    const std::size_t i = stack.back();
    stack.pop_back();
    const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
    const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
    for (std::int32_t dr = -1; dr <= 1; ++dr) {
      for (std::int32_t dc = -1; dc <= 1; ++dc) {
        if (!valid(r + dr, c + dc)) continue;
        EdgePoint& p = points[g.at(r + dr, c + dc)];
        if (p.state == 1) p.state = 2, stack.push_back(g.at(r + dr, c + dc));
      }
    }
  }
  const auto freeNeighbours = [&](std::int32_t r, std::int32_t c) {
    int count = 0;
    for (std::int32_t dr = -1; dr <= 1; ++dr) {
      for (std::int32_t dc = -1; dc <= 1; ++dc) {
        if ((dr || dc) && valid(r + dr, c + dc) && points[g.at(r + dr, c + dc)].state == 2) ++count;
      }
    }
    return count;
  };
  std::vector<ContourPtr> contours;
  const auto walk = [&](std::int32_t r, std::int32_t c) {
    auto contour = makeContour({}, {});
    std::vector<double> responses, directions;
    const std::int32_t r0 = r, c0 = c;
    for (;;) {
      EdgePoint& p = points[g.at(r, c)];
      p.state = 3;
      contour->rows.push_back(p.row), contour->cols.push_back(p.col);
      responses.push_back(p.response), directions.push_back(p.direction);
      // The next point is the free neighbour with fewest free neighbours of its own, edge
      // neighbours before diagonal ones, so that a thick corner strands no point.
      int best = 99;
      std::int32_t nr = 0, nc = 0;
      for (int diagonal = 0; diagonal < 2; ++diagonal) {
        for (std::int32_t dr = -1; dr <= 1; ++dr) {
          for (std::int32_t dc = -1; dc <= 1; ++dc) {
            if ((dr != 0 && dc != 0) != (diagonal == 1) || (dr == 0 && dc == 0)) continue;
            if (!valid(r + dr, c + dc) || points[g.at(r + dr, c + dc)].state != 2) continue;
            const int f = freeNeighbours(r + dr, c + dc);
            if (f < best) best = f, nr = r + dr, nc = c + dc;
          }
        }
      }
      if (best == 99) break;
      r = nr, c = nc;
    }
    // A walk ending beside its start closes.
    if (contour->size() > 2 && std::abs(r - r0) <= 1 && std::abs(c - c0) <= 1) {
      contour->rows.push_back(contour->rows.front());
      contour->cols.push_back(contour->cols.front());
      responses.push_back(responses.front()), directions.push_back(directions.front());
    }
    if (contour->size() < 2) return;
    std::vector<double> angles;
    for (double d : directions) angles.push_back(std::fmod(d + kPi / 2, kPi));
    contour->attribs = {{"edge_direction", directions}, {"angle", angles}, {"response", responses}};
    contours.push_back(contour);
  };
  // Open chains from their ends first, then what is left (closed rings) from anywhere.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::int32_t r = 0; r < h; ++r) {
      for (std::int32_t c = 0; c < w; ++c) {
        if (points[g.at(r, c)].state != 2) continue;
        if (pass == 0 && freeNeighbours(r, c) > 1) continue;
        walk(r, c);
      }
    }
  }
  return contours;
}

}  // namespace

void EdgesSubPix(const HObject& Image, HObject* Edges, const HTuple& Filter, const HTuple& Alpha,
                 const HTuple& Low, const HTuple& High) {
  ApiScope scope("EdgesSubPix");
  const char* op = "edges_sub_pix";
  const std::string filter = oneString(Filter, op, 1);
  if (filter != "canny" && filter != "sobel_fast") fail(op, 1301);
  const double alpha = oneNumber(Alpha, op, 2);
  if (filter == "canny" && !(alpha > 0 && alpha <= 50)) fail(op, 1302);
  const double low = oneNumber(Low, op, 3), high = oneNumber(High, op, 4);
  if (!(low >= 0)) fail(op, 1303);
  if (!(high >= low)) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1)) {
    if (image->channels.empty() || image->width < 1 || image->height < 1) continue;
    const Gradients g = gradientsOf(*image, filter == "canny", alpha);
    std::vector<EdgePoint> points(g.amp.size());
    // The domain as a mask, once, rather than a search per pixel.
    std::vector<std::uint8_t> inDomain(g.amp.size(), 0);
    for (const Run& run : clipRuns(*image->domain, g.height, g.width)) {
      std::fill_n(inDomain.begin() + static_cast<std::ptrdiff_t>(g.at(run.row, run.begin)),
                  run.end - run.begin + 1, std::uint8_t{1});
    }
    for (std::int32_t r = 0; r < g.height; ++r) {
      for (std::int32_t c = 0; c < g.width; ++c) {
        const double a = g.amp[g.at(r, c)];
        if (a <= 0 || a < low || !inDomain[g.at(r, c)]) continue;
        const double ur = g.gr[g.at(r, c)] / a, uc = g.gc[g.at(r, c)] / a;
        const double before = bilinear(g, r - ur, c - uc), after = bilinear(g, r + ur, c + uc);
        // Strictly above the neighbour behind, at least the one ahead: a plateau of two keeps
        // one point.
        if (!(a > before && a >= after)) continue;
        const double curve = before - 2 * a + after;
        const double t = curve < 0 ? std::clamp(0.5 * (before - after) / curve, -0.5, 0.5) : 0.0;
        EdgePoint& p = points[g.at(r, c)];
        p.row = r + t * ur;
        p.col = c + t * uc;
        p.response = a - 0.25 * (before - after) * t;
        double direction = std::atan2(-g.gr[g.at(r, c)], g.gc[g.at(r, c)]);
        // [0, 2pi), -0 included as 0.
        direction = direction < 0 ? direction + 2 * kPi : std::fabs(direction);
        p.direction = direction;
        p.state = a >= high ? 2 : 1;
      }
    }
    for (ContourPtr& contour : linkEdges(points, g)) items.push_back(std::move(contour));
  }
  setOutput(Edges, objectOf(items));
}

}  // namespace HalconCpp
