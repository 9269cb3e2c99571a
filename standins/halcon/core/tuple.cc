// HTuple's members: construction, copies, element access.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "core/live_count.h"
#include "core/tuple_access.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace {

// Every tuple alive, copies included, so that a test can tell whether handles leak.
void countConstruction() {
  Standin::countLiveKind(Standin::kLiveTuples, 1);
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

}  // namespace HalconCpp
