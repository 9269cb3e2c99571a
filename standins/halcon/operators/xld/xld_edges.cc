// edges_sub_pix: gradients of a byte image (operators/filters/edge_gradients.h), maxima of the
// gradient amplitude along the gradient found to a fraction of a pixel, hysteresis between Low and
// High, and the maxima linked into contours through their 8-neighbours.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/runs.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/filters/edge_gradients.h"
#include "operators/xld/xld_link.h"
#include "operators/xld/xld_params.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

double bilinear(const Gradients& g, double r, double c) {
  r = std::clamp(r, 0.0, g.height - 1.0), c = std::clamp(c, 0.0, g.width - 1.0);
  const auto r0 = static_cast<std::int32_t>(std::floor(r)),
             c0 = static_cast<std::int32_t>(std::floor(c));
  const std::int32_t r1 = std::min(r0 + 1, g.height - 1), c1 = std::min(c0 + 1, g.width - 1);
  const double fr = r - r0, fc = c - c0;
  return (1 - fr) * ((1 - fc) * g.amp[g.at(r0, c0)] + fc * g.amp[g.at(r0, c1)]) +
         fr * ((1 - fc) * g.amp[g.at(r1, c0)] + fc * g.amp[g.at(r1, c1)]);
}

// The maxima of rows [r0, r1): each depends on its own neighbourhood alone, so that rows in
// bands find the same points.
void maximaOfRows(const Gradients& g, const std::vector<std::uint8_t>& inDomain, double low,
                  double high, std::int32_t r0, std::int32_t r1, std::vector<LinkPoint>& points) {
  for (std::int32_t r = r0; r < r1; ++r) {
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
      LinkPoint& p = points.emplace_back();
      p.pixel = g.at(r, c);
      p.row = r + t * ur;
      p.col = c + t * uc;
      const double response = a - 0.25 * (before - after) * t;
      double direction = std::atan2(-g.gr[g.at(r, c)], g.gc[g.at(r, c)]);
      // [0, 2pi), -0 included as 0.
      direction = direction < 0 ? direction + 2 * kPi : std::fabs(direction);
      // 'angle' is the edge's own direction, a quarter turn on, modulo pi.
      p.values = {direction, std::fmod(direction + kPi / 2, kPi), response, 0.0};
      p.state = a >= high ? 2 : 1;
    }
  }
}

}  // namespace

void EdgesSubPix(const HObject& Image, HObject* Edges, const HTuple& Filter, const HTuple& Alpha,
                 const HTuple& Low, const HTuple& High) {
  ApiScope scope("EdgesSubPix");
  const char* op = "edges_sub_pix";
  EdgeFilter filter = EdgeFilter::Canny;
  if (!edgeFilterOf(oneString(Filter, op, 1), &filter)) fail(op, 1301);
  const double alpha = oneNumber(Alpha, op, 2);
  if (filter != EdgeFilter::SobelFast && !(alpha > 0)) fail(op, 1302);
  if (filter == EdgeFilter::Canny && !(alpha <= 50)) fail(op, 1302);
  const double low = oneNumber(Low, op, 3), high = oneNumber(High, op, 4);
  if (!(low >= 0)) fail(op, 1303);
  if (!(high >= low)) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1)) {
    if (image->channels.empty() || image->width < 1 || image->height < 1) continue;
    const std::size_t n =
        static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    const Gradients g = gradientsOf(std::vector<double>(image->pixels(0), image->pixels(0) + n),
                                    image->width, image->height, filter, alpha);
    // The domain as a mask, once, rather than a search per pixel.
    std::vector<std::uint8_t> inDomain(g.amp.size(), 0);
    for (const Run& run : clipRuns(*image->domain, g.height, g.width)) {
      std::fill_n(inDomain.begin() + static_cast<std::ptrdiff_t>(g.at(run.row, run.begin)),
                  run.end - run.begin + 1, std::uint8_t{1});
    }
    // Each band's points apart, then joined in the bands' order.
    const int bands = bandsFor(g.height, std::int64_t{g.width} * g.height);
    std::vector<std::vector<LinkPoint>> found(static_cast<std::size_t>(bands));
    forBands(g.height, bands, [&](int band, std::int64_t r0, std::int64_t r1) {
      maximaOfRows(g, inDomain, low, high, static_cast<std::int32_t>(r0),
                   static_cast<std::int32_t>(r1), found[static_cast<std::size_t>(band)]);
    });
    std::vector<LinkPoint> points;
    for (std::vector<LinkPoint>& part : found)
      points.insert(points.end(), part.begin(), part.end());
    for (ContourPtr& contour :
         linkPoints(points, g.width, g.height, {"edge_direction", "angle", "response"})) {
      items.push_back(std::move(contour));
    }
  }
  setOutput(Edges, objectOf(items));
}

}  // namespace HalconCpp
