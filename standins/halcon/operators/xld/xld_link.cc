#include "operators/xld/xld_link.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

namespace HalconCpp {
namespace Standin {

std::vector<ContourPtr> linkPoints(const std::vector<LinkPoint>& points, std::int32_t w,
                                   std::int32_t h, const std::vector<std::string>& names) {
  const auto at = [w](std::int32_t r, std::int32_t c) {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(w) + static_cast<std::size_t>(c);
  };
  const auto valid = [&](std::int32_t r, std::int32_t c) {
    return r >= 0 && r < h && c >= 0 && c < w;
  };
  // The states a byte a pixel (0: no point), and the points' pixels in order, row by row, each
  // with its point: the scans below visit them alone, as every other pixel's state stays 0, and
  // the walks look a pixel's point up among them (a table of the image's size would cost a
  // fresh page of memory for every few points).
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  std::vector<std::uint8_t> state(n, 0);
  std::vector<std::pair<std::size_t, std::size_t>> held(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    state[points[i].pixel] = static_cast<std::uint8_t>(points[i].state);
    held[i] = {points[i].pixel, i};
  }
  if (!std::is_sorted(held.begin(), held.end())) std::sort(held.begin(), held.end());
  // Where each row's points start among them, so that a walk searches its row's alone.
  std::vector<std::size_t> rowStart(static_cast<std::size_t>(h) + 1);
  for (std::size_t r = 0, k = 0; r < rowStart.size(); ++r) {
    while (k < held.size() && held[k].first < r * static_cast<std::size_t>(w)) ++k;
    rowStart[r] = k;
  }
  const auto pointAt = [&](std::int32_t r, std::int32_t c) -> const LinkPoint& {
    const auto row = static_cast<std::size_t>(r);
    const auto found = std::lower_bound(held.begin() + std::ptrdiff_t(rowStart[row]),
                                        held.begin() + std::ptrdiff_t(rowStart[row + 1]),
                                        std::pair{at(r, c), std::size_t{0}});
    return points[found->second];
  };
  // Hysteresis: weak points joined to a strong one through their 8-neighbours become strong.
  std::vector<std::size_t> stack;
  for (const auto& [i, point] : held) {
    if (state[i] == 2) stack.push_back(i);
  }
  while (!stack.empty()) {
    const std::size_t i = stack.back();
    stack.pop_back();
    const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
    const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
    for (std::int32_t dr = -1; dr <= 1; ++dr) {
      for (std::int32_t dc = -1; dc <= 1; ++dc) {
        if (!valid(r + dr, c + dc)) continue;
        std::uint8_t& s = state[at(r + dr, c + dc)];
        if (s == 1) s = 2, stack.push_back(at(r + dr, c + dc));
      }
    }
  }
  const auto freeNeighbours = [&](std::int32_t r, std::int32_t c) {
    int count = 0;
    for (std::int32_t dr = -1; dr <= 1; ++dr) {
      for (std::int32_t dc = -1; dc <= 1; ++dc) {
        if ((dr || dc) && valid(r + dr, c + dc) && state[at(r + dr, c + dc)] == 2) ++count;
      }
    }
    return count;
  };
  std::vector<ContourPtr> contours;
  const auto walk = [&](std::int32_t r, std::int32_t c) {
    auto contour = makeContour({}, {});
    std::vector<std::vector<double>> values(names.size());
    const std::int32_t r0 = r, c0 = c;
    for (;;) {
      const LinkPoint& p = pointAt(r, c);
      state[at(r, c)] = 3;
      contour->rows.push_back(p.row), contour->cols.push_back(p.col);
      for (std::size_t k = 0; k < names.size(); ++k) values[k].push_back(p.values[k]);
      // The next point is the free neighbour with fewest free neighbours of its own, edge
      // neighbours before diagonal ones, so that a thick corner strands no point.
      int best = 99;
      std::int32_t nr = 0, nc = 0;
      for (int diagonal = 0; diagonal < 2; ++diagonal) {
        for (std::int32_t dr = -1; dr <= 1; ++dr) {
          for (std::int32_t dc = -1; dc <= 1; ++dc) {
            if ((dr != 0 && dc != 0) != (diagonal == 1) || (dr == 0 && dc == 0)) continue;
            if (!valid(r + dr, c + dc) || state[at(r + dr, c + dc)] != 2) continue;
            const int f = freeNeighbours(r + dr, c + dc);
            if (f < best) best = f, nr = r + dr, nc = c + dc;
          }
        }
      }
      if (best == 99) break;
      r = nr, c = nc;
    }
    // A walk ending beside its start closes.
    if (contour->size() > 2 && std::abs(r - r0) <= 1 && std::abs(c - c0) <= 1) {
      contour->rows.push_back(contour->rows.front());
      contour->cols.push_back(contour->cols.front());
      for (std::vector<double>& v : values) v.push_back(v.front());
    }
    if (contour->size() < 2) return;
    for (std::size_t k = 0; k < names.size(); ++k) {
      contour->attribs.emplace_back(names[k], std::move(values[k]));
    }
    contours.push_back(contour);
  };
  // Open chains from their ends first, then what is left (closed rings) from anywhere.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& [i, point] : held) {
      if (state[i] != 2) continue;
      const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
      const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
      if (pass == 0 && freeNeighbours(r, c) > 1) continue;
      walk(r, c);
    }
  }
  return contours;
}

}  // namespace Standin
}  // namespace HalconCpp
