#include "core/image_results.h"

#include <algorithm>
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

ImagePtr domainImageLike(const ImagePtr& input, std::size_t channels, const char* op,
                         PixelType type) {
  ImagePtr result = unwrittenImageLike(input, channels, op, type);
  const std::size_t size = elementSize(type), width = std::size_t(input->width);
  const Runs& runs = *input->domain;
  for (std::size_t c = 0; c < channels; ++c) {
    std::uint8_t* p = result->pixels(c);
    std::size_t i = 0;
    for (std::int32_t y = 0; y < input->height; ++y) {
      // Byte offsets within the row: the gaps before, between and after its runs.
      std::uint8_t* row = p + std::size_t(y) * width * size;
      std::size_t at = 0;
      while (i < runs.size() && runs[i].row < y) ++i;
      for (; i < runs.size() && runs[i].row == y; ++i) {
        const auto begin = std::size_t(std::clamp(runs[i].begin, 0, input->width));
        const auto end = std::size_t(std::clamp(runs[i].end + 1, 0, input->width));
        if (begin * size > at) std::fill(row + at, row + begin * size, std::uint8_t{0});
        at = std::max(at, end * size);
      }
      std::fill(row + at, row + width * size, std::uint8_t{0});
    }
  }
  return result;
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
