#include "operators/filters/sobel_signed.h"

#include <algorithm>

#include "core/image_results.h"
#include "core/pixel_access.h"

namespace HalconCpp {
namespace Standin {
namespace {

// A convolution turns its mask around: B's +1 column weighs the pixel to the right, so 'x'
// grows where the image brightens to the right and 'y' where it brightens downwards.
void signedPlane(const std::uint8_t* src, PlaneSize size, SobelAxis axis,
                 const SobelSmoothing& smoothing, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  const std::vector<double> g = sobelSource(src, size, smoothing);
  const auto at = [&](std::int32_t y, std::int32_t x) {
    return g[static_cast<std::size_t>(mirroredIndex(y, h)) * width +
             static_cast<std::size_t>(mirroredIndex(x, w))];
  };
  const PixelWriter write = writerOf(PixelType::Int1);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      const double derivative = axis == SobelAxis::X
                                    ? at(y - 1, x + 1) + 2 * at(y, x + 1) + at(y + 1, x + 1) -
                                          at(y - 1, x - 1) - 2 * at(y, x - 1) - at(y + 1, x - 1)
                                    : at(y + 1, x - 1) + 2 * at(y + 1, x) + at(y + 1, x + 1) -
                                          at(y - 1, x - 1) - 2 * at(y - 1, x) - at(y - 1, x + 1);
      write(dst, static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x), derivative / 4);
    }
  }
}

}  // namespace

HObject signedSobelImages(const HObject& input, const char* op, SobelAxis axis,
                          const SobelSmoothing& smoothing) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op, PixelType::Int1);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      signedPlane(image->pixels(c), PlaneSize{image->width, image->height}, axis, smoothing,
                  result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace Standin
}  // namespace HalconCpp
