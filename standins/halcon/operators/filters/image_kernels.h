// Filters on one plane of byte pixels, row by row without padding. Pixels beyond the edges
// are mirrored about the edge: the row above row 0 repeats row 0.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_KERNELS_H
#define QUORVEX_STANDINS_HALCON_IMAGE_KERNELS_H

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/runs.h"
#include "core/threads.h"
#include "operators/filters/vector_targets.h"

namespace HalconCpp {
namespace Standin {

struct PlaneSize {
  std::int32_t width;
  std::int32_t height;
};

// Whether the processor runs AVX2, asked once; false where the kernels have no AVX2 path.
bool cpuHasAvx2();
// Whether the processor runs AVX-512 (F, BW, VL and DQ: QUORVEX_AVX512) and 'standin_simd'
// lets the vector paths use it.
bool cpuHasAvx512();

std::int32_t mirroredIndex(std::int32_t i, std::int32_t n);

// Sets the rows [y0, y1) of the next part of the work to be done; false when none is left.
using NextRows = std::function<bool(std::int32_t& y0, std::int32_t& y1)>;

// Rows [0, height) in parts of a few dozen rows that `bands` threads take in turn, each
// calling band(next) once: a thread the machine holds up leaves the rest of its share to the
// others. Every row lies in one part, so the result is the same for any threads.
inline void inParts(std::int32_t height, int bands,
                    const std::function<void(const NextRows&)>& band) {
  const std::int32_t partRows = bands > 1 ? std::max(8, height / (16 * bands)) : height;
  const std::int32_t parts = partRows > 0 ? (height + partRows - 1) / partRows : 0;
  std::atomic<std::int32_t> taken{0};
  const NextRows next = [&](std::int32_t& y0, std::int32_t& y1) {
    const std::int32_t part = taken.fetch_add(1);
    if (part >= parts) return false;
    y0 = part * partRows;
    y1 = std::min(height, y0 + partRows);
    return true;
  };
  forBands(height, bands, [&](int, std::int64_t, std::int64_t) { band(next); });
}

// The pixels a filter computes: in each row, from the domain's first pixel in that row to its
// last (begin > end: none), so that a small domain costs what it covers, not the image. The
// pixels outside stay as the output was made (0). Neighbours are read from the whole image.
struct Extent {
  std::vector<std::int32_t> begin, end;  // a pair a row
  std::int64_t pixels = 0;               // the sum of the spans, the work to share out
};
Extent extentOf(const Runs& domain, PlaneSize size);
Extent fullExtent(PlaneSize size);

// Mean over (2 * (maskWidth / 2) + 1) x (2 * (maskHeight / 2) + 1) pixels, rounded: running
// sums, so the cost does not grow with the mask.
void meanPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
               std::int32_t maskWidth, std::int32_t maskHeight, std::uint8_t* dst);
void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst);
// The weights of a Gaussian of the given sigma sampled at `taps` whole offsets about 0, as
// parts of kGaussUnit that sum to it: each rounded to the nearest part, the centre the rest.
constexpr std::uint32_t kGaussUnit = 4096;
std::vector<std::uint32_t> gaussWeights(std::int32_t taps, double sigma);
// The weights along the row and down the column alike (at most 11), the sum rounded.
void gaussPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                const std::vector<std::uint32_t>& weights, std::uint8_t* dst);
// Weighted sums along the row and down the column, unrounded, for the filters that go on
// from them.
void smoothPlane(const std::uint8_t* src, PlaneSize size, const std::vector<double>& alongRow,
                 const std::vector<double>& alongColumn, double* dst);

// The binomial coefficients of `taps` taps over 2^(taps - 1), exact in doubles up to 37 taps.
std::vector<double> binomialWeights(std::int32_t taps);
// The binomial filter of maskWidth x maskHeight (odd, 1 ... 37) in whole numbers: the exact
// weighted sum over 2^(maskWidth + maskHeight - 2), rounded once, halves up.
void binomialPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
                   std::int32_t maskHeight, std::uint8_t* dst);

// The impulse responses f(n) = f(-n) of the recursive smoothing filters, for n >= 0 with
// r = exp(-alpha): 'deriche1' (1 + alpha n) r^n, 'deriche2' (sin(alpha n) + cos(alpha n)) r^n,
// 'shen' r^n; each normalised to sum to one over all n.
enum class RecursiveSmoothing { Deriche1, Deriche2, Shen };
// How far beyond each edge the recursion starts, so that what it leaves out weighs below one
// part in 10^9.
std::int32_t recursiveReach(RecursiveSmoothing kind, double alpha);
// Down the columns, then along the rows, each line run forwards and backwards through its
// mirrored continuation, the sum rounded once. Every column goes down whole; the rows are
// filtered where the extent meets them and written over its spans, every other pixel 0.
void recursiveSmoothPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                          RecursiveSmoothing kind, double alpha, std::uint8_t* dst);
// The same filter on a plane of doubles, in place, without rounding.
void recursiveSmoothDoubles(double* values, PlaneSize size, RecursiveSmoothing kind, double alpha);
// The Gaussian of the given sigma sampled at whole offsets out to where it weighs below one
// part in 10^9 of its centre, normalised, down the columns and along the rows in doubles.
std::int32_t gaussReach(double sigma);
void sampledGaussPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, double sigma,
                       std::uint8_t* dst);
// Its weights at offsets -reach ... reach.
std::vector<double> sampledGaussWeights(double sigma);

// The Sobel filter's amplitudes of a and b, the image convolved with the masks
// A = (1 2 1 / 0 0 0 / -1 -2 -1) and B = (1 0 -1 / 2 0 -2 / 1 0 -1), over 4; the thin kinds
// keep |a| only where it is a maximum down its column and |b| along its row.
enum class SobelAmplitude { SumAbs, SumSqrt, ThinSumAbs, ThinMaxAbs };
// Weights to smooth with first; none: the masks filter the image itself. A smoothed image is
// doubled before the masks, as the smoothing lowers edges.
struct SobelSmoothing {
  std::vector<double> alongRow, alongColumn;
};
// The plane the Sobel masks read: the grey values, or twice their smoothing when a size above
// 3 asks for it.
std::vector<double> sobelSource(const std::uint8_t* src, PlaneSize size,
                                const SobelSmoothing& smoothing);
void sobelPlane(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                const SobelSmoothing& smoothing, std::uint8_t* dst);
// sobel_dir: the amplitude ('sum_abs' or 'sum_sqrt') and the direction of the gradient (towards
// the brighter side, counterclockwise from the column axis) in steps of 2 degrees, 0 ... 179,
// 255 where the amplitude is 0.
void sobelDirPlane(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                   const SobelSmoothing& smoothing, std::uint8_t* amplitudeOut,
                   std::uint8_t* directionOut);

// How median filters read beyond the edges: mirrored, repeated from the opposite edge,
// continued from the edge pixel, or a constant grey value.
struct Margin {
  enum Kind { Mirrored, Cyclic, Continued, Constant } kind = Mirrored;
  std::uint8_t value = 0;
};
// Where position i of a line of n pixels reads from under the margin; -1: the constant grey
// value.
std::int32_t marginSource(Margin::Kind kind, std::int32_t i, std::int32_t n);
// The median over the mask's pixels around each pixel; `mask` holds offsets as runs.
void medianPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 Margin margin, std::uint8_t* dst);
// The grey value of rank `rank` (0: the least) among the mask's pixels around each pixel.
void rankPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
               Margin margin, std::size_t rank, std::uint8_t* dst);
// Any statistic of the mask's pixels around each pixel: their histogram (256 counts), the
// same in 16 bands of 16 grey values with each band's sum, their number, sum and sum of
// squares, and the pixel's own grey value.
struct Window {
  const std::uint32_t* histogram;
  const std::uint32_t* bands;
  const std::uint64_t* bandSums;
  std::uint64_t count, sum, squares;
  std::uint8_t centre;
};
// The sum of the k least grey values of a window.
std::uint64_t sumOfLeast(const Window& window, std::uint64_t k);
using WindowPick = std::function<std::uint8_t(const Window& window)>;
void windowPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 Margin margin, const WindowPick& pick, std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
