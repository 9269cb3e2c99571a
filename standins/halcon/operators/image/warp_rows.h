// The geometric warps' pixel sampling, shared by their portable per-pixel loops and their
// fast path. The fast path shares the work out over rows, finds the input's domain through an
// index of its rows instead of a search of all runs, reads coordinates from tables made once
// per row or column, and interpolates in whole numbers where that gives the same bytes as the
// portable arithmetic in doubles. The portable loops ('standin_simd' 'false') are the
// reference the fast path is tested against.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_ROWS_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_ROWS_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "core/image.h"

namespace HalconCpp {
namespace Standin {

enum class Sampling { Nearest, Bilinear, Bicubic };

// Keys' cubic convolution kernel with a = -0.5, which reproduces a straight ramp.
inline double cubicWeight(double x) {
  constexpr double a = -0.5;
  x = std::fabs(x);
  if (x <= 1) return ((a + 2) * x - (a + 3)) * x * x + 1;
  if (x < 2) return ((a * x - 5 * a) * x + 8 * a) * x - 4 * a;
  return 0;
}

// The bilinear grey value at (row, col), pixel centres at whole numbers, the border pixels
// repeated for the half pixel between the last centre and the image's edge; `read(i)` gives
// the value at offset i, so that every pixel type interpolates alike.
template <class Read>
double bilinearOf(const ImageObject& image, Read&& read, double row, double col) {
  row = std::clamp(row, 0.0, double(image.height - 1));
  col = std::clamp(col, 0.0, double(image.width - 1));
  const auto r0 = static_cast<std::int32_t>(row), c0 = static_cast<std::int32_t>(col);
  const std::int32_t r1 = std::min(r0 + 1, image.height - 1),
                     c1 = std::min(c0 + 1, image.width - 1);
  const double fr = row - r0, fc = col - c0;
  const double top = read(image.offset(r0, c0)) * (1 - fc) + read(image.offset(r0, c1)) * fc;
  const double bottom = read(image.offset(r1, c0)) * (1 - fc) + read(image.offset(r1, c1)) * fc;
  return top * (1 - fr) + bottom * fr;
}

inline double bilinearAt(const ImageObject& image, const std::uint8_t* p, double row, double col) {
  return bilinearOf(
      image, [p](std::size_t i) -> double { return p[i]; }, row, col);
}

// Four by four neighbours, those beyond the edges repeating the edge pixel.
inline double bicubicAt(const ImageObject& image, const std::uint8_t* p, double row, double col) {
  const auto r0 = static_cast<std::int32_t>(std::floor(row));
  const auto c0 = static_cast<std::int32_t>(std::floor(col));
  double sum = 0;
  for (std::int32_t i = -1; i <= 2; ++i) {
    const std::int32_t r = std::clamp(r0 + i, 0, image.height - 1);
    const double wr = cubicWeight(row - (r0 + i));
    for (std::int32_t j = -1; j <= 2; ++j) {
      const std::int32_t c = std::clamp(c0 + j, 0, image.width - 1);
      sum += wr * cubicWeight(col - (c0 + j)) * p[image.offset(r, c)];
    }
  }
  return std::max(sum, 0.0);
}

// Which output pixels the result's domain holds: those whose nearest input pixel lies in the
// input's domain, or those whose real position lies in the input's rectangle.
enum class Inside { Domain, Rectangle };

// Where output pixels fall in the input. `row` gives the input row and column of each output
// pixel of one row, each ascending or descending along the row as any affine map's do; a zoom,
// whose input row depends on the output row alone and input column on the output column alone,
// gives `rowOf` and `colOf` instead, which are then used.
struct WarpSource {
  std::function<void(std::int32_t row, double* sr, double* sc)> row;
  std::function<double(std::int32_t row)> rowOf;
  std::function<double(std::int32_t col)> colOf;
};

// The fast path of the warps: an image of the given size whose pixel (r, c) samples the input
// where `source` maps it; pixels left out of the domain are 0.
ImagePtr warpImage(const ImagePtr& image, std::int32_t width, std::int32_t height,
                   Sampling sampling, Inside inside, const WarpSource& source, const char* op);

// A bilinear zoom of an image of even sides to half of each: the same bytes and domain as
// warpImage's, each pixel the rounded mean of 2 x 2 input pixels.
ImagePtr halveImage(const ImagePtr& image, const char* op);

// Exact moves of whole pixels: output (r, c) takes input (r0 + r * dr_r + c * dr_c,
// c0 + r * dc_r + c * dc_c), one of dr_c and dc_c being 0; pixels whose input is out of the
// domain are left out and 0.
struct PixelMove {
  std::int32_t r0, drR, drC;
  std::int32_t c0, dcR, dcC;
};
ImagePtr moveImage(const ImagePtr& image, std::int32_t width, std::int32_t height,
                   const PixelMove& move, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
