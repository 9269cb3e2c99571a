// The byte extremes of the rectangular grey-value morphology in AVX2 vectors. A byte's extreme
// is the same byte however it is computed, so these give the portable loops' bytes; they only
// move fewer bytes through memory: the extremes along a row are taken from shifted loads in
// registers instead of whole-row passes, and a row that needs no mirroring is read in place.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_MORPHOLOGY_GRAY_RECT_BYTES_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_MORPHOLOGY_GRAY_RECT_BYTES_H

#include <cstddef>
#include <cstdint>

#include "operators/filters/image_kernels.h"
#include "operators/morphology/gray_morphology.h"

namespace HalconCpp {
namespace Standin {

// Whether extremeRowsBytes takes masks of this half: AVX2 compiled in and a half width of at
// most 15 (the caller asks whether the processor runs AVX2).
bool rowsBytesFit(HalfMask half);

// The extreme (greatest or least) over the mask of half `half` about each pixel of rows
// [y0, y1) within `extent`, the image mirrored at its edges: the down-the-columns blocks of
// gray_rect.cc's extremeRows, then the rows in vectors.
void extremeRowsBytes(bool greatest, const std::uint8_t* src, PlaneSize size, const Extent& extent,
                      HalfMask half, std::uint8_t* dst, std::int32_t y0, std::int32_t y1);

// out[i] = the greater (lesser) of a[i] and b[i] for i < n, out apart from a and b; returns how
// many it wrote: all of them from 32 on, none below (or without AVX2), the caller the rest.
std::size_t pickBytes(bool greatest, std::uint8_t* out, const std::uint8_t* a,
                      const std::uint8_t* b, std::size_t n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
