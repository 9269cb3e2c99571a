// Four lines transformed at once in AVX2 doubles: kissfft's recursion and butterflies (radices
// 2, 3, 4 and 5) step for step, each value of the four lines the same IEEE operation in the same
// order as kissfft's std::complex arithmetic, no fused multiply-adds, so that the values come
// out the same as LinePlan's. std::complex multiplies differently only where both parts of a
// product come out NaN, which needs an infinite or NaN input: callers use the lanes for finite
// values alone.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_FFT_LANES_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_FFT_LANES_H

#include <complex>
#include <cstddef>
#include <vector>

namespace HalconCpp {
namespace Standin {

class LaneTransform {
 public:
  static constexpr std::size_t kLanes = 4;

  // The transform of n values with e^(sign 2 pi i jk / n), nothing normalised.
  LaneTransform(std::size_t n, int sign);
  // False where AVX2 does not run, for n < 2 and for a prime factor above 5.
  bool usable() const { return usable_; }
  // Value i of line l is in[i * stride + l] (stride counted in complex values, at least
  // kLanes); its transform goes to out[i * kLanes + l]. `out` must not overlap `in`.
  void run(const std::complex<double>* in, std::size_t stride, std::complex<double>* out) const;

 private:
  std::size_t n_;
  bool inverse_;
  bool usable_ = false;
  std::vector<std::complex<double>> twiddles_;
  std::vector<std::size_t> radix_, remainder_;
};

// Four pairs of real rows parted again from their lines' transforms (value k of pair l at
// lines[k * kLanes + l]) as splitPair does, row a's half spectrum (`half` values) of pair l to
// ra[l] and row b's to rb[l]. False, nothing written, where AVX2 does not run.
bool splitVectors(const std::complex<double>* lines, std::size_t width, std::size_t half,
                  std::complex<double>* const* ra, std::complex<double>* const* rb);

// The first of `count` products of spectrum values (`in`, parts side by side) with weights
// (`weights`: complex, parts side by side, or real, one a value), each weight conjugated when
// `conjugate` is set, in doubles as convol_fft's pixelwise loop computes them: a c - b d and
// a d + b c, NaN kept, every other value clipped to [lowest, highest], stored as floats.
// Stops before four values one of whose products has both parts NaN (which std::complex makes
// again) and returns how many it wrote; 0 where AVX2 does not run.
std::size_t productVectors(const float* in, const float* weights, bool complexWeights,
                           bool conjugate, std::size_t count, double lowest, double highest,
                           float* out);

}  // namespace Standin
}  // namespace HalconCpp

#endif
