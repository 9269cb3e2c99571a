// smooth_image 'gauss' on bytes in floats, twice the sums of a vector of doubles, with the
// bytes of the portable sums in doubles: a float sum far enough from every rounding boundary
// (x.5) rounds as the double sum does, and the few that are not are summed again in doubles as
// the portable rows sum them.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_FLOATS_H
#define QUORVEX_STANDINS_HALCON_GAUSS_FLOATS_H

#include <cstdint>
#include <vector>

#include "operators/filters/gauss_pixels.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// The rows of each part `next` hands out, as sampledGaussPlane rounds them; false where there
// is no such path (no AVX2 with fused multiply-add) or floats cannot decide enough of the
// pixels (a long reach): nothing is taken or written.
bool sampledGaussFloats(const SampledGauss& job, const NextRows& next);

}  // namespace Standin
}  // namespace HalconCpp

#endif
