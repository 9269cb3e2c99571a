// The recursion smooth_image's Deriche and Shen filters run along a line, shared by the portable
// rows (smoothing_kernels.cc) and the vector rows that run eight rows at once.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_ROWS_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_ROWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// f(n) for n >= 0 satisfies f(n) = -b1 f(n - 1) - b2 f(n - 2) from n = 2 on, so the sum over
// n >= 0 runs forwards as c(i) = n0 x(i) + n1 x(i - 1) - b1 c(i - 1) - b2 c(i - 2), and the sum
// over n >= 1 backwards as a(i) = m1 x(i + 1) + m2 x(i + 2) - b1 a(i + 1) - b2 a(i + 2).
struct Recursion {
  double n0, n1, m1, m2, b1, b2, scale;
};

// The rows `rows[0 ... count)` of `plane` (doubles, `width` a row), each run along its mirrored
// continuation `indices` (`reach` places before the row) and rounded into `dst` over its
// extent, in groups of eight with the same operations in the same order as one row alone.
// Returns how many of the first rows it filtered (a multiple of eight; 0 without AVX2): the
// caller filters the rest.
std::size_t recursiveRowsVector(const double* plane, std::int32_t width, const std::int32_t* rows,
                                std::size_t count, const std::vector<std::int32_t>& indices,
                                std::int32_t reach, const Recursion& c, const Extent& extent,
                                std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
