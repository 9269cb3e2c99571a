// What the expression functions and the tuple_* operators share: the calling convention,
// the vendor's error numbers per parameter, element reading and the broadcasting rule, and
// the conversions between numbers and text, which never depend on the host's locale.
#ifndef QUORVEX_STANDINS_HDEVENGINE_TUPLE_ELEMENTS_H
#define QUORVEX_STANDINS_HDEVENGINE_TUPLE_ELEMENTS_H

#include <cstddef>
#include <string>
#include <string_view>

#include "halconcpp/HalconCpp.h"

namespace HDevEngineCpp {
namespace Standin {

using HalconCpp::Hlong;
using HalconCpp::HTuple;
using TupleArgs = const HTuple* const*;
// Reads `count` control inputs and writes one control output, which is none of the inputs.
using TupleFunction = void (*)(TupleArgs args, std::size_t count, HTuple* result);

// The vendor's numbering: 1201 + p wrong type, 1301 + p wrong value, 1401 + p wrong number
// of values, for the parameter at index p (0 = first).
[[noreturn]] void wrongType(const char* op, int parameter);
[[noreturn]] void wrongValue(const char* op, int parameter);
[[noreturn]] void wrongCount(const char* op, int parameter);

inline bool isString(const HTuple& t, Hlong i) {
  return t[i].Type() == HalconCpp::eElementTypeString;
}
inline bool isInteger(const HTuple& t, Hlong i) {
  return t[i].Type() == HalconCpp::eElementTypeLong;
}
// The element as a number; a string is a wrong type of that parameter.
double realAt(const char* op, int parameter, const HTuple& t, Hlong i);
// The element as an integer; a real or a string is a wrong type of that parameter.
Hlong integerAt(const char* op, int parameter, const HTuple& t, Hlong i);
const char* stringAt(const char* op, int parameter, const HTuple& t, Hlong i);
// The only element of a parameter that takes one value.
Hlong singleInteger(const char* op, int parameter, const HTuple& t);
double singleReal(const char* op, int parameter, const HTuple& t);

// The length of an element-wise result of two inputs: one element repeats against n, else
// the lengths must agree; an empty input gives an empty result.
Hlong pairLength(const char* op, const HTuple& a, const HTuple& b);
// Index into an input of length n at step i of an element-wise result.
inline Hlong spread(const HTuple& t, Hlong i) {
  return t.Length() == 1 ? 0 : i;
}

// Element `i` of `t` appended to `out`, keeping its kind.
void appendElement(HTuple* out, const HTuple& t, Hlong i);
// True when every element is a number (an empty tuple too).
bool allNumbers(const HTuple& t);
bool allStrings(const HTuple& t);
bool anyReal(const HTuple& t);

// Reads a whole string as a number the way the vendor's number() does: decimal integers
// (hexadecimal with 0x), reals in decimal or exponent notation. False when it is none.
bool parseNumber(std::string_view text, HTuple* number);
// The decimal text of an integer and the shortest text that reads back as the same real.
std::string integerText(Hlong value);
std::string realText(double value);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
