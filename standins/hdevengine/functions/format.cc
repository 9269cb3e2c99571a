// V$F: numbers and strings formatted by a printf-like field description, the way tuple_string
// formats them: [flags][width][.precision][conversion], flags from "-+ #0", conversions
// d u o x X f e E g G s. Integers take real conversions as reals and reals integer ones
// truncated; numbers take s as their usual text; strings take s only. Every digit comes
// from std::to_chars, so the host's locale never changes a decimal point.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

#include "functions/tuple_functions.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr const char* kOp = "tuple_string";
constexpr int kMaxPrecision = 1000;

struct Field {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  Hlong width = 0;
  int precision = -1;   // none given
  char conversion = 0;  // none given: by the element's kind
};

Hlong readCount(const std::string& text, std::size_t* at, Hlong limit) {
  Hlong value = 0;
  while (*at < text.size() && text[*at] >= '0' && text[*at] <= '9') {
    value = value * 10 + (text[*at] - '0');
    if (value > limit) wrongValue(kOp, 1);
    ++*at;
  }
  return value;
}

Field parseField(const std::string& text) {
  Field field;
  std::size_t at = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '-') {
      field.left = true;
    } else if (c == '+') {
      field.plus = true;
    } else if (c == ' ') {
      field.space = true;
    } else if (c == '#') {
      field.alternate = true;
    } else if (c == '0') {
      field.zero = true;
    } else {
      break;
    }
  }
  // A width past the text bound fails with that bound, before the padding is built.
  field.width = readCount(text, &at, (std::numeric_limits<Hlong>::max() - 9) / 10);
  if (at < text.size() && text[at] == '.') {
    ++at;
    field.precision = static_cast<int>(readCount(text, &at, kMaxPrecision));
  }
  if (at < text.size()) {
    field.conversion = text[at++];
    if (std::string("duoxXfeEgGs").find(field.conversion) == std::string::npos) {
      wrongValue(kOp, 1);
    }
  }
  if (at != text.size()) wrongValue(kOp, 1);
  return field;
}

std::string padded(const Field& field, std::string sign, std::string body) {
  const auto length = static_cast<Hlong>(sign.size() + body.size());
  if (length >= field.width) return sign + body;
  const std::string fill(static_cast<std::size_t>(field.width - length),
                         field.zero && !field.left ? '0' : ' ');
  if (field.left) return sign + body + fill;
  return field.zero ? sign + fill + body : fill + sign + body;
}

std::string signOf(const Field& field, bool negative) {
  if (negative) return "-";
  if (field.plus) return "+";
  return field.space ? " " : "";
}

std::string integerText(const Field& field, Hlong value) {
  using UHlong = std::make_unsigned_t<Hlong>;
  char buffer[72];
  const bool isSigned = field.conversion == 'd' || field.conversion == 0;
  const bool negative = isSigned && value < 0;
  // Octal and hexadecimal show the machine word, as printf does for negative values.
  const UHlong magnitude =
      negative ? UHlong{0} - static_cast<UHlong>(value) : static_cast<UHlong>(value);
  const int base = field.conversion == 'o'                                ? 8
                   : (field.conversion == 'x' || field.conversion == 'X') ? 16
                                                                          : 10;
  std::string digits(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude, base).ptr);
  if (field.conversion == 'X') {
    for (char& c : digits) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  }
  if (field.precision >= 0 && static_cast<int>(digits.size()) < field.precision) {
    digits.insert(0, static_cast<std::size_t>(field.precision) - digits.size(), '0');
  }
  if (field.precision == 0 && value == 0) digits.clear();
  std::string prefix = isSigned ? signOf(field, negative) : "";
  if (field.alternate && base == 8 && (digits.empty() || digits[0] != '0')) digits.insert(0, "0");
  if (field.alternate && base == 16 && value != 0) prefix = field.conversion == 'X' ? "0X" : "0x";
  Field fill = field;
  fill.zero = field.zero && field.precision < 0;
  return padded(fill, prefix, digits);
}

std::string realText(const Field& field, double value) {
  const char conversion = field.conversion ? field.conversion : 'g';
  const int precision = field.precision >= 0 ? field.precision : 6;
  const bool upper = conversion == 'E' || conversion == 'G';
  std::chars_format format = std::chars_format::general;
  if (conversion == 'f') format = std::chars_format::fixed;
  if (conversion == 'e' || conversion == 'E') format = std::chars_format::scientific;
  std::string buffer(static_cast<std::size_t>(precision) + 400, '\0');
  const double magnitude = std::fabs(value);
  const auto write = [&](std::chars_format f, int digits) {
    return std::string(
        buffer.data(),
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, f, digits).ptr);
  };
  std::string body;
  if (field.alternate && format == std::chars_format::general && std::isfinite(value)) {
    // %#g keeps its trailing zeros: the style %g picks, with precision significant digits.
    const int significant = precision == 0 ? 1 : precision;
    const std::string scientific = write(std::chars_format::scientific, significant - 1);
    const int exponent = std::stoi(scientific.substr(scientific.find('e') + 1));
    body = exponent < -4 || exponent >= significant
               ? scientific
               : write(std::chars_format::fixed, significant - 1 - exponent);
  } else {
    body = write(format, format == std::chars_format::general && precision == 0 ? 1 : precision);
  }
  // The alternate form always has a decimal point, before the exponent if there is one.
  if (field.alternate && std::isfinite(value) && body.find('.') == std::string::npos) {
    const std::size_t exponent = body.find('e');
    body.insert(exponent == std::string::npos ? body.size() : exponent, 1, '.');
  }
  if (upper) {
    for (char& c : body) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  Field fill = field;
  fill.zero = field.zero && std::isfinite(value);
  return padded(fill, signOf(field, std::signbit(value) && !std::isnan(value)), body);
}

std::string stringText(const Field& field, std::string text) {
  if (field.precision >= 0 && static_cast<std::size_t>(field.precision) < text.size()) {
    text.resize(static_cast<std::size_t>(field.precision));
  }
  Field fill = field;
  fill.zero = false;
  return padded(fill, "", text);
}

Hlong truncated(double value) {
  constexpr double kLimit = static_cast<double>(std::numeric_limits<Hlong>::max()) + 1.0;
  if (!(value > -kLimit && value < kLimit)) wrongValue(kOp, 0);
  return static_cast<Hlong>(value);
}

std::string formatElement(const Field& field, const HTuple& t, Hlong i) {
  const char c = field.conversion;
  if (isString(t, i)) {
    if (c != 0 && c != 's') wrongType(kOp, 0);
    return stringText(field, t[i].C());
  }
  const bool integer = isInteger(t, i);
  if (c == 's') {
    return stringText(field,
                      integer ? Standin::integerText(t[i].L()) : Standin::realText(t[i].D()));
  }
  const bool integerConversion = c == 'd' || c == 'u' || c == 'o' || c == 'x' || c == 'X';
  if (integerConversion || (c == 0 && integer)) {
    return integerText(field, integer ? t[i].L() : truncated(t[i].D()));
  }
  return realText(field, t[i].D());
}

}  // namespace

void tupleString(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple &values = *a[0], &formats = *a[1];
  const Hlong n = pairLength(kOp, values, formats);
  // A field's width is text it pads to: bounded, with what came before, before it is built.
  TextTally text;
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    const Field field = parseField(stringAt(kOp, 1, formats, spread(formats, i)));
    if (static_cast<unsigned long long>(field.width) > text.room()) text.add(field.width);
    const std::string element = formatElement(field, values, spread(values, i));
    text.add(element.size());
    out.Append(HTuple(element.c_str()));
  }
  *r = std::move(out);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
