// The Hough transform for circles of given radii (hough_circle_trans, hough_circles) and the
// choice of the lines that fit a region best (select_matching_lines).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsSystem.h"
#include "halconcpp/HOperatorsTools.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Radii beyond twice the reference's typical 500 are refused before they ask for a huge
// accumulator.
constexpr Hlong kLargestRadius = 1000;

struct Offset {
  std::int32_t dr, dc;
};

// The offsets whose squared length lies in [low, high], each row's found from its bounds
// rather than by trying every column, so that a large radius costs its circumference.
std::vector<Offset> ring(std::int64_t low, std::int64_t high, std::int32_t reach) {
  std::vector<Offset> offsets;
  for (std::int32_t dr = -reach; dr <= reach; ++dr) {
    const std::int64_t rest = high - std::int64_t(dr) * dr;
    if (rest < 0) continue;
    auto outer = static_cast<std::int32_t>(std::sqrt(double(rest)));
    while (std::int64_t(outer) * outer > rest) --outer;
    while (std::int64_t(outer + 1) * (outer + 1) <= rest) ++outer;
    for (std::int32_t dc = -outer; dc <= outer; ++dc) {
      const std::int64_t s = std::int64_t(dr) * dr + std::int64_t(dc) * dc;
      if (s >= low) {
        offsets.push_back({dr, dc});
      } else {
        dc = -dc;  // past the inside of the ring: on to its right half
      }
    }
  }
  return offsets;
}

// The circle of radius r through pixel centres: the offsets whose length rounds to r.
std::vector<Offset> centreRing(std::int32_t r) {
  const std::int64_t r2 = std::int64_t(r) * r;
  return ring(r2 - r + 1, r2 + r, r);
}

// The circle of radius r along the outer border of the pixels: lengths in [r - 1, r).
std::vector<Offset> borderRing(std::int32_t r) {
  const std::int64_t r2 = std::int64_t(r) * r;
  return ring(std::int64_t(r - 1) * (r - 1), r2 - 1, r);
}

// Votes of every pixel of `runs` for the centres `offsets` away, in an accumulator whose cell
// (0, 0) is the point (-shift, -shift).
struct Accumulator {
  std::int32_t width = 0, height = 0, shift = 0;
  std::vector<std::uint32_t> votes;
  PixelReservation reservation;  // the votes' bytes, taken from the pixel bound first
};

Accumulator accumulate(const Runs& runs, const std::vector<Offset>& offsets, std::int32_t shift,
                       const char* op) {
  Accumulator acc;
  std::int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  runsBox(runs, &r1, &c1, &r2, &c2);
  acc.shift = shift;
  acc.width = std::max(c2, 0) + 1 + 2 * shift;
  acc.height = std::max(r2, 0) + 1 + 2 * shift;
  const std::uint64_t cells = std::uint64_t(acc.width) * std::uint64_t(acc.height);
  acc.reservation = PixelReservation(cells * sizeof(std::uint32_t), op);
  acc.votes.assign(std::size_t(cells), 0);
  for (const Run& run : runs) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      for (const Offset& o : offsets) {
        const std::int32_t row = run.row + o.dr + shift, col = c + o.dc + shift;
        if (row < 0 || row >= acc.height || col < 0 || col >= acc.width) continue;
        ++acc.votes[std::size_t(row) * std::size_t(acc.width) + std::size_t(col)];
      }
    }
  }
  return acc;
}

std::vector<std::int32_t> radiiOf(const HTuple& Radius, const char* op) {
  if (Radius.Length() < 1 || Radius.Length() > 500) fail(op, 1401);
  std::vector<std::int32_t> radii;
  for (Hlong i = 0; i < Radius.Length(); ++i) {
    const Hlong r = integerAt(Radius, i, op, 1);
    if (r < 1 || r > kLargestRadius) fail(op, 1301);
    radii.push_back(static_cast<std::int32_t>(r));
  }
  return radii;
}

// The regions of a region input to work on: none when an empty one makes the operator return.
std::vector<const Runs*> inputRegions(const HObject& object, const char* op) {
  checkNoObjects(object, op, 1);
  std::vector<const Runs*> regions = regionsOf(object, op, 1);
  if (skipEmptyRegions(regions, op)) regions.clear();
  return regions;
}

}  // namespace

void HoughCircleTrans(const HObject& Region, HObject* HoughImage, const HTuple& Radius) {
  ApiScope scope("HoughCircleTrans");
  const char* op = "hough_circle_trans";
  const std::vector<std::int32_t> radii = radiiOf(Radius, op);
  const std::int32_t shift = *std::max_element(radii.begin(), radii.end());
  std::vector<HObject::Item> images;
  for (const Runs* runs : inputRegions(Region, op)) {
    for (const std::int32_t r : radii) {
      const Accumulator acc = accumulate(*runs, centreRing(r), shift, op);
      ImagePtr image = newImage(acc.width, acc.height, 1, op, PixelType::Int2);
      std::int16_t* out = image->channels[0]->as<std::int16_t>();
      for (std::size_t i = 0; i < acc.votes.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::min<std::uint32_t>(acc.votes[i], 32767u));
      }
      images.push_back(std::move(image));
    }
  }
  setOutput(HoughImage, objectOf(images));
}

void HoughCircles(const HObject& RegionIn, HObject* RegionOut, const HTuple& Radius,
                  const HTuple& Percent, const HTuple& Mode) {
  ApiScope scope("HoughCircles");
  const char* op = "hough_circles";
  const std::vector<std::int32_t> radii = radiiOf(Radius, op);
  if (Percent.Length() < 1 || Percent.Length() > 100) fail(op, 1402);
  if (Mode.Length() < 1 || Mode.Length() > 3) fail(op, 1403);
  std::vector<Hlong> percents, modes;
  for (Hlong i = 0; i < Percent.Length(); ++i) {
    percents.push_back(integerAt(Percent, i, op, 2));
    if (percents.back() < 1 || percents.back() > 100) fail(op, 1302);
  }
  for (Hlong i = 0; i < Mode.Length(); ++i) {
    modes.push_back(integerAt(Mode, i, op, 3));
    if (modes.back() < 0 || modes.back() > 2) fail(op, 1303);
  }
  std::vector<HObject::Item> regions;
  for (const Runs* runs : inputRegions(RegionIn, op)) {
    for (const std::int32_t r : radii) {
      const std::vector<Offset> rings[] = {borderRing(r), centreRing(r)};
      const Accumulator accs[] = {accumulate(*runs, rings[0], r, op),
                                  accumulate(*runs, rings[1], r, op)};
      for (const Hlong percent : percents) {
        for (const Hlong mode : modes) {
          // Mode 2 keeps the centres either circle finds.
          Runs centres;
          for (int k = 0; k < 2; ++k) {
            if (mode != 2 && mode != k) continue;
            const Accumulator& acc = accs[k];
            const auto need = std::uint64_t(percent) * rings[k].size();
            for (std::size_t i = 0; i < acc.votes.size(); ++i) {
              if (acc.votes[i] == 0 || std::uint64_t(acc.votes[i]) * 100 < need) continue;
              const auto row = static_cast<std::int32_t>(i / std::size_t(acc.width)) - acc.shift;
              const auto col = static_cast<std::int32_t>(i % std::size_t(acc.width)) - acc.shift;
              centres.push_back({row, col, col});
            }
          }
          regions.push_back(makeRegion(normalizeRuns(std::move(centres))));
        }
      }
    }
  }
  setOutput(RegionOut, objectOf(regions));
}

void SelectMatchingLines(const HObject& RegionIn, HObject* RegionLines, const HTuple& AngleIn,
                         const HTuple& DistIn, const HTuple& LineWidth, const HTuple& Thresh,
                         HTuple* AngleOut, HTuple* DistOut) {
  ApiScope scope("SelectMatchingLines");
  const char* op = "select_matching_lines";
  requireLength(DistIn, AngleIn.Length(), op, 2);
  std::vector<double> angles, dists;
  for (Hlong i = 0; i < AngleIn.Length(); ++i) {
    angles.push_back(numberAt(AngleIn, i, op, 1));
    dists.push_back(numberAt(DistIn, i, op, 2));
    if (!std::isfinite(angles.back())) fail(op, 1301);
    if (!std::isfinite(dists.back())) fail(op, 1302);
  }
  const Hlong width = oneInteger(LineWidth, op, 3);
  if (width < 1) fail(op, 1303);
  const Hlong thresh = oneInteger(Thresh, op, 4);
  if (thresh < 1) fail(op, 1304);
  std::vector<HObject::Item> lines;
  HTuple anglesOut, distsOut;
  const std::vector<const Runs*> regions = inputRegions(RegionIn, op);
  if (regions.size() > 1) fail(op, 1501);
  if (!regions.empty()) {
    // A line of width w: the pixels whose signed distance e from it has -w/2 <= e < w/2,
    // within the system's image size, as gen_region_hline clips.
    HTuple w, h;
    {
      InsideScope inside;
      GetSystem(HTuple("width"), &w);
      GetSystem(HTuple("height"), &h);
    }
    const auto cols = static_cast<std::int32_t>(w[0].L()),
               rows = static_cast<std::int32_t>(h[0].L());
    const double half = double(width) / 2;
    auto onLine = [&](std::size_t i, std::int32_t row, std::int32_t col) {
      const double e =
          double(col) * std::cos(angles[i]) + double(row) * std::sin(angles[i]) - dists[i];
      return e >= -half && e < half;
    };
    std::vector<Run> left;  // the region's pixels not yet taken by a chosen line
    for (const Run& run : *regions.front()) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) left.push_back({run.row, c, c});
    }
    std::vector<bool> chosen(angles.size(), false);
    for (;;) {
      std::size_t best = angles.size();
      Hlong bestCount = -1;
      for (std::size_t i = 0; i < angles.size(); ++i) {
        if (chosen[i]) continue;
        const auto count = static_cast<Hlong>(std::count_if(
            left.begin(), left.end(), [&](const Run& p) { return onLine(i, p.row, p.begin); }));
        if (count > bestCount) bestCount = count, best = i;
      }
      if (best == angles.size() || bestCount < thresh) break;
      chosen[best] = true;
      anglesOut.Append(HTuple(angles[best]));
      distsOut.Append(HTuple(dists[best]));
      left.erase(std::remove_if(left.begin(), left.end(),
                                [&](const Run& p) { return onLine(best, p.row, p.begin); }),
                 left.end());
      Runs band;
      for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t col = 0; col < cols; ++col) {
          if (onLine(best, row, col)) band.push_back({row, col, col});
        }
      }
      lines.push_back(makeRegion(normalizeRuns(std::move(band))));
    }
  }
  setOutput(RegionLines, objectOf(lines));
  setOutput(AngleOut, std::move(anglesOut));
  setOutput(DistOut, std::move(distsOut));
}

}  // namespace HalconCpp
