// The frame every filter of byte images shares: each channel of each input image filtered as a
// whole plane into a new image of the same size and domain.
#ifndef QUORVEX_STANDINS_HALCON_FILTER_IMAGES_H
#define QUORVEX_STANDINS_HALCON_FILTER_IMAGES_H

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

template <typename Filter>
HObject filterImages(const HObject& input, const char* op, Filter&& filter) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      filter(image->pixels(c), PlaneSize{image->width, image->height}, result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// Zeros in every pixel of a row outside its extent: what the filters below leave there.
inline void zeroBesideExtent(PlaneSize size, const Extent& extent, std::uint8_t* out) {
  const auto width = static_cast<std::size_t>(size.width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(size.height); ++y) {
    std::uint8_t* row = out + y * width;
    const std::int32_t begin = extent.begin[y], end = extent.end[y];
    if (begin > end) {
      std::fill(row, row + width, std::uint8_t{0});
      continue;
    }
    std::fill(row, row + begin, std::uint8_t{0});
    std::fill(row + end + 1, row + width, std::uint8_t{0});
  }
}

// The filters that compute only the domain's extent of each row (image_kernels.h) and write
// the zeros beside it themselves, on the threads that write the extents:
// `filter(in, size, extent, out)` on a result that is not cleared first.
template <typename Filter>
HObject filterWholeExtents(const HObject& input, const char* op, Filter&& filter) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = unwrittenImageLike(image, image->channels.size(), op);
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      filter(image->pixels(c), size, extent, result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// The same for the filters that write their extents alone: the pixels beside them are set to
// 0 first.
template <typename Filter>
HObject filterExtents(const HObject& input, const char* op, Filter&& filter) {
  return filterWholeExtents(
      input, op,
      [&filter](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
        zeroBesideExtent(size, extent, out);
        filter(in, size, extent, out);
      });
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
