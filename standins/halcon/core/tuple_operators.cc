// HTuple's arithmetic and comparisons, element by element.
#include <string>
#include <utility>

#include "core/tuple_access.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

namespace HalconCpp {

namespace {

[[noreturn]] Element noStrings(const Element&, const Element&) {
  raise(H_ERR_TUPLE_OP_TYPE);
}

}  // namespace

namespace {

double plus(double x, double y) {
  return x + y;
}
double minus(double x, double y) {
  return x - y;
}
double times(double x, double y) {
  return x * y;
}
double divided(double x, double y) {
  return x / y;
}
[[noreturn]] double noReals(double, double) {
  raise(H_ERR_TUPLE_OP_TYPE);
}

}  // namespace

namespace {

// One allocation of the joined size, no copy of either side: a text that doubles itself then
// holds only its old value and the new one at its peak.
Element joined(const Element& x, const Element& y) {
  const std::string* xText = std::get_if<std::string>(&x);
  const std::string* yText = std::get_if<std::string>(&y);
  const std::string xNumber = xText ? std::string() : elementText(x);
  const std::string yNumber = yText ? std::string() : elementText(y);
  const std::string& left = xText ? *xText : xNumber;
  const std::string& right = yText ? *yText : yNumber;
  std::string text;
  text.reserve(left.size() + right.size());
  text.append(left).append(right);
  return Element(std::move(text));
}

}  // namespace

HTuple operator+(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(a, b, wrappingAdd, plus, joined);
}

HTuple operator-(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(a, b, wrappingSub, minus, noStrings);
}

HTuple operator*(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(a, b, wrappingMul, times, noStrings);
}

HTuple operator/(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(a, b, checkedDiv, divided, noStrings);
}

HTuple operator%(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(a, b, checkedMod, noReals, noStrings);
}

HTuple operator&(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(
      a, b, [](Hlong x, Hlong y) { return x & y; }, noReals, noStrings);
}

HTuple operator|(const HTuple& a, const HTuple& b) {
  return TupleAccess::elementwise(
      a, b, [](Hlong x, Hlong y) { return x | y; }, noReals, noStrings);
}

HTuple operator-(const HTuple& a) {
  HTuple result = HTuple(0) - a;
  // 0 - 0.0 is +0.0, but negating a real flips its sign, zero's too (as printf shows: -0.0).
  for (Hlong i = 0; i < a.Length(); ++i) {
    if (a[i].Type() == eElementTypeDouble) result[i] = HTuple(-a[i].D());
  }
  return result;
}

HTuple& HTuple::operator+=(const HTuple& other) {
  if (!TupleAccess::inPlace(this, other, wrappingAdd, plus)) *this = *this + other;
  return *this;
}

HTuple& HTuple::operator-=(const HTuple& other) {
  if (!TupleAccess::inPlace(this, other, wrappingSub, minus)) *this = *this - other;
  return *this;
}

HTuple& HTuple::operator*=(const HTuple& other) {
  if (!TupleAccess::inPlace(this, other, wrappingMul, times)) *this = *this * other;
  return *this;
}

HTuple& HTuple::operator/=(const HTuple& other) {
  if (!TupleAccess::inPlace(this, other, checkedDiv, divided)) *this = *this / other;
  return *this;
}

HTuple& HTuple::operator%=(const HTuple& other) {
  if (!TupleAccess::inPlace(this, other, checkedMod, noReals)) *this = *this % other;
  return *this;
}

bool operator==(const HTuple& a, const HTuple& b) {
  return TupleAccess::equal(a, b);
}

bool operator!=(const HTuple& a, const HTuple& b) {
  return !(a == b);
}
bool operator<(const HTuple& a, const HTuple& b) {
  return TupleAccess::compare(a, b) < 0;
}
bool operator>(const HTuple& a, const HTuple& b) {
  return TupleAccess::compare(a, b) > 0;
}
bool operator<=(const HTuple& a, const HTuple& b) {
  return TupleAccess::compare(a, b) <= 0;
}
bool operator>=(const HTuple& a, const HTuple& b) {
  return TupleAccess::compare(a, b) >= 0;
}

void TupleTypeElem(const HTuple& tuple, HTuple* types) {
  Standin::ApiScope scope("TupleTypeElem");
  *types = tuple.TupleTypeElem();
}

void TupleLength(const HTuple& tuple, HTuple* length) {
  Standin::ApiScope scope("TupleLength");
  *length = HTuple(tuple.Length());
}

}  // namespace HalconCpp
