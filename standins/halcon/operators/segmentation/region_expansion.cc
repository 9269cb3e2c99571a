// One label a pixel over the frame of all regions; each step looks only at the neighbours of
// the pixels the step before added, so that growing to the end costs the frame's area once.
#include "operators/segmentation/region_expansion.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/memory_bounds.h"
#include "core/params.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr std::int32_t kFree = 0, kBlocked = -1, kOverlap = -2;

struct Frame {
  std::int32_t top = 0, left = 0;
  std::int64_t width = 0, height = 0;
  std::size_t at(std::int32_t row, std::int32_t col) const {
    return static_cast<std::size_t>((std::int64_t(row) - top) * width + (col - left));
  }
};

// The frame from (0, 0), or the least row and column when they are negative, to the lower
// right corner of every region; false when all are empty.
bool frameOf(const std::vector<const Runs*>& regions, const Runs& forbidden, Frame* frame) {
  bool any = false;
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  std::vector<const Runs*> all = regions;
  all.push_back(&forbidden);
  for (const Runs* runs : all) {
    std::int32_t r1, c1, r2, c2;
    if (!runsBox(*runs, &r1, &c1, &r2, &c2)) continue;
    bottom = any ? std::max(bottom, r2) : r2;
    right = any ? std::max(right, c2) : c2;
    top = std::min(top, r1);
    left = std::min(left, c1);
    any = true;
  }
  frame->top = top;
  frame->left = left;
  frame->height = std::int64_t(bottom) - top + 1;
  frame->width = std::int64_t(right) - left + 1;
  return any && frame->height > 0 && frame->width > 0;
}

}  // namespace

Expansion expansionOf(const HTuple& iterations, const HTuple& mode, const char* op, int n) {
  Expansion expansion;
  requireLength(iterations, 1, op, n);
  if (iterations[0].Type() == eElementTypeString) {
    if (iterations[0].S().str() != "maximal") fail(op, 1300 + n);
    expansion.iterations = kUntilStable;
  } else {
    expansion.iterations = integerAt(iterations, 0, op, n);
    if (expansion.iterations < 0) fail(op, 1300 + n);
  }
  const std::string name = oneString(mode, op, n + 1);
  if (name != "image" && name != "region") fail(op, 1301 + n);
  expansion.intoFreeArea = name == "image";
  return expansion;
}

std::vector<Runs> expandRegions(const std::vector<const Runs*>& regions, const Runs& forbidden,
                                const Expansion& expansion, const char* op, Admits admits,
                                const void* context) {
  std::vector<Runs> result(regions.size());
  Frame frame;
  if (!frameOf(regions, forbidden, &frame)) return result;
  const auto cells = static_cast<std::uint64_t>(frame.width) * std::uint64_t(frame.height);
  // A label a pixel, and at worst every pixel among a step's additions and candidates.
  PixelReservation scratch(cells * (sizeof(std::int32_t) + 2 * sizeof(std::size_t)), op);
  std::vector<std::int32_t> label(static_cast<std::size_t>(cells), kFree);
  // Free pixels lie at row and column 0 or beyond, outside the forbidden area.
  for (std::int64_t y = 0; y < frame.height; ++y) {
    for (std::int64_t x = 0; x < frame.width; ++x) {
      if (y + frame.top < 0 || x + frame.left < 0) {
        label[static_cast<std::size_t>(y * frame.width + x)] = kBlocked;
      }
    }
  }
  for (const Run& run : forbidden) {
    for (std::int32_t col = run.begin; col <= run.end; ++col)
      label[frame.at(run.row, col)] = kBlocked;
  }
  // Each region keeps its pixels, forbidden or not; a pixel of several is shared out later
  // among those that hold it.
  std::unordered_map<std::size_t, std::vector<std::int32_t>> owners;
  std::vector<std::size_t> added;
  for (std::size_t k = 0; k < regions.size(); ++k) {
    const auto mark = static_cast<std::int32_t>(k + 1);
    for (const Run& run : *regions[k]) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const std::size_t i = frame.at(run.row, col);
        std::int32_t& cell = label[i];
        if (cell == kOverlap) {
          owners[i].push_back(mark);
        } else if (cell > 0 && cell != mark) {
          owners[i] = {cell, mark};
          cell = kOverlap;
        } else {
          cell = mark;
        }
      }
    }
  }
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] > 0) added.push_back(i);
  }
  const auto width = static_cast<std::size_t>(frame.width);
  const std::size_t size = label.size();
  std::vector<std::pair<std::size_t, std::int32_t>> taken;
  std::vector<std::size_t> candidates;
  for (Hlong step = 0; expansion.iterations == kUntilStable || step < expansion.iterations;
       ++step) {
    candidates.clear();
    for (const std::size_t i : added) {
      const std::size_t x = i % width;
      const std::size_t next[4] = {i >= width ? i - width : size,
                                   i + width < size ? i + width : size, x > 0 ? i - 1 : size,
                                   x + 1 < width ? i + 1 : size};
      for (const std::size_t j : next) {
        if (j == size) continue;
        if (label[j] == kOverlap || (label[j] == kFree && expansion.intoFreeArea)) {
          candidates.push_back(j);
        }
      }
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    // All regions grow at once: each pixel is decided on the labels before this step. It
    // goes to the region holding most of its four neighbours, the earlier one on a tie.
    taken.clear();
    for (const std::size_t j : candidates) {
      const auto row = static_cast<std::int32_t>(std::int64_t(j / width) + frame.top);
      const auto col = static_cast<std::int32_t>(std::int64_t(j % width) + frame.left);
      const std::vector<std::int32_t>* allowed = nullptr;
      if (label[j] == kOverlap) allowed = &owners[j];
      std::int32_t best = 0, bestCount = 0;
      std::int32_t marks[4], counts[4], kinds = 0;
      const std::size_t x = j % width;
      const std::pair<std::size_t, std::pair<int, int>> next[4] = {
          {j >= width ? j - width : size, {-1, 0}},
          {j + width < size ? j + width : size, {1, 0}},
          {x > 0 ? j - 1 : size, {0, -1}},
          {x + 1 < width ? j + 1 : size, {0, 1}}};
      for (const auto& [n, offset] : next) {
        if (n == size || label[n] <= 0) continue;
        const std::int32_t mark = label[n];
        if (allowed && std::find(allowed->begin(), allowed->end(), mark) == allowed->end()) {
          continue;
        }
        if (admits && !admits(context, row, col, row + offset.first, col + offset.second)) {
          continue;
        }
        std::int32_t k = 0;
        while (k < kinds && marks[k] != mark) ++k;
        if (k == kinds) {
          marks[kinds] = mark;
          counts[kinds++] = 0;
        }
        ++counts[k];
      }
      for (std::int32_t k = 0; k < kinds; ++k) {
        if (counts[k] > bestCount || (counts[k] == bestCount && marks[k] < best)) {
          best = marks[k];
          bestCount = counts[k];
        }
      }
      if (best > 0) taken.emplace_back(j, best);
    }
    if (taken.empty()) break;
    added.clear();
    for (const auto& [j, mark] : taken) {
      if (label[j] == kOverlap) owners.erase(j);
      label[j] = mark;
      added.push_back(j);
    }
  }
  for (std::int64_t y = 0; y < frame.height; ++y) {
    const auto row = static_cast<std::int32_t>(y + frame.top);
    const std::int32_t* line = label.data() + y * frame.width;
    for (std::int64_t x = 0; x < frame.width;) {
      const std::int32_t mark = line[x];
      std::int64_t end = x;
      while (end + 1 < frame.width && line[end + 1] == mark) ++end;
      if (mark > 0) {
        result[static_cast<std::size_t>(mark - 1)].push_back(
            Run{row, static_cast<std::int32_t>(x + frame.left),
                static_cast<std::int32_t>(end + frame.left)});
      }
      x = end + 1;
    }
  }
  return result;
}

}  // namespace Standin
}  // namespace HalconCpp
