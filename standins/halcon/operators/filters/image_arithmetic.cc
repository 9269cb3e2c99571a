// The grey-value filters that scale: scale_image_max spreads each channel's grey values over
// 0 ... 255, mult_image multiplies two images pixel by pixel. Results are clipped to bytes
// and rounded, halves up.
#include <algorithm>
#include <vector>

#include "core/params.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void ScaleImageMax(const HObject& Image, HObject* ImageScaleMax) {
  ApiScope scope("ScaleImageMax");
  const char* op = "scale_image_max";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    const std::size_t count =
        static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      // The extremes within the domain; the whole image is mapped with them.
      int low = 255, high = 0;
      for (const Run& run : *image->domain) {
        if (run.row < 0 || run.row >= image->height) continue;
        const std::int32_t begin = std::max(run.begin, 0);
        const std::int32_t end = std::min(run.end, image->width - 1);
        for (std::int32_t col = begin; col <= end; ++col) {
          const int g = in[image->offset(run.row, col)];
          low = std::min(low, g), high = std::max(high, g);
        }
      }
      std::uint8_t table[256];
      for (int g = 0; g < 256; ++g) {
        // One grey value (or none) has no range to spread: the values stay as they are.
        table[g] = high > low ? clampToByte(double(g - low) * 255.0 / double(high - low))
                              : static_cast<std::uint8_t>(g);
      }
      for (std::size_t i = 0; i < count; ++i) out[i] = table[in[i]];
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageScaleMax, objectOf(items));
}

void MultImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
               const HTuple& Mult, const HTuple& Add) {
  ApiScope scope("MultImage");
  const char* op = "mult_image";
  const double mult = oneNumber(Mult, op, 1), add = oneNumber(Add, op, 2);
  std::vector<HObject::Item> items;
  for (const auto& [a, b] : imagePairs(Image1, Image2, op)) {
    std::vector<PlanePtr> planes;
    const std::size_t count =
        static_cast<std::size_t>(a->width) * static_cast<std::size_t>(a->height);
    for (std::size_t c = 0; c < a->channels.size(); ++c) {
      auto plane = std::make_shared<Plane>(a->width, a->height, op);
      const std::uint8_t *x = a->pixels(c), *y = b->pixels(c);
      std::uint8_t* out = plane->data();
      for (std::size_t i = 0; i < count; ++i) {
        out[i] = clampToByte(double(unsigned(x[i]) * unsigned(y[i])) * mult + add);
      }
      planes.push_back(std::move(plane));
    }
    items.push_back(makeImage(a->width, a->height, std::move(planes),
                              std::make_shared<const Runs>(intersectRuns(*a->domain, *b->domain))));
  }
  setOutput(ImageResult, objectOf(items));
}

}  // namespace HalconCpp
