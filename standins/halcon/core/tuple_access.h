// The storage rules of HTuple in one place, shared by the tuple's members and its operators:
// the array of the tuple's kind, or the inline element while that array is empty.
#ifndef QUORVEX_STANDINS_HALCON_TUPLE_ACCESS_H
#define QUORVEX_STANDINS_HALCON_TUPLE_ACCESS_H

#include <algorithm>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "common/number_text.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace tuple_rules {

using Element = HTuple::Element;

[[noreturn]] inline void raise(Hlong errorCode) {
  throw HException::ForOperator("HTuple", errorCode);
}

inline bool isNumber(const Element& e) {
  return !std::holds_alternative<std::string>(e);
}

inline double asReal(const Element& e) {
  if (const auto* l = std::get_if<Hlong>(&e)) return static_cast<double>(*l);
  return std::get<double>(e);
}

// Reals and integers print as the vendor's tools show them (common/number_text.h).
inline std::string realText(double value) {
  return quorvex::common::realText(value);
}

inline std::string integerText(Hlong value) {
  return quorvex::common::integerText(value);
}

inline std::string elementText(const Element& e) {
  if (const auto* l = std::get_if<Hlong>(&e)) return integerText(*l);
  if (const auto* d = std::get_if<double>(&e)) return realText(*d);
  return std::get<std::string>(e);
}

inline HTupleElementType typeOf(const Element& e) {
  if (std::holds_alternative<Hlong>(e)) return eElementTypeLong;
  if (std::holds_alternative<double>(e)) return eElementTypeDouble;
  return eElementTypeString;
}

// Integers wrap around on overflow, as two's-complement machine integers do, instead of
// leaving the result undefined.
using UHlong = std::make_unsigned_t<Hlong>;
inline Hlong wrap(UHlong value) {
  return static_cast<Hlong>(value);
}
inline Hlong wrappingAdd(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) + static_cast<UHlong>(y));
}
inline Hlong wrappingSub(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) - static_cast<UHlong>(y));
}
inline Hlong wrappingMul(Hlong x, Hlong y) {
  return wrap(static_cast<UHlong>(x) * static_cast<UHlong>(y));
}
inline Hlong checkedDiv(Hlong x, Hlong y) {
  if (y == 0) raise(H_ERR_TUPLE_DIV_ZERO);
  return y == -1 ? wrappingSub(0, x) : x / y;
}
inline Hlong checkedMod(Hlong x, Hlong y) {
  if (y == 0) raise(H_ERR_TUPLE_DIV_ZERO);
  return y == -1 ? 0 : x % y;
}

template <typename T>
inline int order(T l, T r) {
  return l < r ? -1 : (l > r ? 1 : 0);
}

// Orders two elements: numbers by value, strings by bytes. A number and a string do not
// compare.
inline int compareElements(const Element& x, const Element& y) {
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
inline void reserveMore(std::vector<T>& array, std::size_t extra) {
  const std::size_t needed = array.size() + extra;
  if (needed > array.capacity()) array.reserve(std::max(needed, 2 * array.capacity()));
}

}  // namespace tuple_rules

using namespace tuple_rules;  // NOLINT: the rules are TupleAccess's own vocabulary

struct TupleAccess {
  using Element = HTuple::Element;

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

}  // namespace HalconCpp

#endif
