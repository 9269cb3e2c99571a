// Reductions and orderings of whole tuples: sum, mean, extremes, ranks, sorting, histograms.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <type_traits>
#include <vector>

#include "functions/tuple_functions.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using UHlong = std::make_unsigned_t<Hlong>;

// Numbers order by value, strings by their bytes; the caller has made sure the tuple holds
// only one of the two.
bool lessAt(const HTuple& t, Hlong i, Hlong j) {
  const auto x = t[i], y = t[j];
  if (x.Type() == HalconCpp::eElementTypeString) return std::strcmp(x.C(), y.C()) < 0;
  if (x.Type() == HalconCpp::eElementTypeLong && y.Type() == HalconCpp::eElementTypeLong) {
    return x.L() < y.L();
  }
  return x.D() < y.D();
}

// Numbers only, or strings only: the kinds every ordering takes.
void requireOrderable(const char* op, const HTuple& t) {
  if (!allNumbers(t) && !allStrings(t)) wrongType(op, 0);
}

void requireNumbers(const char* op, const HTuple& t) {
  if (!allNumbers(t)) wrongType(op, 0);
}

std::vector<Hlong> sortedIndices(const HTuple& t) {
  std::vector<Hlong> order(static_cast<std::size_t>(t.Length()));
  std::iota(order.begin(), order.end(), Hlong{0});
  std::stable_sort(order.begin(), order.end(), [&](Hlong i, Hlong j) { return lessAt(t, i, j); });
  return order;
}

// A real wherever the tuple holds one: the kind rule of sums, extremes and cumulative sums.
void appendNumber(HTuple* out, bool real, Hlong integer, double value) {
  if (real) {
    out->Append(HTuple(value));
  } else {
    out->Append(HTuple(integer));
  }
}

template <bool kMax>
void extreme(const char* op, const HTuple& t, HTuple* r) {
  if (t.Length() == 0) wrongCount(op, 0);
  requireOrderable(op, t);
  Hlong best = 0;
  for (Hlong i = 1; i < t.Length(); ++i) {
    if (kMax ? lessAt(t, best, i) : lessAt(t, i, best)) best = i;
  }
  if (isString(t, best)) {
    *r = HTuple(t[best].C());
  } else if (anyReal(t)) {
    *r = HTuple(t[best].D());
  } else {
    *r = HTuple(t[best].L());
  }
}

}  // namespace

// Integers add up wrapping around, as the tuple class adds them; strings concatenate.
void tupleSum(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  if (t.Length() == 0) {
    *r = HTuple();
    return;
  }
  if (allStrings(t)) {
    std::string text;
    for (Hlong i = 0; i < t.Length(); ++i) text += t[i].C();
    *r = HTuple(text.c_str());
    return;
  }
  requireNumbers("tuple_sum", t);
  UHlong integer = 0;
  double real = 0;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (isInteger(t, i)) integer += static_cast<UHlong>(t[i].L());
    real += t[i].D();
  }
  HTuple out;
  appendNumber(&out, anyReal(t), static_cast<Hlong>(integer), real);
  *r = std::move(out);
}

void tupleMean(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  if (t.Length() == 0) wrongCount("tuple_mean", 0);
  requireNumbers("tuple_mean", t);
  double total = 0;
  for (Hlong i = 0; i < t.Length(); ++i) total += t[i].D();
  *r = HTuple(total / static_cast<double>(t.Length()));
}

// The sample deviation, dividing by n - 1; one element deviates by 0.
void tupleDeviation(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  const Hlong n = t.Length();
  if (n == 0) wrongCount("tuple_deviation", 0);
  requireNumbers("tuple_deviation", t);
  double mean = 0;
  for (Hlong i = 0; i < n; ++i) mean += t[i].D();
  mean /= static_cast<double>(n);
  double squares = 0;
  for (Hlong i = 0; i < n; ++i) squares += (t[i].D() - mean) * (t[i].D() - mean);
  *r = HTuple(n == 1 ? 0.0 : std::sqrt(squares / static_cast<double>(n - 1)));
}

void tupleMin(TupleArgs a, std::size_t, HTuple* r) {
  extreme<false>("tuple_min", *a[0], r);
}
void tupleMax(TupleArgs a, std::size_t, HTuple* r) {
  extreme<true>("tuple_max", *a[0], r);
}

void tupleSelectRank(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_select_rank";
  const HTuple& t = *a[0];
  const Hlong rank = singleInteger(op, 1, *a[1]);
  requireOrderable(op, t);
  if (rank < 0 || rank >= t.Length()) wrongValue(op, 1);
  const std::vector<Hlong> order = sortedIndices(t);
  HTuple out;
  appendElement(&out, t, order[static_cast<std::size_t>(rank)]);
  *r = std::move(out);
}

// The element of rank n/2: for an even count the upper of the two middle elements.
void tupleMedian(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  if (t.Length() == 0) wrongCount("tuple_median", 0);
  requireNumbers("tuple_median", t);
  const std::vector<Hlong> order = sortedIndices(t);
  HTuple out;
  appendElement(&out, t, order[static_cast<std::size_t>(t.Length() / 2)]);
  *r = std::move(out);
}

void tupleCumul(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  requireNumbers("tuple_cumul", t);
  const bool real = anyReal(t);
  UHlong integer = 0;
  double total = 0;
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (isInteger(t, i)) integer += static_cast<UHlong>(t[i].L());
    total += t[i].D();
    appendNumber(&out, real, static_cast<Hlong>(integer), total);
  }
  *r = std::move(out);
}

void tupleSort(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  requireOrderable("tuple_sort", t);
  HTuple out;
  for (Hlong i : sortedIndices(t)) appendElement(&out, t, i);
  *r = std::move(out);
}

void tupleSortIndex(TupleArgs a, std::size_t, HTuple* r) {
  const HTuple& t = *a[0];
  requireOrderable("tuple_sort_index", t);
  HTuple out;
  for (Hlong i : sortedIndices(t)) out.Append(HTuple(i));
  *r = std::move(out);
}

// Bins of equal width from Min to Max; a value equal to Max falls into the last bin, values
// outside the range into none.
void tupleHistoRange(TupleArgs a, HTuple* histogram, HTuple* binSize) {
  const char* op = "tuple_histo_range";
  const HTuple& t = *a[0];
  const double low = singleReal(op, 1, *a[1]);
  const double high = singleReal(op, 2, *a[2]);
  const Hlong bins = singleInteger(op, 3, *a[3]);
  requireNumbers(op, t);
  if (bins < 1) wrongValue(op, 3);
  checkValueLength(bins);
  if (!(high > low)) wrongValue(op, 2);
  const double width = (high - low) / static_cast<double>(bins);
  std::vector<Hlong> counts(static_cast<std::size_t>(bins), 0);
  for (Hlong i = 0; i < t.Length(); ++i) {
    const double value = t[i].D();
    if (!(value >= low && value <= high)) continue;
    const auto bin = static_cast<Hlong>((value - low) / width);
    ++counts[static_cast<std::size_t>(std::min(bin, bins - 1))];
  }
  HTuple out;
  for (Hlong count : counts) out.Append(HTuple(count));
  *histogram = std::move(out);
  *binSize = HTuple(width);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
