// Numbers as text the way the vendor's tools show them, for the stand-ins and the runner alike.
// The conversions are the C++ library's own (std::to_chars), never printf's or a stream's, so a
// host that installed a decimal-comma or digit-grouping locale still reads 2.5 and 1000.
#ifndef QUORVEX_COMMON_NUMBER_TEXT_H
#define QUORVEX_COMMON_NUMBER_TEXT_H

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace quorvex {
namespace common {

inline std::string integerText(std::int64_t value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The fewest significant digits (at least six) that read back as the same value, always with a
// decimal point or an exponent, so that 5.0 does not read as the integer 5.
inline std::string realText(double value) {
  char buffer[40];
  std::to_chars_result result{buffer, std::errc()};
  for (int precision = 6; precision <= 17; ++precision) {
    result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    double back = 0;
    std::from_chars(buffer, result.ptr, back);
    if (back == value) break;
  }
  std::string text(buffer, result.ptr);
  if (std::isfinite(value) && text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace common
}  // namespace quorvex

#endif
