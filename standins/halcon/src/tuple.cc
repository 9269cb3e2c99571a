#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "halconcpp/HStandin.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace {

using Element = HTuple::Element;

[[noreturn]] void raise(Hlong errorCode) {
  throw HException::ForOperator("HTuple", errorCode);
}

bool isNumber(const Element& e) {
  return !std::holds_alternative<std::string>(e);
}

double asReal(const Element& e) {
  if (const auto* l = std::get_if<Hlong>(&e)) return static_cast<double>(*l);
  return std::get<double>(e);
}

// Reals print the way the vendor's tools show them: shortest round-trip digits, and always
// with a decimal point so that 5.0 does not read as the integer 5.
std::string realText(double value) {
  char buffer[40];
  for (int precision = 6; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  std::string text(buffer);
  if (std::isfinite(value) && text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string elementText(const Element& e) {
  if (const auto* l = std::get_if<Hlong>(&e)) return std::to_string(*l);
  if (const auto* d = std::get_if<double>(&e)) return realText(*d);
  return std::get<std::string>(e);
}

HTupleElementType typeOf(const Element& e) {
  if (std::holds_alternative<Hlong>(e)) return eElementTypeLong;
  if (std::holds_alternative<double>(e)) return eElementTypeDouble;
  return eElementTypeString;
}

// Applies `op` element by element; a one-element operand is repeated against the other.
template <typename Op>
HTuple elementwise(const HTuple& a, const HTuple& b, Op op) {
  const auto& x = a.Elements();
  const auto& y = b.Elements();
  HTuple result;
  if (x.empty() || y.empty()) return result;
  if (x.size() != y.size() && x.size() != 1 && y.size() != 1) raise(1401);
  const std::size_t n = std::max(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    result.Append(HTuple(op(x[x.size() == 1 ? 0 : i], y[y.size() == 1 ? 0 : i])));
  }
  return result;
}

HTuple fromElement(Element e) {
  if (auto* l = std::get_if<Hlong>(&e)) return HTuple(*l);
  if (auto* d = std::get_if<double>(&e)) return HTuple(*d);
  return HTuple(std::get<std::string>(e).c_str());
}

template <typename IntOp, typename RealOp>
HTuple arithmetic(const HTuple& a, const HTuple& b, IntOp intOp, RealOp realOp) {
  return elementwise(a, b, [&](const Element& x, const Element& y) {
    if (!isNumber(x) || !isNumber(y)) raise(H_ERR_TUPLE_OP_TYPE);
    if (std::holds_alternative<Hlong>(x) && std::holds_alternative<Hlong>(y)) {
      return fromElement(intOp(std::get<Hlong>(x), std::get<Hlong>(y)));
    }
    return fromElement(realOp(asReal(x), asReal(y)));
  });
}

// Integers wrap around on overflow, as two's-complement machine integers do, instead of
// leaving the result undefined.
using UHlong = std::make_unsigned_t<Hlong>;
Hlong wrap(UHlong value) {
  return static_cast<Hlong>(value);
}
Hlong wrappingAdd(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) + static_cast<UHlong>(y));
}
Hlong wrappingSub(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) - static_cast<UHlong>(y));
}
Hlong wrappingMul(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) * static_cast<UHlong>(y));
}
Hlong checkedDiv(Hlong x, Hlong y) {
  if (y == 0) raise(H_ERR_TUPLE_DIV_ZERO);
  return y == -1 ? wrappingSub(0, x) : x / y;
}
Hlong checkedMod(Hlong x, Hlong y) {
  if (y == 0) raise(H_ERR_TUPLE_DIV_ZERO);
  return y == -1 ? 0 : x % y;
}

// Orders two elements: numbers by value, strings by bytes. A number and a string do not
// compare.
int compareElements(const Element& x, const Element& y) {
  if (isNumber(x) != isNumber(y)) raise(H_ERR_TUPLE_OP_TYPE);
  if (isNumber(x)) {
    if (std::holds_alternative<Hlong>(x) && std::holds_alternative<Hlong>(y)) {
      const Hlong l = std::get<Hlong>(x), r = std::get<Hlong>(y);
      return l < r ? -1 : (l > r ? 1 : 0);
    }
    const double l = asReal(x), r = asReal(y);
    return l < r ? -1 : (l > r ? 1 : 0);
  }
  const int c = std::get<std::string>(x).compare(std::get<std::string>(y));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareTuples(const HTuple& a, const HTuple& b) {
  const auto& x = a.Elements();
  const auto& y = b.Elements();
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (const int c = compareElements(x[i], y[i])) return c;
  }
  return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

// Every tuple alive, copies included, so that a test can tell whether handles leak.
void countConstruction() {
  Standin::countLive("tuples", 1);
}

}  // namespace

HTupleElement::HTupleElement(HTuple* tuple, Hlong index) : tuple_(tuple), index_(index) {}

HTupleElementType HTupleElement::Type() const {
  return typeOf(tuple_->elements_[index_]);
}

int HTupleElement::I() const {
  return static_cast<int>(L());
}

Hlong HTupleElement::L() const {
  const Element& e = tuple_->elements_[index_];
  if (const auto* l = std::get_if<Hlong>(&e)) return *l;
  if (const auto* d = std::get_if<double>(&e)) {
    // Truncates like a machine conversion; a real no integer can hold (NaN, infinity, out of
    // range) has no integer value at all.
    constexpr double kLimit = static_cast<double>(std::numeric_limits<Hlong>::max()) + 1.0;
    if (*d > -kLimit && *d < kLimit) return static_cast<Hlong>(*d);
  }
  raise(H_ERR_TUPLE_TYPE);
}

double HTupleElement::D() const {
  const Element& e = tuple_->elements_[index_];
  if (!isNumber(e)) raise(H_ERR_TUPLE_TYPE);
  return asReal(e);
}

HString HTupleElement::S() const {
  const Element& e = tuple_->elements_[index_];
  if (const auto* s = std::get_if<std::string>(&e)) return HString(*s);
  raise(H_ERR_TUPLE_TYPE);
}

const char* HTupleElement::C() const {
  const Element& e = tuple_->elements_[index_];
  if (const auto* s = std::get_if<std::string>(&e)) return s->c_str();
  raise(H_ERR_TUPLE_TYPE);
}

HTupleElement& HTupleElement::operator=(const HTuple& value) {
  if (value.Length() != 1) raise(1401);
  tuple_->elements_[index_] = value.elements_[0];
  return *this;
}

HTupleElement& HTupleElement::operator=(const HTupleElement& value) {
  tuple_->elements_[index_] = value.tuple_->elements_[value.index_];
  return *this;
}

HTuple::HTuple() {
  Standin::ApiScope scope("HTuple");
  countConstruction();
}

HTuple::HTuple(int value) : HTuple(static_cast<Hlong>(value)) {}

HTuple::HTuple(Hlong value) {
  Standin::ApiScope scope("HTuple");
  elements_.emplace_back(value);
  countConstruction();
}

HTuple::HTuple(double value) {
  Standin::ApiScope scope("HTuple");
  elements_.emplace_back(value);
  countConstruction();
}

HTuple::HTuple(const char* value) {
  Standin::ApiScope scope("HTuple");
  elements_.emplace_back(std::string(value ? value : ""));
  countConstruction();
}

HTuple::HTuple(const HString& value) : HTuple(value.Text()) {}

HTuple::HTuple(const HTupleElement& value) {
  Standin::ApiScope scope("HTuple");
  elements_.push_back(value.tuple_->elements_[value.index_]);
  countConstruction();
}

// Copies are not constructions from caller data: they never fire an injected fault, so
// that a test's fault lands on the construction it aims at.
HTuple::HTuple(const HTuple& other) : elements_(other.elements_) {
  countConstruction();
}

HTuple::HTuple(HTuple&& other) noexcept : elements_(std::move(other.elements_)) {
  countConstruction();
}

HTuple& HTuple::operator=(const HTuple& other) {
  elements_ = other.elements_;
  return *this;
}

HTuple& HTuple::operator=(HTuple&& other) noexcept {
  elements_ = std::move(other.elements_);
  return *this;
}

HTuple::~HTuple() {
  Standin::countLive("tuples", -1);
}

HTupleType HTuple::Type() const {
  if (elements_.empty()) return eElementTypeUndef;
  const HTupleElementType first = typeOf(elements_.front());
  for (const Element& e : elements_) {
    if (typeOf(e) != first) return eElementTypeMixed;
  }
  return first;
}

HTuple& HTuple::Append(const HTuple& tail) {
  elements_.insert(elements_.end(), tail.elements_.begin(), tail.elements_.end());
  return *this;
}

HTupleElement HTuple::operator[](Hlong index) {
  if (index < 0 || index >= Length()) raise(H_ERR_TUPLE_INDEX);
  return HTupleElement(this, index);
}

const HTupleElement HTuple::operator[](Hlong index) const {
  if (index < 0 || index >= Length()) raise(H_ERR_TUPLE_INDEX);
  return HTupleElement(const_cast<HTuple*>(this), index);
}

HTuple HTuple::TupleTypeElem() const {
  HTuple types;
  for (const Element& e : elements_) types.elements_.emplace_back(Hlong{typeOf(e)});
  return types;
}

HString HTuple::ToString() const {
  auto quoted = [](const Element& e) {
    return isNumber(e) ? elementText(e) : "'" + std::get<std::string>(e) + "'";
  };
  if (elements_.size() == 1) return HString(quoted(elements_.front()));
  std::string text = "[";
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    if (i) text += ", ";
    text += quoted(elements_[i]);
  }
  return HString(text + "]");
}

HTuple operator+(const HTuple& a, const HTuple& b) {
  return elementwise(a, b, [](const Element& x, const Element& y) {
    if (!isNumber(x) || !isNumber(y)) return HTuple((elementText(x) + elementText(y)).c_str());
    if (std::holds_alternative<Hlong>(x) && std::holds_alternative<Hlong>(y)) {
      return HTuple(wrappingAdd(std::get<Hlong>(x), std::get<Hlong>(y)));
    }
    return HTuple(asReal(x) + asReal(y));
  });
}

HTuple operator-(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(wrappingSub(x, y)); },
      [](double x, double y) { return Element(x - y); });
}

HTuple operator*(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(wrappingMul(x, y)); },
      [](double x, double y) { return Element(x * y); });
}

HTuple operator/(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(checkedDiv(x, y)); },
      [](double x, double y) { return Element(x / y); });
}

HTuple operator%(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(checkedMod(x, y)); },
      [](double, double) -> Element { raise(H_ERR_TUPLE_OP_TYPE); });
}

HTuple operator&(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(x & y); },
      [](double, double) -> Element { raise(H_ERR_TUPLE_OP_TYPE); });
}

HTuple operator|(const HTuple& a, const HTuple& b) {
  return arithmetic(
      a, b, [](Hlong x, Hlong y) { return Element(x | y); },
      [](double, double) -> Element { raise(H_ERR_TUPLE_OP_TYPE); });
}

HTuple operator-(const HTuple& a) {
  return HTuple(0) - a;
}

bool operator==(const HTuple& a, const HTuple& b) {
  const auto& x = a.Elements();
  const auto& y = b.Elements();
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (isNumber(x[i]) != isNumber(y[i]) || compareElements(x[i], y[i]) != 0) return false;
  }
  return true;
}

bool operator!=(const HTuple& a, const HTuple& b) {
  return !(a == b);
}
bool operator<(const HTuple& a, const HTuple& b) {
  return compareTuples(a, b) < 0;
}
bool operator>(const HTuple& a, const HTuple& b) {
  return compareTuples(a, b) > 0;
}
bool operator<=(const HTuple& a, const HTuple& b) {
  return compareTuples(a, b) <= 0;
}
bool operator>=(const HTuple& a, const HTuple& b) {
  return compareTuples(a, b) >= 0;
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
