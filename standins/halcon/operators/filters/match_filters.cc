// The filters the matching operators prepare images with: monotony, which counts the lower
// neighbours of each pixel, and gen_gauss_pyramid, the images scaled down level by level.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsImage.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// One level down by the least or the greatest of each 2 x 2 block (cut at the image's edges).
ImagePtr blockExtreme(const ImagePtr& image, std::int32_t width, std::int32_t height, bool max,
                      const char* op) {
  ImagePtr result = newImage(width, height, image->channels.size(), op, image->type());
  const PixelReader read = readerOf(image->type());
  const PixelWriter write = writerOf(image->type());
  for (std::size_t ch = 0; ch < image->channels.size(); ++ch) {
    for (std::int32_t y = 0; y < height; ++y) {
      for (std::int32_t x = 0; x < width; ++x) {
        double best = 0;
        bool first = true;
        for (std::int32_t r = 2 * y; r < std::min(2 * y + 2, image->height); ++r) {
          for (std::int32_t c = 2 * x; c < std::min(2 * x + 2, image->width); ++c) {
            const double v = read(image->pixels(ch), image->offset(r, c));
            if (first || (max ? v > best : v < best)) best = v;
            first = false;
          }
        }
        write(result->pixels(ch), result->offset(y, x), best);
      }
    }
  }
  return result;
}

}  // namespace

void Monotony(const HObject& Image, HObject* ImageMonotony) {
  ApiScope scope("Monotony");
  const char* op = "monotony";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesWithChannels(Image, op, 1, {PixelType::Byte, PixelType::Int2, PixelType::Uint2})) {
    ImagePtr result = imageLike(image, image->channels.size(), op, image->type());
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    const std::int32_t w = image->width, h = image->height;
    const Runs domain = clipRuns(*image->domain, h, w);
    for (std::size_t ch = 0; ch < image->channels.size(); ++ch) {
      const std::uint8_t* in = image->pixels(ch);
      for (const Run& run : domain) {
        for (std::int32_t c = run.begin; c <= run.end; ++c) {
          const double centre = read(in, image->offset(run.row, c));
          int lower = 0;
          // Beyond the edges the image is mirrored, so an edge pixel meets itself there.
          for (std::int32_t dr = -1; dr <= 1; ++dr) {
            for (std::int32_t dc = -1; dc <= 1; ++dc) {
              if (dr == 0 && dc == 0) continue;
              const std::int32_t r = mirroredIndex(run.row + dr, h), cc = mirroredIndex(c + dc, w);
              if (read(in, image->offset(r, cc)) < centre) ++lower;
            }
          }
          write(result->pixels(ch), result->offset(run.row, c), lower);
        }
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageMonotony, objectOf(items));
}

void GenGaussPyramid(const HObject& Image, HObject* ImagePyramid, const HTuple& Mode,
                     const HTuple& Scale) {
  ApiScope scope("GenGaussPyramid");
  const char* op = "gen_gauss_pyramid";
  const std::string mode = oneString(Mode, op, 1);
  const bool extreme = mode == "min" || mode == "max";
  if (!extreme && mode != "constant" && mode != "weighted" && mode != "nearest_neighbor") {
    fail(op, 1301);
  }
  const double scale = oneNumber(Scale, op, 2);
  if (!(scale >= 0.001 && scale <= 0.9) || (extreme && scale != 0.5)) fail(op, 1302);
  std::vector<HObject::Item> items;
  const PixelTypes types = extreme ? PixelTypes{PixelType::Byte, PixelType::Uint2, PixelType::Real}
                                   : PixelTypes{PixelType::Byte};
  for (ImagePtr level : imagesWithChannels(Image, op, 1, types)) {
    items.push_back(level);
    // Levels go on while the next one is at least one pixel each way and smaller than this.
    for (;;) {
      const double w = std::round(level->width * scale), h = std::round(level->height * scale);
      if (w < 1 || h < 1 || (w == level->width && h == level->height)) break;
      if (extreme) {
        level = blockExtreme(level, std::int32_t(w), std::int32_t(h), mode == "max", op);
      } else {
        HObject zoomed;
        ZoomImageFactor(objectOf({level}), &zoomed, HTuple(w / level->width),
                        HTuple(h / level->height),
                        HTuple(mode == "nearest_neighbor" ? "nearest_neighbor" : mode.c_str()));
        level = oneImage(zoomed, op, 1, {PixelType::Byte});
      }
      items.push_back(level);
    }
  }
  setOutput(ImagePyramid, objectOf(items));
}

}  // namespace HalconCpp
