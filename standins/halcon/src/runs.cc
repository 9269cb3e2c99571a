#include "runs.h"

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

void runsCenter(const Runs& runs, double* row, double* col) {
  double area = 0, rowSum = 0, colSum = 0;
  for (const Run& run : runs) {
    const double length = static_cast<double>(run.end) - run.begin + 1;
    area += length;
    rowSum += length * run.row;
    colSum += length * (static_cast<double>(run.begin) + run.end) / 2;
  }
  *row = area > 0 ? rowSum / area : 0.0;
  *col = area > 0 ? colSum / area : 0.0;
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
  *row1 = runs.front().row;
  *row2 = runs.back().row;
  *col1 = runs.front().begin;
  *col2 = runs.front().end;
  for (const Run& run : runs) {
    *col1 = std::min(*col1, run.begin);
    *col2 = std::max(*col2, run.end);
  }
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

// Erodes each line of a bitmap by a window of 2*width+1 pixels: a pixel stays set only when
// every pixel of the window around it is set; pixels beyond the bitmap count as unset.
void erodeLines(std::vector<unsigned char>& bits, std::size_t lines, std::size_t length,
                std::size_t stride, std::size_t step, int width) {
  std::vector<unsigned char> line(length);
  const auto w = static_cast<std::ptrdiff_t>(width);
  for (std::size_t l = 0; l < lines; ++l) {
    for (std::size_t i = 0; i < length; ++i) line[i] = bits[l * stride + i * step];
    // runLeft: set pixels ending at i; runRight: set pixels starting at i.
    std::vector<std::ptrdiff_t> runLeft(length), runRight(length);
    for (std::size_t i = 0; i < length; ++i) {
      runLeft[i] = line[i] ? (i > 0 ? runLeft[i - 1] : 0) + 1 : 0;
    }
    for (std::size_t i = length; i-- > 0;) {
      runRight[i] = line[i] ? (i + 1 < length ? runRight[i + 1] : 0) + 1 : 0;
    }
    for (std::size_t i = 0; i < length; ++i) {
      bits[l * stride + i * step] = line[i] && runLeft[i] > w && runRight[i] > w;
    }
  }
}

}  // namespace

Runs marginRuns(const Runs& runs, int width) {
  std::int32_t row1, col1, row2, col2;
  if (!runsBox(runs, &row1, &col1, &row2, &col2)) return {};
  const auto rows = static_cast<std::size_t>(row2 - row1 + 1);
  const auto cols = static_cast<std::size_t>(col2 - col1 + 1);
  std::vector<unsigned char> bits(rows * cols, 0);
  for (const Run& run : runs) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      bits[static_cast<std::size_t>(run.row - row1) * cols + static_cast<std::size_t>(c - col1)] =
          1;
    }
  }
  // A square erosion is a row erosion followed by a column erosion; what it removes is the
  // margin.
  std::vector<unsigned char> eroded = bits;
  erodeLines(eroded, rows, cols, cols, 1, width);
  erodeLines(eroded, cols, rows, 1, cols, width);
  Runs margin;
  for (std::size_t y = 0; y < rows; ++y) {
    for (std::size_t x = 0; x < cols; ++x) {
      const std::size_t i = y * cols + x;
      if (!bits[i] || eroded[i]) continue;
      const auto row = static_cast<std::int32_t>(row1 + static_cast<std::int32_t>(y));
      const auto col = static_cast<std::int32_t>(col1 + static_cast<std::int32_t>(x));
      if (!margin.empty() && margin.back().row == row && margin.back().end + 1 == col) {
        margin.back().end = col;
      } else {
        margin.push_back(Run{row, col, col});
      }
    }
  }
  return margin;
}

}  // namespace Standin
}  // namespace HalconCpp
