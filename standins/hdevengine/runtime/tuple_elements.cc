#include "runtime/tuple_elements.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace HDevEngineCpp {
namespace Standin {

using HalconCpp::HException;

void wrongType(const char* op, int parameter) {
  throw HException::ForOperator(op, 1201 + parameter);
}

void wrongValue(const char* op, int parameter) {
  throw HException::ForOperator(op, 1301 + parameter);
}

void wrongCount(const char* op, int parameter) {
  throw HException::ForOperator(op, 1401 + parameter);
}

double realAt(const char* op, int parameter, const HTuple& t, Hlong i) {
  if (isString(t, i)) wrongType(op, parameter);
  return t[i].D();
}

Hlong integerAt(const char* op, int parameter, const HTuple& t, Hlong i) {
  if (!isInteger(t, i)) wrongType(op, parameter);
  return t[i].L();
}

const char* stringAt(const char* op, int parameter, const HTuple& t, Hlong i) {
  if (!isString(t, i)) wrongType(op, parameter);
  return t[i].C();
}

Hlong singleInteger(const char* op, int parameter, const HTuple& t) {
  if (t.Length() != 1) wrongCount(op, parameter);
  return integerAt(op, parameter, t, 0);
}

double singleReal(const char* op, int parameter, const HTuple& t) {
  if (t.Length() != 1) wrongCount(op, parameter);
  return realAt(op, parameter, t, 0);
}

Hlong pairLength(const char* op, const HTuple& a, const HTuple& b) {
  const Hlong na = a.Length(), nb = b.Length();
  if (na == 0 || nb == 0) return 0;
  if (na != nb && na != 1 && nb != 1) wrongCount(op, 1);
  return na > nb ? na : nb;
}

void appendElement(HTuple* out, const HTuple& t, Hlong i) {
  switch (t[i].Type()) {
    case HalconCpp::eElementTypeLong:
      out->Append(HTuple(t[i].L()));
      break;
    case HalconCpp::eElementTypeDouble:
      out->Append(HTuple(t[i].D()));
      break;
    default:
      out->Append(HTuple(t[i].C()));
      break;
  }
}

bool allNumbers(const HTuple& t) {
  const HalconCpp::HTupleType type = t.Type();
  if (type == HalconCpp::eElementTypeLong || type == HalconCpp::eElementTypeDouble) return true;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (isString(t, i)) return false;
  }
  return true;
}

bool allStrings(const HTuple& t) {
  return t.Type() == HalconCpp::eElementTypeString;
}

bool anyReal(const HTuple& t) {
  const HalconCpp::HTupleType type = t.Type();
  if (type == HalconCpp::eElementTypeDouble) return true;
  if (type != HalconCpp::eElementTypeMixed) return false;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (t[i].Type() == HalconCpp::eElementTypeDouble) return true;
  }
  return false;
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool parseInteger(std::string_view text, bool negative, HTuple* number) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  unsigned long long magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  const auto limit = static_cast<unsigned long long>(std::numeric_limits<Hlong>::max());
  if (magnitude > limit + (negative ? 1 : 0)) return false;
  const Hlong value =
      negative ? static_cast<Hlong>(0ULL - magnitude) : static_cast<Hlong>(magnitude);
  *number = HTuple(value);
  return true;
}

}  // namespace

bool parseNumber(std::string_view text, HTuple* number) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // Only digits may start: from_chars alone would also take "inf" and "nan".
  if (text.empty() ||
      !(isDigit(text[0]) || (text[0] == '.' && text.size() > 1 && isDigit(text[1])))) {
    return false;
  }
  if (parseInteger(text, negative, number)) return true;
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  *number = HTuple(negative ? -value : value);
  return true;
}

std::string integerText(Hlong value) {
  return quorvex::common::integerText(value);
}

// As the image-processing stand-in prints reals (common/number_text.h).
std::string realText(double value) {
  return quorvex::common::realText(value);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
