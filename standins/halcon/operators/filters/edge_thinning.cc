// Non-maximum suppression of edge amplitudes: the result shares the amplitude image's grey
// values and keeps in its domain only the pixels that are local maxima. Neighbours are read
// from the whole image; those beyond its edges do not count.
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kAmplitudeTypes{PixelType::Byte, PixelType::Uint2, PixelType::Real};

// The first channel's values of an image in doubles.
std::vector<double> valuesOf(const ImageObject& image) {
  std::vector<double> values(pixelCount(image));
  const PixelReader read = readerOf(image.type());
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = read(image.pixels(0), i);
  return values;
}

// The amplitude image with the domain's pixels where keep(row, col) holds.
template <typename Keep>
HObject::Item thinned(const ImagePtr& image, Keep&& keep) {
  Runs kept;
  for (const Run& run : clipRuns(*image->domain, image->height, image->width)) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      if (!keep(run.row, col)) continue;
      if (!kept.empty() && kept.back().row == run.row && kept.back().end == col - 1) {
        kept.back().end = col;
      } else {
        kept.push_back({run.row, col, col});
      }
    }
  }
  return makeImage(image->width, image->height, image->channels,
                   std::make_shared<const Runs>(std::move(kept)));
}

}  // namespace

// 'hvnms': at least every value within 5 pixels along the row, or along the column;
// 'loc_max': at least each of the eight neighbours.
void NonmaxSuppressionAmp(const HObject& ImgAmp, HObject* ImageResult, const HTuple& Mode) {
  ApiScope scope("NonmaxSuppressionAmp");
  const char* op = "nonmax_suppression_amp";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "hvnms" && mode != "loc_max") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(ImgAmp, op, 1, kAmplitudeTypes)) {
    const std::vector<double> g = valuesOf(*image);
    const std::int32_t w = image->width, h = image->height;
    const auto at = [&](std::int32_t r, std::int32_t c) { return g[image->offset(r, c)]; };
    // Whether no pixel within `reach` steps of (dr, dc) either way, inside the image, is
    // brighter than (r, c).
    const auto highest = [&](std::int32_t r, std::int32_t c, std::int32_t dr, std::int32_t dc,
                             std::int32_t reach) {
      for (std::int32_t k = -reach; k <= reach; ++k) {
        const std::int32_t y = r + k * dr, x = c + k * dc;
        if (y >= 0 && y < h && x >= 0 && x < w && at(y, x) > at(r, c)) return false;
      }
      return true;
    };
    items.push_back(thinned(image, [&](std::int32_t r, std::int32_t c) {
      if (mode == "hvnms") return highest(r, c, 0, 1, 5) || highest(r, c, 1, 0, 5);
      return highest(r, c, 0, 1, 1) && highest(r, c, 1, 0, 1) && highest(r, c, 1, 1, 1) &&
             highest(r, c, 1, -1, 1);
    }));
  }
  setOutput(ImageResult, objectOf(items));
}

// The direction (halved degrees, counterclockwise from the column axis) points across the
// edge: 'nms' compares the two of the eight neighbours nearest to it either way, 'inms' the
// values interpolated bilinearly one pixel away either way. Pixels without a direction (255)
// go.
void NonmaxSuppressionDir(const HObject& ImgAmp, const HObject& ImgDir, HObject* ImageResult,
                          const HTuple& Mode) {
  ApiScope scope("NonmaxSuppressionDir");
  const char* op = "nonmax_suppression_dir";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "nms" && mode != "inms") fail(op, 1301);
  const std::vector<ImagePtr> amplitudes = imagesWithChannels(ImgAmp, op, 1, kAmplitudeTypes);
  const std::vector<ImagePtr> directions =
      imagesWithChannels(ImgDir, op, 2, {PixelType::Direction});
  if (amplitudes.size() != directions.size()) fail(op, 1502);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < amplitudes.size(); ++i) {
    const ImagePtr& image = amplitudes[i];
    const ImageObject& direction = *directions[i];
    if (direction.width != image->width || direction.height != image->height) fail(op, 3030);
    const std::vector<double> g = valuesOf(*image);
    const std::int32_t w = image->width, h = image->height;
    // The value at (y, x), bilinear between whole pixels; outside the image: none.
    const auto sample = [&](double y, double x, double* value) {
      if (y < 0 || x < 0 || y > h - 1 || x > w - 1) return false;
      const auto y0 = std::int32_t(std::floor(y)), x0 = std::int32_t(std::floor(x));
      const std::int32_t y1 = std::min(y0 + 1, h - 1), x1 = std::min(x0 + 1, w - 1);
      const double fy = y - y0, fx = x - x0;
      *value = (1 - fy) * ((1 - fx) * g[image->offset(y0, x0)] + fx * g[image->offset(y0, x1)]) +
               fy * ((1 - fx) * g[image->offset(y1, x0)] + fx * g[image->offset(y1, x1)]);
      return true;
    };
    items.push_back(thinned(image, [&](std::int32_t r, std::int32_t c) {
      const std::uint8_t code = direction.pixels(0)[image->offset(r, c)];
      if (code > 179) return false;
      const double angle = code * 2 * 3.14159265358979323846 / 180;
      double dr = -std::sin(angle), dc = std::cos(angle);
      if (mode == "nms") dr = std::round(dr), dc = std::round(dc);
      const double own = g[image->offset(r, c)];
      for (const double side : {1.0, -1.0}) {
        double value = 0;
        if (sample(r + side * dr, c + side * dc, &value) && value > own) return false;
      }
      return true;
    }));
  }
  setOutput(ImageResult, objectOf(items));
}

}  // namespace HalconCpp
