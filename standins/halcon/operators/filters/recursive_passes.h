// The recursion smooth_image's Deriche and Shen filters run along a line, and its passes over
// many lines at once: down the columns, and along eight rows side by side.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_PASSES_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_PASSES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// f(n) for n >= 0 satisfies f(n) = -b1 f(n - 1) - b2 f(n - 2) from n = 2 on, so the sum over
// n >= 0 runs forwards as c(i) = n0 x(i) + n1 x(i - 1) - b2 c(i - 2) - b1 c(i - 1), and the sum
// over n >= 1 backwards as a(i) = m1 x(i + 1) + m2 x(i + 2) - b2 a(i + 2) - b1 a(i + 1), each
// added left to right. A byte image runs it in floats (docs/standins.md): the last step waits
// on the last sum alone, so vectors of rows side by side wait one product and one difference.
template <typename T>
struct RecursionOf {
  T n0, n1, m1, m2, b1, b2, scale;
};
using Recursion = RecursionOf<float>;

// Down columns [x0, x1) of `src` (w x h bytes, continued through `rows`, `reach` places before
// row 0): each column's forward and backward sums, added and scaled, into `smoothed`.
// Floats or doubles (docs/standins.md).
template <typename T>
void recursiveColumns(const std::uint8_t* src, std::int32_t w, std::int32_t h,
                      const std::vector<std::int32_t>& rows, std::int32_t reach,
                      const RecursionOf<T>& c, std::size_t x0, std::size_t x1, T* smoothed);

// The whole filter of a byte plane, rounded into `dst` over the extent, in blocks of rows
// that stay in the cache: the states of the recursion down the columns are kept at the blocks'
// ends in a first pass, and each block then takes its columns' sums from them and filters its
// rows eight at a time, with the same operations in the same order as the passes above and
// the portable rows, and 0 beside the extent. false where there is no such path (no AVX2):
// nothing is written.
bool recursiveSmoothBlocks(const std::uint8_t* src, std::int32_t w, std::int32_t h,
                           const std::vector<std::int32_t>& rows,
                           const std::vector<std::int32_t>& columns, std::int32_t reach,
                           const Recursion& c, const Extent& extent, std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
