// The warps' shared bookkeeping: the input's domain indexed by rows, the result's planes left
// unwritten until each row is filled, and the domain joined from the bands' runs.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_DOMAIN_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_DOMAIN_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

// The input's domain by rows: the runs of a row found at once, a full domain not searched.
class DomainRows {
 public:
  explicit DomainRows(const ImageObject& image)
      : runs_(*image.domain), width_(image.width), height_(image.height) {
    full_ = runs_.size() == static_cast<std::size_t>(height_);
    for (std::size_t i = 0; full_ && i < runs_.size(); ++i) {
      const Run& run = runs_[i];
      full_ = run.row == static_cast<std::int32_t>(i) && run.begin == 0 && run.end == width_ - 1;
    }
    if (full_) return;
    top_ = left_ = bottom_ = right_ = 0;  // an empty domain's bounds hold no pixel
    if (!runs_.empty()) {
      top_ = runs_.front().row, bottom_ = runs_.back().row + 1;
      left_ = runs_.front().begin, right_ = runs_.front().end + 1;
      for (const Run& run : runs_) {
        left_ = std::min(left_, run.begin), right_ = std::max(right_, run.end + 1);
      }
    }
    first_.resize(static_cast<std::size_t>(height_) + 1);
    std::size_t i = 0;
    for (std::int32_t r = 0; r <= height_; ++r) {
      while (i < runs_.size() && runs_[i].row < r) ++i;
      first_[static_cast<std::size_t>(r)] = i;
    }
  }

  bool full() const { return full_; }
  // The rows [top, bottom) and columns [left, right) that hold the domain.
  std::int32_t top() const { return top_; }
  std::int32_t bottom() const { return bottom_; }
  std::int32_t left() const { return left_; }
  std::int32_t right() const { return right_; }
  const Run* begin(std::int32_t row) const { return runs_.data() + first_[std::size_t(row)]; }
  const Run* end(std::int32_t row) const { return runs_.data() + first_[std::size_t(row) + 1]; }

  bool contains(std::int32_t row, std::int32_t col) const {
    if (row < 0 || col < 0 || row >= height_ || col >= width_) return false;
    return full_ || runAt(row, col) != nullptr;
  }

  // The run of a domain that is not full holding (row, col) inside the image, or null.
  const Run* runAt(std::int32_t row, std::int32_t col) const {
    const Run *b = begin(row), *e = end(row);
    if (e - b > 8) {
      b = std::upper_bound(b, e, col, [](std::int32_t c, const Run& run) { return c < run.begin; });
      return b != begin(row) && (b - 1)->end >= col ? b - 1 : nullptr;
    }
    for (; b != e && b->begin <= col; ++b) {
      if (b->end >= col) return b;
    }
    return nullptr;
  }

 private:
  const Runs& runs_;
  std::int32_t width_, height_;
  bool full_;
  std::int32_t top_ = 0, bottom_ = height_, left_ = 0, right_ = width_;
  std::vector<std::size_t> first_;
};

inline std::vector<PlanePtr> unwrittenPlanes(const ImageObject& image, std::int32_t width,
                                             std::int32_t height, const char* op) {
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image.channels.size(); ++c) {
    planes.push_back(
        std::make_shared<Plane>(width, height, op, PixelType::Byte, Plane::Unwritten{}));
  }
  return planes;
}

inline ImagePtr joined(std::int32_t width, std::int32_t height, std::vector<PlanePtr> planes,
                       std::vector<Runs>& bandRuns) {
  std::size_t count = 0;
  for (const Runs& runs : bandRuns) count += runs.size();
  Runs domain;
  domain.reserve(count);
  for (const Runs& runs : bandRuns) domain.insert(domain.end(), runs.begin(), runs.end());
  return makeImage(width, height, std::move(planes),
                   std::make_shared<const Runs>(std::move(domain)));
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
