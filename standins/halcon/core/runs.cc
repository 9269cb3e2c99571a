#include "core/runs.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace HalconCpp {
namespace Standin {

Runs normalizeRuns(Runs runs) {
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return a.row != b.row ? a.row < b.row : a.begin < b.begin;
  });
  Runs merged;
  merged.reserve(runs.size());
  for (const Run& run : runs) {
    if (run.end < run.begin) continue;
    if (!merged.empty() && merged.back().row == run.row &&
        static_cast<std::int64_t>(run.begin) <= static_cast<std::int64_t>(merged.back().end) + 1) {
      merged.back().end = std::max(merged.back().end, run.end);
    } else {
      merged.push_back(run);
    }
  }
  return merged;
}

Runs rectangleRuns(std::int32_t row1, std::int32_t col1, std::int32_t row2, std::int32_t col2) {
  Runs runs;
  if (row2 < row1 || col2 < col1) return runs;
  runs.reserve(static_cast<std::size_t>(row2 - row1 + 1));
  for (std::int32_t row = row1; row <= row2; ++row) runs.push_back(Run{row, col1, col2});
  return runs;
}

Runs circleRuns(double row, double col, double radius) {
  Runs runs;
  const double r2 = radius * radius;
  const auto first = static_cast<std::int32_t>(std::ceil(row - radius));
  const auto last = static_cast<std::int32_t>(std::floor(row + radius));
  for (std::int32_t y = first; y <= last; ++y) {
    const double dy = y - row;
    const double half = std::sqrt(std::max(0.0, r2 - dy * dy));
    const auto begin = static_cast<std::int32_t>(std::ceil(col - half));
    const auto end = static_cast<std::int32_t>(std::floor(col + half));
    if (begin <= end) runs.push_back(Run{y, begin, end});
  }
  return runs;
}

Runs clipRuns(const Runs& runs, std::int32_t rows, std::int32_t cols) {
  Runs clipped;
  clipped.reserve(runs.size());
  for (const Run& run : runs) {
    if (run.row < 0 || run.row >= rows) continue;
    const Run cut{run.row, std::max(run.begin, 0), std::min(run.end, cols - 1)};
    if (cut.begin <= cut.end) clipped.push_back(cut);
  }
  return clipped;
}

std::int64_t runsArea(const Runs& runs) {
  std::int64_t area = 0;
  for (const Run& run : runs) area += static_cast<std::int64_t>(run.end) - run.begin + 1;
  return area;
}

// In whole numbers: every term (a length times a row, or times a column sum of half
// integers, doubled) is whole and every total stays below 2^53, so the doubles summed in
// order would be exact too and the quotients are the same; the integer additions do not wait
// on one another as the floating ones did.
void runsCenter(const Runs& runs, double* row, double* col) {
  std::int64_t area = 0, rowSum = 0, colSum2 = 0;
  for (const Run& run : runs) {
    const std::int64_t length = std::int64_t{run.end} - run.begin + 1;
    area += length;
    rowSum += length * run.row;
    colSum2 += length * (std::int64_t{run.begin} + run.end);
  }
  *row = area > 0 ? static_cast<double>(rowSum) / static_cast<double>(area) : 0.0;
  *col = area > 0 ? static_cast<double>(colSum2) / 2 / static_cast<double>(area) : 0.0;
}

bool runsContain(const Runs& runs, std::int32_t row, std::int32_t col) {
  // The last run that starts at or before (row, col) is the only candidate.
  auto it = std::upper_bound(runs.begin(), runs.end(), Run{row, col, col},
                             [](const Run& a, const Run& b) {
                               return a.row != b.row ? a.row < b.row : a.begin < b.begin;
                             });
  if (it == runs.begin()) return false;
  --it;
  return it->row == row && it->end >= col;
}

bool runsBox(const Runs& runs, std::int32_t* row1, std::int32_t* col1, std::int32_t* row2,
             std::int32_t* col2) {
  if (runs.empty()) return false;
  // Kept in locals: stores through the pointers, which may point into the runs for all the
  // compiler knows, would be redone at every run.
  std::int32_t left = runs.front().begin, right = runs.front().end;
  for (const Run& run : runs) {
    left = std::min(left, run.begin);
    right = std::max(right, run.end);
  }
  *row1 = runs.front().row;
  *row2 = runs.back().row;
  *col1 = left;
  *col2 = right;
  return true;
}

namespace {

std::size_t findRoot(std::vector<std::size_t>& parent, std::size_t i) {
  while (parent[i] != i) {
    parent[i] = parent[parent[i]];
    i = parent[i];
  }
  return i;
}

}  // namespace

std::vector<Runs> connectedRuns(const Runs& runs, int neighbourhood) {
  const std::int32_t reach = neighbourhood == 8 ? 1 : 0;
  std::vector<std::size_t> parent(runs.size());
  std::iota(parent.begin(), parent.end(), std::size_t{0});
  // Runs of consecutive rows touch in the 8-neighbourhood when their column ranges, each
  // widened by one, overlap; in the 4-neighbourhood when they overlap as they are. Both rows are
  // sorted, so one sweep finds every touching pair.
  std::size_t previousBegin = 0, previousEnd = 0;  // runs of the row above
  for (std::size_t i = 0; i < runs.size();) {
    std::size_t rowEnd = i;
    while (rowEnd < runs.size() && runs[rowEnd].row == runs[i].row) ++rowEnd;
    const bool aboveIsAdjacent =
        previousEnd > previousBegin && runs[previousBegin].row + 1 == runs[i].row;
    if (aboveIsAdjacent) {
      std::size_t j = previousBegin;
      for (std::size_t k = i; k < rowEnd; ++k) {
        while (j < previousEnd && runs[j].end + reach < runs[k].begin) ++j;
        for (std::size_t m = j; m < previousEnd && runs[m].begin <= runs[k].end + reach; ++m) {
          parent[findRoot(parent, k)] = findRoot(parent, m);
        }
      }
    }
    previousBegin = i;
    previousEnd = rowEnd;
    i = rowEnd;
  }
  // Components are numbered by their first run in run order: top-most, then left-most.
  std::vector<Runs> components;
  std::vector<std::size_t> componentOfRoot(runs.size(), runs.size());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const std::size_t root = findRoot(parent, i);
    if (componentOfRoot[root] == runs.size()) {
      componentOfRoot[root] = components.size();
      components.emplace_back();
    }
    components[componentOfRoot[root]].push_back(runs[i]);
  }
  return components;
}

namespace {

// The runs of one row, [first, last) of a canonical list.
struct RowSpan {
  std::int32_t row;
  std::size_t first;
  std::size_t last;
};

// The row's runs with `width` pixels taken off both ends: the row eroded horizontally.
Runs shrunkRow(const Runs& runs, const RowSpan& span, int width) {
  Runs shrunk;
  for (std::size_t i = span.first; i < span.last; ++i) {
    const std::int64_t begin = std::int64_t{runs[i].begin} + width;
    const std::int64_t end = std::int64_t{runs[i].end} - width;
    if (begin <= end) {
      shrunk.push_back(
          Run{runs[i].row, static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end)});
    }
  }
  return shrunk;
}

// The columns both sorted lists cover, with the row of `a`.
Runs intersectRows(const Runs& a, const Runs& b) {
  Runs both;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const std::int32_t begin = std::max(a[i].begin, b[j].begin);
    const std::int32_t end = std::min(a[i].end, b[j].end);
    if (begin <= end) both.push_back(Run{a[i].row, begin, end});
    (a[i].end < b[j].end ? i : j) += 1;
  }
  return both;
}

}  // namespace

// A square erosion is a row erosion followed by a column erosion; what it removes is the
// margin. Done on the runs, row by row, so that the cost follows the number of runs and not
// the area of the bounding box (a huge rectangle painted onto a small image).
Runs marginRuns(const Runs& runs, int width) {
  std::vector<RowSpan> rows;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (rows.empty() || rows.back().row != runs[i].row) rows.push_back(RowSpan{runs[i].row, i, i});
    rows.back().last = i + 1;
  }
  Runs margin;
  const auto reach = static_cast<std::ptrdiff_t>(width);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    Runs kept = shrunkRow(runs, rows[k], width);
    for (std::ptrdiff_t d = -reach; d <= reach && !kept.empty(); ++d) {
      const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(k) + d;
      // Rows are distinct and sorted: row + d is there only at index k + d.
      if (n < 0 || n >= static_cast<std::ptrdiff_t>(rows.size()) ||
          std::int64_t{rows[static_cast<std::size_t>(n)].row} != std::int64_t{rows[k].row} + d) {
        kept.clear();
      } else if (d != 0) {
        kept = intersectRows(kept, shrunkRow(runs, rows[static_cast<std::size_t>(n)], width));
      }
    }
    // What the erosion kept lies within the row's runs: the rest of each run is margin.
    std::size_t j = 0;
    for (std::size_t i = rows[k].first; i < rows[k].last; ++i) {
      std::int32_t from = runs[i].begin;
      for (; j < kept.size() && kept[j].end <= runs[i].end; ++j) {
        if (kept[j].begin > from) margin.push_back(Run{runs[i].row, from, kept[j].begin - 1});
        from = kept[j].end + 1;
      }
      if (from <= runs[i].end) margin.push_back(Run{runs[i].row, from, runs[i].end});
    }
  }
  return margin;
}

}  // namespace Standin
}  // namespace HalconCpp
