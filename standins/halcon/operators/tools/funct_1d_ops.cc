// Functions made, read and changed point by point (HALCON 11.0 "Tools / Function"): their
// pairs, ranges and values between points (linear), their y values scaled, and their x and y
// transformed, sampled, inverted and composed.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsTools.h"
#include "operators/tools/funct_1d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// More samples than this would only exhaust memory.
constexpr double kMaxSamples = 1 << 24;

HTuple realsOf(const std::vector<double>& values) {
  HTuple out;
  for (const double v : values) out.Append(HTuple(v));
  return out;
}

std::vector<double> numbersOf(const HTuple& value, const char* op, int n) {
  std::vector<double> out;
  for (Hlong i = 0; i < value.Length(); ++i) out.push_back(numberAt(value, i, op, n));
  return out;
}

template <typename Fn>
void mapY(const HTuple& Function, HTuple* Out, const char* op, Fn&& fn) {
  Function1d f = functionOf(Function, op, 1);
  for (double& y : f.y) y = fn(y);
  setOutput(Out, functionTuple(f));
}

}  // namespace

void CreateFunct1dArray(const HTuple& YValues, HTuple* Function) {
  ApiScope scope("CreateFunct1dArray");
  const char* op = "create_funct_1d_array";
  std::vector<double> y = numbersOf(YValues, op, 1);
  if (y.empty()) fail(op, 1401);
  setOutput(Function, functionTuple(samples(0, 1, std::move(y))));
}

void CreateFunct1dPairs(const HTuple& XValues, const HTuple& YValues, HTuple* Function) {
  ApiScope scope("CreateFunct1dPairs");
  const char* op = "create_funct_1d_pairs";
  std::vector<double> x = numbersOf(XValues, op, 1);
  if (x.empty()) fail(op, 1401);
  requireLength(YValues, XValues.Length(), op, 2);
  for (std::size_t i = 1; i < x.size(); ++i) {
    if (!(x[i] > x[i - 1])) fail(op, 1301);
  }
  setOutput(Function, functionTuple(pairs(std::move(x), numbersOf(YValues, op, 2))));
}

void Funct1dToPairs(const HTuple& Function, HTuple* XValues, HTuple* YValues) {
  ApiScope scope("Funct1dToPairs");
  const Function1d f = functionOf(Function, "funct_1d_to_pairs", 1);
  setOutput(XValues, realsOf(f.x));
  setOutput(YValues, realsOf(f.y));
}

void GetPairFunct1d(const HTuple& Function, const HTuple& Index, HTuple* X, HTuple* Y) {
  ApiScope scope("GetPairFunct1d");
  const char* op = "get_pair_funct_1d";
  const Function1d f = functionOf(Function, op, 1);
  HTuple xs, ys;
  for (Hlong i = 0; i < Index.Length(); ++i) {
    const Hlong k = integerAt(Index, i, op, 2);
    if (k < 0 || k >= Hlong(f.x.size())) fail(op, 1302);
    xs.Append(HTuple(f.x[std::size_t(k)]));
    ys.Append(HTuple(f.y[std::size_t(k)]));
  }
  setOutput(X, xs);
  setOutput(Y, ys);
}

void GetYValueFunct1d(const HTuple& Function, const HTuple& X, const HTuple& BorderMode,
                      HTuple* Y) {
  ApiScope scope("GetYValueFunct1d");
  const char* op = "get_y_value_funct_1d";
  const Function1d f = functionOf(Function, op, 1);
  const Border border = borderOf(BorderMode, op, 3, true);
  HTuple ys;
  for (const double x : numbersOf(X, op, 2)) {
    double y;
    if (!valueAt(f, x, border, &y)) fail(op, 1302);
    ys.Append(HTuple(y));
  }
  setOutput(Y, ys);
}

void NumPointsFunct1d(const HTuple& Function, HTuple* Length) {
  ApiScope scope("NumPointsFunct1d");
  const Function1d f = functionOf(Function, "num_points_funct_1d", 1);
  setOutput(Length, HTuple(Hlong(f.x.size())));
}

void XRangeFunct1d(const HTuple& Function, HTuple* XMin, HTuple* XMax) {
  ApiScope scope("XRangeFunct1d");
  const Function1d f = functionOf(Function, "x_range_funct_1d", 1);
  setOutput(XMin, HTuple(f.x.front()));
  setOutput(XMax, HTuple(f.x.back()));
}

void YRangeFunct1d(const HTuple& Function, HTuple* YMin, HTuple* YMax) {
  ApiScope scope("YRangeFunct1d");
  const Function1d f = functionOf(Function, "y_range_funct_1d", 1);
  setOutput(YMin, HTuple(*std::min_element(f.y.begin(), f.y.end())));
  setOutput(YMax, HTuple(*std::max_element(f.y.begin(), f.y.end())));
}

void ScaleYFunct1d(const HTuple& Function, const HTuple& Mult, const HTuple& Add,
                   HTuple* FunctionScaled) {
  ApiScope scope("ScaleYFunct1d");
  const char* op = "scale_y_funct_1d";
  const double mult = oneNumber(Mult, op, 2), add = oneNumber(Add, op, 3);
  mapY(Function, FunctionScaled, op, [=](double y) { return y * mult + add; });
}

void NegateFunct1d(const HTuple& Function, HTuple* FunctionInverted) {
  ApiScope scope("NegateFunct1d");
  mapY(Function, FunctionInverted, "negate_funct_1d", [](double y) { return -y; });
}

void AbsFunct1d(const HTuple& Function, HTuple* FunctionAbsolute) {
  ApiScope scope("AbsFunct1d");
  mapY(Function, FunctionAbsolute, "abs_funct_1d", [](double y) { return std::fabs(y); });
}

void TransformFunct1d(const HTuple& Function, const HTuple& Params, HTuple* TransformedFunction) {
  ApiScope scope("TransformFunct1d");
  const char* op = "transform_funct_1d";
  Function1d f = functionOf(Function, op, 1);
  requireLength(Params, 4, op, 2);
  const std::vector<double> a = numbersOf(Params, op, 2);
  // x -> a3 x + a4 must keep the points apart.
  if (a[2] == 0 || !std::isfinite(a[2])) fail(op, 1302);
  for (double& x : f.x) x = a[2] * x + a[3];
  for (double& y : f.y) y = a[0] * y + a[1];
  if (a[2] < 0) {
    std::reverse(f.x.begin(), f.x.end());
    std::reverse(f.y.begin(), f.y.end());
  }
  setOutput(TransformedFunction, functionTuple(f));
}

void SampleFunct1d(const HTuple& Function, const HTuple& XMin, const HTuple& XMax,
                   const HTuple& XDist, const HTuple& Border, HTuple* SampledFunction) {
  ApiScope scope("SampleFunct1d");
  const char* op = "sample_funct_1d";
  const Function1d f = functionOf(Function, op, 1);
  const double lo = oneNumber(XMin, op, 2), hi = oneNumber(XMax, op, 3);
  const double dist = oneNumber(XDist, op, 4);
  const Standin::Border border = borderOf(Border, op, 5, false);
  if (!std::isfinite(lo)) fail(op, 1302);
  if (!std::isfinite(hi) || hi < lo) fail(op, 1303);
  if (!(dist > 0) || !std::isfinite(dist)) fail(op, 1304);
  // XMax itself is a sample when the steps reach it up to rounding.
  const double steps = std::floor((hi - lo) / dist + 1e-9);
  if (steps + 1 > kMaxSamples) fail(op, 1304);
  std::vector<double> y;
  for (double k = 0; k <= steps; ++k) {
    double v = 0;
    valueAt(f, lo + k * dist, border, &v);
    y.push_back(v);
  }
  setOutput(SampledFunction, functionTuple(samples(lo, dist, std::move(y))));
}

void InvertFunct1d(const HTuple& Function, HTuple* InverseFunction) {
  ApiScope scope("InvertFunct1d");
  const char* op = "invert_funct_1d";
  Function1d f = functionOf(Function, op, 1);
  bool rising = true, falling = true;
  for (std::size_t i = 1; i < f.y.size(); ++i) {
    rising = rising && f.y[i] > f.y[i - 1];
    falling = falling && f.y[i] < f.y[i - 1];
  }
  // Only a strictly monotonic function has an inverse.
  if (!rising && !falling) fail(op, 1301);
  if (!rising) {
    std::reverse(f.x.begin(), f.x.end());
    std::reverse(f.y.begin(), f.y.end());
  }
  setOutput(InverseFunction, functionTuple(pairs(f.y, f.x)));
}

void ComposeFunct1d(const HTuple& Function1, const HTuple& Function2, const HTuple& Border,
                    HTuple* ComposedFunction) {
  ApiScope scope("ComposeFunct1d");
  const char* op = "compose_funct_1d";
  Function1d f = functionOf(Function1, op, 1);
  const Function1d g = functionOf(Function2, op, 2);
  const Standin::Border border = borderOf(Border, op, 3, false);
  for (double& y : f.y) {
    double v = 0;
    valueAt(g, y, border, &v);
    y = v;
  }
  setOutput(ComposedFunction, functionTuple(f));
}

}  // namespace HalconCpp
