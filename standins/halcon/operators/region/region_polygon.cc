// Regions from polygons: the outline through the corners, and the filled polygon.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsRegion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Pixels the outline and row crossings the filling may compute: a polygon of many long edges
// fails before the work.
constexpr std::uint64_t kMaxSteps = 50000000;

struct Corner {
  std::int32_t row;
  std::int32_t col;
};

// The corners, rounded to pixels as the reference says.
std::vector<Corner> cornersOf(const HTuple& rows, const HTuple& cols, const char* op) {
  requireLength(cols, rows.Length(), op, 2);
  std::vector<Corner> corners;
  corners.reserve(static_cast<std::size_t>(rows.Length()));
  for (Hlong i = 0; i < rows.Length(); ++i) {
    const double row = numberAt(rows, i, op, 1);
    const double col = numberAt(cols, i, op, 2);
    if (!(std::fabs(row) <= kMaxRegionCoordinate)) fail(op, 1301);
    if (!(std::fabs(col) <= kMaxRegionCoordinate)) fail(op, 1302);
    corners.push_back(
        {static_cast<std::int32_t>(std::lround(row)), static_cast<std::int32_t>(std::lround(col))});
  }
  return corners;
}

// The lines from each corner to the next; `closed` adds the one back to the first.
Runs outlineRuns(const std::vector<Corner>& corners, bool closed, const char* op) {
  if (corners.size() == 1)
    return lineRuns(corners[0].row, corners[0].col, corners[0].row, corners[0].col);
  std::vector<Runs> lines;
  const std::size_t edges = closed ? corners.size() : corners.size() - 1;
  std::uint64_t pixels = 0;
  for (std::size_t i = 0; i < edges; ++i) {
    const Corner& a = corners[i];
    const Corner& b = corners[(i + 1) % corners.size()];
    pixels += static_cast<std::uint64_t>(std::max(std::abs(std::int64_t{a.row} - b.row),
                                                  std::abs(std::int64_t{a.col} - b.col))) +
              1;
  }
  if (pixels > kMaxSteps) fail(op, 6001);
  for (std::size_t i = 0; i < edges; ++i) {
    const Corner& a = corners[i];
    const Corner& b = corners[(i + 1) % corners.size()];
    lines.push_back(lineRuns(a.row, a.col, b.row, b.col));
  }
  std::vector<const Runs*> parts;
  for (const Runs& line : lines) parts.push_back(&line);
  return unionAll(parts);
}

// The pixels whose centres lie inside the closed polygon (even-odd rule), by scanlines.
Runs interiorRuns(const std::vector<Corner>& corners, const char* op) {
  std::uint64_t crossings = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Corner& a = corners[i];
    const Corner& b = corners[(i + 1) % corners.size()];
    crossings += static_cast<std::uint64_t>(std::abs(std::int64_t{a.row} - b.row));
  }
  if (crossings > kMaxSteps) fail(op, 6001);
  std::vector<std::vector<double>> atRow;
  std::int32_t top = corners[0].row, bottom = corners[0].row;
  for (const Corner& c : corners) {
    top = std::min(top, c.row);
    bottom = std::max(bottom, c.row);
  }
  atRow.resize(static_cast<std::size_t>(bottom - top) + 1);
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Corner& a = corners[i];
    const Corner& b = corners[(i + 1) % corners.size()];
    if (a.row == b.row) continue;
    // Each edge holds its upper end and not its lower one, so that a corner between two
    // edges is crossed once, a peak twice or not at all.
    const Corner& upper = a.row < b.row ? a : b;
    const Corner& lower = a.row < b.row ? b : a;
    const double slope = double(lower.col - upper.col) / double(lower.row - upper.row);
    for (std::int32_t r = upper.row; r < lower.row; ++r) {
      atRow[static_cast<std::size_t>(r - top)].push_back(upper.col + slope * (r - upper.row));
    }
  }
  Runs runs;
  for (std::size_t k = 0; k < atRow.size(); ++k) {
    std::vector<double>& xs = atRow[k];
    std::sort(xs.begin(), xs.end());
    for (std::size_t j = 0; j + 1 < xs.size(); j += 2) {
      const auto begin = static_cast<std::int32_t>(std::ceil(xs[j]));
      const auto end = static_cast<std::int32_t>(std::floor(xs[j + 1]));
      if (begin <= end) runs.push_back(Run{top + static_cast<std::int32_t>(k), begin, end});
    }
  }
  return normalizeRuns(std::move(runs));
}

}  // namespace

void GenRegionPolygon(HObject* Region, const HTuple& Rows, const HTuple& Columns) {
  ApiScope scope("GenRegionPolygon");
  const std::vector<Corner> corners = cornersOf(Rows, Columns, "gen_region_polygon");
  setOutput(Region,
            objectOf({makeRegion(
                corners.empty() ? Runs{} : outlineRuns(corners, false, "gen_region_polygon"))}));
}

void GenRegionPolygonFilled(HObject* Region, const HTuple& Rows, const HTuple& Columns) {
  ApiScope scope("GenRegionPolygonFilled");
  const char* op = "gen_region_polygon_filled";
  const std::vector<Corner> corners = cornersOf(Rows, Columns, op);
  if (corners.empty()) {
    setOutput(Region, objectOf({makeRegion({})}));
    return;
  }
  // The outline too, so that a polygon's thin parts and its corners are never lost.
  setOutput(
      Region,
      objectOf({makeRegion(unionRuns(outlineRuns(corners, true, op), interiorRuns(corners, op)))}));
}

}  // namespace HalconCpp
