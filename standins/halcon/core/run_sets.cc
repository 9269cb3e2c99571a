#include "core/run_sets.h"

#include <algorithm>

#include "core/threads.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

bool before(const Run& a, const Run& b) {
  return a.row != b.row ? a.row < b.row : a.begin < b.begin;
}

// Appends a run to canonical runs, joining it to the last one when they overlap or touch.
void appendMerged(Runs& out, const Run& run) {
  if (!out.empty() && out.back().row == run.row &&
      static_cast<std::int64_t>(run.begin) <= static_cast<std::int64_t>(out.back().end) + 1) {
    out.back().end = std::max(out.back().end, run.end);
  } else {
    out.push_back(run);
  }
}

// Where each row's runs start, for rows first..last: runs of row r are
// [starts[r - first], starts[r - first + 1]).
struct RowIndex {
  std::int32_t first = 0;
  std::int32_t last = -1;
  std::vector<std::size_t> starts;

  explicit RowIndex(const Runs& runs) {
    if (runs.empty()) return;
    first = runs.front().row;
    last = runs.back().row;
    starts.assign(static_cast<std::size_t>(last - first) + 2, 0);
    for (const Run& run : runs) ++starts[static_cast<std::size_t>(run.row - first) + 1];
    for (std::size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
  }
  bool has(std::int32_t row) const { return row >= first && row <= last; }
  std::size_t begin(std::int32_t row) const {
    return starts[static_cast<std::size_t>(row - first)];
  }
  std::size_t end(std::int32_t row) const {
    return starts[static_cast<std::size_t>(row - first) + 1];
  }
};

// Intervals of one row, sorted and disjoint; the working form of the morphology below.
using Intervals = Runs;

void mergeInto(Intervals& acc, const Intervals& more, Intervals& scratch) {
  scratch.clear();
  std::size_t i = 0, j = 0;
  while (i < acc.size() || j < more.size()) {
    const bool takeAcc = j == more.size() || (i < acc.size() && acc[i].begin <= more[j].begin);
    appendMerged(scratch, takeAcc ? acc[i++] : more[j++]);
  }
  acc.swap(scratch);
}

void intersectInto(Intervals& acc, const Intervals& more, Intervals& scratch) {
  scratch.clear();
  std::size_t i = 0, j = 0;
  while (i < acc.size() && j < more.size()) {
    const std::int32_t lo = std::max(acc[i].begin, more[j].begin);
    const std::int32_t hi = std::min(acc[i].end, more[j].end);
    if (lo <= hi) scratch.push_back(Run{acc[i].row, lo, hi});
    if (acc[i].end < more[j].end) {
      ++i;
    } else {
      ++j;
    }
  }
  acc.swap(scratch);
}

}  // namespace

Runs unionRuns(const Runs& a, const Runs& b) {
  Runs out;
  out.reserve(a.size() + b.size());
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    const bool takeA = j == b.size() || (i < a.size() && !before(b[j], a[i]));
    appendMerged(out, takeA ? a[i++] : b[j++]);
  }
  return out;
}

Runs unionAll(const std::vector<const Runs*>& regions) {
  if (regions.size() == 1) return *regions.front();
  if (regions.size() == 2) return unionRuns(*regions[0], *regions[1]);
  Runs all;
  std::size_t total = 0;
  for (const Runs* region : regions) total += region->size();
  all.reserve(total);
  for (const Runs* region : regions) all.insert(all.end(), region->begin(), region->end());
  return normalizeRuns(std::move(all));
}

Runs intersectRuns(const Runs& a, const Runs& b) {
  Runs out;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].row != b[j].row) {
      if (a[i].row < b[j].row) {
        ++i;
      } else {
        ++j;
      }
      continue;
    }
    const std::int32_t lo = std::max(a[i].begin, b[j].begin);
    const std::int32_t hi = std::min(a[i].end, b[j].end);
    if (lo <= hi) out.push_back(Run{a[i].row, lo, hi});
    if (a[i].end < b[j].end) {
      ++i;
    } else {
      ++j;
    }
  }
  return out;
}

Runs subtractRuns(const Runs& a, const Runs& b) {
  Runs out;
  out.reserve(a.size());
  std::size_t j = 0;
  for (const Run& run : a) {
    while (j < b.size() && (b[j].row < run.row || (b[j].row == run.row && b[j].end < run.begin))) {
      ++j;
    }
    std::int32_t from = run.begin;
    for (std::size_t k = j; k < b.size() && b[k].row == run.row && b[k].begin <= run.end; ++k) {
      if (b[k].begin > from) out.push_back(Run{run.row, from, b[k].begin - 1});
      from = std::max(from, b[k].end + 1);
    }
    if (from <= run.end) out.push_back(Run{run.row, from, run.end});
  }
  return out;
}

Element elementOf(const Runs& shape) {
  Element element;
  element.reserve(shape.size());
  for (const Run& run : shape) element.push_back(Span{run.row, run.begin, run.end});
  return element;
}

namespace {

// Rows [first, last] of a result made row by row, `row(y, out, scratch)` appending row y's
// runs, in bands on the operators' threads, each band with its own Scratch; the bands' runs
// joined in order.
template <typename Scratch, typename Row>
Runs byRowBands(std::int32_t first, std::int32_t last, std::int64_t work, Row&& row) {
  if (last < first) return {};
  const std::int64_t rows = std::int64_t{last} - first + 1;
  const int bands = bandsFor(rows, work);
  if (bands == 1) {
    Runs out;
    Scratch scratch;
    for (std::int32_t y = first; y <= last; ++y) row(y, out, scratch);
    return out;
  }
  std::vector<Runs> parts(static_cast<std::size_t>(bands));
  forBands(rows, bands, [&](int band, std::int64_t begin, std::int64_t end) {
    Runs& out = parts[static_cast<std::size_t>(band)];
    Scratch scratch;
    for (std::int64_t y = first + begin; y < first + end; ++y) {
      row(static_cast<std::int32_t>(y), out, scratch);
    }
  });
  std::size_t total = 0;
  for (const Runs& part : parts) total += part.size();
  Runs out;
  out.reserve(total);
  for (const Runs& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The work of a morphology in pixels of a filter, to share it out: each run of the region
// meets each row of the element, at some dozen pixels' cost.
std::int64_t morphologyWork(const Runs& region, const Element& element) {
  return static_cast<std::int64_t>(region.size()) * static_cast<std::int64_t>(element.size()) * 16;
}

}  // namespace

Runs dilateRuns(const Runs& region, const Element& element) {
  if (region.empty() || element.empty()) return {};
  const RowIndex rows(region);
  std::int32_t minDy = element.front().dy, maxDy = element.front().dy;
  for (const Span& span : element) {
    minDy = std::min(minDy, span.dy);
    maxDy = std::max(maxDy, span.dy);
  }
  struct Scratch {
    Intervals acc, shifted, scratch;
  };
  return byRowBands<Scratch>(
      rows.first + minDy, rows.last + maxDy, morphologyWork(region, element),
      [&](std::int32_t y, Runs& out, Scratch& work) {
        Intervals &acc = work.acc, &shifted = work.shifted, &scratch = work.scratch;
        acc.clear();
        for (const Span& span : element) {
          const std::int32_t source = y - span.dy;
          if (!rows.has(source)) continue;
          shifted.clear();
          for (std::size_t i = rows.begin(source); i < rows.end(source); ++i) {
            appendMerged(shifted, Run{y, region[i].begin + span.begin, region[i].end + span.end});
          }
          if (acc.empty()) {
            acc.swap(shifted);
          } else if (!shifted.empty()) {
            mergeInto(acc, shifted, scratch);
          }
        }
        out.insert(out.end(), acc.begin(), acc.end());
      });
}

Runs erodeRuns(const Runs& region, const Element& element) {
  if (region.empty() || element.empty()) return {};
  const RowIndex rows(region);
  std::int32_t minDy = element.front().dy, maxDy = element.front().dy;
  for (const Span& span : element) {
    minDy = std::min(minDy, span.dy);
    maxDy = std::max(maxDy, span.dy);
  }
  struct Scratch {
    Intervals acc, allowed, scratch;
  };
  return byRowBands<Scratch>(
      rows.first - minDy, rows.last - maxDy, morphologyWork(region, element),
      [&](std::int32_t y, Runs& out, Scratch& work) {
        Intervals &acc = work.acc, &allowed = work.allowed, &scratch = work.scratch;
        acc.clear();
        bool first = true;
        for (const Span& span : element) {
          const std::int32_t source = y + span.dy;
          allowed.clear();
          if (rows.has(source)) {
            // The centres x for which [x + begin, x + end] lies inside one run of that row.
            for (std::size_t i = rows.begin(source); i < rows.end(source); ++i) {
              const std::int64_t lo = static_cast<std::int64_t>(region[i].begin) - span.begin;
              const std::int64_t hi = static_cast<std::int64_t>(region[i].end) - span.end;
              if (lo <= hi) {
                allowed.push_back(
                    Run{y, static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi)});
              }
            }
          }
          if (first) {
            acc.swap(allowed);
            first = false;
          } else {
            intersectInto(acc, allowed, scratch);
          }
          if (acc.empty()) break;
        }
        out.insert(out.end(), acc.begin(), acc.end());
      });
}

std::vector<Runs> componentsOf(const Runs& runs, int neighbourhood) {
  return connectedRuns(runs, neighbourhood);
}

std::vector<Runs> holesOf(const Runs& runs, int neighbourhood) {
  std::int32_t row1, col1, row2, col2;
  if (!runsBox(runs, &row1, &col1, &row2, &col2)) return {};
  // One pixel of frame around the box joins everything outside into the first component.
  const Runs background = subtractRuns(rectangleRuns(row1 - 1, col1 - 1, row2 + 1, col2 + 1), runs);
  std::vector<Runs> parts = connectedRuns(background, neighbourhood == 8 ? 4 : 8);
  parts.erase(parts.begin());
  return parts;
}

int systemNeighbourhood() {
  InsideScope inside;
  HTuple value;
  GetSystem("neighborhood", &value);
  return value.Length() == 1 && value[0].Type() == eElementTypeLong && value[0].L() == 4 ? 4 : 8;
}

}  // namespace Standin
}  // namespace HalconCpp
