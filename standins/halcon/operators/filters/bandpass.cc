// bandpass_image: the reference's fixed 5 x 5 mask that answers to lines (two close edges) rather
// than to single edges, the image mirrored at its edges, the sums clipped to the pixel type.
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// 'lines', symmetric, so correlation and convolution agree; its weights sum to 0.
constexpr int kLinesMask[5][5] = {{0, -2, -2, -2, 0},
                                  {-2, 0, 3, 0, -2},
                                  {-2, 3, 12, 3, -2},
                                  {-2, 0, 3, 0, -2},
                                  {0, -2, -2, -2, 0}};

}  // namespace

void BandpassImage(const HObject& Image, HObject* ImageBandpass, const HTuple& FilterType) {
  ApiScope scope("BandpassImage");
  const char* op = "bandpass_image";
  if (oneString(FilterType, op, 1) != "lines") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesWithChannels(Image, op, 1, {PixelType::Byte, PixelType::Uint2})) {
    ImagePtr result = imageLike(image, image->channels.size(), op, image->type());
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    const std::int32_t w = image->width, h = image->height;
    for (std::size_t ch = 0; ch < image->channels.size(); ++ch) {
      for (const Run& run : clipRuns(*image->domain, h, w)) {
        for (std::int32_t c = run.begin; c <= run.end; ++c) {
          double sum = 0;
          for (std::int32_t dr = -2; dr <= 2; ++dr) {
            for (std::int32_t dc = -2; dc <= 2; ++dc) {
              const int weight = kLinesMask[dr + 2][dc + 2];
              if (weight == 0) continue;
              sum += weight * read(image->pixels(ch), image->offset(mirroredIndex(run.row + dr, h),
                                                                    mirroredIndex(c + dc, w)));
            }
          }
          write(result->pixels(ch), result->offset(run.row, c), sum);
        }
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageBandpass, objectOf(items));
}

}  // namespace HalconCpp
