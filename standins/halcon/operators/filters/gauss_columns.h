// gauss_filter's sums down the columns with AVX-512's multiplies of words, and along the rows.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_COLUMNS_H
#define QUORVEX_STANDINS_HALCON_GAUSS_COLUMNS_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// out[x] = w[half] r[half][x] + sum over k = 1 ... half of w[half - k] (r[half - k][x] +
// r[half + k][x]) for x from 0 below n in blocks of 32 columns, the last under a mask, the
// weights below 2^15 (parts of kGaussUnit), 1 <= half <= 5; returns the columns done (n; 0
// where there is no such path). Only where the processor runs AVX-512.
std::size_t gaussColumnsAvx512(const std::uint8_t* const* rows, const std::uint32_t* weights,
                               int half, std::size_t n, std::uint32_t* out);

// out[x] = (w[half] c[x] + sum over k = 1 ... half of w[half - k] (c[x - k] + c[x + k]) +
// 2^23) >> 24 for x < n, c = column, 1 <= half <= 5: the sums along the row and their bytes in
// one pass. Where `streamed`, the whole lines of 64 bytes of out are written past the caches: a
// large image's rows are not read again before the call returns, and the stores then need not
// fetch each line first. Only where the processor runs AVX-512.
void gaussRowBytesAvx512(const std::uint32_t* column, const std::uint32_t* weights, int half,
                         std::size_t n, std::uint8_t* out, bool streamed);

}  // namespace Standin
}  // namespace HalconCpp

#endif
