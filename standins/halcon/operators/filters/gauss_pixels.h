// The pixels of smooth_image 'gauss' whose float sums lie too near a rounding boundary to
// decide it: their sums in doubles, as the portable rows sum them.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_PIXELS_H
#define QUORVEX_STANDINS_HALCON_GAUSS_PIXELS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/gauss_words.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// One plane of smooth_image 'gauss': its bytes, its domain and its sampled weights.
struct SampledGauss {
  const std::uint8_t* src;
  PlaneSize size;
  const Extent* extent;
  const std::vector<double>* g;                    // the weights at offsets 0 ... reach
  const std::vector<std::int32_t>*rows, *columns;  // the mirrored continuations
  std::uint8_t* dst;
};

// A thread's room for them: the columns' sums of the row last asked for and of one pixel.
// Where `whole` is set (all the taps' whole-number weights), a pixel's columns are first summed
// in whole numbers and its row in doubles: off the double sums by no more than `margin`, which
// decides all but the pixels within it of a boundary for a fifth of the time.
struct ExactPixels {
  ExactPixels(std::size_t width, std::size_t taps);
  std::vector<double> kept;  // a column's sum, of the row + 1 stamp holds
  std::vector<std::int32_t> stamp;
  std::vector<double> window;  // one pixel's columns, a vector's columns past them
  const FixedWeights* whole = nullptr;
  double margin = 0;
  std::vector<double> across;  // the weights of 32 columns from reach before the pixel's, 0 past
  void setWhole(const FixedWeights* weights, const std::vector<double>& g);
  std::vector<const std::uint8_t*> lines;  // the rows about row linesRow
  std::int32_t linesRow = -1;
};

// The byte the portable rows give the pixel (x, y); `wide`: AVX-512 may sum its columns.
std::uint8_t exactPixel(const SampledGauss& job, std::int32_t y, std::int32_t x, ExactPixels& b,
                        bool wide);

}  // namespace Standin
}  // namespace HalconCpp

#endif
