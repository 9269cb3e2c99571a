#include "operators/xld/xld_link.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <thread>
#include <utility>

#include "core/numbers.h"
#include "core/threads.h"

namespace HalconCpp {
namespace Standin {

namespace {

std::ptrdiff_t indexOf(const std::vector<std::string>& names, const char* name) {
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : found - names.begin();
}

// 'angle' arrives as the normal's line (either way along it, in (-pi, pi]) and leaves pointing to
// the right of the way the contour runs, as the contours' readers expect: the side a positive
// distance of gen_parallel_contour_xld goes to and 'width_right' is measured on. The widths arrive
// measured against and along the normal as it arrived, so a turned normal swaps them.
void orientNormals(const ContourObject& contour, const std::vector<std::string>& names,
                   std::vector<std::vector<double>>& values) {
  const std::ptrdiff_t angle = indexOf(names, "angle");
  if (angle < 0) return;
  const std::ptrdiff_t left = indexOf(names, "width_left"), right = indexOf(names, "width_right");
  const std::size_t n = contour.size();
  const bool closed = n > 2 && contour.rows.front() == contour.rows.back() &&
                      contour.cols.front() == contour.cols.back();
  const std::size_t ring = closed ? n - 1 : n;
  for (std::size_t i = 0; i < n; ++i) {
    // The point's place on the ring (a closed contour's last is its first) and its two sides.
    const std::size_t at = i == ring ? 0 : i;
    const std::size_t before = at > 0 ? at - 1 : (closed ? ring - 1 : 0);
    const std::size_t after = at + 1 < ring ? at + 1 : (closed ? 0 : n - 1);
    const double tr = contour.rows[after] - contour.rows[before];
    const double tc = contour.cols[after] - contour.cols[before];
    double& theta = values[static_cast<std::size_t>(angle)][i];
    // The normal is (cos theta, sin theta) in (row, column); right of (tr, tc) is (tc, -tr).
    if (std::cos(theta) * tc - std::sin(theta) * tr < 0) {
      theta += kPi;
      if (left >= 0 && right >= 0) {
        std::swap(values[static_cast<std::size_t>(left)][i],
                  values[static_cast<std::size_t>(right)][i]);
      }
    }
    if (theta > kPi) theta -= 2 * kPi;
  }
}

// A point's share of a band's work, counted in pixels of the filters': its reads miss the cache.
constexpr std::int64_t kPointWork = 16;

// A walk's points [begin, end) among the walks' points in order, and whether it closes.
struct Walk {
  std::size_t begin = 0, end = 0;
  bool closed = false;
};

// The points' pixels, each with its point.
using Held = std::vector<std::pair<std::size_t, const LinkPoint*>>;

std::vector<ContourPtr> linkHeld(Held held, std::int32_t w, std::int32_t h,
                                 const std::vector<std::string>& names) {
  // The states a byte a pixel (0: no point) in a plane bordered by one pixel that never holds
  // one, so that a neighbour needs no test of the image's edges; and the points' pixels in
  // order, row by row, each with its point: the scans below visit them alone, as every other
  // pixel's state stays 0, and the walks step from a point to its neighbour's among the points
  // (a table of the image's size would cost a fresh page of memory for every few points).
  const auto stride = static_cast<std::ptrdiff_t>(w) + 2;
  // Zeroed by the allocator: a large plane comes as fresh pages, which only those the points
  // touch ever fill.
  const std::unique_ptr<std::uint8_t[], void (*)(void*)> plane(
      static_cast<std::uint8_t*>(
          std::calloc(static_cast<std::size_t>(stride) * (std::size_t(h) + 2), 1)),
      std::free);
  if (!plane) throw std::bad_alloc();
  std::uint8_t* const state = plane.get();
  // A pixel holds one point at most: the pixels alone order them.
  const auto byPixel = [](const Held::value_type& a, const Held::value_type& b) {
    return a.first < b.first;
  };
  if (!std::is_sorted(held.begin(), held.end(), byPixel)) {
    std::sort(held.begin(), held.end(), byPixel);
  }
  // Where each row's points start among them, and each point's place in the plane: its pixel
  // moved by the border, one pixel before each row and after it and a row above all. Bands of
  // rows fill their own parts of both and of the plane.
  const std::size_t n = held.size();
  std::vector<std::size_t> rowStart(static_cast<std::size_t>(h) + 1, n);
  std::vector<std::size_t> place(n);
  const int bands = bandsFor(h, static_cast<std::int64_t>(n) * kPointWork);
  const auto width = static_cast<std::size_t>(w);
  forBands(h, bands, [&](int, std::int64_t b0, std::int64_t b1) {
    std::size_t k = static_cast<std::size_t>(
        std::lower_bound(held.begin(), held.end(), static_cast<std::size_t>(b0) * width,
                         [](const Held::value_type& a, std::size_t p) { return a.first < p; }) -
        held.begin());
    for (auto r = static_cast<std::size_t>(b0); r < static_cast<std::size_t>(b1); ++r) {
      rowStart[r] = k;
      for (; k < n && held[k].first < (r + 1) * width; ++k) {
        place[k] = held[k].first + 2 * r + static_cast<std::size_t>(stride) + 1;
        state[place[k]] = static_cast<std::uint8_t>(held[k].second->state);
      }
    }
  });
  // Each point's first neighbour candidate in the rows above and below: the first point there
  // whose column is at least its own less one, so that a walk steps to any neighbour's point
  // in at most two comparisons instead of a search of the row.
  const auto up = static_cast<std::size_t>(stride);
  std::vector<std::size_t> above(n), below(n);
  forBands(h, bands, [&](int, std::int64_t b0, std::int64_t b1) {
    for (auto r = static_cast<std::size_t>(b0); r < static_cast<std::size_t>(b1); ++r) {
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
    }
  });
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
  // Hysteresis: weak points joined to a strong one through their 8-neighbours become strong,
  // flooded from the strong points that have a weak neighbour alone.
  std::vector<std::size_t> stack;
  const auto strengthen = [&](std::size_t i) {
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
  const auto freeNeighbours = [&](std::size_t i) {
    int count = 0;
    for (const std::ptrdiff_t d : around) count += state[i + static_cast<std::size_t>(d)] == 2;
    return count;
  };
  // The walks go one after the other on one thread, each handed on as it ends: the other
  // threads meanwhile build the contours of those handed on, reading their points' values (each
  // likely a miss of the cache, which then waits on no step of a walk), and the walking thread
  // joins them when its walks are done. A walk holds two points at least.
  std::vector<std::size_t> order(n);
  std::vector<Walk> walks(n / 2 + 1);
  std::vector<ContourPtr> contours(walks.size());
  std::size_t used = 0, made = 0;
  std::atomic<std::size_t> handed{0}, claimed{0};
  std::atomic<bool> finished{false};
  const auto walk = [&](std::size_t k) {
    const std::size_t begin = used;
    std::size_t i = place[k];
    const std::size_t start = i;
    for (;;) {
      state[i] = 3;
      order[used++] = k;
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
    if (used - begin < 2) {
      used = begin;
      return;
    }
    // A walk ending beside its start closes.
    const auto rowStep =
        static_cast<std::ptrdiff_t>(i) / stride - static_cast<std::ptrdiff_t>(start) / stride;
    const auto columnStep =
        static_cast<std::ptrdiff_t>(i) % stride - static_cast<std::ptrdiff_t>(start) % stride;
    const bool closed = used - begin > 2 && std::abs(rowStep) <= 1 && std::abs(columnStep) <= 1;
    walks[made++] = {begin, used, closed};
    handed.store(made, std::memory_order_release);
  };
  const auto walkAll = [&] {
    // Open chains from their ends first, then what is left (closed rings) from anywhere.
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = place[k];
        if (state[i] != 2) continue;
        if (pass == 0 && freeNeighbours(i) > 1) continue;
        walk(k);
      }
    }
    finished.store(true, std::memory_order_release);
  };
  const auto build = [&](std::size_t c) {
    const Walk& at = walks[c];
    const std::size_t count = at.end - at.begin, size = count + (at.closed ? 1 : 0);
    // The points first, in a loop of loads alone, so that their misses of the cache overlap.
    std::vector<const LinkPoint*> points(count);
    for (std::size_t j = 0; j < count; ++j) points[j] = held[order[at.begin + j]].second;
    std::vector<double> rows(size), cols(size);
    std::vector<std::vector<double>> values(names.size(), std::vector<double>(size));
    for (std::size_t j = 0; j < count; ++j) {
      const LinkPoint& p = *points[j];
      rows[j] = p.row, cols[j] = p.col;
      for (std::size_t v = 0; v < names.size(); ++v) values[v][j] = p.values[v];
    }
    if (at.closed) {
      rows[count] = rows[0], cols[count] = cols[0];
      for (std::vector<double>& v : values) v[count] = v[0];
    }
    auto contour = makeContour(std::move(rows), std::move(cols));
    orientNormals(*contour, names, values);
    contour->attribs.reserve(names.size());
    for (std::size_t v = 0; v < names.size(); ++v) {
      contour->attribs.emplace_back(names[v], std::move(values[v]));
    }
    contours[c] = std::move(contour);
  };
  // Each thread takes the next contour not yet taken, once its walk has been handed on.
  const auto buildHanded = [&] {
    for (;;) {
      const std::size_t c = claimed.fetch_add(1, std::memory_order_relaxed);
      while (c >= handed.load(std::memory_order_acquire)) {
        if (finished.load(std::memory_order_acquire) &&
            c >= handed.load(std::memory_order_acquire)) {
          return;
        }
        std::this_thread::yield();
      }
      build(c);
    }
  };
  const int parts =
      bandsFor(static_cast<std::int64_t>(n), static_cast<std::int64_t>(n) * kPointWork);
  forBands(parts, parts, [&](int band, std::int64_t, std::int64_t) {
    if (band == 0) walkAll();
    buildHanded();
  });
  contours.resize(made);
  return contours;
}

}  // namespace

std::vector<ContourPtr> linkPoints(const std::vector<LinkPoint>& points, std::int32_t w,
                                   std::int32_t h, const std::vector<std::string>& names) {
  Held held(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) held[i] = {points[i].pixel, &points[i]};
  return linkHeld(std::move(held), w, h, names);
}

std::vector<ContourPtr> linkPoints(const std::vector<std::vector<LinkPoint>>& parts, std::int32_t w,
                                   std::int32_t h, const std::vector<std::string>& names) {
  std::size_t total = 0;
  for (const std::vector<LinkPoint>& part : parts) total += part.size();
  Held held;
  held.reserve(total);
  for (const std::vector<LinkPoint>& part : parts) {
    for (const LinkPoint& p : part) held.emplace_back(p.pixel, &p);
  }
  return linkHeld(std::move(held), w, h, names);
}

}  // namespace Standin
}  // namespace HalconCpp
