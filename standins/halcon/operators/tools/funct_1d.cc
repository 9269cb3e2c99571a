#include "operators/tools/funct_1d.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/params.h"

namespace HalconCpp {
namespace Standin {

Function1d functionOf(const HTuple& value, const char* op, int n) {
  const Hlong length = value.Length();
  if (length < 1) fail(op, 1400 + n);
  const double kind = numberAt(value, 0, op, n);
  Function1d f;
  if (kind == 0) {
    if (length < 4) fail(op, 1400 + n);
    const double dx = numberAt(value, 1, op, n), x0 = numberAt(value, 2, op, n);
    if (!(dx > 0) || !std::isfinite(dx) || !std::isfinite(x0)) fail(op, 1300 + n);
    for (Hlong i = 3; i < length; ++i) {
      f.x.push_back(x0 + dx * double(i - 3));
      f.y.push_back(numberAt(value, i, op, n));
    }
    f.equidistant = true;
    return f;
  }
  if (kind != 1) fail(op, 1300 + n);
  if (length < 3 || (length - 1) % 2 != 0) fail(op, 1400 + n);
  const Hlong count = (length - 1) / 2;
  for (Hlong i = 0; i < count; ++i) {
    f.x.push_back(numberAt(value, 1 + i, op, n));
    f.y.push_back(numberAt(value, 1 + count + i, op, n));
    if (i > 0 && !(f.x[std::size_t(i)] > f.x[std::size_t(i - 1)])) fail(op, 1300 + n);
  }
  return f;
}

HTuple functionTuple(const Function1d& f) {
  HTuple out;
  if (f.equidistant) {
    const double dx = f.x.size() > 1 ? f.x[1] - f.x[0] : 1.0;
    out.Append(HTuple(Hlong(0)));
    out.Append(HTuple(dx));
    out.Append(HTuple(f.x.empty() ? 0.0 : f.x[0]));
  } else {
    out.Append(HTuple(Hlong(1)));
    for (const double x : f.x) out.Append(HTuple(x));
  }
  for (const double y : f.y) out.Append(HTuple(y));
  return out;
}

Function1d samples(double x0, double dx, std::vector<double> y) {
  Function1d f;
  for (std::size_t i = 0; i < y.size(); ++i) f.x.push_back(x0 + dx * double(i));
  f.y = std::move(y);
  f.equidistant = true;
  return f;
}

Function1d pairs(std::vector<double> x, std::vector<double> y) {
  Function1d f;
  f.x = std::move(x);
  f.y = std::move(y);
  return f;
}

Border borderOf(const HTuple& value, const char* op, int n, bool withError) {
  const std::string name = oneString(value, op, n);
  if (name == "zero") return Border::Zero;
  if (name == "constant") return Border::Constant;
  if (name == "mirror") return Border::Mirror;
  if (name == "cyclic") return Border::Cyclic;
  if (withError && name == "error") return Border::Error;
  fail(op, 1300 + n);
}

bool valueAt(const Function1d& f, double x, Border border, double* y) {
  const double lo = f.x.front(), hi = f.x.back(), span = hi - lo;
  if (!std::isfinite(x)) return false;
  if (x < lo || x > hi) {
    switch (border) {
      case Border::Error:
        return false;
      case Border::Zero:
        *y = 0;
        return true;
      case Border::Constant:
        *y = x < lo ? f.y.front() : f.y.back();
        return true;
      case Border::Mirror:
        if (span > 0) {
          // Mirrored at both ends: the function repeats every two spans.
          double t = std::fmod(x - lo, 2 * span);
          if (t < 0) t += 2 * span;
          x = t <= span ? lo + t : lo + 2 * span - t;
        }
        break;
      case Border::Cyclic:
        if (span > 0) {
          double t = std::fmod(x - lo, span);
          if (t < 0) t += span;
          x = lo + t;
        }
        break;
    }
    x = std::clamp(x, lo, hi);
  }
  const auto upper = std::upper_bound(f.x.begin(), f.x.end(), x);
  if (upper == f.x.end()) {
    *y = f.y.back();
    return true;
  }
  const auto i = static_cast<std::size_t>(upper - f.x.begin());
  if (i == 0) {
    *y = f.y.front();
    return true;
  }
  const double t = (x - f.x[i - 1]) / (f.x[i] - f.x[i - 1]);
  *y = f.y[i - 1] + t * (f.y[i] - f.y[i - 1]);
  return true;
}

}  // namespace Standin
}  // namespace HalconCpp
