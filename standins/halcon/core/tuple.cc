#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "common/number_text.h"
#include "core/live_count.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

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

// Reals and integers print as the vendor's tools show them (common/number_text.h).
std::string realText(double value) {
  return quorvex::common::realText(value);
}

std::string integerText(Hlong value) {
  return quorvex::common::integerText(value);
}

std::string elementText(const Element& e) {
  if (const auto* l = std::get_if<Hlong>(&e)) return integerText(*l);
  if (const auto* d = std::get_if<double>(&e)) return realText(*d);
  return std::get<std::string>(e);
}

HTupleElementType typeOf(const Element& e) {
  if (std::holds_alternative<Hlong>(e)) return eElementTypeLong;
  if (std::holds_alternative<double>(e)) return eElementTypeDouble;
  return eElementTypeString;
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

template <typename T>
int order(T l, T r) {
  return l < r ? -1 : (l > r ? 1 : 0);
}

// Orders two elements: numbers by value, strings by bytes. A number and a string do not
// compare.
int compareElements(const Element& x, const Element& y) {
  if (isNumber(x) != isNumber(y)) raise(H_ERR_TUPLE_OP_TYPE);
  if (isNumber(x)) {
    if (std::holds_alternative<Hlong>(x) && std::holds_alternative<Hlong>(y)) {
      return order(std::get<Hlong>(x), std::get<Hlong>(y));
    }
    return order(asReal(x), asReal(y));
  }
  const int c = std::get<std::string>(x).compare(std::get<std::string>(y));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Room for `extra` more elements, at least doubling when it grows: a reserve of exactly the
// size needed would copy the whole array on every append.
template <typename T>
void reserveMore(std::vector<T>& array, std::size_t extra) {
  const std::size_t needed = array.size() + extra;
  if (needed > array.capacity()) array.reserve(std::max(needed, 2 * array.capacity()));
}

// Every tuple alive, copies included, so that a test can tell whether handles leak.
void countConstruction() {
  Standin::countLiveKind(Standin::kLiveTuples, 1);
}

}  // namespace

// The storage rules of HTuple in one place (see the header): the array of the tuple's kind,
// or the inline element while that array is empty.
struct TupleAccess {
  static const Hlong* longs(const HTuple& t) {
    return t.longs_.empty() ? &t.one_.l : t.longs_.data();
  }
  static const double* doubles(const HTuple& t) {
    return t.doubles_.empty() ? &t.one_.d : t.doubles_.data();
  }

  static Element at(const HTuple& t, Hlong i) {
    if (t.kind_ == eElementTypeLong) return longs(t)[i];
    if (t.kind_ == eElementTypeDouble) return doubles(t)[i];
    return t.mixed_[static_cast<std::size_t>(i)];
  }

  static HTupleElementType typeAt(const HTuple& t, Hlong i) {
    if (t.kind_ == eElementTypeLong || t.kind_ == eElementTypeDouble) {
      return static_cast<HTupleElementType>(t.kind_);
    }
    return typeOf(t.mixed_[static_cast<std::size_t>(i)]);
  }

  static void clear(HTuple* t) {
    t->kind_ = eElementTypeUndef;
    t->longs_.clear();
    t->doubles_.clear();
    t->mixed_.clear();
  }

  static void setLong(HTuple* t, Hlong value) {
    clear(t);
    t->kind_ = eElementTypeLong;
    t->one_.l = value;
  }

  static void setDouble(HTuple* t, double value) {
    clear(t);
    t->kind_ = eElementTypeDouble;
    t->one_.d = value;
  }

  // Moves the elements to the mixed array, where any kind may follow.
  static void toMixed(HTuple* t) {
    if (t->kind_ == eElementTypeLong) {
      const Hlong* values = longs(*t);
      t->mixed_.assign(values, values + t->Length());
      std::vector<Hlong>().swap(t->longs_);
    } else if (t->kind_ == eElementTypeDouble) {
      const double* values = doubles(*t);
      t->mixed_.assign(values, values + t->Length());
      std::vector<double>().swap(t->doubles_);
    }
    t->kind_ = eElementTypeMixed;
  }

  // The array of a one-number tuple, made from its inline element before it grows.
  static std::vector<Hlong>& longArray(HTuple* t) {
    if (t->longs_.empty()) t->longs_.push_back(t->one_.l);
    return t->longs_;
  }
  static std::vector<double>& doubleArray(HTuple* t) {
    if (t->doubles_.empty()) t->doubles_.push_back(t->one_.d);
    return t->doubles_;
  }

  // Takes the value over: a text element moves into the tuple instead of being copied.
  static void push(HTuple* t, Element&& value) {
    if (std::holds_alternative<std::string>(value)) {
      toMixed(t);
      t->mixed_.push_back(std::move(value));
    } else {
      push(t, static_cast<const Element&>(value));
    }
  }

  static void push(HTuple* t, const Element& value) {
    const HTupleElementType type = typeOf(value);
    if (t->kind_ == eElementTypeUndef && type != eElementTypeString) {
      if (type == eElementTypeLong) {
        setLong(t, std::get<Hlong>(value));
      } else {
        setDouble(t, std::get<double>(value));
      }
      return;
    }
    if (t->kind_ == eElementTypeLong && type == eElementTypeLong) {
      longArray(t).push_back(std::get<Hlong>(value));
    } else if (t->kind_ == eElementTypeDouble && type == eElementTypeDouble) {
      doubleArray(t).push_back(std::get<double>(value));
    } else {
      toMixed(t);
      t->mixed_.push_back(value);
    }
  }

  static void append(HTuple* t, const HTuple& tail) {
    // One number onto numbers of its kind: the common case of a loop that collects values.
    if (t->kind_ == tail.kind_ && noArrays(tail)) {
      if (tail.kind_ == eElementTypeLong) {
        const Hlong value = tail.one_.l;
        longArray(t).push_back(value);
        return;
      }
      if (tail.kind_ == eElementTypeDouble) {
        const double value = tail.one_.d;
        doubleArray(t).push_back(value);
        return;
      }
    }
    if (tail.kind_ == eElementTypeUndef) return;
    if (&tail == t) {
      const HTuple copy(tail);
      append(t, copy);
      return;
    }
    if (t->kind_ == eElementTypeUndef) {
      *t = tail;
      return;
    }
    const Hlong n = tail.Length();
    if (t->kind_ == eElementTypeLong && tail.kind_ == eElementTypeLong) {
      const Hlong* values = longs(tail);
      std::vector<Hlong>& array = longArray(t);
      array.insert(array.end(), values, values + n);
    } else if (t->kind_ == eElementTypeDouble && tail.kind_ == eElementTypeDouble) {
      const double* values = doubles(tail);
      std::vector<double>& array = doubleArray(t);
      array.insert(array.end(), values, values + n);
    } else {
      toMixed(t);
      if (tail.kind_ == eElementTypeMixed) {
        t->mixed_.insert(t->mixed_.end(), tail.mixed_.begin(), tail.mixed_.end());
      } else {
        reserveMore(t->mixed_, static_cast<std::size_t>(n));
        for (Hlong i = 0; i < n; ++i) t->mixed_.push_back(at(tail, i));
      }
    }
  }

  static void set(HTuple* t, Hlong i, const Element& value) {
    const HTupleElementType type = typeOf(value);
    if (t->Length() == 1) {
      clear(t);
      push(t, value);
    } else if (t->kind_ == eElementTypeLong && type == eElementTypeLong) {
      t->longs_[static_cast<std::size_t>(i)] = std::get<Hlong>(value);
    } else if (t->kind_ == eElementTypeDouble && type == eElementTypeDouble) {
      t->doubles_[static_cast<std::size_t>(i)] = std::get<double>(value);
    } else {
      toMixed(t);
      t->mixed_[static_cast<std::size_t>(i)] = value;
    }
  }

  static HTupleType kind(const HTuple& t) { return t.kind_; }

  // Empty or one number: assigning such a tuple over another allocates and frees nothing.
  static bool noArrays(const HTuple& t) {
    return t.longs_.empty() && t.doubles_.empty() && t.mixed_.empty();
  }

  // Both operands hold numbers of one kind T (Hlong or double), and so does the result: the
  // operation runs over the plain arrays, a one-number result without an allocation.
  template <typename T, typename Op>
  static HTuple sameKind(const T* x, const T* y, Hlong n, Hlong da, Hlong db, Op op) {
    constexpr bool kIntegers = std::is_same_v<T, Hlong>;
    HTuple result;
    result.kind_ = kIntegers ? eElementTypeLong : eElementTypeDouble;
    if (n == 1) {
      if constexpr (kIntegers) {
        result.one_.l = op(x[0], y[0]);
      } else {
        result.one_.d = op(x[0], y[0]);
      }
      return result;
    }
    std::vector<T> values(static_cast<std::size_t>(n));
    for (Hlong i = 0; i < n; ++i) values[static_cast<std::size_t>(i)] = op(x[i * da], y[i * db]);
    if constexpr (kIntegers) {
      result.longs_ = std::move(values);
    } else {
      result.doubles_ = std::move(values);
    }
    return result;
  }

  // Applies the operation element by element; a one-element operand is repeated against the
  // other. IntOp works on two integers, RealOp on two numbers of which one is a real;
  // StringOp on anything else.
  template <typename IntOp, typename RealOp, typename StringOp>
  static HTuple elementwise(const HTuple& a, const HTuple& b, IntOp intOp, RealOp realOp,
                            StringOp stringOp) {
    HTuple result;
    const Hlong na = a.Length(), nb = b.Length();
    if (na == 0 || nb == 0) return result;
    if (na != nb && na != 1 && nb != 1) raise(1401);
    const Hlong n = std::max(na, nb);
    const Hlong da = na == 1 ? 0 : 1, db = nb == 1 ? 0 : 1;
    if (a.kind_ == eElementTypeLong && b.kind_ == eElementTypeLong) {
      return sameKind(longs(a), longs(b), n, da, db, intOp);
    }
    if (a.kind_ == eElementTypeDouble && b.kind_ == eElementTypeDouble) {
      return sameKind(doubles(a), doubles(b), n, da, db, realOp);
    }
    // Elements of mixed tuples are read where they are: a copy of each text operand would
    // double what joining two large texts holds.
    Element xNumber, yNumber;
    const auto element = [](const HTuple& t, Hlong i, Element& number) -> const Element& {
      if (t.kind_ == eElementTypeLong || t.kind_ == eElementTypeDouble) return number = at(t, i);
      return t.mixed_[static_cast<std::size_t>(i)];
    };
    for (Hlong i = 0; i < n; ++i) {
      const Element& x = element(a, i * da, xNumber);
      const Element& y = element(b, i * db, yNumber);
      if (!isNumber(x) || !isNumber(y)) {
        push(&result, stringOp(x, y));
      } else if (std::holds_alternative<Hlong>(x) && std::holds_alternative<Hlong>(y)) {
        push(&result, intOp(std::get<Hlong>(x), std::get<Hlong>(y)));
      } else {
        push(&result, realOp(asReal(x), asReal(y)));
      }
    }
    return result;
  }

  // a = a op b for two one-number tuples, without a new tuple; false for any other pair.
  template <typename IntOp, typename RealOp>
  static bool inPlace(HTuple* a, const HTuple& b, IntOp intOp, RealOp realOp) {
    if (!noArrays(*a) || !noArrays(b)) return false;
    if (a->kind_ == eElementTypeLong && b.kind_ == eElementTypeLong) {
      a->one_.l = intOp(a->one_.l, b.one_.l);
      return true;
    }
    const auto real = [](const HTuple& t) {
      return t.kind_ == eElementTypeLong ? static_cast<double>(t.one_.l) : t.one_.d;
    };
    const bool numbers = (a->kind_ == eElementTypeLong || a->kind_ == eElementTypeDouble) &&
                         (b.kind_ == eElementTypeLong || b.kind_ == eElementTypeDouble);
    if (!numbers) return false;
    a->one_.d = realOp(real(*a), real(b));
    a->kind_ = eElementTypeDouble;
    return true;
  }

  // Orders two tuples element by element, then by length.
  static int compare(const HTuple& a, const HTuple& b) {
    const Hlong na = a.Length(), nb = b.Length();
    const Hlong n = std::min(na, nb);
    if (a.kind_ == eElementTypeLong && b.kind_ == eElementTypeLong) {
      const Hlong* x = longs(a);
      const Hlong* y = longs(b);
      for (Hlong i = 0; i < n; ++i) {
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
      }
    } else {
      for (Hlong i = 0; i < n; ++i) {
        if (const int c = compareElements(at(a, i), at(b, i))) return c;
      }
    }
    return order(na, nb);
  }

  static bool equal(const HTuple& a, const HTuple& b) {
    const Hlong n = a.Length();
    if (n != b.Length()) return false;
    if (a.kind_ == eElementTypeLong && b.kind_ == eElementTypeLong) {
      return std::equal(longs(a), longs(a) + n, longs(b));
    }
    for (Hlong i = 0; i < n; ++i) {
      const Element x = at(a, i), y = at(b, i);
      if (isNumber(x) != isNumber(y) || compareElements(x, y) != 0) return false;
    }
    return true;
  }
};

namespace {

[[noreturn]] Element noStrings(const Element&, const Element&) {
  raise(H_ERR_TUPLE_OP_TYPE);
}

}  // namespace

HTupleElement::HTupleElement(HTuple* tuple, Hlong index) : tuple_(tuple), index_(index) {}

HTupleElementType HTupleElement::Type() const {
  return TupleAccess::typeAt(*tuple_, index_);
}

int HTupleElement::I() const {
  return static_cast<int>(L());
}

Hlong HTupleElement::L() const {
  // Truncates like a machine conversion; a real no integer can hold (NaN, infinity, out of
  // range) has no integer value at all.
  const auto integerOf = [](double d) -> Hlong {
    constexpr double kLimit = static_cast<double>(std::numeric_limits<Hlong>::max()) + 1.0;
    if (d > -kLimit && d < kLimit) return static_cast<Hlong>(d);
    raise(H_ERR_TUPLE_TYPE);
  };
  switch (TupleAccess::kind(*tuple_)) {
    case eElementTypeLong:
      return TupleAccess::longs(*tuple_)[index_];
    case eElementTypeDouble:
      return integerOf(TupleAccess::doubles(*tuple_)[index_]);
    default:
      break;
  }
  const Element e = tuple_->At(index_);
  if (const auto* l = std::get_if<Hlong>(&e)) return *l;
  if (const auto* d = std::get_if<double>(&e)) return integerOf(*d);
  raise(H_ERR_TUPLE_TYPE);
}

double HTupleElement::D() const {
  switch (TupleAccess::kind(*tuple_)) {
    case eElementTypeLong:
      return static_cast<double>(TupleAccess::longs(*tuple_)[index_]);
    case eElementTypeDouble:
      return TupleAccess::doubles(*tuple_)[index_];
    default:
      break;
  }
  const Element e = tuple_->At(index_);
  if (!isNumber(e)) raise(H_ERR_TUPLE_TYPE);
  return asReal(e);
}

HString HTupleElement::S() const {
  return HString(C());
}

const char* HTupleElement::C() const {
  if (TupleAccess::kind(*tuple_) == eElementTypeMixed) {
    const Element& e = tuple_->mixed_[static_cast<std::size_t>(index_)];
    if (const auto* s = std::get_if<std::string>(&e)) return s->c_str();
  }
  raise(H_ERR_TUPLE_TYPE);
}

HTupleElement& HTupleElement::operator=(const HTuple& value) {
  if (value.Length() != 1) raise(1401);
  TupleAccess::set(tuple_, index_, value.At(0));
  return *this;
}

HTupleElement& HTupleElement::operator=(const HTupleElement& value) {
  TupleAccess::set(tuple_, index_, value.tuple_->At(value.index_));
  return *this;
}

HTuple::HTuple() {
  Standin::ApiScope scope("HTuple");
  countConstruction();
}

HTuple::HTuple(int value) : HTuple(static_cast<Hlong>(value)) {}

HTuple::HTuple(Hlong value) : kind_(eElementTypeLong) {
  Standin::ApiScope scope("HTuple");
  one_.l = value;
  countConstruction();
}

HTuple::HTuple(double value) : kind_(eElementTypeDouble) {
  Standin::ApiScope scope("HTuple");
  one_.d = value;
  countConstruction();
}

HTuple::HTuple(const char* value) {
  Standin::ApiScope scope("HTuple");
  kind_ = eElementTypeMixed;
  mixed_.emplace_back(std::string(value ? value : ""));
  countConstruction();
}

HTuple::HTuple(const HString& value) : HTuple(value.Text()) {}

HTuple::HTuple(const HTupleElement& value) {
  Standin::ApiScope scope("HTuple");
  TupleAccess::push(this, value.tuple_->At(value.index_));
  countConstruction();
}

// Copies are not constructions from caller data: they never fire an injected fault, so
// that a test's fault lands on the construction it aims at.
HTuple::HTuple(const HTuple& other)
    : kind_(other.kind_),
      one_(other.one_),
      longs_(other.longs_),
      doubles_(other.doubles_),
      mixed_(other.mixed_) {
  countConstruction();
}

HTuple::HTuple(HTuple&& other) noexcept
    : kind_(other.kind_),
      one_(other.one_),
      longs_(std::move(other.longs_)),
      doubles_(std::move(other.doubles_)),
      mixed_(std::move(other.mixed_)) {
  other.kind_ = eElementTypeUndef;
  countConstruction();
}

HTuple& HTuple::operator=(const HTuple& other) {
  if (TupleAccess::noArrays(*this) && TupleAccess::noArrays(other)) {
    kind_ = other.kind_;
    one_ = other.one_;
  } else if (this != &other) {
    kind_ = other.kind_;
    one_ = other.one_;
    longs_ = other.longs_;
    doubles_ = other.doubles_;
    mixed_ = other.mixed_;
  }
  return *this;
}

HTuple& HTuple::operator=(HTuple&& other) noexcept {
  if (TupleAccess::noArrays(*this) && TupleAccess::noArrays(other)) {
    kind_ = other.kind_;
    one_ = other.one_;
  } else if (this != &other) {
    kind_ = other.kind_;
    one_ = other.one_;
    longs_ = std::move(other.longs_);
    doubles_ = std::move(other.doubles_);
    mixed_ = std::move(other.mixed_);
    other.kind_ = eElementTypeUndef;
    other.longs_.clear();
    other.doubles_.clear();
    other.mixed_.clear();
  }
  return *this;
}

HTuple::~HTuple() {
  Standin::countLiveKind(Standin::kLiveTuples, -1);
}

HTupleType HTuple::Type() const {
  if (kind_ != eElementTypeMixed) return kind_;
  if (mixed_.empty()) return eElementTypeUndef;
  const HTupleElementType first = typeOf(mixed_.front());
  for (const Element& e : mixed_) {
    if (typeOf(e) != first) return eElementTypeMixed;
  }
  return first;
}

HTuple& HTuple::Append(const HTuple& tail) {
  TupleAccess::append(this, tail);
  return *this;
}

HTuple::Element HTuple::At(Hlong index) const {
  return TupleAccess::at(*this, index);
}

const std::string* HTuple::StringAt(Hlong index) const {
  if (kind_ != eElementTypeMixed) return nullptr;
  return std::get_if<std::string>(&mixed_[static_cast<std::size_t>(index)]);
}

void HTuple::Clear() {
  TupleAccess::clear(this);
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
  for (Hlong i = 0; i < Length(); ++i) {
    TupleAccess::push(&types, Hlong{TupleAccess::typeAt(*this, i)});
  }
  return types;
}

HString HTuple::ToString() const {
  auto quoted = [](const Element& e) {
    return isNumber(e) ? elementText(e) : "'" + std::get<std::string>(e) + "'";
  };
  const Hlong n = Length();
  if (n == 1) return HString(quoted(At(0)));
  std::string text = "[";
  for (Hlong i = 0; i < n; ++i) {
    if (i) text += ", ";
    text += quoted(At(i));
  }
  return HString(text + "]");
}

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
