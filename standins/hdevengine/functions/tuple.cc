// Building, selecting and rearranging tuples, and the kind tests.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

#include "functions/tuple_functions.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Every index of `indices` as a position in a tuple of `length` elements.
std::vector<Hlong> positions(const char* op, int parameter, const HTuple& indices, Hlong length) {
  std::vector<Hlong> out;
  out.reserve(static_cast<std::size_t>(indices.Length()));
  for (Hlong i = 0; i < indices.Length(); ++i) {
    const Hlong index = integerAt(op, parameter, indices, i);
    if (index < 0 || index >= length) wrongValue(op, parameter);
    out.push_back(index);
  }
  return out;
}

// Equal as tuple elements are: numbers by value, strings by text, never a number and a string.
bool sameAt(const HTuple& a, Hlong i, const HTuple& b, Hlong j) {
  const bool sa = isString(a, i), sb = isString(b, j);
  if (sa || sb) return sa && sb && std::string_view(a[i].C()) == b[j].C();
  if (isInteger(a, i) && isInteger(b, j)) return a[i].L() == b[j].L();
  return a[i].D() == b[j].D();
}

void selectRange(const char* op, const HTuple& t, Hlong left, Hlong right, HTuple* r) {
  // right == left - 1 is the empty range, as in T[A:B].
  if (left < 0 || left > t.Length() || right < left - 1 || right >= t.Length()) {
    wrongValue(op, left < 0 || left > t.Length() ? 1 : 2);
  }
  HTuple out;
  for (Hlong i = left; i <= right; ++i) appendElement(&out, t, i);
  *r = std::move(out);
}

Hlong typeCode(const HTuple& t) {
  // The vendor's H_TYPE_ANY, all kinds at once, stands for the empty tuple.
  return t.Length() == 0 ? 15 : static_cast<Hlong>(t.Type());
}

void isKind(const HTuple& t, HalconCpp::HTupleType kind, HTuple* r) {
  *r = HTuple(Hlong{t.Length() > 0 && t.Type() == kind});
}

void isKindElem(const HTuple& t, HalconCpp::HTupleElementType kind, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) out.Append(HTuple(Hlong{t[i].Type() == kind}));
  *r = std::move(out);
}

// The distinct elements of both tuples in ascending order: the form the set operations give.
HTuple sortedUnique(const HTuple& t) {
  HTuple sorted;
  const HTuple* argument = &t;
  tupleSort(&argument, 1, &sorted);
  HTuple out;
  for (Hlong i = 0; i < sorted.Length(); ++i) {
    if (i == 0 || !sameAt(sorted, i, sorted, i - 1)) appendElement(&out, sorted, i);
  }
  return out;
}

bool contains(const HTuple& t, const HTuple& value, Hlong j) {
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (sameAt(t, i, value, j)) return true;
  }
  return false;
}

// Elements of `a` that are (or are not) in `b`, each once, in ascending order.
HTuple filtered(const HTuple& a, const HTuple& b, bool inB) {
  const HTuple unique = sortedUnique(a);
  HTuple out;
  for (Hlong i = 0; i < unique.Length(); ++i) {
    if (contains(b, unique, i) == inB) appendElement(&out, unique, i);
  }
  return out;
}

}  // namespace

void tupleConcat(TupleArgs a, std::size_t count, HTuple* r) {
  HTuple out;
  for (std::size_t i = 0; i < count; ++i) out.Append(*a[i]);
  *r = std::move(out);
}

void tupleLength(TupleArgs a, std::size_t, HTuple* r) {
  *r = HTuple(a[0]->Length());
}

// An index may repeat: the result's text is bounded before it is built.
void tupleSelect(TupleArgs a, std::size_t, HTuple* r) {
  const std::vector<Hlong> at = positions("tuple_select", 1, *a[1], a[0]->Length());
  TextTally text;
  for (Hlong i : at) text.add(elementText(*a[0], i));
  HTuple out;
  for (Hlong i : at) appendElement(&out, *a[0], i);
  *r = std::move(out);
}

void tupleSelectRange(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_select_range";
  selectRange(op, *a[0], singleInteger(op, 1, *a[1]), singleInteger(op, 2, *a[2]), r);
}

void tupleFirstN(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_first_n";
  selectRange(op, *a[0], 0, singleInteger(op, 1, *a[1]), r);
}

void tupleLastN(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_last_n";
  selectRange(op, *a[0], singleInteger(op, 1, *a[1]), a[0]->Length() - 1, r);
}

void tupleSelectMask(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_select_mask";
  const HTuple &t = *a[0], &mask = *a[1];
  if (mask.Length() != t.Length()) wrongCount(op, 1);
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (integerAt(op, 1, mask, i) != 0) appendElement(&out, t, i);
  }
  *r = std::move(out);
}

// Indices past the end remove nothing.
void tupleRemove(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple &t = *a[0], &indices = *a[1];
  std::vector<bool> removed(static_cast<std::size_t>(t.Length()), false);
  for (Hlong i = 0; i < indices.Length(); ++i) {
    const Hlong index = integerAt("tuple_remove", 1, indices, i);
    if (index >= 0 && index < t.Length()) removed[static_cast<std::size_t>(index)] = true;
  }
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (!removed[static_cast<std::size_t>(i)]) appendElement(&out, t, i);
  }
  *r = std::move(out);
}

// Every index at which ToFind occurs as a whole sequence; -1 when it occurs nowhere.
void tupleFind(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple &t = *a[0], &part = *a[1];
  const Hlong n = t.Length(), m = part.Length();
  HTuple out;
  for (Hlong i = 0; m > 0 && i + m <= n; ++i) {
    Hlong j = 0;
    while (j < m && sameAt(t, i + j, part, j)) ++j;
    if (j == m) out.Append(HTuple(i));
  }
  *r = out.Length() == 0 ? HTuple(Hlong{-1}) : std::move(out);
}

// The first and the last place where the second tuple occurs as a run in the first; -1 when
// it never does, and an empty result when either tuple is empty.
void findEnd(TupleArgs a, bool last, HTuple* r) {
  if (a[0]->Length() == 0 || a[1]->Length() == 0) {
    *r = HTuple();
    return;
  }
  HTuple all;
  tupleFind(a, 2, &all);
  *r = HTuple(all[last ? all.Length() - 1 : 0].L());
}
void tupleFindFirst(TupleArgs a, std::size_t, HTuple* r) {
  findEnd(a, false, r);
}
void tupleFindLast(TupleArgs a, std::size_t, HTuple* r) {
  findEnd(a, true, r);
}

// Of each run of equal neighbours one element stays.
void tupleUniq(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (i == 0 || !sameAt(t, i, t, i - 1)) appendElement(&out, t, i);
  }
  *r = std::move(out);
}

void tupleInverse(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = a[0]->Length() - 1; i >= 0; --i) appendElement(&out, *a[0], i);
  *r = std::move(out);
}

void tupleGenConst(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_gen_const";
  const Hlong length = singleInteger(op, 0, *a[0]);
  if (length < 0) wrongValue(op, 0);
  if (a[1]->Length() != 1) wrongCount(op, 1);
  checkValueLength(length);
  TextTally().add(textBytes(*a[1]), static_cast<unsigned long long>(length));
  HTuple out;
  for (Hlong i = 0; i < length; ++i) out.Append(*a[1]);
  *r = std::move(out);
}

// The elements of an integer sequence, counted without rounding: near 10^17 a real holds
// only every sixteenth integer.
Hlong integerSequenceCount(Hlong start, Hlong end, Hlong step) {
  using U = std::make_unsigned_t<Hlong>;
  if (step > 0 ? end < start : end > start) return 0;
  const U distance = step > 0 ? static_cast<U>(end) - static_cast<U>(start)
                              : static_cast<U>(start) - static_cast<U>(end);
  const U stride = step > 0 ? static_cast<U>(step) : U{0} - static_cast<U>(step);
  const U count = distance / stride;
  constexpr U kMost = static_cast<U>(std::numeric_limits<Hlong>::max());
  return count >= kMost ? std::numeric_limits<Hlong>::max() : static_cast<Hlong>(count + 1);
}

// Whether Start + n Step is not beyond End, allowing for the rounding of the step's multiples
// (0.1 * 3 passes 0.3 by one unit in the last place) but never by a whole step.
bool withinEnd(double start, double end, double step, double n) {
  const double value = start + n * step;
  const double slack = 1e-12 * std::max(std::fabs(step), std::fabs(end));
  return step > 0 ? value <= end + slack : value >= end - slack;
}

// Start, Start + Step, ... up to End; integers when all three are integers. A sequence that
// runs away from End is empty; real steps stop at the last value not beyond End.
void genSequence(const char* op, const HTuple& startArg, const HTuple& endArg,
                 const HTuple& stepArg, HTuple* r) {
  const double start = singleReal(op, 0, startArg);
  const double end = singleReal(op, 1, endArg);
  const double step = singleReal(op, 2, stepArg);
  if (step == 0 || !std::isfinite(step) || !std::isfinite(start) || !std::isfinite(end)) {
    wrongValue(op, step == 0 || !std::isfinite(step) ? 2 : 0);
  }
  HTuple out;
  if (isInteger(startArg, 0) && isInteger(endArg, 0) && isInteger(stepArg, 0)) {
    using U = std::make_unsigned_t<Hlong>;
    const Hlong first = startArg[0].L(), stride = stepArg[0].L();
    const Hlong n = integerSequenceCount(first, endArg[0].L(), stride);
    checkValueLength(n);
    // In unsigned arithmetic: every element lies between Start and End, so none overflows.
    for (Hlong i = 0; i < n; ++i) {
      out.Append(HTuple(
          static_cast<Hlong>(static_cast<U>(first) + static_cast<U>(i) * static_cast<U>(stride))));
    }
    *r = std::move(out);
    return;
  }
  const double steps = (end - start) / step;
  if (steps >= 0 || withinEnd(start, end, step, 0)) {
    double last = std::max(std::floor(steps), 0.0);
    constexpr double kMost = static_cast<double>(std::numeric_limits<Hlong>::max());
    checkValueLength(last + 1 >= kMost ? std::numeric_limits<Hlong>::max()
                                       : static_cast<Hlong>(last + 1));
    // A quotient just short of a whole number is that number rounded down.
    if (steps - last > 1 - 1e-9 && withinEnd(start, end, step, last + 1)) last += 1;
    while (last > 0 && !withinEnd(start, end, step, last)) last -= 1;
    const auto n = static_cast<Hlong>(last) + 1;
    checkValueLength(n);
    for (Hlong i = 0; i < n; ++i) out.Append(HTuple(start + static_cast<double>(i) * step));
  }
  *r = std::move(out);
}

void tupleGenSequence(TupleArgs a, std::size_t, HTuple* r) {
  genSequence("tuple_gen_sequence", *a[0], *a[1], *a[2], r);
}

// [A:B] steps by 1, [A:S:B] by S.
void rangeFunction(TupleArgs a, std::size_t count, HTuple* r) {
  if (count == 2) {
    genSequence("tuple_gen_sequence", *a[0], *a[1], HTuple(Hlong{1}), r);
  } else {
    genSequence("tuple_gen_sequence", *a[0], *a[2], *a[1], r);
  }
}

// Uniformly distributed reals in [0, 1), from a generator of the calling thread's own.
void tupleRand(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_rand";
  const Hlong length = singleInteger(op, 0, *a[0]);
  if (length < 0) wrongValue(op, 0);
  checkValueLength(length);
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  HTuple out;
  for (Hlong i = 0; i < length; ++i) out.Append(HTuple(uniform(generator)));
  *r = std::move(out);
}

void tupleType(TupleArgs a, std::size_t, HTuple* r) {
  *r = HTuple(typeCode(*a[0]));
}
void tupleTypeElem(TupleArgs a, std::size_t, HTuple* r) {
  *r = a[0]->TupleTypeElem();
}
void tupleIsInt(TupleArgs a, std::size_t, HTuple* r) {
  isKind(*a[0], HalconCpp::eElementTypeLong, r);
}
void tupleIsReal(TupleArgs a, std::size_t, HTuple* r) {
  isKind(*a[0], HalconCpp::eElementTypeDouble, r);
}
void tupleIsString(TupleArgs a, std::size_t, HTuple* r) {
  isKind(*a[0], HalconCpp::eElementTypeString, r);
}
void tupleIsMixed(TupleArgs a, std::size_t, HTuple* r) {
  isKind(*a[0], HalconCpp::eElementTypeMixed, r);
}
void tupleIsIntElem(TupleArgs a, std::size_t, HTuple* r) {
  isKindElem(*a[0], HalconCpp::eElementTypeLong, r);
}
void tupleIsRealElem(TupleArgs a, std::size_t, HTuple* r) {
  isKindElem(*a[0], HalconCpp::eElementTypeDouble, r);
}
void tupleIsStringElem(TupleArgs a, std::size_t, HTuple* r) {
  isKindElem(*a[0], HalconCpp::eElementTypeString, r);
}

void tupleUnion(TupleArgs a, std::size_t, HTuple* r) {
  HTuple both = *a[0];
  both.Append(*a[1]);
  *r = sortedUnique(both);
}
void tupleIntersection(TupleArgs a, std::size_t, HTuple* r) {
  *r = filtered(*a[0], *a[1], true);
}
void tupleDifference(TupleArgs a, std::size_t, HTuple* r) {
  *r = filtered(*a[0], *a[1], false);
}
void tupleSymmdiff(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out = filtered(*a[0], *a[1], false);
  out.Append(filtered(*a[1], *a[0], false));
  *r = sortedUnique(out);
}

// Inserts the values before index Index (Index = length appends).
void tupleInsert(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_insert";
  const HTuple& t = *a[0];
  const Hlong index = singleInteger(op, 1, *a[1]);
  if (index < 0 || index > t.Length()) wrongValue(op, 1);
  HTuple out;
  for (Hlong i = 0; i < index; ++i) appendElement(&out, t, i);
  out.Append(*a[2]);
  for (Hlong i = index; i < t.Length(); ++i) appendElement(&out, t, i);
  *r = std::move(out);
}

// Replaces the elements at the indices by the values, one value repeating for all.
void tupleReplace(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_replace";
  const HTuple &t = *a[0], &values = *a[2];
  const std::vector<Hlong> at = positions(op, 1, *a[1], t.Length());
  if (values.Length() != 1 && values.Length() != static_cast<Hlong>(at.size())) wrongCount(op, 2);
  // One value may replace many elements: the result's text is bounded before it is built.
  TextTally text;
  text.add(textBytes(t));
  for (std::size_t k = 0; k < at.size(); ++k) {
    text.add(elementText(values, values.Length() == 1 ? 0 : static_cast<Hlong>(k)));
  }
  HTuple out = t;
  for (std::size_t k = 0; k < at.size(); ++k) {
    HTuple value;
    appendElement(&value, values, values.Length() == 1 ? 0 : static_cast<Hlong>(k));
    out[at[k]] = value;
  }
  *r = std::move(out);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
