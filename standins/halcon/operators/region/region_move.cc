// Regions moved, reflected, scaled and clipped as wholes, and tests of points and equality.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsRegion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Shifts, axes and factors are bounded so that a mistyped number can neither overflow a
// coordinate nor ask for millions of runs.
constexpr Hlong kMaxShift = 200000;
constexpr double kMaxZoom = 64;

Hlong boundedInteger(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < -kMaxShift || v > kMaxShift) fail(op, 1300 + n);
  return v;
}

template <typename Map>
void eachRegion(const HObject& in, HObject* out, const char* op, Map&& map) {
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(in, op, 1, false)) items.push_back(makeRegion(map(*region)));
  setOutput(out, objectOf(items));
}

Runs shifted(const Runs& region, Hlong rows, Hlong cols) {
  Runs out;
  out.reserve(region.size());
  for (const Run& r : region) {
    out.push_back(Run{static_cast<std::int32_t>(r.row + rows),
                      static_cast<std::int32_t>(r.begin + cols),
                      static_cast<std::int32_t>(r.end + cols)});
  }
  return out;
}

// Rows reversed about the axis at (size - 1) / 2, or columns, or both swapped.
Runs mirrored(const Runs& region, const std::string& mode, Hlong size) {
  Runs out;
  out.reserve(region.size());
  if (mode == "row") {
    for (const Run& r : region)
      out.push_back(Run{static_cast<std::int32_t>(size - 1 - r.row), r.begin, r.end});
  } else if (mode == "column") {
    for (const Run& r : region) {
      out.push_back(Run{r.row, static_cast<std::int32_t>(size - 1 - r.end),
                        static_cast<std::int32_t>(size - 1 - r.begin)});
    }
  } else {
    for (const Run& r : region) {
      for (std::int32_t c = r.begin; c <= r.end; ++c) out.push_back(Run{c, r.row, r.row});
    }
  }
  return normalizeRuns(std::move(out));
}

// Pixel [k, k + 1) covers [k s, (k + 1) s): every pixel whose top-left corner that span holds,
// and at least the one it starts in, so that a reduction keeps every row and column it hits.
void scaledSpan(std::int32_t first, std::int32_t last, double s, std::int32_t* from,
                std::int32_t* to) {
  *from = static_cast<std::int32_t>(std::floor(first * s));
  *to = std::max(*from, static_cast<std::int32_t>(std::ceil((last + 1) * s)) - 1);
}

Runs zoomed(const Runs& region, double scaleWidth, double scaleHeight) {
  Runs out;
  for (const Run& r : region) {
    std::int32_t row1, row2, col1, col2;
    scaledSpan(r.row, r.row, scaleHeight, &row1, &row2);
    scaledSpan(r.begin, r.end, scaleWidth, &col1, &col2);
    for (std::int32_t row = row1; row <= row2; ++row) out.push_back(Run{row, col1, col2});
  }
  return normalizeRuns(std::move(out));
}

}  // namespace

void MoveRegion(const HObject& Region, HObject* RegionMoved, const HTuple& Row,
                const HTuple& Column) {
  ApiScope scope("MoveRegion");
  const char* op = "move_region";
  const Hlong rows = boundedInteger(Row, op, 1), cols = boundedInteger(Column, op, 2);
  eachRegion(Region, RegionMoved, op, [&](const Runs& r) { return shifted(r, rows, cols); });
}

void TransposeRegion(const HObject& Region, HObject* Transposed, const HTuple& Row,
                     const HTuple& Column) {
  ApiScope scope("TransposeRegion");
  const char* op = "transpose_region";
  const Hlong row = boundedInteger(Row, op, 1), col = boundedInteger(Column, op, 2);
  // The reflection about a point: both axes reversed about it.
  eachRegion(Region, Transposed, op, [&](const Runs& r) {
    return mirrored(mirrored(r, "row", 2 * row + 1), "column", 2 * col + 1);
  });
}

void MirrorRegion(const HObject& Region, HObject* RegionMirror, const HTuple& Mode,
                  const HTuple& WidthHeight) {
  ApiScope scope("MirrorRegion");
  const char* op = "mirror_region";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "row" && mode != "column" && mode != "diagonal") fail(op, 1301);
  const Hlong size = boundedInteger(WidthHeight, op, 2);
  if (size < 1) fail(op, 1302);
  eachRegion(Region, RegionMirror, op, [&](const Runs& r) { return mirrored(r, mode, size); });
}

void ZoomRegion(const HObject& Region, HObject* RegionZoom, const HTuple& ScaleWidth,
                const HTuple& ScaleHeight) {
  ApiScope scope("ZoomRegion");
  const char* op = "zoom_region";
  const double sw = oneNumber(ScaleWidth, op, 1), sh = oneNumber(ScaleHeight, op, 2);
  if (!(sw > 0 && sw <= kMaxZoom)) fail(op, 1301);
  if (!(sh > 0 && sh <= kMaxZoom)) fail(op, 1302);
  eachRegion(Region, RegionZoom, op, [&](const Runs& r) { return zoomed(r, sw, sh); });
}

void ClipRegion(const HObject& Region, HObject* RegionClipped, const HTuple& Row1,
                const HTuple& Column1, const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("ClipRegion");
  const char* op = "clip_region";
  const Hlong r1 = boundedInteger(Row1, op, 1), c1 = boundedInteger(Column1, op, 2);
  const Hlong r2 = boundedInteger(Row2, op, 3), c2 = boundedInteger(Column2, op, 4);
  eachRegion(Region, RegionClipped, op, [&](const Runs& r) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(r, &row1, &col1, &row2, &col2)) return Runs{};
    // The rectangle cut to the region's own box, so that a wide one costs nothing.
    const Hlong top = std::max<Hlong>(r1, row1), bottom = std::min<Hlong>(r2, row2);
    const Hlong left = std::max<Hlong>(c1, col1), right = std::min<Hlong>(c2, col2);
    if (bottom < top || right < left) return Runs{};
    return intersectRuns(
        r, rectangleRuns(static_cast<std::int32_t>(top), static_cast<std::int32_t>(left),
                         static_cast<std::int32_t>(bottom), static_cast<std::int32_t>(right)));
  });
}

void ClipRegionRel(const HObject& Region, HObject* RegionClipped, const HTuple& Top,
                   const HTuple& Bottom, const HTuple& Left, const HTuple& Right) {
  ApiScope scope("ClipRegionRel");
  const char* op = "clip_region_rel";
  const HTuple* margins[] = {&Top, &Bottom, &Left, &Right};
  Hlong m[4];
  for (int n = 1; n <= 4; ++n) {
    m[n - 1] = boundedInteger(*margins[n - 1], op, n);
    if (m[n - 1] < 0) fail(op, 1300 + n);
  }
  eachRegion(Region, RegionClipped, op, [&](const Runs& r) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(r, &row1, &col1, &row2, &col2)) return Runs{};
    const Hlong top = row1 + m[0], bottom = row2 - m[1];
    const Hlong left = col1 + m[2], right = col2 - m[3];
    if (bottom < top || right < left) return Runs{};
    return intersectRuns(
        r, rectangleRuns(static_cast<std::int32_t>(top), static_cast<std::int32_t>(left),
                         static_cast<std::int32_t>(bottom), static_cast<std::int32_t>(right)));
  });
}

void TestRegionPoint(const HObject& Regions, const HTuple& Row, const HTuple& Column,
                     HTuple* IsInside) {
  ApiScope scope("TestRegionPoint");
  const char* op = "test_region_point";
  const Hlong row = oneInteger(Row, op, 1), col = oneInteger(Column, op, 2);
  bool inside = false;
  for (const Runs* region : regionsOf(Regions, op, 1, false)) {
    if (row >= INT32_MIN && row <= INT32_MAX && col >= INT32_MIN && col <= INT32_MAX &&
        runsContain(*region, static_cast<std::int32_t>(row), static_cast<std::int32_t>(col))) {
      inside = true;
    }
  }
  setOutput(IsInside, HTuple(static_cast<Hlong>(inside ? 1 : 0)));
}

void TestEqualRegion(const HObject& Regions1, const HObject& Regions2, HTuple* IsEqual) {
  ApiScope scope("TestEqualRegion");
  const char* op = "test_equal_region";
  const std::vector<const Runs*> first = regionsOf(Regions1, op, 1, false);
  const std::vector<const Runs*> second = regionsOf(Regions2, op, 2, false);
  if (first.size() != second.size()) fail(op, 1502);
  bool equal = true;
  for (std::size_t i = 0; i < first.size() && equal; ++i) {
    const Runs& a = *first[i];
    const Runs& b = *second[i];
    equal = a.size() == b.size() &&
            std::equal(a.begin(), a.end(), b.begin(), [](const Run& x, const Run& y) {
              return x.row == y.row && x.begin == y.begin && x.end == y.end;
            });
  }
  setOutput(IsEqual, HTuple(static_cast<Hlong>(equal ? 1 : 0)));
}

}  // namespace HalconCpp
