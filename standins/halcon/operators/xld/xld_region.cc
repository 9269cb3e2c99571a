// Contours from regions and regions from contours.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/polygon.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsXld.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The walk along the cracks between pixels with the region on the right (as seen on the
// screen), from the top-left corner of the region's first pixel, heading right. Corner (i, j)
// is the point (i - 0.5, j - 0.5). Each step gives the corner it leaves and the pixel on its
// right; turning left first keeps diagonal neighbours in one walk, as 8-connected regions
// are.
struct CrackStep {
  std::int32_t i, j;    // the corner left
  int heading;          // 0 east, 1 south, 2 west, 3 north
  std::int32_t pr, pc;  // the region's pixel on the right
};

std::vector<CrackStep> crackWalk(const Runs& runs) {
  static const int kDr[4] = {0, 1, 0, -1}, kDc[4] = {1, 0, -1, 0};
  // Right and left pixel of the edge leaving corner (i, j) in each heading, as offsets.
  static const int kRight[4][2] = {{0, 0}, {0, -1}, {-1, -1}, {-1, 0}};
  static const int kLeft[4][2] = {{-1, 0}, {0, 0}, {0, -1}, {-1, -1}};
  std::vector<CrackStep> steps;
  if (runs.empty()) return steps;
  const std::int32_t i0 = runs.front().row, j0 = runs.front().begin;
  std::int32_t i = i0, j = j0;
  int heading = 0;
  const auto inside = [&](std::int32_t r, std::int32_t c) { return runsContain(runs, r, c); };
  const auto boundary = [&](std::int32_t ci, std::int32_t cj, int h) {
    return inside(ci + kRight[h][0], cj + kRight[h][1]) &&
           !inside(ci + kLeft[h][0], cj + kLeft[h][1]);
  };
  do {
    steps.push_back(CrackStep{i, j, heading, i + kRight[heading][0], j + kRight[heading][1]});
    i += kDr[heading];
    j += kDc[heading];
    for (int turn : {3, 0, 1, 2}) {
      const int next = (heading + turn) % 4;
      if (boundary(i, j, next)) {
        heading = next;
        break;
      }
    }
  } while (!(i == i0 && j == j0 && heading == 0));
  return steps;
}

// The corners where the walk turns, closed: the contour along the pixels' borders.
ContourPtr borderContour(const Runs& runs) {
  std::vector<double> rows, cols;
  const std::vector<CrackStep> steps = crackWalk(runs);
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const int before = steps[(k + steps.size() - 1) % steps.size()].heading;
    if (k == 0 || steps[k].heading != before) {
      rows.push_back(steps[k].i - 0.5);
      cols.push_back(steps[k].j - 0.5);
    }
  }
  if (!rows.empty()) rows.push_back(rows.front()), cols.push_back(cols.front());
  return makeContour(std::move(rows), std::move(cols));
}

// The centres of the border pixels in the walk's order, closed.
ContourPtr centerContour(const Runs& runs) {
  std::vector<double> rows, cols;
  for (const CrackStep& step : crackWalk(runs)) {
    if (!rows.empty() && rows.back() == step.pr && cols.back() == step.pc) continue;
    rows.push_back(step.pr);
    cols.push_back(step.pc);
  }
  if (rows.size() > 1 && rows.back() == rows.front() && cols.back() == cols.front()) {
    rows.pop_back(), cols.pop_back();
  }
  if (rows.size() > 1) rows.push_back(rows.front()), cols.push_back(cols.front());
  return makeContour(std::move(rows), std::move(cols));
}

constexpr double kReach = 32768;

// Pixels of the segment between two rounded points, the segment first cut to the rows and
// columns a region can hold.
void addSegment(double r0, double c0, double r1, double c1, Runs* runs) {
  double t0 = 0, t1 = 1;
  const double dr = r1 - r0, dc = c1 - c0;
  const double p[4] = {-dr, dr, -dc, dc};
  const double q[4] = {r0 + kReach, kReach - r0, c0 + kReach, kReach - c0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) t0 = std::max(t0, t);
    if (p[k] > 0) t1 = std::min(t1, t);
  }
  if (t0 > t1) return;
  const auto y0 = static_cast<std::int32_t>(std::lround(r0 + t0 * dr));
  const auto x0 = static_cast<std::int32_t>(std::lround(c0 + t0 * dc));
  const auto y1 = static_cast<std::int32_t>(std::lround(r0 + t1 * dr));
  const auto x1 = static_cast<std::int32_t>(std::lround(c0 + t1 * dc));
  const Runs line = lineRuns(y0, x0, y1, x1);
  runs->insert(runs->end(), line.begin(), line.end());
}

Runs marginOf(const ContourObject& contour) {
  Runs runs;
  const std::size_t n = contour.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t next = (k + 1) % n;  // an open contour is closed
    addSegment(std::round(contour.rows[k]), std::round(contour.cols[k]),
               std::round(contour.rows[next]), std::round(contour.cols[next]), &runs);
  }
  return normalizeRuns(std::move(runs));
}

// Even-odd fill of the polygon of the rounded points, at the pixels' centres.
Runs filledOf(const ContourObject& contour) {
  const std::size_t n = contour.size();
  std::vector<double> rows, cols;
  double top = HUGE_VAL, bottom = -HUGE_VAL;
  for (std::size_t k = 0; k < n; ++k) {
    rows.push_back(std::round(contour.rows[k]));
    cols.push_back(std::round(contour.cols[k]));
    top = std::min(top, rows.back()), bottom = std::max(bottom, rows.back());
  }
  Runs runs;
  if (n == 0) return runs;
  top = std::max(top, -kReach), bottom = std::min(bottom, kReach);
  std::vector<double> crossings;
  for (double y = top; y <= bottom; ++y) {
    crossings.clear();
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t next = (k + 1) % n;
      const double ya = rows[k], yb = rows[next];
      if ((ya <= y) == (yb <= y)) continue;
      crossings.push_back(cols[k] + (y - ya) * (cols[next] - cols[k]) / (yb - ya));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const double from = std::max(std::ceil(crossings[k]), -kReach);
      const double to = std::min(std::floor(crossings[k + 1]), kReach);
      if (from <= to) {
        runs.push_back(Run{static_cast<std::int32_t>(y), static_cast<std::int32_t>(from),
                           static_cast<std::int32_t>(to)});
      }
    }
  }
  return unionRuns(normalizeRuns(std::move(runs)), marginOf(contour));
}

}  // namespace

void GenContourRegionXld(const HObject& Regions, HObject* Contours, const HTuple& Mode) {
  ApiScope scope("GenContourRegionXld");
  const char* op = "gen_contour_region_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "center" && mode != "border" && mode != "border_holes") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Regions, op, 1, false)) {
    for (const Runs& component : componentsOf(*region, 8)) {
      if (mode == "center") {
        items.push_back(centerContour(component));
        continue;
      }
      items.push_back(borderContour(component));
      if (mode != "border_holes") continue;
      // A hole's border runs the other way round, the region again on its right.
      for (const Runs& hole : holesOf(component, 8)) {
        auto contour = borderContour(hole);
        std::reverse(contour->rows.begin(), contour->rows.end());
        std::reverse(contour->cols.begin(), contour->cols.end());
        items.push_back(contour);
      }
    }
  }
  setOutput(Contours, objectOf(items));
}

void GenRegionContourXld(const HObject& Contour, HObject* Region, const HTuple& Mode) {
  ApiScope scope("GenRegionContourXld");
  const char* op = "gen_region_contour_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "filled" && mode != "margin") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contour, op, 1)) {
    items.push_back(makeRegion(mode == "filled" ? filledOf(*contour) : marginOf(*contour)));
  }
  setOutput(Region, objectOf(items));
}

void GenRegionPolygonXld(const HObject& Polygon, HObject* Region, const HTuple& Mode) {
  ApiScope scope("GenRegionPolygonXld");
  const char* op = "gen_region_polygon_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "filled" && mode != "margin") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const PolygonObject* polygon : polygonsOf(Polygon, op, 1)) {
    const ContourPtr corners = contourOfPolygon(*polygon);
    items.push_back(makeRegion(mode == "filled" ? filledOf(*corners) : marginOf(*corners)));
  }
  setOutput(Region, objectOf(items));
}

}  // namespace HalconCpp
