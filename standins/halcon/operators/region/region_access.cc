// Operators that give a region's pixels, runs, border and hull as tuples and make regions from
// them, the grid and checker patterns, and the regions that hold a given pixel.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsRegion.h"
#include "operators/geometry/segments.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr Hlong kMaxExtent = 100000;

// One region, as the single-region access operators take it.
const Runs& oneRegion(const HObject& object, const char* op) {
  checkNoObjects(object, op, 1);
  const std::vector<const Runs*> regions = regionsOf(object, op, 1, false);
  if (regions.size() != 1) fail(op, 1501);
  return *regions.front();
}

HTuple longs(const std::vector<Hlong>& values) {
  HTuple tuple;
  for (Hlong value : values) tuple.Append(HTuple(value));
  return tuple;
}

// A region of `count` runs of one row each, made by `emit(row, begin, end)` in row order.
template <typename Emit>
Runs buildRuns(std::uint64_t count, Emit&& emit) {
  Runs runs;
  runs.reserve(static_cast<std::size_t>(count));  // charged once, before anything is built
  emit([&runs](std::int32_t row, std::int32_t begin, std::int32_t end) {
    runs.push_back(Run{row, begin, end});
  });
  return normalizeRuns(std::move(runs));
}

Hlong extentAt(const HTuple& value, const char* op, int n, Hlong lowest) {
  const Hlong extent = oneInteger(value, op, n);
  if (extent < lowest || extent > kMaxExtent) fail(op, 1300 + n);
  return extent;
}

}  // namespace

void GetRegionPoints(const HObject& Region, HTuple* Rows, HTuple* Columns) {
  ApiScope scope("GetRegionPoints");
  const char* op = "get_region_points";
  const Runs& region = oneRegion(Region, op);
  // The two tuples may be far larger than the region's runs: they count against the same
  // bound while they are built.
  const PixelReservation held(static_cast<std::uint64_t>(runsArea(region)) * 2 * sizeof(Hlong), op);
  std::vector<Hlong> rows, cols;
  for (const Run& run : region) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      rows.push_back(run.row);
      cols.push_back(col);
    }
  }
  setOutput(Rows, longs(rows));
  setOutput(Columns, longs(cols));
}

void GetRegionRuns(const HObject& Region, HTuple* Row, HTuple* ColumnBegin, HTuple* ColumnEnd) {
  ApiScope scope("GetRegionRuns");
  const Runs& region = oneRegion(Region, "get_region_runs");
  std::vector<Hlong> rows, begins, ends;
  for (const Run& run : region) {
    rows.push_back(run.row);
    begins.push_back(run.begin);
    ends.push_back(run.end);
  }
  setOutput(Row, longs(rows));
  setOutput(ColumnBegin, longs(begins));
  setOutput(ColumnEnd, longs(ends));
}

// The border and the hull start at the last pixel of the top row and run clockwise on screen;
// the first point is repeated at the end, so that a single pixel gives itself once.
void GetRegionContour(const HObject& Region, HTuple* Rows, HTuple* Columns) {
  ApiScope scope("GetRegionContour");
  const Runs& region = oneRegion(Region, "get_region_contour");
  const Border border = outerBorder(region);
  std::vector<Hlong> rows, cols;
  if (!region.empty()) {
    Hlong row = border.row, col = border.col;
    rows.push_back(row);
    cols.push_back(col);
    for (int step : border.steps) {
      row += kBorderStepRow[step];
      col += kBorderStepCol[step];
      rows.push_back(row);
      cols.push_back(col);
    }
  }
  setOutput(Rows, longs(rows));
  setOutput(Columns, longs(cols));
}

namespace {

// Ramer's split of the contour points first..last: the point farthest from the segment between
// them (the first of equals) is kept when it lies beyond the tolerance, and both halves split
// again. An explicit stack, as contours run to millions of points.
void keepCorners(const std::vector<Hlong>& rows, const std::vector<Hlong>& cols, double tolerance,
                 std::vector<bool>& kept) {
  std::vector<std::pair<std::size_t, std::size_t>> spans{{0, rows.size() - 1}};
  while (!spans.empty()) {
    const auto [first, last] = spans.back();
    spans.pop_back();
    const Segment chord{double(rows[first]), double(cols[first]), double(rows[last]),
                        double(cols[last])};
    double farthest = -1;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
      const double d = segmentDistance(chord, double(rows[i]), double(cols[i]));
      if (d > farthest) farthest = d, at = i;
    }
    if (farthest > tolerance) {
      kept[at] = true;
      spans.emplace_back(at, last);
      spans.emplace_back(first, at);
    }
  }
}

}  // namespace

// The contour of get_region_contour, closed on its first point, reduced to the corners that
// keep every contour point within Tolerance of the polygon.
void GetRegionPolygon(const HObject& Region, const HTuple& Tolerance, HTuple* Rows,
                      HTuple* Columns) {
  ApiScope scope("GetRegionPolygon");
  const char* op = "get_region_polygon";
  const double tolerance = oneNumber(Tolerance, op, 1);
  if (!(tolerance >= 0)) fail(op, 1301);
  HTuple contourRows, contourCols;
  {
    InsideScope inside;
    GetRegionContour(Region, &contourRows, &contourCols);
  }
  std::vector<Hlong> rows, cols;
  for (Hlong i = 0; i < contourRows.Length(); ++i) {
    rows.push_back(contourRows[i].L());
    cols.push_back(contourCols[i].L());
  }
  std::vector<Hlong> cornerRows, cornerCols;
  if (!rows.empty()) {
    std::vector<bool> kept(rows.size(), false);
    kept.front() = kept.back() = true;
    keepCorners(rows, cols, tolerance, kept);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (kept[i]) cornerRows.push_back(rows[i]), cornerCols.push_back(cols[i]);
    }
  }
  setOutput(Rows, longs(cornerRows));
  setOutput(Columns, longs(cornerCols));
}

// The chain code counts counter-clockwise from east (1 north-east, 2 north, ... 7 south-east),
// the border's steps clockwise.
void GetRegionChain(const HObject& Region, HTuple* Row, HTuple* Column, HTuple* Chain) {
  ApiScope scope("GetRegionChain");
  const Runs& region = oneRegion(Region, "get_region_chain");
  const Border border = outerBorder(region);
  std::vector<Hlong> codes;
  for (int step : border.steps) codes.push_back((8 - step) % 8);
  setOutput(Row, region.empty() ? HTuple() : HTuple(Hlong{border.row}));
  setOutput(Column, region.empty() ? HTuple() : HTuple(Hlong{border.col}));
  setOutput(Chain, longs(codes));
}

void GetRegionConvex(const HObject& Region, HTuple* Rows, HTuple* Columns) {
  ApiScope scope("GetRegionConvex");
  const Runs& region = oneRegion(Region, "get_region_convex");
  std::vector<Point> hull = convexHull(region);
  std::reverse(hull.begin(), hull.end());  // clockwise on screen
  const auto startsBefore = [](const Point& a, const Point& b) {
    return a.row < b.row || (a.row == b.row && a.col > b.col);
  };
  std::rotate(hull.begin(), std::min_element(hull.begin(), hull.end(), startsBefore), hull.end());
  if (hull.size() > 1) hull.push_back(hull.front());
  HTuple rows, cols;
  for (const Point& p : hull) {
    rows.Append(HTuple(static_cast<Hlong>(p.row)));
    cols.Append(HTuple(static_cast<Hlong>(p.col)));
  }
  setOutput(Rows, rows);
  setOutput(Columns, cols);
}

void GenRegionRuns(HObject* Region, const HTuple& Row, const HTuple& ColumnBegin,
                   const HTuple& ColumnEnd) {
  ApiScope scope("GenRegionRuns");
  const char* op = "gen_region_runs";
  const Hlong count = Row.Length();
  requireLength(ColumnBegin, count, op, 2);
  requireLength(ColumnEnd, count, op, 3);
  const HTuple* params[] = {&Row, &ColumnBegin, &ColumnEnd};
  Runs runs;
  runs.reserve(static_cast<std::size_t>(count));
  for (Hlong i = 0; i < count; ++i) {
    Hlong value[3];
    for (int n = 0; n < 3; ++n) {
      value[n] = integerAt(*params[n], i, op, n + 1);
      if (value[n] < -kMaxExtent || value[n] > kMaxExtent) fail(op, 1301 + n);
    }
    // A run that ends before it begins holds no pixel: the vendor leaves it out.
    if (value[2] < value[1]) continue;
    runs.push_back(Run{static_cast<std::int32_t>(value[0]), static_cast<std::int32_t>(value[1]),
                       static_cast<std::int32_t>(value[2])});
  }
  setOutput(Region, objectOf({makeRegion(normalizeRuns(std::move(runs)))}));
}

void GenGridRegion(HObject* RegionGrid, const HTuple& RowSteps, const HTuple& ColumnSteps,
                   const HTuple& Type, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenGridRegion");
  const char* op = "gen_grid_region";
  const Hlong rowSteps = oneInteger(RowSteps, op, 1);
  const Hlong colSteps = oneInteger(ColumnSteps, op, 2);
  const std::string type = oneString(Type, op, 3);
  const Hlong width = extentAt(Width, op, 4, 1);
  const Hlong height = extentAt(Height, op, 5, 1);
  if (type != "lines" && type != "points") fail(op, 1303);
  // A step is 0 (no lines of that direction) or at least 2; points need both directions.
  const bool points = type == "points";
  if (rowSteps < 0 || rowSteps == 1 || rowSteps > kMaxExtent || (points && rowSteps == 0)) {
    fail(op, 1301);
  }
  if (colSteps < 0 || colSteps == 1 || colSteps > kMaxExtent || (points && colSteps == 0)) {
    fail(op, 1302);
  }
  if (rowSteps == 0 && colSteps == 0) fail(op, 1301);
  const auto lines = [](Hlong step, Hlong extent) -> Hlong {
    return step == 0 ? 0 : (extent - 1) / step + 1;
  };
  const Hlong rowLines = lines(rowSteps, height), colLines = lines(colSteps, width);
  Runs runs;
  if (points) {
    runs = buildRuns(std::uint64_t(rowLines) * std::uint64_t(colLines), [&](auto emit) {
      for (Hlong r = 0; r < height; r += rowSteps) {
        for (Hlong c = 0; c < width; c += colSteps) {
          emit(std::int32_t(r), std::int32_t(c), std::int32_t(c));
        }
      }
    });
  } else {
    // Every row is one run when it is a grid line, else a point on each vertical line.
    runs = buildRuns(std::uint64_t(height) * std::uint64_t(colLines + 1), [&](auto emit) {
      for (Hlong r = 0; r < height; ++r) {
        if (rowSteps != 0 && r % rowSteps == 0) {
          emit(std::int32_t(r), 0, std::int32_t(width - 1));
        } else if (colSteps != 0) {
          for (Hlong c = 0; c < width; c += colSteps) {
            emit(std::int32_t(r), std::int32_t(c), std::int32_t(c));
          }
        }
      }
    });
  }
  setOutput(RegionGrid, objectOf({makeRegion(std::move(runs))}));
}

void GenCheckerRegion(HObject* RegionChecker, const HTuple& WidthRegion, const HTuple& HeightRegion,
                      const HTuple& WidthPattern, const HTuple& HeightPattern) {
  ApiScope scope("GenCheckerRegion");
  const char* op = "gen_checker_region";
  const Hlong width = extentAt(WidthRegion, op, 1, 1);
  const Hlong height = extentAt(HeightRegion, op, 2, 1);
  const Hlong fieldWidth = extentAt(WidthPattern, op, 3, 1);
  const Hlong fieldHeight = extentAt(HeightPattern, op, 4, 1);
  const Hlong fieldsPerRow = (width + fieldWidth - 1) / fieldWidth;
  // The field at the top left is black, so it belongs to the region.
  Runs runs =
      buildRuns(std::uint64_t(height) * std::uint64_t(fieldsPerRow / 2 + 1), [&](auto emit) {
        for (Hlong r = 0; r < height; ++r) {
          const Hlong first = (r / fieldHeight) % 2;
          for (Hlong f = first; f < fieldsPerRow; f += 2) {
            const Hlong begin = f * fieldWidth;
            const Hlong end = std::min(begin + fieldWidth, width) - 1;
            emit(std::int32_t(r), std::int32_t(begin), std::int32_t(end));
          }
        }
      });
  setOutput(RegionChecker, objectOf({makeRegion(std::move(runs))}));
}

void SelectRegionPoint(const HObject& Regions, HObject* DestRegions, const HTuple& Row,
                       const HTuple& Column) {
  ApiScope scope("SelectRegionPoint");
  const char* op = "select_region_point";
  const Hlong row = oneInteger(Row, op, 1);
  const Hlong col = oneInteger(Column, op, 2);
  checkNoObjects(Regions, op, 1);
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  std::vector<HObject::Item> kept;
  const bool inRange = row >= INT32_MIN && row <= INT32_MAX && col >= INT32_MIN && col <= INT32_MAX;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (inRange && runsContain(*regions[i], std::int32_t(row), std::int32_t(col))) {
      kept.push_back(Regions.Items()[i]);
    }
  }
  setOutput(DestRegions, objectOf(kept));
}

void GetRegionIndex(const HObject& Regions, const HTuple& Row, const HTuple& Column,
                    HTuple* Index) {
  ApiScope scope("GetRegionIndex");
  const char* op = "get_region_index";
  const Hlong row = oneInteger(Row, op, 1);
  const Hlong col = oneInteger(Column, op, 2);
  checkNoObjects(Regions, op, 1);
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  const bool inRange = row >= INT32_MIN && row <= INT32_MAX && col >= INT32_MIN && col <= INT32_MAX;
  std::vector<Hlong> indices;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (inRange && runsContain(*regions[i], std::int32_t(row), std::int32_t(col))) {
      indices.push_back(static_cast<Hlong>(i) + 1);
    }
  }
  setOutput(Index, longs(indices));
}

}  // namespace HalconCpp
