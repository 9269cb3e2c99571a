#include "core/image_results.h"

#include <cmath>

#include "core/params.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

ImagePtr imageLike(const ImagePtr& input, std::size_t channels, const char* op, PixelType type) {
  std::vector<PlanePtr> planes;
  for (std::size_t i = 0; i < channels; ++i) {
    planes.push_back(std::make_shared<Plane>(input->width, input->height, op, type));
  }
  return makeImage(input->width, input->height, std::move(planes), input->domain);
}

ImagePtr unwrittenImageLike(const ImagePtr& input, std::size_t channels, const char* op,
                            PixelType type) {
  std::vector<PlanePtr> planes;
  for (std::size_t i = 0; i < channels; ++i) {
    planes.push_back(
        std::make_shared<Plane>(input->width, input->height, op, type, Plane::Unwritten{}));
  }
  return makeImage(input->width, input->height, std::move(planes), input->domain);
}

std::vector<ImagePtr> imagesWithChannels(const HObject& object, const char* op, int n,
                                         PixelTypes types) {
  std::vector<ImagePtr> images = imagesOf(object, op, n, types);
  for (const ImagePtr& image : images) {
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  }
  return images;
}

std::vector<std::pair<ImagePtr, ImagePtr>> imagePairs(const HObject& first, const HObject& second,
                                                      const char* op, PixelTypes types) {
  const std::vector<ImagePtr> a = imagesWithChannels(first, op, 1, types);
  const std::vector<ImagePtr> b = imagesWithChannels(second, op, 2, types);
  if (a.size() != b.size()) fail(op, 1502);
  std::vector<std::pair<ImagePtr, ImagePtr>> pairs;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i]->width != b[i]->width || a[i]->height != b[i]->height) fail(op, H_ERR_SIZES_DIFFER);
    if (a[i]->channels.size() != b[i]->channels.size()) fail(op, H_ERR_CHANNELS_DIFFER);
    if (a[i]->type() != b[i]->type()) fail(op, H_ERR_WIT);
    pairs.emplace_back(a[i], b[i]);
  }
  return pairs;
}

std::uint8_t clampToByte(double value) {
  if (!(value > 0)) return 0;  // NaN too
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(value + 0.5));
}

}  // namespace Standin
}  // namespace HalconCpp
