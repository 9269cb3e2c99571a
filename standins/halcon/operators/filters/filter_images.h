// The frame every filter of byte images shares: each channel of each input image filtered as a
// whole plane into a new image of the same size and domain.
#ifndef QUORVEX_STANDINS_HALCON_FILTER_IMAGES_H
#define QUORVEX_STANDINS_HALCON_FILTER_IMAGES_H

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

// The same for the filters that compute only the domain's extent of each row
// (image_kernels.h): `filter(in, size, extent, out)`.
template <typename Filter>
HObject filterExtents(const HObject& input, const char* op, Filter&& filter) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      filter(image->pixels(c), size, extent, result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
