// The warps' vector loops. Bilinear sampling at real positions in AVX2 doubles, four pixels at a
// time, each step the same IEEE operation in the same order as bilinearAt (warp_rows.h) and the
// rounding to a byte take in scalar doubles, so that the bytes are the same.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_SIMD_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_WARP_SIMD_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// Samples the first of `count` positions (rows `sr`, columns `sc`) in the byte plane `p` into
// `q` and returns how many it sampled: it stops before four positions whose neighbours reach
// the plane's last three bytes, which a vector load would pass. 0 where AVX2 does not run.
std::size_t bilinearVectors(const std::uint8_t* p, std::int32_t width, std::int32_t height,
                            const double* sr, const double* sc, std::size_t count, std::uint8_t* q);

// base + slope * (c - centre) for the first of `count` columns c into `out`, each step the
// scalar expression's (c - centre is exact); returns how many it wrote (AVX2), the caller
// writes the rest.
std::size_t rampVectors(double base, double slope, double centre, std::size_t count, double* out);

// floor(x + 0.5) of the first of `count` positions into `out`, those past +-2^30 (NaN: -2^30)
// held there; returns how many it wrote (AVX2), the caller writes the rest.
std::size_t nearestVectors(const double* x, std::size_t count, std::int32_t* out);

// A zoom by one half in whole numbers: output pixel i of `count` weighs input columns 2i and
// 2i + 1 of rows `top` and `bottom` by (vc, 128 - vc) and the rows by (vr, 128 - vr), and
// rounds the sum / 2^14 half up. Returns how many pixels it wrote (SSE2 or AVX2); the caller
// writes the rest.
std::size_t halveVectors(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t vc,
                         std::int32_t vr, std::size_t count, std::uint8_t* q);

// A zoom to half of each side: pixels [a, b) of `rows` output rows from q on, `outStride`
// apart, each output pixel c of row r the sum of the 2 x 2 input block at column 2c of rows 2r
// and 2r + 1 (`top` the first, rows `inStride` apart) plus 2, shifted right by 2; in vectors
// (AVX2, AVX-512) and scalar alike.
void halveBlocks(const std::uint8_t* top, std::ptrdiff_t inStride, std::int32_t a, std::int32_t b,
                 std::int32_t rows, std::uint8_t* q, std::ptrdiff_t outStride);

}  // namespace Standin
}  // namespace HalconCpp

#endif
