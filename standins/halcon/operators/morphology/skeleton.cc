// Skeletons by thinning a bitmap of the region's box, and what is read off them: the ends and
// junctions of their lines, and short branches pruned away.
#include "operators/morphology/skeleton.h"

#include <cstdint>
#include <vector>

#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The region's box with a frame of one background pixel, so that every pixel of the region
// has all eight neighbours in the bitmap.
class Bitmap {
 public:
  Bitmap(const Runs& region, const char* op) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(region, &row1, &col1, &row2, &col2)) return;
    row0_ = row1 - 1;
    col0_ = col1 - 1;
    width_ = static_cast<std::int64_t>(col2) - col1 + 3;
    const std::int64_t height = static_cast<std::int64_t>(row2) - row1 + 3;
    reservation_ = PixelReservation(static_cast<std::uint64_t>(width_ * height), op);
    bits_.assign(static_cast<std::size_t>(width_ * height), 0);
    for (const Run& run : region) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) bits_[index(run.row, col)] = 1;
    }
  }
  std::size_t index(std::int32_t row, std::int32_t col) const {
    return static_cast<std::size_t>((row - row0_) * width_ + (col - col0_));
  }
  std::uint8_t& operator[](std::size_t i) { return bits_[i]; }
  std::size_t size() const { return bits_.size(); }
  // Offsets of the neighbours E, NE, N, NW, W, SW, S, SE.
  std::int64_t neighbour(int k) const {
    static const int dr[] = {0, -1, -1, -1, 0, 1, 1, 1};
    static const int dc[] = {1, 1, 0, -1, -1, -1, 0, 1};
    return dr[k] * width_ + dc[k];
  }
  std::uint8_t at(std::size_t i, int k) const {
    return bits_[static_cast<std::size_t>(static_cast<std::int64_t>(i) + neighbour(k))];
  }
  int neighbours(std::size_t i) const {
    int count = 0;
    for (int k = 0; k < 8; ++k) count += at(i, k);
    return count;
  }
  // Yokoi's 8-connectivity number: 1 when taking the pixel away leaves its neighbours as
  // connected as before.
  int connectivity(std::size_t i) const {
    int n = 0;
    for (int k = 0; k < 8; k += 2) {
      const int a = 1 - at(i, k), b = 1 - at(i, (k + 1) % 8), c = 1 - at(i, (k + 2) % 8);
      n += a - a * b * c;
    }
    return n;
  }
  Runs runs() const {
    Runs out;
    const std::int64_t height = width_ == 0 ? 0 : static_cast<std::int64_t>(bits_.size()) / width_;
    for (std::int64_t r = 1; r + 1 < height; ++r) {
      std::int64_t start = -1;
      for (std::int64_t c = 1; c < width_; ++c) {
        const bool in = bits_[static_cast<std::size_t>(r * width_ + c)] != 0;
        if (in && start < 0) start = c;
        if (!in && start >= 0) {
          out.push_back(Run{static_cast<std::int32_t>(row0_ + r),
                            static_cast<std::int32_t>(col0_ + start),
                            static_cast<std::int32_t>(col0_ + c - 1)});
          start = -1;
        }
      }
    }
    return out;
  }

 private:
  std::int32_t row0_ = 0, col0_ = 0;
  std::int64_t width_ = 0;
  PixelReservation reservation_;
  std::vector<std::uint8_t> bits_;
};

void thin(Bitmap& bits, const Runs& region) {
  // The pixels that can go are on the border; after a round, those next to a taken pixel.
  std::vector<std::size_t> border, next;
  std::vector<std::uint8_t> listed(bits.size(), 0);
  for (const Run& run : region) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const std::size_t i = bits.index(run.row, col);
      if (bits.at(i, 0) && bits.at(i, 2) && bits.at(i, 4) && bits.at(i, 6)) continue;
      border.push_back(i);
      listed[i] = 1;
    }
  }
  const int sides[] = {2, 6, 0, 4};  // N, S, E, W
  std::vector<std::size_t> taken, candidates;
  for (bool changed = true; changed;) {
    changed = false;
    taken.clear();
    for (int side : sides) {
      candidates.clear();
      for (std::size_t i : border) {
        if (bits[i] && !bits.at(i, side)) candidates.push_back(i);
      }
      for (std::size_t i : candidates) {
        if (bits.neighbours(i) < 2 || bits.connectivity(i) != 1) continue;
        bits[i] = 0;
        taken.push_back(i);
        changed = true;
      }
    }
    next.clear();
    for (std::size_t i : border) {
      listed[i] = 0;
      if (bits[i]) {
        next.push_back(i);
        listed[i] = 1;
      }
    }
    for (std::size_t i : taken) {
      for (int k = 0; k < 8; ++k) {
        const auto j = static_cast<std::size_t>(static_cast<std::int64_t>(i) + bits.neighbour(k));
        if (bits[j] && !listed[j]) {
          next.push_back(j);
          listed[j] = 1;
        }
      }
    }
    border.swap(next);
  }
}

}  // namespace

Runs skeletonRuns(const Runs& region, const char* op) {
  if (region.empty()) return {};
  Bitmap bits(region, op);
  thin(bits, region);
  return bits.runs();
}

}  // namespace Standin

using namespace Standin;

namespace {

// The pixels of a skeleton with exactly one neighbour (its lines' ends) and with more than two
// (where lines meet).
void endsAndJunctions(const Runs& skeleton, const char* op, Runs* ends, Runs* junctions) {
  if (skeleton.empty()) return;
  Bitmap bits(skeleton, op);
  for (const Run& run : skeleton) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const int n = bits.neighbours(bits.index(run.row, col));
      Runs* into = n == 1 ? ends : n > 2 ? junctions : nullptr;
      if (!into) continue;
      if (!into->empty() && into->back().row == run.row && into->back().end == col - 1) {
        into->back().end = col;
      } else {
        into->push_back(Run{run.row, col, col});
      }
    }
  }
}

// Takes away, from each end, the branch up to the pixel where it meets another line when it
// has fewer than `length` pixels; lines that meet no other are kept whole.
Runs pruned(const Runs& skeleton, Hlong length, const char* op) {
  if (skeleton.empty()) return {};
  Bitmap bits(skeleton, op);
  std::vector<std::size_t> ends, branch;
  for (const Run& run : skeleton) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const std::size_t i = bits.index(run.row, col);
      if (bits.neighbours(i) == 1) ends.push_back(i);
    }
  }
  for (std::size_t end : ends) {
    branch.assign(1, end);
    std::size_t previous = end, current = end;
    bool meets = false;
    while (static_cast<Hlong>(branch.size()) < length) {
      std::size_t step = current;
      for (int k = 0; k < 8; ++k) {
        const auto j =
            static_cast<std::size_t>(static_cast<std::int64_t>(current) + bits.neighbour(k));
        if (bits[j] && j != previous && j != current) {
          step = j;
          break;
        }
      }
      if (step == current) break;  // the line ended: an isolated line
      if (bits.neighbours(step) > 2) {
        meets = true;
        break;
      }
      previous = current;
      current = step;
      branch.push_back(current);
    }
    if (meets && static_cast<Hlong>(branch.size()) < length) {
      for (std::size_t i : branch) bits[i] = 0;
    }
  }
  return bits.runs();
}

}  // namespace

void Skeleton(const HObject& Region, HObject* Skeleton) {
  ApiScope scope("Skeleton");
  const char* op = "skeleton";
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    items.push_back(makeRegion(skeletonRuns(*region, op)));
  }
  setOutput(Skeleton, objectOf(items));
}

void JunctionsSkeleton(const HObject& Region, HObject* EndPoints, HObject* JuncPoints) {
  ApiScope scope("JunctionsSkeleton");
  const char* op = "junctions_skeleton";
  std::vector<HObject::Item> ends, junctions;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    Runs e, j;
    endsAndJunctions(*region, op, &e, &j);
    ends.push_back(makeRegion(std::move(e)));
    junctions.push_back(makeRegion(std::move(j)));
  }
  setOutput(EndPoints, objectOf(ends));
  setOutput(JuncPoints, objectOf(junctions));
}

void Pruning(const HObject& Region, HObject* RegionPrune, const HTuple& Length) {
  ApiScope scope("Pruning");
  const char* op = "pruning";
  const Hlong length = oneInteger(Length, op, 1);
  if (length < 0) fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    items.push_back(makeRegion(pruned(*region, length, op)));
  }
  setOutput(RegionPrune, objectOf(items));
}

}  // namespace HalconCpp
