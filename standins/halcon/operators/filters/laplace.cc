// laplace (finite differences, after a Gaussian or binomial smoothing for masks above 3) and
// zero_crossing.
#include <cmath>
#include <string>

#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct LaplaceMask {
  double centre, edge, corner, divisor;
};

bool laplaceMaskOf(const std::string& name, LaplaceMask* mask) {
  if (name == "n_4") return *mask = {-4, 1, 0, 1}, true;
  if (name == "n_8") return *mask = {-8, 1, 1, 2}, true;
  if (name == "n_8_isotropic") return *mask = {-128, 22, 10, 32}, true;
  return false;
}

// The mask over one byte plane, the image mirrored at its edges, the sum over the divisor.
void laplacePlane(const std::uint8_t* src, PlaneSize size, const LaplaceMask& mask, PixelType type,
                  bool absolute, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  const auto at = [&](std::int32_t y, std::int32_t x) {
    return double(src[static_cast<std::size_t>(mirroredIndex(y, h)) * width +
                      static_cast<std::size_t>(mirroredIndex(x, w))]);
  };
  const PixelWriter write = writerOf(type);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      const double sum =
          mask.centre * at(y, x) +
          mask.edge * (at(y - 1, x) + at(y + 1, x) + at(y, x - 1) + at(y, x + 1)) +
          mask.corner * (at(y - 1, x - 1) + at(y - 1, x + 1) + at(y + 1, x - 1) + at(y + 1, x + 1));
      const double value = sum / mask.divisor;
      // Rounded to the nearest, halves away from zero, then clipped to the type.
      write(dst, static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x),
            absolute ? std::fabs(value) : value);
    }
  }
}

}  // namespace

void Laplace(const HObject& Image, HObject* ImageLaplace, const HTuple& ResultType,
             const HTuple& MaskSize, const HTuple& FilterMask) {
  ApiScope scope("Laplace");
  const char* op = "laplace";
  std::string result = oneString(ResultType, op, 1);
  const std::string binomialSuffix = "_binomial";
  const bool binomial = result.size() > binomialSuffix.size() &&
                        result.compare(result.size() - binomialSuffix.size(), binomialSuffix.size(),
                                       binomialSuffix) == 0;
  if (binomial) result.resize(result.size() - binomialSuffix.size());
  if (result != "absolute" && result != "signed" && result != "signed_clipped") fail(op, 1301);
  // One side, or for the binomial smoothing a width and a height.
  if (MaskSize.Length() != 1 && !(binomial && MaskSize.Length() == 2)) fail(op, 1402);
  const Hlong maskWidth = integerAt(MaskSize, 0, op, 2);
  const Hlong maskHeight = MaskSize.Length() == 2 ? integerAt(MaskSize, 1, op, 2) : maskWidth;
  const Hlong largest = binomial ? 39 : 13;
  for (const Hlong side : {maskWidth, maskHeight}) {
    if (side < 3 || side > largest || side % 2 == 0) fail(op, 1302);
  }
  LaplaceMask mask{};
  if (!laplaceMaskOf(oneString(FilterMask, op, 3), &mask)) fail(op, 1303);
  // Byte input: the absolute value as bytes, the signed one as int2 (the next larger type)
  // or, clipped, as int1 (the same size).
  const PixelType type = result == "absolute" ? PixelType::Byte
                         : result == "signed" ? PixelType::Int2
                                              : PixelType::Int1;
  HObject smoothed = Image;
  if (maskWidth > 3 || maskHeight > 3) {
    if (binomial) {
      BinomialFilter(Image, &smoothed, maskWidth - 2, maskHeight - 2);
    } else {
      GaussFilter(Image, &smoothed, maskWidth - 2);
    }
  }
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(smoothed, op, 1)) {
    ImagePtr out = imageLike(image, image->channels.size(), op, type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      laplacePlane(image->pixels(c), PlaneSize{image->width, image->height}, mask, type,
                   result == "absolute", out->pixels(c));
    }
    items.push_back(std::move(out));
  }
  setOutput(ImageLaplace, objectOf(items));
}

void ZeroCrossing(const HObject& Image, HObject* RegionCrossing) {
  ApiScope scope("ZeroCrossing");
  const char* op = "zero_crossing";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(
           Image, op, 1, {PixelType::Int1, PixelType::Int2, PixelType::Int4, PixelType::Real})) {
    const std::int32_t w = image->width, h = image->height;
    const PixelReader read = readerOf(image->type());
    const std::uint8_t* plane = image->pixels(0);
    const auto value = [&](std::int32_t y, std::int32_t x) {
      return read(plane, static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                             static_cast<std::size_t>(x));
    };
    // Zero, or a 4-neighbour inside the image of the opposite sign.
    const auto crossing = [&](std::int32_t y, std::int32_t x) {
      const double g = value(y, x);
      if (g == 0) return true;
      const std::int32_t dy[] = {-1, 1, 0, 0}, dx[] = {0, 0, -1, 1};
      for (int k = 0; k < 4; ++k) {
        const std::int32_t ny = y + dy[k], nx = x + dx[k];
        if (ny < 0 || ny >= h || nx < 0 || nx >= w) continue;
        const double n = value(ny, nx);
        if ((g > 0 && n < 0) || (g < 0 && n > 0)) return true;
      }
      return false;
    };
    Runs runs;
    for (const Run& run : clipRuns(*image->domain, h, w)) {
      std::int32_t start = -1;
      for (std::int32_t x = run.begin; x <= run.end + 1; ++x) {
        const bool in = x <= run.end && crossing(run.row, x);
        if (in && start < 0) start = x;
        if (!in && start >= 0) runs.push_back(Run{run.row, start, x - 1}), start = -1;
      }
    }
    items.push_back(makeRegion(std::move(runs)));
  }
  setOutput(RegionCrossing, objectOf(items));
}

}  // namespace HalconCpp
