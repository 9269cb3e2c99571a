// gray_erosion_rect, gray_dilation_rect, gray_opening_rect and gray_closing_rect, and the
// extremes over a mask that the _shape forms share: the least or greatest grey value in a mask
// about each pixel, the image mirrored at its edges. Even sides grow to the next odd one, as the
// reference says.
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
#include "operators/morphology/gray_morphology.h"
#include "operators/morphology/gray_rect_bytes.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kGrayMorphologyTypes{PixelType::Byte,  PixelType::Direction, PixelType::Cyclic,
                                          PixelType::Uint2, PixelType::Int2,      PixelType::Int4,
                                          PixelType::Real};

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

// Whether the byte extremes run in AVX2 vectors, asked once a call: a byte's extreme is the
// same byte in any width. (AVX-512's rows of 64 bytes split a cache line on nearly every load
// here and run no faster.)
bool byteVectors() {
  return vectorPathsEnabled() && cpuHasAvx2();
}

// mirroredIndex without its divisions for the indices within one side of the image.
inline std::int32_t mirrored(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  if (i < 0 && i >= -n) return -1 - i;
  if (i >= n && i < 2 * n) return 2 * n - 1 - i;
  return mirroredIndex(i, n);
}

// out = pick(a, b) element by element: loops without aliasing, which the vectoriser takes
// whole; bytes in AVX2 vectors with `vectors` (byteVectors).
template <typename T, bool Greatest>
void pickOf(T* __restrict out, const T* __restrict a, const T* __restrict b, std::size_t n,
            bool vectors) {
  std::size_t i = 0;
  if constexpr (std::is_same_v<T, std::uint8_t>) {
    if (vectors) i = pickBytes(Greatest, out, a, b, n);
  }
  static_cast<void>(vectors);
  for (; i < n; ++i) out[i] = pick<T, Greatest>(a[i], b[i]);
}

// The row [c0 - cols, c1 + cols] of `values` (the image's columns lo ... from lo), mirrored
// beyond the image's edges.
template <typename T>
void extendRow(const T* values, std::int32_t lo, std::int32_t w, std::int32_t c0, std::int32_t n,
               std::int32_t cols, T* extended) {
  const std::int32_t first = c0 - cols, span = n + 2 * cols;
  const std::int32_t inside0 = std::max(0, -first), inside1 = std::min(span, w - first);
  for (std::int32_t i = 0; i < inside0; ++i) extended[i] = values[mirrored(first + i, w) - lo];
  if (inside1 > inside0) {
    std::copy(values + (first + inside0 - lo), values + (first + inside1 - lo), extended + inside0);
  }
  for (std::int32_t i = std::max(inside0, inside1); i < span; ++i) {
    extended[i] = values[mirrored(first + i, w) - lo];
  }
}

// The extreme over 2 cols + 1 neighbours along a row: for small masks the extremes of 2, 4, 8
// ... neighbours, each from two of the last, until two overlapping windows cover the mask
// (whole rows a pass, which vectorise; log2 of the mask passes); van Herk and Gil-Werman's
// block prefixes and suffixes (three comparisons a pixel, whatever the mask) for large ones.
template <typename T, bool Greatest>
void extremeAlong(const T* extended, std::int32_t n, std::int32_t cols, T* out, T* scratch,
                  bool vectors) {
  const std::int32_t k = 2 * cols + 1;
  const std::int32_t span = n + k - 1;
  if (k <= 48) {
    const T* window = extended;  // window[x]: the extreme of `p` neighbours from x on
    std::int32_t p = 1;
    for (T* next = scratch; 2 * p < k; p *= 2) {
      pickOf<T, Greatest>(next, window, window + p, std::size_t(span - 2 * p + 1), vectors);
      window = next;
      next = next == scratch ? scratch + span : scratch;
    }
    pickOf<T, Greatest>(out, window, window + (k - p), std::size_t(n), vectors);
    return;
  }
  T* prefix = scratch;
  T* suffix = scratch + span;
  for (std::int32_t b = 0; b < span; b += k) {
    const std::int32_t e = std::min(b + k, span) - 1;
    prefix[b] = extended[b];
    for (std::int32_t i = b + 1; i <= e; ++i)
      prefix[i] = pick<T, Greatest>(prefix[i - 1], extended[i]);
    suffix[e] = extended[e];
    for (std::int32_t i = e - 1; i >= b; --i)
      suffix[i] = pick<T, Greatest>(suffix[i + 1], extended[i]);
  }
  for (std::int32_t x = 0; x < n; ++x) out[x] = pick<T, Greatest>(suffix[x], prefix[x + k - 1]);
}

// Separable: the extreme down each column over the mask's rows, then along the row. Down the
// columns van Herk and Gil-Werman's blocks of k = 2 rows + 1 image rows: an output row takes the
// suffix of the block its top row lies in and the prefix of the next block up to its bottom row,
// whole rows at a time, which the compiler vectorises.
template <typename T, bool Greatest>
void extremeRows(const T* src, PlaneSize size, const Extent& extent, HalfMask half, T* dst,
                 std::int32_t y0, std::int32_t y1, bool vectors) {
  if constexpr (std::is_same_v<T, std::uint8_t>) {
    if (vectors && rowsBytesFit(half)) {
      return extremeRowsBytes(Greatest, src, size, extent, half, dst, y0, y1);
    }
  }
  const std::int32_t w = size.width, h = size.height;
  std::int32_t lo = w, hi = -1;
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
    if (c0 > c1) continue;
    // The columns a mirrored neighbour of [c0, c1] can land on.
    lo = std::min(lo, std::max(0, c0 - half.cols));
    hi = std::max(hi, std::min(w - 1, c1 + half.cols));
  }
  if (lo > hi) return;
  const auto width = std::size_t(hi - lo + 1);
  const std::int32_t k = 2 * half.rows + 1;
  // Virtual row v is image row y0 - rows + v, mirrored.
  const auto rowAt = [&](std::int32_t v) {
    return src + std::size_t(mirrored(y0 - half.rows + v, h)) * std::size_t(w) + std::size_t(lo);
  };
  std::vector<T> suffix(std::size_t(k) * width), prefix(std::size_t(k) * width);
  std::vector<T> column(width);
  std::vector<T> extended(std::size_t(w) + 2 * std::size_t(half.cols) + 1);
  std::vector<T> scratch(2 * extended.size());
  const std::int32_t outputs = y1 - y0;
  for (std::int32_t block = 0; block < outputs; block += k) {
    const std::int32_t end = std::min(block + k, outputs);
    // Suffixes of virtual rows [block, block + k - 1]; prefixes of [block + k, block + 2k - 2].
    std::copy(rowAt(block + k - 1), rowAt(block + k - 1) + width,
              suffix.begin() + std::ptrdiff_t(std::size_t(k - 1) * width));
    for (std::int32_t i = k - 2; i >= 0; --i) {
      pickOf<T, Greatest>(suffix.data() + std::size_t(i) * width, rowAt(block + i),
                          suffix.data() + std::size_t(i + 1) * width, width, vectors);
    }
    if (k > 1) std::copy(rowAt(block + k), rowAt(block + k) + width, prefix.begin());
    for (std::int32_t i = 1; i < std::min(k - 1, end - block); ++i) {
      pickOf<T, Greatest>(prefix.data() + std::size_t(i) * width, rowAt(block + k + i),
                          prefix.data() + std::size_t(i - 1) * width, width, vectors);
    }
    for (std::int32_t a = block; a < end; ++a) {
      const std::int32_t y = y0 + a;
      const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
      if (c0 > c1) continue;
      const T* top = suffix.data() + std::size_t(a - block) * width;
      const T* values = top;
      if (a > block) {
        pickOf<T, Greatest>(column.data(), top, prefix.data() + std::size_t(a - block - 1) * width,
                            width, vectors);
        values = column.data();
      }
      const std::int32_t n = c1 - c0 + 1;
      extendRow(values, lo, w, c0, n, half.cols, extended.data());
      extremeAlong<T, Greatest>(extended.data(), n, half.cols,
                                dst + std::size_t(y) * std::size_t(w) + std::size_t(c0),
                                scratch.data(), vectors);
    }
  }
}

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
      const T* row = src + std::size_t(mirrored(y + dy, h)) * std::size_t(w);
      for (std::int32_t i = 0; i < n + 2 * e; ++i) {
        extended[std::size_t(i)] = row[mirrored(c0 - e + i, w)];
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
  const bool vectors = byteVectors();
  // The byte rows in vectors (gray_rect_bytes.h) cost little more than half the loops' time a
  // pixel (one thread: 640 x 480, 11 x 11, 61 us to 42 us; 4096 x 2160 2.4 ms to 1.4 ms):
  // the work a band must hold to be worth waking a thread is counted alike.
  const bool byteRows =
      std::is_same_v<T, std::uint8_t> && vectors && mask.rectangle && rowsBytesFit(half);
  const int bands = bandsFor(size.height, extent.pixels * work / (byteRows ? 16 : 8));
  forBands(size.height, bands, [&](int, std::int64_t y0, std::int64_t y1) {
    const auto a = static_cast<std::int32_t>(y0), b = static_cast<std::int32_t>(y1);
    if (mask.rectangle)
      return extremeRows<T, Greatest>(src, size, extent, half, dst, a, b, vectors);
    extremeShapeRows<T, Greatest>(src, size, extent, mask, dst, a, b);
  });
}

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

void grayMorphologyRect(const HObject& Image, HObject* Result, const HTuple& MaskHeight,
                        const HTuple& MaskWidth, Steps steps, const char* op) {
  const HalfMask half = halfMaskOf(MaskHeight, MaskWidth, op);
  Mask mask{half, std::vector<std::int32_t>(std::size_t(2 * half.rows + 1), half.cols), true};
  grayMorphology(Image, Result, {WeightedMask{std::move(mask), 1.0}}, steps, op);
}

}  // namespace

namespace Standin {

void grayMorphology(const HObject& Image, HObject* Result, const std::vector<WeightedMask>& masks,
                    Steps steps, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kGrayMorphologyTypes)) {
    const PixelType type = image->type();
    ImagePtr result = domainImageLike(image, image->channels.size(), op, type);
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

}  // namespace Standin

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

}  // namespace HalconCpp
