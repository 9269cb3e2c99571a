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
Runs byRowBands(std::int32_t first, std::int32_t last, std::int64_t work, std::size_t expected,
                Row&& row) {
  if (last < first) return {};
  const std::int64_t rows = std::int64_t{last} - first + 1;
  const int bands = bandsFor(rows, work);
  if (bands == 1) {
    Runs out;
    out.reserve(expected);
    Scratch scratch;
    for (std::int32_t y = first; y <= last; ++y) row(y, out, scratch);
    return out;
  }
  std::vector<Runs> parts(static_cast<std::size_t>(bands));
  forBands(rows, bands, [&](int band, std::int64_t begin, std::int64_t end) {
    Runs& out = parts[static_cast<std::size_t>(band)];
    out.reserve(expected / static_cast<std::size_t>(bands));
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

std::int32_t rowSpanOf(const Element& element, bool lowest) {
  std::int32_t dy = element.front().dy;
  for (const Span& span : element) dy = lowest ? std::min(dy, span.dy) : std::max(dy, span.dy);
  return dy;
}

// The element's rows grouped by their span of columns: a circle has few spans, each shared by
// the rows above and below the centre, a rectangle one. The rows of a group are united (or
// met) first and shifted once.
struct SpanGroup {
  std::int32_t begin, end;
  std::vector<std::int32_t> dys;
};

std::vector<SpanGroup> spanGroups(const Element& element) {
  std::vector<SpanGroup> groups;
  for (const Span& span : element) {
    auto it = std::find_if(groups.begin(), groups.end(), [&](const SpanGroup& g) {
      return g.begin == span.begin && g.end == span.end;
    });
    if (it == groups.end()) {
      groups.push_back(SpanGroup{span.begin, span.end, {}});
      it = groups.end() - 1;
    }
    it->dys.push_back(span.dy);
  }
  return groups;
}

// The working lists of one band.
struct RowScratch {
  Runs group, shifted, merged, acc;
};

// out = a united with b, canonical, in row y.
void unite(const Run* a, const Run* aEnd, const Run* b, const Run* bEnd, Runs& out) {
  out.clear();
  while (a != aEnd || b != bEnd) {
    const bool takeA = b == bEnd || (a != aEnd && a->begin <= b->begin);
    const Run& next = takeA ? *a++ : *b++;
    if (!out.empty() && std::int64_t{next.begin} <= std::int64_t{out.back().end} + 1) {
      out.back().end = std::max(out.back().end, next.end);
    } else {
      out.push_back(next);
    }
  }
}

// out = where both a and b are.
void meet(const Run* a, const Run* aEnd, const Run* b, const Run* bEnd, Runs& out) {
  out.clear();
  while (a != aEnd && b != bEnd) {
    const std::int32_t lo = std::max(a->begin, b->begin), hi = std::min(a->end, b->end);
    if (lo <= hi) out.push_back(Run{a->row, lo, hi});
    (a->end < b->end ? a : b) += 1;
  }
}

}  // namespace

Runs dilateRuns(const Runs& region, const Element& element) {
  if (region.empty() || element.empty()) return {};
  const RowIndex rows(region);
  const std::int32_t minDy = rowSpanOf(element, true), maxDy = rowSpanOf(element, false);
  const std::vector<SpanGroup> groups = spanGroups(element);
  // Output row y: for each group, the union of its source rows widened by its span; then the
  // union of the groups.
  return byRowBands<RowScratch>(
      rows.first + minDy, rows.last + maxDy, morphologyWork(region, element), region.size() * 2,
      [&](std::int32_t y, Runs& out, RowScratch& work) {
        work.acc.clear();
        for (const SpanGroup& g : groups) {
          work.group.clear();
          for (const std::int32_t dy : g.dys) {
            const std::int32_t source = y - dy;
            if (!rows.has(source) || rows.begin(source) == rows.end(source)) continue;
            const Run* first = region.data() + rows.begin(source);
            const Run* last = region.data() + rows.end(source);
            unite(work.group.data(), work.group.data() + work.group.size(), first, last,
                  work.merged);
            work.group.swap(work.merged);
          }
          if (work.group.empty()) continue;
          work.shifted.clear();
          for (const Run& run : work.group) {
            const Run wide{y, run.begin + g.begin, run.end + g.end};
            if (!work.shifted.empty() &&
                std::int64_t{wide.begin} <= std::int64_t{work.shifted.back().end} + 1) {
              work.shifted.back().end = std::max(work.shifted.back().end, wide.end);
            } else {
              work.shifted.push_back(wide);
            }
          }
          unite(work.acc.data(), work.acc.data() + work.acc.size(), work.shifted.data(),
                work.shifted.data() + work.shifted.size(), work.merged);
          work.acc.swap(work.merged);
        }
        out.insert(out.end(), work.acc.begin(), work.acc.end());
      });
}

Runs erodeRuns(const Runs& region, const Element& element) {
  if (region.empty() || element.empty()) return {};
  const RowIndex rows(region);
  const std::int32_t minDy = rowSpanOf(element, true), maxDy = rowSpanOf(element, false);
  const std::vector<SpanGroup> groups = spanGroups(element);
  // Output row y: the centres x for which [x + begin, x + end] lies inside one run of a source
  // row are that row's runs narrowed by the span. Erosion distributes over intersection, so
  // each group's source rows are met first and narrowed once; then the groups are met.
  return byRowBands<RowScratch>(
      rows.first - minDy, rows.last - maxDy, morphologyWork(region, element), region.size(),
      [&](std::int32_t y, Runs& out, RowScratch& work) {
        bool first = true;
        for (const SpanGroup& g : groups) {
          bool firstRow = true;
          for (const std::int32_t dy : g.dys) {
            const std::int32_t source = y + dy;
            if (!rows.has(source) || rows.begin(source) == rows.end(source)) return;
            const Run* from = region.data() + rows.begin(source);
            const Run* to = region.data() + rows.end(source);
            if (firstRow) {
              work.group.assign(from, to);
              firstRow = false;
            } else {
              meet(work.group.data(), work.group.data() + work.group.size(), from, to, work.merged);
              work.group.swap(work.merged);
            }
            if (work.group.empty()) return;
          }
          work.shifted.clear();
          for (const Run& run : work.group) {
            const std::int64_t lo = std::int64_t{run.begin} - g.begin;
            const std::int64_t hi = std::int64_t{run.end} - g.end;
            if (lo <= hi) {
              work.shifted.push_back(
                  Run{y, static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi)});
            }
          }
          if (first) {
            work.acc.swap(work.shifted);
            first = false;
          } else {
            meet(work.acc.data(), work.acc.data() + work.acc.size(), work.shifted.data(),
                 work.shifted.data() + work.shifted.size(), work.merged);
            work.acc.swap(work.merged);
          }
          if (work.acc.empty()) return;
        }
        out.insert(out.end(), work.acc.begin(), work.acc.end());
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
