#include "operators/xld/xld_link.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <utility>

#include "core/numbers.h"
#include "core/threads.h"
#include "operators/xld/xld_link_held.h"
#include "operators/xld/xld_link_normals.h"
#include "operators/xld/xld_link_tables.h"

namespace HalconCpp {
namespace Standin {

namespace {

using namespace linking;

// A point's share of a band's work, counted in pixels of the filters': its reads miss the cache.
constexpr std::int64_t kPointWork = 16;

}  // namespace

namespace linking {

std::vector<ContourPtr> linkHeld(LinkTables& tables, std::int32_t w, std::int32_t h,
                                 const std::vector<std::string>& names, bool sorted,
                                 const Listing* listing, bool alone) {
  Held& held = tables.held;
  // The states a byte a pixel (0: no point) in a plane bordered by one pixel that never holds
  // one, so that a neighbour needs no test of the image's edges; and the points' pixels in
  // order, row by row, each with its point: the scans below visit them alone, as every other
  // pixel's state stays 0, and the walks step from a point to its neighbour's among the points
  // (a table of the image's size would cost a fresh page of memory for every few points).
  const auto stride = static_cast<std::ptrdiff_t>(w) + 2;
  ZeroPlane plane = zeroPlane(static_cast<std::size_t>(stride) * (std::size_t(h) + 2));
  std::uint8_t* const state = plane.bytes.get();
  // A pixel holds one point at most: the pixels alone order them.
  const auto byPixel = [](const Held::value_type& a, const Held::value_type& b) {
    return a.first < b.first;
  };
  // Where each row's points start among them, and each point's place in the plane: its pixel
  // moved by the border, one pixel before each row and after it and a row above all. Bands of
  // rows fill their own parts of both and of the plane.
  const std::size_t n = held.size();
  std::vector<std::size_t>& rowStart = tables.rowStart;
  std::vector<std::size_t>& place = tables.place;
  rowStart.resize(static_cast<std::size_t>(h) + 1);
  rowStart[static_cast<std::size_t>(h)] = n;
  place.resize(n);
  const int bands = alone ? 1 : bandsFor(h, static_cast<std::int64_t>(n) * kPointWork);
  const int rowParts = partsFor(h, bands);
  const auto width = static_cast<std::size_t>(w);
  const auto fillRows = [&](std::int64_t b0, std::int64_t b1) {
    std::size_t k = static_cast<std::size_t>(
        std::lower_bound(
            held.begin(), held.end(), static_cast<std::size_t>(b0) * width,
            [](const Held::value_type& a, std::size_t p) { return a.first >> 2 < p; }) -
        held.begin());
    for (auto r = static_cast<std::size_t>(b0); r < static_cast<std::size_t>(b1); ++r) {
      rowStart[r] = k;
      for (; k < n && held[k].first >> 2 < (r + 1) * width; ++k) {
        place[k] = (held[k].first >> 2) + 2 * r + static_cast<std::size_t>(stride) + 1;
        state[place[k]] = static_cast<std::uint8_t>(held[k].first & 3);
      }
    }
  };
  // Each point's first neighbour candidate in the rows above and below: the first point there
  // whose column is at least its own less one, so that a walk steps to any neighbour's point
  // in at most two comparisons instead of a search of the row.
  const auto up = static_cast<std::size_t>(stride);
  // Set for every point with a row above or below: the walks and the groups read no other.
  std::vector<std::size_t>& above = tables.above;
  std::vector<std::size_t>& below = tables.below;
  above.resize(n), below.resize(n);
  const auto neighboursOfRow = [&](std::size_t r) {
    const std::size_t begin = rowStart[r], end = rowStart[r + 1];
    if (r > 0) {
      for (std::size_t k = begin, j = rowStart[r - 1]; k < end; ++k) {
        while (j < begin && place[j] + up + 1 < place[k]) ++j;
        above[k] = j;
      }
    }
    if (r + 1 < static_cast<std::size_t>(h)) {
      for (std::size_t k = begin, j = end; k < end; ++k) {
        while (j < rowStart[r + 2] && place[j] + 1 < place[k] + up) ++j;
        below[k] = j;
      }
    }
  };
  std::vector<std::size_t>& root = tables.root;
  const auto find = [&](std::size_t k) {
    while (root[k] != k) k = root[k] = root[root[k]];
    return k;
  };
  const auto unite = [&](std::size_t a, std::size_t b) {
    a = find(a), b = find(b);
    if (a < b) root[b] = a;
    if (b < a) root[a] = b;
  };
  const auto uniteAbove = [&](std::size_t r) {
    for (std::size_t k = rowStart[r]; k < rowStart[r + 1]; ++k) {
      for (std::size_t j = above[k]; j < rowStart[r] && place[j] + up <= place[k] + 1; ++j) {
        unite(k, j);
      }
    }
  };
  // On several threads the bands that find the points' groups find these first, row by row, and
  // in the same job as the rows' tables above: one hand-off to the threads instead of two.
  const auto groupRows = [&](std::int64_t b0, std::int64_t b1) {
    for (auto r = static_cast<std::size_t>(b0); r < static_cast<std::size_t>(b1); ++r) {
      neighboursOfRow(r);
      for (std::size_t k = rowStart[r]; k < rowStart[r + 1]; ++k) {
        root[k] = k;
        if (k > rowStart[r] && place[k - 1] + 1 == place[k]) unite(k, k - 1);
      }
      if (r > static_cast<std::size_t>(b0)) uniteAbove(r);
    }
  };
  const int parts =
      alone ? 1 : bandsFor(static_cast<std::int64_t>(n), static_cast<std::int64_t>(n) * kPointWork);
  // On several threads the listing, the rows' tables and the groups are one job, the tables and
  // groups left to the calling thread (below) where the listing leaves the points out of order.
  bool grouped = false;
  if (listing && parts > 1) {
    root.resize(n);
    inPhases(bands, {{listing->parts, partsFor(listing->parts, bands), listing->list, {}},
                     {h, rowParts, fillRows, listing->inOrder},
                     {h, rowParts, groupRows, {}}});
    sorted = grouped = listing->inOrder();
  } else if (listing) {
    const int listBands =
        alone ? 1 : bandsFor(listing->parts, static_cast<std::int64_t>(n) * kPointWork);
    inParts(listing->parts, listBands, partsFor(listing->parts, listBands), listing->list);
    sorted = listing->inOrder();
  }
  if (!sorted && !std::is_sorted(held.begin(), held.end(), byPixel)) {
    std::sort(held.begin(), held.end(), byPixel);
  }
  if (!grouped && parts == 1) {
    inParts(h, bands, rowParts, fillRows);
    inParts(h, bands, rowParts, [&](std::int64_t b0, std::int64_t b1) {
      for (auto r = static_cast<std::size_t>(b0); r < static_cast<std::size_t>(b1); ++r) {
        neighboursOfRow(r);
      }
    });
  } else if (!grouped) {
    root.resize(n);
    inPhases(bands, {{h, rowParts, fillRows, {}}, {h, rowParts, groupRows, {}}});
  }
  // The place among the points of the neighbour of point k at plane offset d, which holds one.
  const auto neighbourOf = [&](std::size_t k, std::ptrdiff_t d) {
    if (d == -1) return k - 1;
    if (d == 1) return k + 1;
    std::size_t j = d < 0 ? above[k] : below[k];
    const std::size_t target = place[k] + static_cast<std::size_t>(d);
    while (place[j] < target) ++j;
    return j;
  };
  // The eight neighbours' offsets in the plane, the edge neighbours first, each group row by
  // row: the order the walks try them in.
  const std::ptrdiff_t around[8] = {-stride,     -1,          1,          stride,
                                    -stride - 1, -stride + 1, stride - 1, stride + 1};
  // On the vector paths the eight states around i in one word, tested at once: the portable
  // loops cost the walks and the hysteresis a load, a compare and a branch a neighbour. Only the
  // neighbours' own bytes are read, which no other group's walk writes.
  const bool inWords = vectorPathsEnabled();
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  const auto aroundWord = [&](std::size_t i) {
    const std::uint8_t* const rowAbove = state + i - up - 1;
    const std::uint8_t* const rowBelow = state + i + up - 1;
    std::uint16_t aboveLeft = 0, belowLeft = 0;
    std::memcpy(&aboveLeft, rowAbove, 2);
    std::memcpy(&belowLeft, rowBelow, 2);
    return std::uint64_t{aboveLeft} | std::uint64_t{rowAbove[2]} << 16 |
           std::uint64_t{state[i - 1]} << 24 | std::uint64_t{state[i + 1]} << 32 |
           std::uint64_t{belowLeft} << 40 | std::uint64_t{rowBelow[2]} << 56;
  };
  const auto freeNeighbours = [&](std::size_t i) {
    if (!inWords) {
      int count = 0;
      for (const std::ptrdiff_t d : around) count += state[i + static_cast<std::size_t>(d)] == 2;
      return count;
    }
    const std::uint64_t word = aroundWord(i);
    // States are 0 to 3: a byte is 2 exactly where its bit 1 is set and its bit 0 is not. The
    // multiply adds the eight ones into the top byte.
    const std::uint64_t free = (word >> 1) & ~word & kOnes;
    return static_cast<int>((free * kOnes) >> 56);
  };

  // The walk from point k: its points' places among the points into `order`; true when it
  // closes, ending beside its start.
  const auto walk = [&](std::size_t k, std::vector<std::size_t>& order) {
    order.clear();
    std::size_t i = place[k];
    const std::size_t start = i;
    for (;;) {
      state[i] = 3;
      order.push_back(k);
      // Its point, which the contour reads once the walk ends.
      __builtin_prefetch(&held[k]);
      // The next point is the free neighbour with fewest free neighbours of its own, edge
      // neighbours before diagonal ones, so that a thick corner strands no point.
      int best = 99;
      std::ptrdiff_t step = 0;
      for (const std::ptrdiff_t d : around) {
        const std::size_t j = i + static_cast<std::size_t>(d);
        if (state[j] != 2) continue;
        const int f = freeNeighbours(j);
        if (f < best) best = f, step = d;
      }
      if (best == 99) break;
      k = neighbourOf(k, step);
      i += static_cast<std::size_t>(step);
    }
    const auto rowStep =
        static_cast<std::ptrdiff_t>(i) / stride - static_cast<std::ptrdiff_t>(start) / stride;
    const auto columnStep =
        static_cast<std::ptrdiff_t>(i) % stride - static_cast<std::ptrdiff_t>(start) % stride;
    return order.size() > 2 && std::abs(rowStep) <= 1 && std::abs(columnStep) <= 1;
  };
  const auto build = [&](const std::vector<std::size_t>& order, bool closed) {
    const std::size_t count = order.size(), size = count + (closed ? 1 : 0);
    // The thread's lists kept from contour to contour: two allocations fewer a contour, of the
    // many thousands a call hands out.
    thread_local std::unique_ptr<BuildScratch> kept;
    BuildScratch& scratch = keptOnThread(kept);
    // The points first, in a loop of loads alone, so that their misses of the cache overlap.
    std::vector<const LinkPoint*>& points = scratch.points;
    points.resize(count);
    for (std::size_t j = 0; j < count; ++j) {
      points[j] = held[order[j]].second;
      // A point's values span two lines of the cache where it does not start one.
      __builtin_prefetch(points[j]);
      __builtin_prefetch(reinterpret_cast<const char*>(points[j]) + sizeof(LinkPoint) - 1);
    }
    std::vector<double> rows(size), cols(size);
    // Each attribute's list is handed to the contour below: only the list of lists is kept.
    std::vector<std::vector<double>>& values = scratch.values;
    values.resize(names.size());
    for (std::vector<double>& v : values) v = std::vector<double>(size);
    for (std::size_t j = 0; j < count; ++j) {
      const LinkPoint& p = *points[j];
      rows[j] = p.row, cols[j] = p.col;
      for (std::size_t v = 0; v < names.size(); ++v) values[v][j] = p.values[v];
    }
    if (closed) {
      rows[count] = rows[0], cols[count] = cols[0];
      for (std::vector<double>& v : values) v[count] = v[0];
    }
    auto contour = makeContour(std::move(rows), std::move(cols));
    orientNormals(*contour, names, values);
    contour->attribs.reserve(names.size());
    for (std::size_t v = 0; v < names.size(); ++v) {
      contour->attribs.emplace_back(names[v], std::move(values[v]));
    }
    return contour;
  };
  // The walks of the points `at(0 ... count)` (in order), open chains from their ends first,
  // then what is left (closed rings) from anywhere; each walk of two points or more gives a
  // contour, handed to `take` with its start's place in that order of all the points' walks.
  std::vector<std::size_t> order;
  const auto walkAll = [&](std::size_t count, auto&& at, std::vector<std::size_t>& trail,
                           auto&& take) {
    for (std::size_t pass = 0; pass < 2; ++pass) {
      for (std::size_t m = 0; m < count; ++m) {
        const std::size_t k = at(m), i = place[k];
        if (state[i] != 2) continue;
        if (pass == 0 && freeNeighbours(i) > 1) continue;
        const bool closed = walk(k, trail);
        if (trail.size() >= 2) take(pass * n + k, build(trail, closed));
      }
    }
  };
  std::vector<ContourPtr> contours;
  if (parts == 1) {
    // Hysteresis: weak points joined to a strong one through their 8-neighbours become strong,
    // flooded from the strong points that have a weak neighbour alone.
    std::vector<std::size_t> stack;
    const auto strengthen = [&](std::size_t i) {
      // Most strong points have no weak neighbour (state 1: bit 0 set, bit 1 not).
      if (inWords) {
        const std::uint64_t word = aroundWord(i);
        if ((word & ~(word >> 1) & kOnes) == 0) return;
      }
      for (const std::ptrdiff_t d : around) {
        std::uint8_t& s = state[i + static_cast<std::size_t>(d)];
        if (s == 1) s = 2, stack.push_back(i + static_cast<std::size_t>(d));
      }
    };
    for (std::size_t k = 0; k < n; ++k) {
      if (state[place[k]] != 2) continue;
      strengthen(place[k]);
      while (!stack.empty()) {
        const std::size_t i = stack.back();
        stack.pop_back();
        strengthen(i);
      }
    }
    walkAll(
        n, [](std::size_t k) { return k; }, order,
        [&](std::size_t, ContourPtr c) { contours.push_back(std::move(c)); });
    keepZeroPlane(std::move(plane), place);
    return contours;
  }
  // On several threads: the points' groups of 8-neighbours walk apart, as no walk reads or
  // writes beyond its own group, and a group's walks are those it has among all the points'
  // walks, in the same order. A group with a strong point is strong as a whole (hysteresis). Each
  // point's group is named by its first point: union-find, within bands of rows and then across
  // the bands' first rows, each root the least point of its group.
  for (int part = 1; part < rowParts; ++part) {
    uniteAbove(static_cast<std::size_t>(bandStart(h, rowParts, part)));
  }
  // Roots point to lesser points: in order, each point's root's own is already its group's. In
  // the same one pass each group's points are chained in order behind its root, and its
  // strength found; the groups' own passes (on the threads, below) then follow the chains.
  std::vector<std::uint8_t>& strong = tables.strong;
  std::vector<std::size_t>& next = tables.next;
  std::vector<std::size_t>& last = tables.last;
  std::vector<std::size_t>& groupRoot = tables.groupRoot;
  strong.resize(n), next.resize(n), last.resize(n);
  groupRoot.clear();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t r = root[root[k]];
    root[k] = r;
    next[k] = n;
    if (r == k) {
      groupRoot.push_back(k);
      strong[k] = 0;
    } else {
      next[last[r]] = k;
    }
    last[r] = k;
    // The state as held, read in order: the plane's would cost a line of the cache a point.
    if ((held[k].first & 3) == 2) strong[r] = 1;
  }
  // The walks of group g, its contours into `mine`.
  using Found = std::vector<std::pair<std::size_t, ContourPtr>>;
  const auto walkGroup = [&](std::size_t g, Found& mine, std::vector<std::size_t>& group,
                             std::vector<std::size_t>& walked) {
    const std::size_t r = groupRoot[g];
    if (!strong[r]) {
      // A weak group gives no contour: its states are cleared, the strong ones' once walked.
      for (std::size_t k = r; k < n; k = next[k]) state[place[k]] = 0;
      return;
    }
    group.clear();
    // The walks read the states around each point and look up its first neighbours above
    // and below: fetched here, all at once, rather than one miss of the cache after the other
    // along the walks.
    for (std::size_t k = r; k < n; k = next[k]) {
      group.push_back(k);
      const std::size_t i = place[k];
      state[i] = 2;
      __builtin_prefetch(state + i - up);
      __builtin_prefetch(state + i + up);
      __builtin_prefetch(&above[k]);
      __builtin_prefetch(&below[k]);
    }
    const std::size_t count = group.size();
    walkAll(
        count, [&](std::size_t m) { return group[m]; }, walked,
        [&](std::size_t key, ContourPtr c) { mine.emplace_back(key, std::move(c)); });
    // No other group's walks read these states: cleared here, on this thread, while they are
    // in its cache.
    for (std::size_t m = 0; m < count; ++m) state[place[group[m]]] = 0;
  };
  // Each thread walks the next run of groups not yet taken; the contours then go in their walks'
  // order. Groups in turn lie side by side along the rows, a few bytes apart in the plane of
  // states: runs of them keep the threads' writes to the states off each other's lines of the
  // cache, which they would otherwise take from each other at almost every point.
  std::vector<Found> found(static_cast<std::size_t>(parts));
  const std::size_t groups = groupRoot.size();
  const std::size_t groupRun =
      std::max<std::size_t>(1, groups / (8 * static_cast<std::size_t>(parts)));
  TakenFromEnds taken(static_cast<std::uint32_t>((groups + groupRun - 1) / groupRun));
  forBands(parts, parts, [&](int band, std::int64_t, std::int64_t) {
    Found& mine = found[static_cast<std::size_t>(band)];
    std::vector<std::size_t> group, walked;
    for (std::int64_t taking = taken.next(); taking >= 0; taking = taken.next()) {
      const auto run = static_cast<std::size_t>(taking);
      for (std::size_t g = run * groupRun; g < std::min(groups, (run + 1) * groupRun); ++g) {
        walkGroup(g, mine, group, walked);
      }
    }
  });
  Found all;
  std::size_t walks = 0;
  for (const Found& part : found) walks += part.size();
  all.reserve(walks);
  for (Found& part : found) {
    for (auto& item : part) all.push_back(std::move(item));
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  contours.reserve(all.size());
  for (auto& item : all) contours.push_back(std::move(item.second));
  keepZeroPlane(std::move(plane), place, true);
  return contours;
}

}  // namespace linking

}  // namespace Standin
}  // namespace HalconCpp
