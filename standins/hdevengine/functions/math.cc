// Arithmetic, the mathematical functions and the bit operations, element by element.
#include <cmath>
#include <limits>
#include <type_traits>

#include "functions/tuple_functions.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::HException;
using UHlong = std::make_unsigned_t<Hlong>;

// The image-processing stand-in's arithmetic raises under its own name; a program line
// reports the operator it called.
template <typename Op>
void underName(const char* op, HTuple* result, Op compute) {
  try {
    *result = compute();
  } catch (const HException& e) {
    if (e.ProcName().str() == op) throw;
    throw HException::ForOperator(op, e.ErrorCode());
  }
}

// A real function of one number, always giving reals; `valid` tells the arguments it takes.
template <typename F, typename Valid>
void realFunction(const char* op, const HTuple& t, HTuple* result, F f, Valid valid) {
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    const double x = realAt(op, 0, t, i);
    if (!valid(x)) wrongValue(op, 0);
    out.Append(HTuple(static_cast<double>(f(x))));
  }
  *result = std::move(out);
}

template <typename F>
void realFunction(const char* op, const HTuple& t, HTuple* result, F f) {
  realFunction(op, t, result, f, [](double) { return true; });
}

// A real function of two numbers, element by element.
template <typename F>
void realFunction2(const char* op, const HTuple& a, const HTuple& b, HTuple* result, F f) {
  const Hlong n = pairLength(op, a, b);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    const double x = realAt(op, 0, a, spread(a, i));
    const double y = realAt(op, 1, b, spread(b, i));
    const double value = f(x, y);
    if (std::isnan(value) && !std::isnan(x) && !std::isnan(y)) wrongValue(op, 1);
    out.Append(HTuple(value));
  }
  *result = std::move(out);
}

// An integer function of two integers, element by element.
template <typename F>
void integerFunction2(const char* op, const HTuple& a, const HTuple& b, HTuple* result, F f) {
  const Hlong n = pairLength(op, a, b);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    out.Append(HTuple(f(integerAt(op, 0, a, spread(a, i)), integerAt(op, 1, b, spread(b, i)))));
  }
  *result = std::move(out);
}

// Integers keep their kind, reals theirs.
template <typename IntOp, typename RealOp>
void keepKind(const char* op, const HTuple& t, HTuple* result, IntOp intOp, RealOp realOp) {
  HTuple out;
  for (Hlong i = 0; i < t.Length(); ++i) {
    if (isString(t, i)) wrongType(op, 0);
    if (isInteger(t, i)) {
      out.Append(HTuple(intOp(t[i].L())));
    } else {
      out.Append(HTuple(realOp(t[i].D())));
    }
  }
  *result = std::move(out);
}

Hlong integerOf(const char* op, double value) {
  constexpr double kLimit = static_cast<double>(std::numeric_limits<Hlong>::max()) + 1.0;
  if (!(value > -kLimit && value < kLimit)) wrongValue(op, 0);
  return static_cast<Hlong>(value);
}

constexpr double kPi = 3.14159265358979323846;

bool nonNegative(double x) {
  return x >= 0;
}
bool positive(double x) {
  return x > 0;
}
bool unitRange(double x) {
  return x >= -1 && x <= 1;
}

}  // namespace

void tupleAdd(TupleArgs a, std::size_t, HTuple* r) {
  checkConcatenation(*a[0], *a[1]);
  underName("tuple_add", r, [&] { return *a[0] + *a[1]; });
}
void tupleSub(TupleArgs a, std::size_t, HTuple* r) {
  underName("tuple_sub", r, [&] { return *a[0] - *a[1]; });
}
void tupleMult(TupleArgs a, std::size_t, HTuple* r) {
  underName("tuple_mult", r, [&] { return *a[0] * *a[1]; });
}
void tupleDiv(TupleArgs a, std::size_t, HTuple* r) {
  underName("tuple_div", r, [&] { return *a[0] / *a[1]; });
}
void tupleMod(TupleArgs a, std::size_t, HTuple* r) {
  underName("tuple_mod", r, [&] { return *a[0] % *a[1]; });
}
void tupleNeg(TupleArgs a, std::size_t, HTuple* r) {
  underName("tuple_neg", r, [&] { return -*a[0]; });
}

void tupleAbs(TupleArgs a, std::size_t, HTuple* r) {
  keepKind(
      "tuple_abs", *a[0], r,
      [](Hlong x) { return x < 0 ? static_cast<Hlong>(UHlong{0} - static_cast<UHlong>(x)) : x; },
      [](double x) { return std::fabs(x); });
}
void tupleFabs(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_fabs", *a[0], r, [](double x) { return std::fabs(x); });
}
void tupleCeil(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_ceil", *a[0], r, [](double x) { return std::ceil(x); });
}
void tupleFloor(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_floor", *a[0], r, [](double x) { return std::floor(x); });
}
void tupleSqrt(TupleArgs a, std::size_t, HTuple* r) {
  realFunction(
      "tuple_sqrt", *a[0], r, [](double x) { return std::sqrt(x); }, nonNegative);
}
void tupleExp(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_exp", *a[0], r, [](double x) { return std::exp(x); });
}
void tupleLog(TupleArgs a, std::size_t, HTuple* r) {
  realFunction(
      "tuple_log", *a[0], r, [](double x) { return std::log(x); }, positive);
}
void tupleLog10(TupleArgs a, std::size_t, HTuple* r) {
  realFunction(
      "tuple_log10", *a[0], r, [](double x) { return std::log10(x); }, positive);
}
void tupleSin(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_sin", *a[0], r, [](double x) { return std::sin(x); });
}
void tupleCos(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_cos", *a[0], r, [](double x) { return std::cos(x); });
}
void tupleTan(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_tan", *a[0], r, [](double x) { return std::tan(x); });
}
void tupleAsin(TupleArgs a, std::size_t, HTuple* r) {
  realFunction(
      "tuple_asin", *a[0], r, [](double x) { return std::asin(x); }, unitRange);
}
void tupleAcos(TupleArgs a, std::size_t, HTuple* r) {
  realFunction(
      "tuple_acos", *a[0], r, [](double x) { return std::acos(x); }, unitRange);
}
void tupleAtan(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_atan", *a[0], r, [](double x) { return std::atan(x); });
}
void tupleSinh(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_sinh", *a[0], r, [](double x) { return std::sinh(x); });
}
void tupleCosh(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_cosh", *a[0], r, [](double x) { return std::cosh(x); });
}
void tupleTanh(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_tanh", *a[0], r, [](double x) { return std::tanh(x); });
}
void tupleDeg(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_deg", *a[0], r, [](double x) { return x * 180.0 / kPi; });
}
void tupleRad(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_rad", *a[0], r, [](double x) { return x * kPi / 180.0; });
}
void tupleReal(TupleArgs a, std::size_t, HTuple* r) {
  realFunction("tuple_real", *a[0], r, [](double x) { return x; });
}

void tupleInt(TupleArgs a, std::size_t, HTuple* r) {
  keepKind(
      "tuple_int", *a[0], r, [](Hlong x) { return x; },
      [](double x) { return integerOf("tuple_int", std::trunc(x)); });
}
// Halves round away from zero.
void tupleRound(TupleArgs a, std::size_t, HTuple* r) {
  keepKind(
      "tuple_round", *a[0], r, [](Hlong x) { return x; },
      [](double x) { return integerOf("tuple_round", std::round(x)); });
}
void tupleSgn(TupleArgs a, std::size_t, HTuple* r) {
  keepKind(
      "tuple_sgn", *a[0], r, [](Hlong x) { return Hlong{x > 0} - Hlong{x < 0}; },
      [](double x) { return Hlong{x > 0} - Hlong{x < 0}; });
}

void tupleAtan2(TupleArgs a, std::size_t, HTuple* r) {
  realFunction2("tuple_atan2", *a[0], *a[1], r,
                [](double y, double x) { return std::atan2(y, x); });
}
void tuplePow(TupleArgs a, std::size_t, HTuple* r) {
  realFunction2("tuple_pow", *a[0], *a[1], r, [](double x, double y) { return std::pow(x, y); });
}
void tupleFmod(TupleArgs a, std::size_t, HTuple* r) {
  realFunction2("tuple_fmod", *a[0], *a[1], r, [](double x, double y) { return std::fmod(x, y); });
}
void tupleLdexp(TupleArgs a, std::size_t, HTuple* r) {
  realFunction2("tuple_ldexp", *a[0], *a[1], r, [](double x, double e) {
    // Beyond these exponents every finite result is 0 or infinite anyway.
    return std::ldexp(x,
                      static_cast<int>(std::fmax(-100000.0, std::fmin(100000.0, std::trunc(e)))));
  });
}

// Both integers give an integer; a real on either side gives a real.
template <bool kMax>
void pairExtreme(const char* op, const HTuple& a, const HTuple& b, HTuple* r) {
  const Hlong n = pairLength(op, a, b);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    const Hlong ia = spread(a, i), ib = spread(b, i);
    if (isString(a, ia)) wrongType(op, 0);
    if (isString(b, ib)) wrongType(op, 1);
    if (isInteger(a, ia) && isInteger(b, ib)) {
      const Hlong x = a[ia].L(), y = b[ib].L();
      out.Append(HTuple(kMax ? (x > y ? x : y) : (x < y ? x : y)));
    } else {
      const double x = a[ia].D(), y = b[ib].D();
      out.Append(HTuple(kMax ? (x > y ? x : y) : (x < y ? x : y)));
    }
  }
  *r = std::move(out);
}

void tupleMin2(TupleArgs a, std::size_t, HTuple* r) {
  pairExtreme<false>("tuple_min2", *a[0], *a[1], r);
}
void tupleMax2(TupleArgs a, std::size_t, HTuple* r) {
  pairExtreme<true>("tuple_max2", *a[0], *a[1], r);
}

void tupleBand(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_band", *a[0], *a[1], r, [](Hlong x, Hlong y) { return x & y; });
}
void tupleBor(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_bor", *a[0], *a[1], r, [](Hlong x, Hlong y) { return x | y; });
}
void tupleBxor(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_bxor", *a[0], *a[1], r, [](Hlong x, Hlong y) { return x ^ y; });
}
void tupleBnot(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i)
    out.Append(HTuple(~integerAt("tuple_bnot", 0, *a[0], i)));
  *r = std::move(out);
}

// Shifts as the machine word does, without the undefined cases of C++: a shift by the
// word's width or more leaves 0 (or the sign, shifting right).
void tupleLsh(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_lsh", *a[0], *a[1], r, [](Hlong x, Hlong s) {
    if (s < 0) wrongValue("tuple_lsh", 1);
    if (s >= std::numeric_limits<UHlong>::digits) return Hlong{0};
    return static_cast<Hlong>(static_cast<UHlong>(x) << s);
  });
}
void tupleRsh(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_rsh", *a[0], *a[1], r, [](Hlong x, Hlong s) {
    if (s < 0) wrongValue("tuple_rsh", 1);
    if (s >= std::numeric_limits<UHlong>::digits) return Hlong{x < 0 ? -1 : 0};
    return x >= 0 ? x >> s : ~(~x >> s);
  });
}

// The logical operations take integers, nonzero meaning true, and give 1 or 0.
void tupleAnd(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_and", *a[0], *a[1], r, [](Hlong x, Hlong y) { return Hlong{x && y}; });
}
void tupleOr(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_or", *a[0], *a[1], r, [](Hlong x, Hlong y) { return Hlong{x || y}; });
}
void tupleXor(TupleArgs a, std::size_t, HTuple* r) {
  integerFunction2("tuple_xor", *a[0], *a[1], r, [](Hlong x, Hlong y) { return Hlong{!x != !y}; });
}
void tupleNot(TupleArgs a, std::size_t, HTuple* r) {
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i)
    out.Append(HTuple(Hlong{!integerAt("tuple_not", 0, *a[0], i)}));
  *r = std::move(out);
}

// Whole tuples compare as the tuple class compares them.
template <typename Compare>
void compareTuples(const char* op, TupleArgs a, HTuple* r, Compare compare) {
  underName(op, r, [&] { return HTuple(Hlong{compare(*a[0], *a[1])}); });
}
void tupleEqual(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_equal", a, r, [](const HTuple& x, const HTuple& y) { return x == y; });
}
void tupleNotEqual(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_not_equal", a, r, [](const HTuple& x, const HTuple& y) { return x != y; });
}
void tupleLess(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_less", a, r, [](const HTuple& x, const HTuple& y) { return x < y; });
}
void tupleGreater(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_greater", a, r, [](const HTuple& x, const HTuple& y) { return x > y; });
}
void tupleLessEqual(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_less_equal", a, r, [](const HTuple& x, const HTuple& y) { return x <= y; });
}
void tupleGreaterEqual(TupleArgs a, std::size_t, HTuple* r) {
  compareTuples("tuple_greater_equal", a, r,
                [](const HTuple& x, const HTuple& y) { return x >= y; });
}

// Element by element: equal lengths pair up, a single element meets each of the other's, and
// an empty side gives an empty result. Each pair compares as one-element tuples do, so that
// T1 [<] T2 and tuple_less agree on mixed numbers and strings.
template <typename Compare>
void compareElementwise(const char* op, TupleArgs a, HTuple* r, Compare compare) {
  const HTuple &x = *a[0], &y = *a[1];
  const Hlong n = pairLength(op, x, y);
  HTuple out;
  for (Hlong i = 0; i < n; ++i) {
    HTuple left, right;
    appendElement(&left, x, spread(x, i));
    appendElement(&right, y, spread(y, i));
    out.Append(HTuple(Hlong{compare(left, right)}));
  }
  *r = std::move(out);
}
void tupleEqualElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_equal_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x == y; });
}
void tupleNotEqualElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_not_equal_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x != y; });
}
void tupleLessElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_less_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x < y; });
}
void tupleGreaterElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_greater_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x > y; });
}
void tupleLessEqualElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_less_equal_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x <= y; });
}
void tupleGreaterEqualElem(TupleArgs a, std::size_t, HTuple* r) {
  compareElementwise("tuple_greater_equal_elem", a, r,
                     [](const HTuple& x, const HTuple& y) { return x >= y; });
}

}  // namespace Standin
}  // namespace HDevEngineCpp
