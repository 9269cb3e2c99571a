#ifndef HALCONCPP_HTUPLE_H
#define HALCONCPP_HTUPLE_H

#include <string>
#include <variant>
#include <vector>

#include "halconcpp/HException.h"
#include "halconcpp/HString.h"
#include "halconcpp/HalconCppBase.h"

namespace HalconCpp {

class HTuple;

// A reference to one element of a tuple, as element access returns it. Reading it with the
// accessor of another kind raises HException H_ERR_TUPLE_TYPE; integers and reals convert
// into each other where the vendor converts them (D of an integer, L of a real truncates).
class HALCONCPP_API HTupleElement {
 public:
  HTupleElement(HTuple* tuple, Hlong index);

  HTupleElementType Type() const;
  int I() const;
  Hlong L() const;
  double D() const;
  HString S() const;
  const char* C() const;

  HTupleElement& operator=(const HTuple& value);
  HTupleElement& operator=(const HTupleElement& value);
  HTupleElement(const HTupleElement&) = default;

 private:
  friend class HTuple;
  HTuple* tuple_;
  Hlong index_;
};

// An ordered list of integers, reals and strings with the vendor's value semantics: a copy
// is independent of its source, arithmetic works element-wise (a one-element operand is
// repeated), integer op integer stays an integer, and a string operand concatenates.
class HALCONCPP_API HTuple {
 public:
  using Element = std::variant<Hlong, double, std::string>;

  HTuple();
  HTuple(int value);                   // NOLINT: implicit like the vendor's
  HTuple(Hlong value);                 // NOLINT
  HTuple(double value);                // NOLINT
  HTuple(const char* value);           // NOLINT
  HTuple(const HString& value);        // NOLINT
  HTuple(const HTupleElement& value);  // NOLINT
  HTuple(const HTuple& other);
  HTuple(HTuple&& other) noexcept;
  HTuple& operator=(const HTuple& other);
  HTuple& operator=(HTuple&& other) noexcept;
  virtual ~HTuple();

  Hlong Length() const {
    if (kind_ == eElementTypeLong) return longs_.empty() ? 1 : static_cast<Hlong>(longs_.size());
    if (kind_ == eElementTypeDouble) {
      return doubles_.empty() ? 1 : static_cast<Hlong>(doubles_.size());
    }
    return static_cast<Hlong>(mixed_.size());
  }
  // The common kind of all elements: eElementTypeMixed when they differ, eElementTypeUndef
  // for an empty tuple.
  HTupleType Type() const;
  HTuple& Append(const HTuple& tail);
  // a op= b gives a the value of a op b, in place where both hold one number.
  HTuple& operator+=(const HTuple& other);
  HTuple& operator-=(const HTuple& other);
  HTuple& operator*=(const HTuple& other);
  HTuple& operator/=(const HTuple& other);
  HTuple& operator%=(const HTuple& other);
  HTuple Clone() const { return *this; }

  HTupleElement operator[](Hlong index);
  HTupleElement operator[](int index) { return (*this)[static_cast<Hlong>(index)]; }
  const HTupleElement operator[](Hlong index) const;
  const HTupleElement operator[](int index) const { return (*this)[static_cast<Hlong>(index)]; }

  // The vendor's shortcuts for a tuple's first element.
  int I() const { return (*this)[0].I(); }
  Hlong L() const { return (*this)[0].L(); }
  double D() const { return (*this)[0].D(); }
  HString S() const { return (*this)[0].S(); }

  HTuple TupleTypeElem() const;
  // Readable form: one number bare ("3", "2.5"), a string quoted ("'abc'"), anything else
  // as a bracketed list ("[]", "[1, 'a']").
  HString ToString() const;

  // The stand-ins' own element access, without the vendor's bounds check: element `index`
  // (0 <= index < Length()) as a value.
  Element At(Hlong index) const;
  // Element `index` when it is a string, else null: its length read without a copy.
  const std::string* StringAt(Hlong index) const;
  void Clear();

 private:
  friend class HTupleElement;
  friend struct TupleAccess;
  // Elements are stored compactly: integers only as an Hlong array, reals only as a double
  // array, anything else (strings, or kinds mixed) as Element values. The one element of a
  // one-number tuple lives in `one_`, without an allocation, while its array is empty.
  HTupleType kind_ = eElementTypeUndef;  // eElementTypeLong, ...Double, ...Mixed or ...Undef
  union {
    Hlong l;
    double d;
  } one_{};
  std::vector<Hlong> longs_;
  std::vector<double> doubles_;
  std::vector<Element> mixed_;
};

HALCONCPP_API HTuple operator+(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator-(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator*(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator/(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator%(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator&(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator|(const HTuple& a, const HTuple& b);
HALCONCPP_API HTuple operator-(const HTuple& a);

// Whole-tuple comparisons by value: the integer 5 equals the real 5.0; a number never equals
// a string. The ordering compares element by element, then by length; comparing a number
// with a string raises H_ERR_TUPLE_OP_TYPE.
HALCONCPP_API bool operator==(const HTuple& a, const HTuple& b);
HALCONCPP_API bool operator!=(const HTuple& a, const HTuple& b);
HALCONCPP_API bool operator<(const HTuple& a, const HTuple& b);
HALCONCPP_API bool operator>(const HTuple& a, const HTuple& b);
HALCONCPP_API bool operator<=(const HTuple& a, const HTuple& b);
HALCONCPP_API bool operator>=(const HTuple& a, const HTuple& b);

// Operator form of the element type query.
HALCONCPP_API void TupleTypeElem(const HTuple& tuple, HTuple* types);
HALCONCPP_API void TupleLength(const HTuple& tuple, HTuple* length);

}  // namespace HalconCpp

#endif
