// gray_erosion_rect, gray_dilation_rect, gray_opening_rect, gray_closing_rect and their _shape
// forms: the least or greatest grey value in a mask about each pixel, the image mirrored at its
// edges. Even sides grow to the next odd one, as the reference says.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kGrayMorphologyTypes{PixelType::Byte,  PixelType::Direction, PixelType::Cyclic,
                                          PixelType::Uint2, PixelType::Int2,      PixelType::Int4,
                                          PixelType::Real};

struct HalfMask {
  std::int32_t rows, cols;
};

HalfMask halfMaskOf(const HTuple& MaskHeight, const HTuple& MaskWidth, const char* op) {
  const Hlong height = oneInteger(MaskHeight, op, 1), width = oneInteger(MaskWidth, op, 2);
  if (height < 1 || height > 511) fail(op, 1301);
  if (width < 1 || width > 511) fail(op, 1302);
  // An even side n acts as n + 1, whose half is n / 2 as for n + 1.
  return HalfMask{static_cast<std::int32_t>(height / 2), static_cast<std::int32_t>(width / 2)};
}

template <typename T, bool Greatest>
T pick(T a, T b) {
  return Greatest ? std::max(a, b) : std::min(a, b);
}

// Separable: the extreme down each column over the mask's rows, then along the row. Both passes
// run over whole contiguous rows, which the compiler turns into vector minima and maxima.
template <typename T, bool Greatest>
void extremeRows(const T* src, PlaneSize size, const Extent& extent, HalfMask half, T* dst,
                 std::int32_t y0, std::int32_t y1) {
  const std::int32_t w = size.width, h = size.height;
  std::vector<T> columns(static_cast<std::size_t>(w));
  std::vector<T> extended(static_cast<std::size_t>(w) + 2 * std::size_t(half.cols) + 1);
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
    if (c0 > c1) continue;
    // The columns a mirrored neighbour of [c0, c1] can land on.
    const std::int32_t lo = std::max(0, c0 - half.cols), hi = std::min(w - 1, c1 + half.cols);
    const T* first = src + std::size_t(mirroredIndex(y - half.rows, h)) * std::size_t(w);
    std::copy(first + lo, first + hi + 1, columns.begin() + lo);
    for (std::int32_t dy = -half.rows + 1; dy <= half.rows; ++dy) {
      const T* row = src + std::size_t(mirroredIndex(y + dy, h)) * std::size_t(w);
      for (std::int32_t x = lo; x <= hi; ++x) {
        columns[std::size_t(x)] = pick<T, Greatest>(columns[std::size_t(x)], row[x]);
      }
    }
    const std::int32_t span = c1 - c0 + 1 + 2 * half.cols;
    for (std::int32_t i = 0; i < span; ++i) {
      extended[std::size_t(i)] = columns[std::size_t(mirroredIndex(c0 - half.cols + i, w))];
    }
    T* out = dst + std::size_t(y) * std::size_t(w) + std::size_t(c0);
    const std::int32_t n = c1 - c0 + 1;
    std::copy(extended.begin(), extended.begin() + n, out);
    for (std::int32_t d = 1; d <= 2 * half.cols; ++d) {
      const T* shifted = extended.data() + d;
      for (std::int32_t x = 0; x < n; ++x) out[x] = pick<T, Greatest>(out[x], shifted[x]);
    }
  }
}

// A flat mask symmetric about its centre: per row offset -rows ... rows the half width of its
// row; a rectangle takes the separable path.
struct Mask {
  HalfMask half;
  std::vector<std::int32_t> halfWidths;
  bool rectangle = true;
};

// Row by row, each mask row's extreme along the image row, then the extreme over the rows.
template <typename T, bool Greatest>
void extremeShapeRows(const T* src, PlaneSize size, const Extent& extent, const Mask& mask, T* dst,
                      std::int32_t y0, std::int32_t y1) {
  const std::int32_t w = size.width, h = size.height;
  std::vector<T> extended(static_cast<std::size_t>(w) + 2 * std::size_t(mask.half.cols) + 1);
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
    if (c0 > c1) continue;
    const std::int32_t n = c1 - c0 + 1;
    T* out = dst + std::size_t(y) * std::size_t(w) + std::size_t(c0);
    for (std::int32_t dy = -mask.half.rows; dy <= mask.half.rows; ++dy) {
      const std::int32_t e = mask.halfWidths[std::size_t(dy + mask.half.rows)];
      const T* row = src + std::size_t(mirroredIndex(y + dy, h)) * std::size_t(w);
      for (std::int32_t i = 0; i < n + 2 * e; ++i) {
        extended[std::size_t(i)] = row[mirroredIndex(c0 - e + i, w)];
      }
      if (dy == -mask.half.rows) std::copy(extended.begin(), extended.begin() + n, out);
      for (std::int32_t d = 0; d <= 2 * e; ++d) {
        const T* shifted = extended.data() + d;
        for (std::int32_t x = 0; x < n; ++x) out[x] = pick<T, Greatest>(out[x], shifted[x]);
      }
    }
  }
}

template <typename T, bool Greatest>
void extremePlane(const T* src, PlaneSize size, const Extent& extent, const Mask& mask, T* dst) {
  const HalfMask half = mask.half;
  const std::int64_t work =
      mask.rectangle ? 2 * (half.rows + half.cols) + 1 : (2 * half.rows + 1) * (2 * half.cols + 1);
  const int bands = bandsFor(size.height, extent.pixels * work / 8);
  forBands(size.height, bands, [&](int, std::int64_t y0, std::int64_t y1) {
    const auto a = static_cast<std::int32_t>(y0), b = static_cast<std::int32_t>(y1);
    if (mask.rectangle) return extremeRows<T, Greatest>(src, size, extent, half, dst, a, b);
    extremeShapeRows<T, Greatest>(src, size, extent, mask, dst, a, b);
  });
}

enum class Steps { Erosion, Dilation, Opening, Closing };

template <typename T>
void morphologyPlane(const std::uint8_t* in, PlaneSize size, const Extent& extent, const Mask& half,
                     Steps steps, std::uint8_t* out, const char* op) {
  const T* src = reinterpret_cast<const T*>(in);
  T* dst = reinterpret_cast<T*>(out);
  if (steps == Steps::Erosion) return extremePlane<T, false>(src, size, extent, half, dst);
  if (steps == Steps::Dilation) return extremePlane<T, true>(src, size, extent, half, dst);
  // The first step covers the whole image: the second reads it about every domain pixel.
  const std::size_t n = std::size_t(size.width) * std::size_t(size.height);
  PixelReservation scratch(n * sizeof(T), op);
  std::vector<T> middle(n);
  const Extent whole = fullExtent(size);
  if (steps == Steps::Opening) {
    extremePlane<T, false>(src, size, whole, half, middle.data());
    extremePlane<T, true>(middle.data(), size, extent, half, dst);
  } else {
    extremePlane<T, true>(src, size, whole, half, middle.data());
    extremePlane<T, false>(middle.data(), size, extent, half, dst);
  }
}

// A result of several masks, weighed (the interpolation between odd sizes): each computed whole
// and the weighted sum stored over the domain's extent, rounded for the integer types.
struct WeightedMask {
  Mask mask;
  double weight;
};

template <typename T>
void blendedPlane(const std::uint8_t* in, PlaneSize size, const Extent& extent,
                  const std::vector<WeightedMask>& masks, Steps steps, std::uint8_t* out,
                  const char* op) {
  if (masks.size() == 1) return morphologyPlane<T>(in, size, extent, masks[0].mask, steps, out, op);
  const std::size_t n = std::size_t(size.width) * std::size_t(size.height);
  PixelReservation scratch(n * (sizeof(T) + sizeof(double)), op);
  std::vector<double> sum(n, 0.0);
  std::vector<T> one(n);
  for (const WeightedMask& m : masks) {
    morphologyPlane<T>(in, size, extent, m.mask, steps, reinterpret_cast<std::uint8_t*>(one.data()),
                       op);
    for (std::size_t i = 0; i < n; ++i) sum[i] += m.weight * double(one[i]);
  }
  T* dst = reinterpret_cast<T*>(out);
  for (std::int32_t y = 0; y < size.height; ++y) {
    const std::size_t row = std::size_t(y) * std::size_t(size.width);
    for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
      const double v = sum[row + std::size_t(x)];
      dst[row + std::size_t(x)] = std::is_floating_point<T>::value ? T(v) : T(std::floor(v + 0.5));
    }
  }
}

void grayMorphology(const HObject& Image, HObject* Result, const std::vector<WeightedMask>& masks,
                    Steps steps, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kGrayMorphologyTypes)) {
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      switch (type) {
        case PixelType::Uint2:
          blendedPlane<std::uint16_t>(in, size, extent, masks, steps, out, op);
          break;
        case PixelType::Int2:
          blendedPlane<std::int16_t>(in, size, extent, masks, steps, out, op);
          break;
        case PixelType::Int4:
          blendedPlane<std::int32_t>(in, size, extent, masks, steps, out, op);
          break;
        case PixelType::Real:
          blendedPlane<float>(in, size, extent, masks, steps, out, op);
          break;
        default:  // byte, direction, cyclic: one byte a pixel, compared as they are
          blendedPlane<std::uint8_t>(in, size, extent, masks, steps, out, op);
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(Result, objectOf(items));
}

void grayMorphologyRect(const HObject& Image, HObject* Result, const HTuple& MaskHeight,
                        const HTuple& MaskWidth, Steps steps, const char* op) {
  const HalfMask half = halfMaskOf(MaskHeight, MaskWidth, op);
  Mask mask{half, std::vector<std::int32_t>(std::size_t(2 * half.rows + 1), half.cols), true};
  grayMorphology(Image, Result, {WeightedMask{std::move(mask), 1.0}}, steps, op);
}

// A mask side of the _shape operators: an integer acts as the next odd one; a real between two
// odd sizes gives both, weighed by where it lies between them.
struct OddSides {
  std::int32_t low, high;
  double towardsHigh;
};

OddSides oddSidesOf(const HTuple& value, const char* op, int n) {
  const double side = oneNumber(value, op, n);
  if (!(side >= 1 && side <= 511)) fail(op, 1300 + n);
  if (value[0].Type() != eElementTypeDouble || side == std::floor(side)) {
    const auto odd = static_cast<std::int32_t>(side) | 1;
    if (value[0].Type() != eElementTypeDouble || odd == side) return {odd, odd, 0};
  }
  auto low = static_cast<std::int32_t>(std::floor(side));
  if (low % 2 == 0) --low;
  const std::int32_t high = low + 2;
  return {low, high, (side - low) / 2};
}

Mask shapeMask(const std::string& shape, std::int32_t height, std::int32_t width) {
  Mask mask{HalfMask{height / 2, width / 2}, {}, shape == "rectangle"};
  const std::int32_t r = mask.half.rows;
  for (std::int32_t dy = -r; dy <= r; ++dy) {
    const std::int32_t d = std::abs(dy);
    std::int32_t e = mask.half.cols;
    // The rhombus: |dr| + |dc| <= r; the octagon: the square cut by |dr| + |dc| <= (r + 1/2) sqrt
    // 2, the regular octagon about the square's pixel edges.
    if (shape == "rhombus") e = r - d;
    if (shape == "octagon") {
      e = std::min(e, static_cast<std::int32_t>(std::floor((r + 0.5) * std::sqrt(2.0))) - d);
    }
    mask.halfWidths.push_back(e);
  }
  return mask;
}

void grayMorphologyShape(const HObject& Image, HObject* Result, const HTuple& MaskHeight,
                         const HTuple& MaskWidth, const HTuple& MaskShape, Steps steps,
                         const char* op) {
  const OddSides rows = oddSidesOf(MaskHeight, op, 1), cols = oddSidesOf(MaskWidth, op, 2);
  const std::string shape = oneString(MaskShape, op, 3);
  if (shape != "rectangle" && shape != "rhombus" && shape != "octagon") fail(op, 1303);
  const bool square =
      rows.low == cols.low && rows.high == cols.high && rows.towardsHigh == cols.towardsHigh;
  if (shape != "rectangle" && !square) fail(op, 1302);
  std::vector<WeightedMask> masks;
  for (const bool highRows : {false, true}) {
    for (const bool highCols : {false, true}) {
      const double weight = (highRows ? rows.towardsHigh : 1 - rows.towardsHigh) *
                            (highCols ? cols.towardsHigh : 1 - cols.towardsHigh);
      if (weight <= 0 || (shape != "rectangle" && highRows != highCols)) continue;
      masks.push_back(
          {shapeMask(shape, highRows ? rows.high : rows.low, highCols ? cols.high : cols.low),
           weight});
    }
  }
  grayMorphology(Image, Result, masks, steps, op);
}

}  // namespace

void GrayErosionRect(const HObject& Image, HObject* ImageMin, const HTuple& MaskHeight,
                     const HTuple& MaskWidth) {
  ApiScope scope("GrayErosionRect");
  grayMorphologyRect(Image, ImageMin, MaskHeight, MaskWidth, Steps::Erosion, "gray_erosion_rect");
}

void GrayDilationRect(const HObject& Image, HObject* ImageMax, const HTuple& MaskHeight,
                      const HTuple& MaskWidth) {
  ApiScope scope("GrayDilationRect");
  grayMorphologyRect(Image, ImageMax, MaskHeight, MaskWidth, Steps::Dilation, "gray_dilation_rect");
}

void GrayOpeningRect(const HObject& Image, HObject* ImageOpening, const HTuple& MaskHeight,
                     const HTuple& MaskWidth) {
  ApiScope scope("GrayOpeningRect");
  grayMorphologyRect(Image, ImageOpening, MaskHeight, MaskWidth, Steps::Opening,
                     "gray_opening_rect");
}

void GrayClosingRect(const HObject& Image, HObject* ImageClosing, const HTuple& MaskHeight,
                     const HTuple& MaskWidth) {
  ApiScope scope("GrayClosingRect");
  grayMorphologyRect(Image, ImageClosing, MaskHeight, MaskWidth, Steps::Closing,
                     "gray_closing_rect");
}

void GrayErosionShape(const HObject& Image, HObject* ImageMin, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayErosionShape");
  grayMorphologyShape(Image, ImageMin, MaskHeight, MaskWidth, MaskShape, Steps::Erosion,
                      "gray_erosion_shape");
}

void GrayDilationShape(const HObject& Image, HObject* ImageMax, const HTuple& MaskHeight,
                       const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayDilationShape");
  grayMorphologyShape(Image, ImageMax, MaskHeight, MaskWidth, MaskShape, Steps::Dilation,
                      "gray_dilation_shape");
}

void GrayOpeningShape(const HObject& Image, HObject* ImageOpening, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayOpeningShape");
  grayMorphologyShape(Image, ImageOpening, MaskHeight, MaskWidth, MaskShape, Steps::Opening,
                      "gray_opening_shape");
}

void GrayClosingShape(const HObject& Image, HObject* ImageClosing, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayClosingShape");
  grayMorphologyShape(Image, ImageClosing, MaskHeight, MaskWidth, MaskShape, Steps::Closing,
                      "gray_closing_shape");
}

}  // namespace HalconCpp
