// How the frequency-domain filters lay out their frequencies, shared by every gen_*_filter and
// gen_*pass operator: the same Mode and Norm names, the same image sizes and the same
// frequency at each pixel as the transforms give.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_FFT_FILTER_LAYOUT_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_FFT_FILTER_LAYOUT_H

#include <complex>
#include <cstdint>
#include <string>
#include <type_traits>

#include "core/image.h"
#include "core/params.h"

namespace HalconCpp {
namespace Standin {

// 'dc_edge' and 'rft' put the DC term at (0, 0) with the negative frequencies after the
// positive ones, 'dc_center' at (height / 2, width / 2); 'rft' keeps only columns
// 0 ... width / 2.
enum class FilterLayout { DcCenter, DcEdge, Rft };

inline FilterLayout layoutOf(const HTuple& mode, const char* op, int n) {
  const std::string name = oneString(mode, op, n);
  if (name == "dc_center") return FilterLayout::DcCenter;
  if (name == "dc_edge") return FilterLayout::DcEdge;
  if (name == "rft") return FilterLayout::Rft;
  fail(op, 1300 + n);
}

// Cycles a pixel, -0.5 ... 0.5.
inline double frequencyOf(std::int32_t index, std::int32_t size, bool dcCenter) {
  const std::int32_t k = dcCenter ? index - size / 2 : (index <= size / 2 ? index : index - size);
  return double(k) / double(size);
}

inline std::int32_t sideOf(const HTuple& value, const char* op, int n) {
  const Hlong side = oneInteger(value, op, n);
  if (side < 1 || side > kMaxImageSide) fail(op, 1300 + n);
  return static_cast<std::int32_t>(side);
}

// A one-channel filter image of the layout's size, value(u, v) / divisor at each pixel's
// frequencies (u along the columns, v along the rows); real or complex as Value returns.
template <typename Value>
HObject frequencyFilter(FilterLayout layout, std::int32_t width, std::int32_t height,
                        double divisor, const char* op, Value&& value) {
  constexpr bool kComplex = std::is_same_v<decltype(value(0.0, 0.0)), std::complex<double>>;
  const std::int32_t columns = layout == FilterLayout::Rft ? width / 2 + 1 : width;
  ImagePtr filter =
      newImage(columns, height, 1, op, kComplex ? PixelType::Complex : PixelType::Real);
  float* out = filter->channels[0]->as<float>();
  const bool dcCenter = layout == FilterLayout::DcCenter;
  for (std::int32_t r = 0; r < height; ++r) {
    const double v = frequencyOf(r, height, dcCenter);
    for (std::int32_t c = 0; c < columns; ++c) {
      const double u = frequencyOf(c, width, dcCenter);
      const std::size_t i = filter->offset(r, c);
      if constexpr (kComplex) {
        const std::complex<double> z = value(u, v) / divisor;
        out[2 * i] = static_cast<float>(z.real());
        out[2 * i + 1] = static_cast<float>(z.imag());
      } else {
        out[i] = static_cast<float>(value(u, v) / divisor);
      }
    }
  }
  return objectOf({filter});
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
