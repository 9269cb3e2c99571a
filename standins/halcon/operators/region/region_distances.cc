// distance_pr, distance_lr, distance_sr, distance_rr_min and distance_rr_min_dil (HALCON 11.0
// reference, chapter "Tools / Geometry"). Distances are between pixel centres; a run of pixels
// is measured as the segment between its first and last centre.
#include "operators/region/region_distances.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsGeometry.h"
#include "operators/geometry/segments.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The runs of each row of a region, to find the pixel nearest to a point row by row outwards
// from the point's row, stopping once a row is farther than the best pixel found.
class RowRuns {
 public:
  explicit RowRuns(const Runs& runs) : runs_(runs) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      if (rows_.empty() || runs[i].row != runs[rows_.back()].row) rows_.push_back(i);
    }
    rows_.push_back(runs.size());
  }

  // The nearest pixel to (r, c): Euclidean, or the chessboard distance max(|dr|, |dc|).
  double nearest(std::int32_t r, std::int32_t c, bool chessboard, std::int32_t* row,
                 std::int32_t* col) const {
    const std::size_t count = rows_.size() - 1;
    std::size_t down =
        std::lower_bound(rows_.begin(), rows_.end() - 1, r,
                         [&](std::size_t i, std::int32_t v) { return runs_[i].row < v; }) -
        rows_.begin();
    std::size_t up = down;  // rows above: up - 1, up - 2, ...
    double best = HUGE_VAL;
    while (up > 0 || down < count) {
      const double dUp = up > 0 ? double(r) - runs_[rows_[up - 1]].row : HUGE_VAL;
      const double dDown = down < count ? double(runs_[rows_[down]].row) - r : HUGE_VAL;
      const bool takeUp = dUp <= dDown;
      const double dr = takeUp ? dUp : dDown;
      if (dr >= best) break;
      const std::size_t k = takeUp ? --up : down++;
      std::int32_t at = 0;
      const double dc = columnDistance(k, c, &at);
      const double d = chessboard ? std::max(dr, dc) : std::hypot(dr, dc);
      if (d < best) best = d, *row = runs_[rows_[k]].row, *col = at;
    }
    return best;
  }

 private:
  // The nearest column of row k's runs to c.
  double columnDistance(std::size_t k, std::int32_t c, std::int32_t* at) const {
    const Run* first = runs_.data() + rows_[k];
    const Run* last = runs_.data() + rows_[k + 1];
    const Run* next = std::upper_bound(
        first, last, c, [](std::int32_t v, const Run& run) { return v < run.begin; });
    double best = HUGE_VAL;
    if (next != first) {
      const Run& before = *(next - 1);
      *at = std::min(c, before.end);
      best = double(c) - *at;
    }
    if (next != last && double(next->begin) - c < best)
      *at = next->begin, best = double(next->begin) - c;
    return best;
  }

  const Runs& runs_;
  std::vector<std::size_t> rows_;  // the first run of each row, then the end
};

// The pixels of `a` that can be nearest to anything outside it: its inner border.
template <typename Visit>
void eachBorderPixel(const Runs& a, Visit&& visit) {
  for (const Run& run : marginRuns(a, 1)) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) visit(run.row, c);
  }
}

NearestPair closest(const Runs& a, const Runs& b, bool chessboard) {
  NearestPair pair;
  if (a.empty() || b.empty()) return pair;
  const Runs shared = intersectRuns(a, b);
  if (!shared.empty()) {
    pair.row1 = pair.row2 = shared.front().row;
    pair.col1 = pair.col2 = shared.front().begin;
    return pair;
  }
  const RowRuns rows(b);
  pair.distance = HUGE_VAL;
  eachBorderPixel(a, [&](std::int32_t r, std::int32_t c) {
    std::int32_t row = 0, col = 0;
    const double d = rows.nearest(r, c, chessboard, &row, &col);
    if (d < pair.distance) pair = NearestPair{d, r, c, row, col};
  });
  return pair;
}

std::vector<const Runs*> oneRegion(const HObject& region, const char* op) {
  checkNoObjects(region, op, 1);
  std::vector<const Runs*> regions = regionsOf(region, op, 1);
  if (regions.size() > 1) fail(op, 1501);
  if (skipEmptyRegions(regions, op)) regions.clear();
  return regions;
}

// Each point or line of the control inputs against the region's runs: `measure` gives the
// least and largest distance of one run; the region's are the least and largest over its runs.
template <typename Measure>
void againstRuns(const HObject& Region, std::initializer_list<const HTuple*> inputs, const char* op,
                 HTuple* DistanceMin, HTuple* DistanceMax, Measure&& measure) {
  const std::vector<const Runs*> regions = oneRegion(Region, op);
  const Hlong n = (*inputs.begin())->Length();
  int position = 0;
  for (const HTuple* input : inputs) requireLength(*input, n, op, ++position);
  HTuple nearest, farthest;
  if (regions.empty()) return setOutput(DistanceMin, nearest), setOutput(DistanceMax, farthest);
  for (Hlong i = 0; i < n; ++i) {
    std::vector<double> v;
    position = 0;
    for (const HTuple* input : inputs) v.push_back(numberAt(*input, i, op, ++position));
    double low = HUGE_VAL, high = regions[0]->empty() ? 0 : -HUGE_VAL;
    for (const Run& run : *regions[0]) measure(v, run, &low, &high);
    nearest.Append(HTuple(regions[0]->empty() ? 0.0 : low));
    farthest.Append(HTuple(high));
  }
  setOutput(DistanceMin, std::move(nearest));
  setOutput(DistanceMax, std::move(farthest));
}

Segment runSegment(const Run& run) {
  return Segment{double(run.row), double(run.begin), double(run.row), double(run.end)};
}

}  // namespace

NearestPair nearestPixels(const Runs& a, const Runs& b) {
  return closest(a, b, false);
}

std::int64_t dilationDistance(const Runs& a, const Runs& b) {
  if (a.empty() || b.empty()) return 0;
  const auto d = static_cast<std::int64_t>(closest(a, b, true).distance);
  // n dilations of both close a chessboard gap of 2 n.
  return 2 * ((d + 1) / 2) - 1;
}

}  // namespace Standin

using namespace Standin;

// A point inside the region, in the pixel that holds it, is at 0.
void DistancePr(const HObject& Region, const HTuple& Row, const HTuple& Column, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistancePr");
  againstRuns(Region, {&Row, &Column}, "distance_pr", DistanceMin, DistanceMax,
              [](const std::vector<double>& p, const Run& run, double* low, double* high) {
                const Segment s = runSegment(run);
                const bool inside = std::floor(p[0] + 0.5) == run.row &&
                                    std::floor(p[1] + 0.5) >= run.begin &&
                                    std::floor(p[1] + 0.5) <= run.end;
                *low = std::min(*low, inside ? 0.0 : segmentDistance(s, p[0], p[1]));
                *high = std::max(*high, std::max(std::hypot(p[0] - s.r1, p[1] - s.c1),
                                                 std::hypot(p[0] - s.r2, p[1] - s.c2)));
              });
}

// A line with pixel centres on both sides of it crosses the region, at 0.
void DistanceLr(const HObject& Region, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceLr");
  int sides = 0;  // bit 1: a centre on the left, bit 2: one on the right
  againstRuns(Region, {&Row1, &Column1, &Row2, &Column2}, "distance_lr", DistanceMin, DistanceMax,
              [&](const std::vector<double>& v, const Run& run, double* low, double* high) {
                const Segment line{v[0], v[1], v[2], v[3]};
                const Segment s = runSegment(run);
                if (*high < 0) sides = 0;  // the first run of another line
                for (const double side : {crossOf(line, s.r1, s.c1), crossOf(line, s.r2, s.c2)}) {
                  sides |= side <= 0 ? 1 : 0;
                  sides |= side >= 0 ? 2 : 0;
                }
                const double d1 = lineDistance(line, s.r1, s.c1);
                const double d2 = lineDistance(line, s.r2, s.c2);
                *low = sides == 3 ? 0 : std::min(*low, std::min(d1, d2));
                *high = std::max(*high, std::max(d1, d2));
              });
}

void DistanceSr(const HObject& Region, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceSr");
  againstRuns(Region, {&Row1, &Column1, &Row2, &Column2}, "distance_sr", DistanceMin, DistanceMax,
              [](const std::vector<double>& v, const Run& run, double* low, double* high) {
                const Segment segment{v[0], v[1], v[2], v[3]};
                const Segment s = runSegment(run);
                *low = std::min(*low, segmentsDistance(segment, s));
                *high = std::max(*high, std::max(segmentDistance(segment, s.r1, s.c1),
                                                 segmentDistance(segment, s.r2, s.c2)));
              });
}

void DistanceRrMin(const HObject& Regions1, const HObject& Regions2, HTuple* MinDistance,
                   HTuple* Row1, HTuple* Column1, HTuple* Row2, HTuple* Column2) {
  ApiScope scope("DistanceRrMin");
  const char* op = "distance_rr_min";
  checkNoObjects(Regions1, op, 1);
  checkNoObjects(Regions2, op, 2);
  const std::vector<const Runs*> a = regionsOf(Regions1, op, 1), b = regionsOf(Regions2, op, 2);
  if (a.size() != b.size()) fail(op, 1502);
  HTuple d, r1, c1, r2, c2;
  if (!skipEmptyRegions(a, op) && !skipEmptyRegions(b, op)) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      const NearestPair p = nearestPixels(*a[i], *b[i]);
      d.Append(HTuple(p.distance));
      r1.Append(HTuple(Hlong{p.row1})), c1.Append(HTuple(Hlong{p.col1}));
      r2.Append(HTuple(Hlong{p.row2})), c2.Append(HTuple(Hlong{p.col2}));
    }
  }
  setOutput(MinDistance, std::move(d));
  setOutput(Row1, std::move(r1)), setOutput(Column1, std::move(c1));
  setOutput(Row2, std::move(r2)), setOutput(Column2, std::move(c2));
}

void DistanceRrMinDil(const HObject& Regions1, const HObject& Regions2, HTuple* MinDistance) {
  ApiScope scope("DistanceRrMinDil");
  const char* op = "distance_rr_min_dil";
  checkNoObjects(Regions1, op, 1);
  checkNoObjects(Regions2, op, 2);
  const std::vector<const Runs*> a = regionsOf(Regions1, op, 1), b = regionsOf(Regions2, op, 2);
  if (a.size() != b.size()) fail(op, 1502);
  HTuple out;
  if (!skipEmptyRegions(a, op) && !skipEmptyRegions(b, op)) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      out.Append(HTuple(static_cast<Hlong>(dilationDistance(*a[i], *b[i]))));
    }
  }
  setOutput(MinDistance, std::move(out));
}

}  // namespace HalconCpp
