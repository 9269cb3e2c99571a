#include "values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "common/number_text.h"

namespace quorvex::run {
namespace {

std::string trimmed(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  const auto end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

Value parseScalar(const std::string& raw) {
  const std::string text = trimmed(raw);
  if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
    return text.substr(1, text.size() - 2);
  }
  if (!text.empty() && text.front() == '\'')
    throw std::invalid_argument("unterminated string: " + raw);
  if (text.empty()) return std::string();
  // The C++ library's conversions, not strtoll/strtod: a decimal-comma locale that a host
  // library set must not turn 2.5 into a string. A leading '+' is taken as strtod took it.
  const bool plus = text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+';
  const char* const first = text.data() + (plus ? 1 : 0);
  const char* const last = text.data() + text.size();
  long long integer = 0;
  const auto whole = std::from_chars(first, last, integer);
  if (whole.ptr == last && whole.ec != std::errc::invalid_argument) {
    if (whole.ec == std::errc::result_out_of_range ||
        integer < std::numeric_limits<std::int32_t>::min() ||
        integer > std::numeric_limits<std::int32_t>::max()) {
      throw std::invalid_argument("integer out of range: " + text);
    }
    return static_cast<std::int64_t>(integer);
  }
  double real = 0;
  const auto read = std::from_chars(first, last, real);
  if (read.ptr != last) return text;
  if (read.ec == std::errc::result_out_of_range) {
    // Below the smallest double reads as zero, as strtod read it; beyond the largest stays
    // text, as an infinity did.
    const std::size_t exponent = text.find_first_of("eE");
    if (exponent == std::string::npos || text.compare(exponent + 1, 1, "-") != 0) return text;
    return text.front() == '-' ? -0.0 : 0.0;
  }
  if (read.ec == std::errc() && std::isfinite(real)) return real;
  return text;
}

// Splits a list's inside at commas outside quoted strings.
std::vector<std::string> listItems(const std::string& inside) {
  std::vector<std::string> items;
  std::string current;
  bool quoted = false;
  for (char c : inside) {
    if (c == '\'') quoted = !quoted;
    if (c == ',' && !quoted) {
      items.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (quoted) throw std::invalid_argument("unterminated string in list: [" + inside + "]");
  if (!trimmed(current).empty() || !items.empty()) items.push_back(current);
  return items;
}

using quorvex::common::realText;

template <typename Text, typename Real, typename Integer>
std::string visitValue(const Value& value, Integer integer, Real real, Text text) {
  if (const auto* i = std::get_if<std::int64_t>(&value)) return integer(*i);
  if (const auto* d = std::get_if<double>(&value)) return real(*d);
  return text(std::get<std::string>(value));
}

}  // namespace

std::optional<std::int64_t> exactInteger(std::int32_t low, double real) {
  // Every integer up to 2^53 is a double, so the real reading is exact there, except that
  // 2^53 + 1 rounds to 2^53: the low 32 bits tell those two apart.
  constexpr double kExactLimit = 9007199254740992.0;  // 2^53
  if (!(real >= -kExactLimit && real <= kExactLimit)) return std::nullopt;
  const auto value = static_cast<std::int64_t>(real);
  if (static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)) !=
      static_cast<std::uint32_t>(low)) {
    return std::nullopt;
  }
  return value;
}

Values parseValues(const std::string& raw) {
  const std::string text = trimmed(raw);
  if (text.empty() || text.front() != '[') return {parseScalar(text)};
  if (text.back() != ']') throw std::invalid_argument("unterminated list: " + raw);
  Values values;
  for (const std::string& item : listItems(text.substr(1, text.size() - 2))) {
    values.push_back(parseScalar(item));
  }
  return values;
}

std::string readableText(const Values& values) {
  const auto integer = [](std::int64_t i) { return std::to_string(i); };
  if (values.size() == 1) {
    return visitValue(values[0], integer, realText, [](const std::string& s) { return s; });
  }
  std::string text = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i) text += ", ";
    text += visitValue(values[i], integer, realText,
                       [](const std::string& s) { return "'" + s + "'"; });
  }
  return text + "]";
}

namespace {

// The length of the well-formed UTF-8 sequence at `at` (RFC 3629: no overlong forms, no
// surrogates, nothing beyond U+10FFFF), or 0 where the bytes are not one.
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
  };
  const unsigned first = byte(0);
  const auto follows = [&](std::size_t i, unsigned low, unsigned high) {
    return byte(i) >= low && byte(i) <= high;
  };
  if (first >= 0xC2 && first <= 0xDF) return follows(1, 0x80, 0xBF) ? 2 : 0;
  if (first >= 0xE0 && first <= 0xEF) {
    const unsigned low = first == 0xE0 ? 0xA0 : 0x80, high = first == 0xED ? 0x9F : 0xBF;
    return follows(1, low, high) && follows(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (first >= 0xF0 && first <= 0xF4) {
    const unsigned low = first == 0xF0 ? 0x90 : 0x80, high = first == 0xF4 ? 0x8F : 0xBF;
    return follows(1, low, high) && follows(2, 0x80, 0xBF) && follows(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string json = "\"";
  for (std::size_t at = 0; at < text.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      // JSON is UTF-8: a byte that starts no well-formed sequence (a file name in another
      // encoding) becomes U+FFFD, one for each such byte.
      const std::size_t length = utf8Length(text, at);
      if (length == 0) {
        json += "\\ufffd";
      } else {
        json.append(text, at, length);
        at += length - 1;
      }
      continue;
    }
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          json += escape;
        } else {
          json += static_cast<char>(c);
        }
    }
  }
  return json + "\"";
}

std::string jsonArray(const Values& values) {
  std::string json = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i) json += ", ";
    json += visitValue(
        values[i], [](std::int64_t v) { return std::to_string(v); },
        [](double v) { return std::isfinite(v) ? realText(v) : std::string("null"); }, jsonString);
  }
  return json + "]";
}

}  // namespace quorvex::run
