// The rank filters' path for int2, uint2, int4 and real images (typed_rank.h).
#include "operators/filters/typed_rank.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "operators/filters/filter_images.h"

namespace HalconCpp {
namespace Standin {

namespace {

// NaN after every number, so that sorting and searching see one order.
bool before(double a, double b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a < b;
}

// Counts of the places 0 ... n - 1 in a window, as a Fenwick tree: a change and the search for
// the place of a rank each cost log n, whatever the spread of the grey values.
class PlaceCounts {
 public:
  explicit PlaceCounts(std::size_t n) : tree_(n + 1, 0) {
    while (top_ * 2 <= n) top_ *= 2;
  }
  void add(std::uint32_t place, std::int32_t by) {
    for (std::size_t i = std::size_t(place) + 1; i < tree_.size(); i += i & (~i + 1)) {
      tree_[i] = static_cast<std::uint32_t>(std::int64_t(tree_[i]) + by);
    }
  }
  // The place of rank k (0: the least) among the counted ones.
  std::uint32_t place(std::size_t k) const {
    std::size_t at = 0;
    for (std::size_t step = top_; step > 0; step /= 2) {
      if (at + step < tree_.size() && tree_[at + step] <= k) {
        at += step;
        k -= tree_[at];
      }
    }
    return static_cast<std::uint32_t>(at);
  }

 private:
  std::vector<std::uint32_t> tree_;
  std::size_t top_ = 1;
};

}  // namespace

TypedMargin typedMarginOf(const HTuple& value, const char* op, int n) {
  requireLength(value, 1, op, n);
  TypedMargin margin;
  if (value[0].Type() == eElementTypeString) {
    const std::string name = value[0].S().str();
    if (name == "mirrored") {
      margin.kind = Margin::Mirrored;
    } else if (name == "cyclic") {
      margin.kind = Margin::Cyclic;
    } else if (name == "continued") {
      margin.kind = Margin::Continued;
    } else {
      fail(op, 1300 + n);
    }
    return margin;
  }
  margin.kind = Margin::Constant;
  margin.value = numberAt(value, 0, op, n);
  if (!std::isfinite(margin.value)) fail(op, 1300 + n);
  return margin;
}

Margin byteMargin(const TypedMargin& margin, const char* op, int n) {
  Margin byte;
  byte.kind = margin.kind;
  if (margin.kind != Margin::Constant) return byte;
  if (!(margin.value >= 0 && margin.value <= 255)) fail(op, 1300 + n);
  byte.value = static_cast<std::uint8_t>(std::lround(margin.value));
  return byte;
}

void rankDoubles(const double* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 const TypedMargin& margin, std::size_t rank, double* dst, const char* op) {
  const std::int64_t area = runsArea(mask);
  if (area == 0) return;
  rank = std::min(rank, std::size_t(area - 1));
  const std::int32_t w = size.width, h = size.height;
  const auto count = std::size_t(w) * std::size_t(h);
  const PixelReservation held(
      (std::uint64_t(count) + 1) * (sizeof(double) + 2 * sizeof(std::uint32_t)), op);
  // The distinct grey values, the margin's constant among them, and each pixel's place.
  std::vector<double> values(src, src + count);
  if (margin.kind == Margin::Constant) values.push_back(margin.value);
  std::sort(values.begin(), values.end(), before);
  values.erase(std::unique(values.begin(), values.end(),
                           [](double a, double b) { return !before(a, b) && !before(b, a); }),
               values.end());
  const auto placeOf = [&](double v) {
    return static_cast<std::uint32_t>(std::lower_bound(values.begin(), values.end(), v, before) -
                                      values.begin());
  };
  std::vector<std::uint32_t> places(count);
  for (std::size_t i = 0; i < count; ++i) places[i] = placeOf(src[i]);
  const std::uint32_t constant = placeOf(margin.value);
  const auto at = [&](std::int32_t r, std::int32_t c) {
    const std::int32_t sr = marginSource(margin.kind, r, h);
    const std::int32_t sc = marginSource(margin.kind, c, w);
    if (sr < 0 || sc < 0) return constant;
    return places[std::size_t(sr) * std::size_t(w) + std::size_t(sc)];
  };
  PlaceCounts window(values.size());
  const auto change = [&](std::int32_t y, std::int32_t x, std::int32_t by) {
    for (const Run& run : mask) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) window.add(at(y + run.row, x + c), by);
    }
  };
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
    if (c0 > c1) continue;
    double* out = dst + std::size_t(y) * std::size_t(w);
    change(y, c0, 1);
    out[c0] = values[window.place(rank)];
    // Along the row each run gives up its first pixel and takes the one after its last.
    for (std::int32_t x = c0 + 1; x <= c1; ++x) {
      for (const Run& run : mask) {
        window.add(at(y + run.row, x - 1 + run.begin), -1);
        window.add(at(y + run.row, x + run.end), 1);
      }
      out[x] = values[window.place(rank)];
    }
    change(y, c1, -1);
  }
}

HObject rankFilterImages(const HObject& input, const char* op, const BytePlaneFilter& bytes,
                         const TypedPlaneFilter& typed) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, kRankTypes)) {
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    const std::size_t channels = image->channels.size();
    if (image->type() == PixelType::Byte) {
      ImagePtr result = unwrittenImageLike(image, channels, op);
      for (std::size_t c = 0; c < channels; ++c) {
        zeroBesideExtent(size, extent, result->pixels(c));
        bytes(image->pixels(c), size, extent, result->pixels(c));
      }
      items.push_back(std::move(result));
      continue;
    }
    ImagePtr result = imageLike(image, channels, op, image->type());
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    const auto count = std::size_t(size.width) * std::size_t(size.height);
    const PixelReservation held(std::uint64_t(count) * 2 * sizeof(double), op);
    std::vector<double> in(count), out(count, 0.0);
    for (std::size_t c = 0; c < channels; ++c) {
      for (std::size_t i = 0; i < count; ++i) in[i] = read(image->pixels(c), i);
      typed(in.data(), size, extent, out.data());
      for (std::int32_t y = 0; y < size.height; ++y) {
        for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
          const std::size_t i = image->offset(y, x);
          write(result->pixels(c), i, out[i]);
        }
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace Standin
}  // namespace HalconCpp
