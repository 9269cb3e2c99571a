// trans_from_rgb's 'hsv' on byte images in whole numbers, with its AVX2 path.
#ifndef QUORVEX_STANDINS_HALCON_COLOUR_HSV_H
#define QUORVEX_STANDINS_HALCON_COLOUR_HSV_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// Pixels i ... i + n - 1 of three byte planes to their 'hsv' codes: the hue as N / (6 d) of
// the circle and the saturation as d / max, each rounded once, halves up, so that no rounding
// of reals decides a code.
void hsvBytes(const std::uint8_t* const in[3], std::uint8_t* const out[3], std::size_t i,
              std::size_t n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
