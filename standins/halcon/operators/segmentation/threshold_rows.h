// The comparisons of dyn_threshold and var_threshold over a row's pixels in AVX2 or AVX-512
// vectors, each pixel's answer a bit; and the runs of such a row of bits. The vectors give the bits
// the portable comparisons give: whole differences for dyn_threshold, the same IEEE operations in
// the same order (no fused multiply-add) for var_threshold.
#ifndef QUORVEX_STANDINS_HALCON_THRESHOLD_ROWS_H
#define QUORVEX_STANDINS_HALCON_THRESHOLD_ROWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/memory_bounds.h"
#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

enum class Comparison { Light, Dark, Equal, NotEqual };

// Whether the processor runs the vectors below.
bool thresholdVectorsRun();

// Bit i of bits (bits[i / 64] >> i % 64) set when low <= g[i] - t[i] <= high, or when it is
// not so and `outside`; for the first pixels of the row in whole groups of 32, whose count it
// returns. low and high lie in [-256, 256].
std::size_t differenceBits(const std::uint8_t* g, const std::uint8_t* t, std::size_t n, int low,
                           int high, bool outside, std::uint64_t* bits);

// var_threshold's test of g[i] against the window's mean m = sums[i] / area and deviation
// d = sqrt(max(0, squares[i] / area - m m)), v = max(scale d, absolute) for a scale of 0 or
// more, else min(scale d, absolute); in whole groups of 4, whose count it returns.
std::size_t localDeviationBits(const std::uint8_t* g, const std::uint64_t* sums,
                               const std::uint64_t* squares, std::size_t n, double area,
                               double scale, double absolute, Comparison comparison,
                               std::uint64_t* bits);

// The runs of the set bits among the first n, bit 0 at column `column` of row `row`.
void appendBitRuns(const std::uint64_t* bits, std::size_t n, std::int32_t row, std::int32_t column,
                   Runs& out);

// The answers of every pixel of a domain as bits, one row of bits a run of the domain (clipped
// to the image), kept until all are known: the result's runs are then counted and written into
// storage of their final size, instead of into lists that grow (and move, and fault in fresh
// pages) as they go.
class DomainBits {
 public:
  // Reserves the bits against the pixel bound, raising 6001 in `op` beyond it.
  DomainBits(const Runs& domain, std::int32_t width, std::int32_t height, const char* op);
  // Domain run k within the image: its first column and its pixels (0 outside the image).
  std::int32_t begin(std::size_t k) const { return begins_[k]; }
  std::size_t length(std::size_t k) const { return lengths_[k]; }
  // The words of domain run k, whose bit 0 is its first pixel: all clear until written.
  std::uint64_t* words(std::size_t k) { return store_.data() + wordAt_[k]; }
  // Counts the runs of run k's bits, once they are all set.
  void counted(std::size_t k);
  // The runs of the set bits, written in bands on the operators' threads: band b writes the
  // domain's runs [bandRuns[b], bandRuns[b + 1]).
  Runs runs(const std::vector<std::size_t>& bandRuns) const;

 private:
  const Runs& domain_;
  PixelReservation reservation_;
  std::vector<std::int32_t> begins_;
  std::vector<std::size_t> lengths_, wordAt_;
  std::vector<std::uint64_t> store_;
  std::vector<std::uint32_t> counts_;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
