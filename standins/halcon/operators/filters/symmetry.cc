// symmetry: how alike each pixel's row is to its left and to its right.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The filters' edge rule: the image mirrored with its edge pixel repeated (-1 reads 0).
std::int32_t mirrored(std::int64_t i, std::int32_t n) {
  const std::int64_t period = 2 * std::int64_t(n);
  i %= period;
  if (i < 0) i += period;
  return static_cast<std::int32_t>(i < n ? i : period - 1 - i);
}

}  // namespace

void Symmetry(const HObject& Image, HObject* ImageSymmetry, const HTuple& MaskSize,
              const HTuple& Direction, const HTuple& Exponent) {
  ApiScope scope("Symmetry");
  const char* op = "symmetry";
  const Hlong size = oneInteger(MaskSize, op, 1);
  if (size < 3 || size > 1000) fail(op, 1301);
  // Only rows are searched: 0.0 is the one direction.
  if (oneNumber(Direction, op, 2) != 0) fail(op, 1302);
  const double exponent = oneNumber(Exponent, op, 3);
  if (!(exponent > 0 && exponent <= 100)) fail(op, 1303);
  // Each possible difference's weight, (d / 255)^Exponent.
  std::vector<double> weight(256);
  for (std::size_t d = 0; d < weight.size(); ++d) weight[d] = std::pow(double(d) / 255, exponent);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    const std::int32_t w = image->width;
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      for (const Run& run : *image->domain) {
        const std::uint8_t* row = in + image->offset(run.row, 0);
        for (std::int32_t x = run.begin; x <= run.end; ++x) {
          double sum = 0;
          for (Hlong i = 1; i <= size; ++i) {
            const int right = row[mirrored(x + i, w)], left = row[mirrored(x - i, w)];
            sum += weight[static_cast<std::size_t>(right > left ? right - left : left - right)];
          }
          // 255 - 255 / MaskSize * sum, rounded to the nearest level.
          out[image->offset(run.row, x)] = clampToByte(255 - 255 / double(size) * sum);
        }
      }
    }
    items.push_back(result);
  }
  setOutput(ImageSymmetry, objectOf(items));
}

}  // namespace HalconCpp
