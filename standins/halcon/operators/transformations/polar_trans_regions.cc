// Regions onto and back from the polar coordinates of an annular arc (polar_arc.h). A pixel
// of the result belongs to it when its centre maps into the input region: into a pixel of it
// ('nearest_neighbor'), or where the region read as an image of ones and zeros interpolates
// bilinearly to at least one half ('bilinear'), which smooths enlarged borders.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/polar_arc.h"
#include "operators/transformations/region_pull_back.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

bool memberAt(const Runs& region, double x, double y, bool bilinear) {
  // Written so that NaN fails too.
  if (!(std::fabs(x) < kPullBackReach && std::fabs(y) < kPullBackReach)) return false;
  if (!bilinear) {
    return runsContain(region, static_cast<std::int32_t>(std::floor(x + 0.5)),
                       static_cast<std::int32_t>(std::floor(y + 0.5)));
  }
  const auto r0 = static_cast<std::int32_t>(std::floor(x));
  const auto c0 = static_cast<std::int32_t>(std::floor(y));
  const double fr = x - r0, fc = y - c0;
  const auto in = [&](std::int32_t r, std::int32_t c) { return runsContain(region, r, c) ? 1 : 0; };
  const double top = in(r0, c0) * (1 - fc) + in(r0, c0 + 1) * fc;
  const double bottom = in(r0 + 1, c0) * (1 - fc) + in(r0 + 1, c0 + 1) * fc;
  return top * (1 - fr) + bottom * fr >= 0.5;
}

void addPixel(Runs* runs, std::int32_t row, std::int32_t col) {
  if (!runs->empty() && runs->back().row == row && runs->back().end + 1 == col) {
    runs->back().end = col;
  } else {
    runs->push_back(Run{row, col, col});
  }
}

// The polar rows that can reach the region: those whose radius lies between the nearest and
// the farthest point of its box (a margin of two pixels for the interpolation).
void polarRows(const PolarArc& arc, const Runs& region, std::int32_t* first, std::int32_t* last) {
  std::int32_t r1, c1, r2, c2;
  *first = 0;
  *last = -1;
  if (!runsBox(region, &r1, &c1, &r2, &c2)) return;
  *last = arc.height - 1;
  if (arc.radiusStep() == 0) return;
  const double top = r1 - 2, bottom = r2 + 2, left = c1 - 2, right = c2 + 2;
  const double dx = std::max({top - arc.row, arc.row - bottom, 0.0});
  const double dy = std::max({left - arc.col, arc.col - right, 0.0});
  const double nearest = std::hypot(dx, dy);
  const double farthest =
      std::hypot(std::max(std::fabs(top - arc.row), std::fabs(bottom - arc.row)),
                 std::max(std::fabs(left - arc.col), std::fabs(right - arc.col)));
  // Radii below zero point the other way: they reach the region as their magnitude does.
  double from = HUGE_VAL, to = -HUGE_VAL;
  for (const double radius : {nearest, farthest, -nearest, -farthest}) {
    const double row = arc.polarRow(radius);
    from = std::min(from, row);
    to = std::max(to, row);
  }
  // Radii that are not numbers bound nothing: every row is tried (and maps nowhere).
  if (!std::isfinite(from) || !std::isfinite(to)) return;
  *first = static_cast<std::int32_t>(std::clamp(std::floor(from) - 1, 0.0, double(arc.height)));
  *last = static_cast<std::int32_t>(std::clamp(std::ceil(to) + 1, -1.0, double(arc.height - 1)));
}

}  // namespace

void PolarTransRegion(const HObject& Region, HObject* PolarTransRegion, const HTuple& Row,
                      const HTuple& Column, const HTuple& AngleStart, const HTuple& AngleEnd,
                      const HTuple& RadiusStart, const HTuple& RadiusEnd, const HTuple& Width,
                      const HTuple& Height, const HTuple& Interpolation) {
  ApiScope scope("PolarTransRegion");
  const char* op = "polar_trans_region";
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, Width, Height, op);
  const bool bilinear = polarBilinear(Interpolation, op, 9);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    Runs runs;
    std::int32_t first, last;
    polarRows(arc, *region, &first, &last);
    for (std::int32_t r = first; r <= last; ++r) {
      for (std::int32_t c = 0; c < arc.width; ++c) {
        double x, y;
        arc.toCartesian(r, c, &x, &y);
        if (memberAt(*region, x, y, bilinear)) addPixel(&runs, r, c);
      }
    }
    items.push_back(makeRegion(std::move(runs)));
  }
  setOutput(PolarTransRegion, objectOf(items));
}

void PolarTransRegionInv(const HObject& PolarRegion, HObject* XYTransRegion, const HTuple& Row,
                         const HTuple& Column, const HTuple& AngleStart, const HTuple& AngleEnd,
                         const HTuple& RadiusStart, const HTuple& RadiusEnd, const HTuple& WidthIn,
                         const HTuple& HeightIn, const HTuple& Width, const HTuple& Height,
                         const HTuple& Interpolation) {
  ApiScope scope("PolarTransRegionInv");
  const char* op = "polar_trans_region_inv";
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, WidthIn, HeightIn, op);
  const std::int32_t width = polarSideOf(Width, op, 9), height = polarSideOf(Height, op, 10);
  const bool bilinear = polarBilinear(Interpolation, op, 11);
  // Only the disc of the arc's largest radius, half a polar row and a pixel more, is reached.
  const double reach = std::max(std::fabs(arc.radiusStart), std::fabs(arc.radiusEnd)) +
                       std::fabs(arc.radiusStep()) / 2 + 2;
  const auto clamped = [](double v, std::int32_t side) {
    return static_cast<std::int32_t>(std::clamp(v, 0.0, double(side - 1)));
  };
  const bool bounded = std::isfinite(reach) && std::isfinite(arc.row) && std::isfinite(arc.col);
  const std::int32_t top = bounded ? clamped(std::floor(arc.row - reach), height) : 0;
  const std::int32_t bottom = bounded ? clamped(std::ceil(arc.row + reach), height) : -1;
  const std::int32_t left = bounded ? clamped(std::floor(arc.col - reach), width) : 0;
  const std::int32_t right = bounded ? clamped(std::ceil(arc.col + reach), width) : -1;
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(PolarRegion, op, 1)) {
    Runs runs;
    for (std::int32_t r = top; r <= bottom; ++r) {
      for (std::int32_t c = left; c <= right; ++c) {
        double angle, radius;
        arc.polarOf(r, c, &angle, &radius);
        const double pr = arc.polarRow(radius), pc = arc.columnOfAngle(angle);
        if (!(pr >= -0.5 && pr < arc.height - 0.5)) continue;
        if (memberAt(*region, pr, pc, bilinear)) addPixel(&runs, r, c);
      }
    }
    items.push_back(makeRegion(std::move(runs)));
  }
  setOutput(XYTransRegion, objectOf(items));
}

}  // namespace HalconCpp
