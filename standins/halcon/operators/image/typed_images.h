// Pixelwise operators over images of any type, in doubles: each value is read with the
// type's reader and stored by arithmeticValue (clipped, or wrapped for cyclic and direction).
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_TYPED_IMAGES_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_TYPED_IMAGES_H

#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/pixel_access.h"
#include "core/run_sets.h"

namespace HalconCpp {
namespace Standin {

// Whether any object of an input is an image of a type other than byte: such inputs take the
// typed road, byte ones keep their operator's own.
bool hasTypedImages(const HObject& object);

inline std::size_t pixelCount(const ImageObject& image) {
  return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// f(g) for every pixel of every channel; the result has the input's type and domain.
template <typename F>
HObject mapTyped(const HObject& input, const char* op, PixelTypes types, F&& f) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, types)) {
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelReader read = readerOf(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      const PixelWriter write = writerOf(type);
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        write(out, i, arithmeticValue(type, f(read(in, i))));
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// f(g1, g2) for pairs of images of one type; the result's domain is where both domains meet.
template <typename F>
HObject mapTypedPairs(const HObject& first, const HObject& second, const char* op, PixelTypes types,
                      F&& f) {
  std::vector<HObject::Item> items;
  for (const auto& [a, b] : imagePairs(first, second, op, types)) {
    const PixelType type = a->type();
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    std::vector<PlanePtr> planes;
    for (std::size_t c = 0; c < a->channels.size(); ++c) {
      auto plane = std::make_shared<Plane>(a->width, a->height, op, type);
      const std::uint8_t *x = a->pixels(c), *y = b->pixels(c);
      for (std::size_t i = 0, n = pixelCount(*a); i < n; ++i) {
        write(plane->data(), i, arithmeticValue(type, f(read(x, i), read(y, i))));
      }
      planes.push_back(std::move(plane));
    }
    items.push_back(makeImage(a->width, a->height, std::move(planes),
                              std::make_shared<const Runs>(intersectRuns(*a->domain, *b->domain))));
  }
  return objectOf(items);
}

// invert_image of the other types: 255 - g for cyclic, 65535 - g for uint2, -g for the signed
// types and real.
HObject invertTyped(const HObject& input, const char* op);

// min_max_gray and intensity of one image whose type is not byte-sized take these: the
// region's values in doubles, ranked by sorting.
bool takesTypedStatistics(const HObject& image);
void typedMinMaxGray(const HObject& regions, const HObject& image, double percent, HTuple* mins,
                     HTuple* maxs, HTuple* ranges, const char* op);
void typedIntensity(const HObject& regions, const HObject& image, HTuple* means, HTuple* deviations,
                    const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
