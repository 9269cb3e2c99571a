// The product's logo, embedded: the quorvex wordmark on a rounded plate, one byte plane per
// channel, row by row from the top. Alpha 0 is transparent and 255 opaque; the edges are
// anti-aliased. The planes are generated from tools/logo/logo.png (see tools/logo/README.md).
#ifndef QUORVEX_RENDER_LOGO_PLANES_H
#define QUORVEX_RENDER_LOGO_PLANES_H

#include <cstddef>
#include <cstdint>

namespace quorvex::render {

inline constexpr std::int32_t logoWidth = 128;
inline constexpr std::int32_t logoHeight = 55;
inline constexpr std::size_t logoPixels = std::size_t{logoWidth} * logoHeight;

extern const std::uint8_t logoPlaneRed[logoPixels];
extern const std::uint8_t logoPlaneGreen[logoPixels];
extern const std::uint8_t logoPlaneBlue[logoPixels];
extern const std::uint8_t logoPlaneAlpha[logoPixels];

}  // namespace quorvex::render

#endif  // QUORVEX_RENDER_LOGO_PLANES_H
