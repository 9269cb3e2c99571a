// The sums down the columns of smooth_image 'gauss' in whole numbers: the bytes of two taps a
// multiply-add of words, only the total rounded into a float.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_WORDS_H
#define QUORVEX_STANDINS_HALCON_GAUSS_WORDS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace HalconCpp {
namespace Standin {

// The weights as whole numbers for the columns' sums in integers: g_k ~ hi_k 2^-s1 + lo_k 2^-s2
// (s2 = s1 + 15), off by at most 2^-(s2 + 1) each, two taps' 16-bit weights to a 32-bit word
// (taps 2j and 2j + 1: the centre row and the pairs about it).
struct FixedWeights {
  std::vector<std::int32_t> hi, lo;
  float hiScale, loScale;  // 2^-s1, 2^-s2
};

// The whole-number weights of the first `taps` of g, when the columns' sums in them stay within
// what the bound allows the float sums down a column, 255 u (S + 2): each weight off by at
// most 2^-(s2 + 1) under a pair of up to 510, lo's float (below 2^29) by 16 units of 2^-s2,
// and the total's rounding (below 256) by 2^-17.
bool fixedWeights(const std::vector<double>& g, std::size_t taps, double steps, FixedWeights* fw);

// Down the columns [x, a1) of the 2 r + 1 rows `lines` in whole groups of 32 into col, in units
// of hiScale (each sum over hiScale, exactly the float sum times a power of two), returning
// where they stop. Only where the processor runs AVX-512.
std::size_t wordColumnsAvx512(const std::uint8_t* const* lines, const FixedWeights& fw,
                              std::size_t r, std::size_t x, std::size_t a1, float* col);

// The sums down the 32 columns from x of the 2 r + 1 rows `lines` (r <= 15) as doubles, each
// exact but for fw's weights, which move it by at most (r + 1) 255 2^-s2. Only where the
// processor runs AVX-512.
void wordColumnsExactAvx512(const std::uint8_t* const* lines, const FixedWeights& fw, std::size_t r,
                            std::size_t x, double* sums);

}  // namespace Standin
}  // namespace HalconCpp

#endif
