// threshold_sub_pix and zero_crossing_sub_pix: the level lines of the surface that interpolates
// the grey values bilinearly between the pixel centres. Each square of four pixel centres holds
// no line, one, or (at a saddle) two; their ends lie on the square's sides, where the side's
// two values straddle the level, and each end is shared with the neighbouring square, which is
// how the pieces join into contours.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsXld.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr std::int64_t kNone = -1;

class LevelLines {
 public:
  LevelLines(const std::vector<double>& values, const std::vector<char>& inside, std::int32_t w,
             std::int32_t h, double level)
      : v_(values),
        w_(w),
        level_(level),
        next_(2 * values.size(), kNone),
        entered_(2 * values.size(), 0) {
    for (std::int32_t r = 0; r + 1 < h; ++r) {
      for (std::int32_t c = 0; c + 1 < w; ++c) {
        // A square counts when its four centres are all in the domain.
        if (inside[at(r, c)] && inside[at(r, c + 1)] && inside[at(r + 1, c)] &&
            inside[at(r + 1, c + 1)]) {
          square(r, c);
        }
      }
    }
  }

  std::vector<ContourPtr> contours() {
    std::vector<ContourPtr> result;
    // Open lines from their first ends (where a line leaves the domain or the image), then
    // the rings that remain, each from its first side in row order.
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t e = 0; e < next_.size(); ++e) {
        if (next_[e] == kNone || (pass == 0 && entered_[e])) continue;
        auto contour = makeContour({}, {});
        std::int64_t cursor = static_cast<std::int64_t>(e);
        while (cursor != kNone) {
          add(*contour, static_cast<std::size_t>(cursor));
          const std::int64_t following = next_[static_cast<std::size_t>(cursor)];
          next_[static_cast<std::size_t>(cursor)] = kNone;
          cursor = following;
        }
        if (pass == 1 && contour->size() > 1 &&
            (contour->rows.back() != contour->rows.front() ||
             contour->cols.back() != contour->cols.front())) {
          contour->rows.push_back(contour->rows.front());
          contour->cols.push_back(contour->cols.front());
        }
        if (contour->size() > 1) result.push_back(contour);
      }
    }
    return result;
  }

 private:
  std::size_t at(std::int32_t r, std::int32_t c) const {
    return std::size_t(r) * std::size_t(w_) + std::size_t(c);
  }
  bool high(std::size_t i) const { return v_[i] >= level_; }

  // Sides are numbered 2i along the row from pixel i, 2i + 1 down the column from it.
  void square(std::int32_t r, std::int32_t c) {
    // The corners clockwise on the screen from the top left, and the side from each corner to
    // the next: top, right, bottom, left.
    const std::size_t k[4] = {at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)};
    const std::size_t side[4] = {2 * k[0], 2 * k[1] + 1, 2 * k[3], 2 * k[0] + 1};
    int crossings = 0;
    for (int j = 0; j < 4; ++j) crossings += high(k[j]) != high(k[(j + 1) % 4]);
    if (crossings == 0) return;
    if (crossings == 2) {
      // Clockwise, the line runs from the side that falls below the level to the side that
      // rises above it, which keeps the higher values on its right.
      std::size_t from = 0, to = 0;
      for (int j = 0; j < 4; ++j) {
        if (high(k[j]) && !high(k[(j + 1) % 4])) from = side[j];
        if (!high(k[j]) && high(k[(j + 1) % 4])) to = side[j];
      }
      link(from, to);
      return;
    }
    // A saddle: the surface's value at its saddle point decides whether the two high corners
    // are joined (the lines cut off the low ones) or apart.
    const double a = v_[k[0]], b = v_[k[1]], d = v_[k[2]], e = v_[k[3]];
    const bool joined = (a * d - b * e) / (a + d - b - e) >= level_;
    for (int j = 0; j < 4; ++j) {
      if (high(k[j]) == joined) continue;
      const std::size_t before = side[(j + 3) % 4], after = side[j];
      if (high(k[j])) {
        link(after, before);
      } else {
        link(before, after);
      }
    }
  }

  void link(std::size_t from, std::size_t to) {
    next_[from] = static_cast<std::int64_t>(to);
    entered_[to] = 1;
  }

  void add(ContourObject& contour, std::size_t sideIndex) const {
    const std::size_t i = sideIndex / 2;
    const std::size_t j = sideIndex % 2 == 0 ? i + 1 : i + std::size_t(w_);
    const double t = (level_ - v_[i]) / (v_[j] - v_[i]);
    double row = double(i / std::size_t(w_)), col = double(i % std::size_t(w_));
    (sideIndex % 2 == 0 ? col : row) += t;
    // A value on the level puts the ends of two sides on one point: it is kept once.
    if (contour.size() > 0 && contour.rows.back() == row && contour.cols.back() == col) return;
    contour.rows.push_back(row);
    contour.cols.push_back(col);
  }

  const std::vector<double>& v_;
  std::int32_t w_;
  double level_;
  std::vector<std::int64_t> next_;
  std::vector<char> entered_;
};

HObject levelLines(const HObject& input, double level, PixelTypes types, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(input, op, 1, types)) {
    const std::int32_t w = image->width, h = image->height;
    if (image->channels.empty() || w < 2 || h < 2) continue;
    const std::size_t n = std::size_t(w) * std::size_t(h);
    PixelReservation scratch(std::uint64_t(n) * (sizeof(double) + 2 * sizeof(std::int64_t) + 3),
                             op);
    const PixelReader read = readerOf(image->type());
    std::vector<double> values(n);
    for (std::size_t i = 0; i < n; ++i) values[i] = read(image->pixels(0), i);
    std::vector<char> inside(n, 0);
    for (const Run& run : clipRuns(*image->domain, h, w)) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) {
        inside[std::size_t(run.row) * std::size_t(w) + std::size_t(c)] = 1;
      }
    }
    for (ContourPtr& contour : LevelLines(values, inside, w, h, level).contours()) {
      items.push_back(std::move(contour));
    }
  }
  return objectOf(items);
}

}  // namespace

void ThresholdSubPix(const HObject& Image, HObject* Border, const HTuple& Threshold) {
  ApiScope scope("ThresholdSubPix");
  const char* op = "threshold_sub_pix";
  const double level = oneNumber(Threshold, op, 1);
  setOutput(Border, levelLines(Image, level,
                               {PixelType::Byte, PixelType::Int1, PixelType::Int2, PixelType::Uint2,
                                PixelType::Int4, PixelType::Real},
                               op));
}

void ZeroCrossingSubPix(const HObject& Image, HObject* ZeroCrossings) {
  ApiScope scope("ZeroCrossingSubPix");
  const char* op = "zero_crossing_sub_pix";
  setOutput(ZeroCrossings,
            levelLines(Image, 0,
                       {PixelType::Int1, PixelType::Int2, PixelType::Int4, PixelType::Real}, op));
}

}  // namespace HalconCpp
