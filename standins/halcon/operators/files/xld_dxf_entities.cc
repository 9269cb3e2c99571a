#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "operators/files/xld_dxf.h"
#include "operators/files/xld_text.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr double kTwoPi = 2 * kPi;
// INSERT of a block inside a block, this deep at most: deeper ones are left out.
constexpr int kMaxInsertDepth = 8;

// The first group of the code as a number, or `fallback` when the entity has none.
double numberOf(const DxfEntity& e, int code, double fallback, const char* op) {
  for (const DxfGroup& g : e.groups) {
    if (g.code == code) return dxfNumber(g, op);
  }
  return fallback;
}

// Flags and counts: integers of at most nine digits, else kDxfUnreadable.
long integerOf(const DxfEntity& e, int code, long fallback, const char* op) {
  const double value = numberOf(e, code, static_cast<double>(fallback), op);
  if (!(std::fabs(value) < 1e9) || value != std::floor(value)) fail(op, kDxfUnreadable);
  return static_cast<long>(value);
}

std::string textOf(const DxfEntity& e, int code) {
  for (const DxfGroup& g : e.groups) {
    if (g.code == code) return g.value;
  }
  return std::string();
}

// Points of the elliptic arc c + u cos t + v sin t for t from t0 over `span` (signed), where
// v is u turned a quarter counter-clockwise and scaled by `ratio`. Enough chords that none
// leaves the curve by more than the error, and at least minPoints a full turn.
void sampleArc(double cx, double cy, double ux, double uy, double ratio, double t0, double span,
               const DxfOptions& options, const char* op, std::size_t* points,
               std::vector<double>* xs, std::vector<double>* ys, bool skipFirst) {
  const double vx = -uy * ratio, vy = ux * ratio;
  const double reach = std::max(std::hypot(ux, uy), std::hypot(vx, vy));
  const double turn = std::fabs(span);
  double segments = std::ceil(options.minPoints * turn / kTwoPi - 1e-9);
  if (reach > 0 && turn > 0) {
    // A chord over the angle a leaves a circle of radius R by R (1 - cos(a / 2)).
    const double step = 2 * std::acos(std::max(-1.0, 1 - options.maxError / reach));
    segments = std::max(segments, std::ceil(turn / step - 1e-9));
  }
  segments = std::max(segments, 1.0);
  if (!(segments < static_cast<double>(kMaxXldFilePoints))) fail(op, H_ERR_NO_MEMORY);
  const auto n = static_cast<std::size_t>(segments);
  countXldPoints(points, n + 1, op);
  const bool full = std::fabs(turn - kTwoPi) < 1e-9;
  for (std::size_t k = skipFirst ? 1 : 0; k <= n; ++k) {
    if (full && k == n && !xs->empty()) {
      xs->push_back((*xs)[xs->size() - n]);
      ys->push_back((*ys)[ys->size() - n]);
      break;
    }
    const double t = t0 + span * static_cast<double>(k) / static_cast<double>(n);
    xs->push_back(cx + ux * std::cos(t) + vx * std::sin(t));
    ys->push_back(cy + uy * std::cos(t) + vy * std::sin(t));
  }
}

// A polyline segment with a bulge: the tangent of a quarter of its included angle (positive
// counter-clockwise). The points after the first, up to and with (x1, y1).
void bulgeSegment(double x0, double y0, double x1, double y1, double bulge,
                  const DxfOptions& options, const char* op, std::size_t* points,
                  std::vector<double>* xs, std::vector<double>* ys) {
  const double dx = x1 - x0, dy = y1 - y0, chord = std::hypot(dx, dy);
  if (bulge == 0 || chord == 0) {
    countXldPoints(points, 1, op);
    xs->push_back(x1);
    ys->push_back(y1);
    return;
  }
  const double angle = 4 * std::atan(bulge);
  // The centre lies on the chord's normal, left of it for a counter-clockwise arc.
  const double offset = chord / (2 * std::tan(angle / 2));
  const double cx = (x0 + x1) / 2 - dy / chord * offset, cy = (y0 + y1) / 2 + dx / chord * offset;
  const double radius = std::hypot(x0 - cx, y0 - cy);
  const double t0 = std::atan2(y0 - cy, x0 - cx);
  sampleArc(cx, cy, radius, 0, 1, t0, angle, options, op, points, xs, ys, true);
  xs->back() = x1;  // the arc ends exactly on the next vertex
  ys->back() = y1;
}

// A span of angles from `start` counter-clockwise to `end`, in (0, 2 pi].
double spanOf(double start, double end) {
  double span = std::fmod(end - start, kTwoPi);
  if (span <= 1e-12) span += kTwoPi;
  return span;
}

DxfCurve curveOf(const std::vector<double>& xs, const std::vector<double>& ys) {
  DxfCurve curve;
  curve.cols = xs;
  curve.rows = ys;
  return curve;
}

// A B-spline (rational when it has weights) by de Boor's algorithm.
struct Spline {
  int degree;
  std::vector<double> knots, xs, ys, weights;

  void at(double t, double* x, double* y) const {
    const std::size_t n = xs.size();
    std::size_t k = static_cast<std::size_t>(degree);
    while (k + 1 < n && knots[k + 1] <= t) ++k;
    const auto p = static_cast<std::size_t>(degree);
    std::vector<double> hx(p + 1), hy(p + 1), hw(p + 1);
    for (std::size_t j = 0; j <= p; ++j) {
      const std::size_t i = k - p + j;
      hw[j] = weights[i];
      hx[j] = xs[i] * weights[i];
      hy[j] = ys[i] * weights[i];
    }
    for (std::size_t r = 1; r <= p; ++r) {
      for (std::size_t j = p; j >= r; --j) {
        const std::size_t i = k - p + j;
        const double span = knots[i + p + 1 - r] - knots[i];
        const double a = span > 0 ? (t - knots[i]) / span : 0;
        hx[j] = (1 - a) * hx[j - 1] + a * hx[j];
        hy[j] = (1 - a) * hy[j - 1] + a * hy[j];
        hw[j] = (1 - a) * hw[j - 1] + a * hw[j];
      }
    }
    *x = hx[p] / hw[p];
    *y = hy[p] / hw[p];
  }
};

double distanceToChord(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// The points after (ax, ay) up to (bx, by): halves the parameter interval while its middle
// lies farther than the error from the chord.
void refine(const Spline& s, double ta, double ax, double ay, double tb, double bx, double by,
            int depth, double error, const char* op, std::size_t* points, std::vector<double>* xs,
            std::vector<double>* ys) {
  const double tm = (ta + tb) / 2;
  double mx = 0, my = 0;
  s.at(tm, &mx, &my);
  if (depth < 24 && distanceToChord(mx, my, ax, ay, bx, by) > error) {
    refine(s, ta, ax, ay, tm, mx, my, depth + 1, error, op, points, xs, ys);
    refine(s, tm, mx, my, tb, bx, by, depth + 1, error, op, points, xs, ys);
    return;
  }
  countXldPoints(points, 1, op);
  xs->push_back(bx);
  ys->push_back(by);
}

}  // namespace

std::vector<DxfList> dxfLists(const DxfEntity& e, const char* op) {
  std::vector<DxfList> lists;
  auto g = e.groups.begin();
  while (g != e.groups.end() && !(g->code == 1001 && g->value == kDxfApplication)) ++g;
  if (g == e.groups.end()) return lists;
  auto next = [&]() -> const DxfGroup& {
    if (++g == e.groups.end()) fail(op, kDxfAttributes);
    return *g;
  };
  for (;;) {
    if (g + 1 == e.groups.end() || (g + 1)->code == 1001) return lists;
    DxfList list;
    const DxfGroup& meaning = next();
    if (meaning.code != 1000) fail(op, kDxfAttributes);
    list.meaning = meaning.value;
    const DxfGroup& open = next();
    const DxfGroup& count = next();
    if (open.code != 1002 || open.value != "{" || count.code != 1070) fail(op, kDxfAttributes);
    const double n = dxfNumber(count, op);
    if (!(n >= 0 && n <= 32767)) fail(op, kDxfAttributes);
    for (double k = 0; k < n; ++k) {
      const DxfGroup& item = next();
      if (item.code == 1000 && list.values.empty()) {
        list.names = true;
        list.texts.push_back(item.value);
      } else if (item.code == 1040 && list.texts.empty()) {
        list.values.push_back(dxfNumber(item, op));
      } else {
        fail(op, kDxfAttributes);
      }
    }
    const DxfGroup& close = next();
    if (close.code != 1002 || close.value != "}") fail(op, kDxfAttributes);
    lists.push_back(std::move(list));
  }
}

double dxfNumber(const DxfGroup& group, const char* op) {
  double value = 0;
  if (!parseXldNumber(group.value, &value)) fail(op, kDxfUnreadable);
  return value;
}

DxfBuilder::DxfBuilder(const DxfOptions& options, const char* op, std::size_t* points,
                       std::shared_ptr<DxfBlocks> blocks, int depth)
    : options_(options), op_(op), points_(points), blocks_(std::move(blocks)), depth_(depth) {}

void DxfBuilder::warn(const std::string& text) {
  if (std::find(warnings.begin(), warnings.end(), text) == warnings.end()) {
    warnings.push_back(text);
  }
}

void DxfBuilder::addCurve(DxfCurve curve) {
  if (curve.rows.empty()) return;
  // Numbers near the end of the double range can overflow on the way (a scale, a radius).
  const auto finite = [](double v) { return std::isfinite(v); };
  if (!std::all_of(curve.rows.begin(), curve.rows.end(), finite) ||
      !std::all_of(curve.cols.begin(), curve.cols.end(), finite)) {
    return warn("DXF entity beyond the range of numbers ignored");
  }
  curves.push_back(std::move(curve));
}

void DxfBuilder::add(const DxfEntity& e) {
  if (inPolyline_) {
    if (e.type == "VERTEX") return addVertex(e);
    // SEQEND ends the vertices; any other entity ends them as well.
    endPolyline();
    if (e.type == "SEQEND") return;
  }
  if (e.type == "LINE") {
    countXldPoints(points_, 2, op_);
    addCurve(curveOf({numberOf(e, 10, 0, op_), numberOf(e, 11, 0, op_)},
                     {numberOf(e, 20, 0, op_), numberOf(e, 21, 0, op_)}));
  } else if (e.type == "POINT") {
    countXldPoints(points_, 1, op_);
    addCurve(curveOf({numberOf(e, 10, 0, op_)}, {numberOf(e, 20, 0, op_)}));
  } else if (e.type == "POLYLINE") {
    beginPolyline(e);
  } else if (e.type == "LWPOLYLINE") {
    addLwPolyline(e);
  } else if (e.type == "CIRCLE" || e.type == "ARC") {
    addArc(e, e.type == "CIRCLE");
  } else if (e.type == "ELLIPSE") {
    addEllipse(e);
  } else if (e.type == "SPLINE") {
    addSpline(e);
  } else if (e.type == "INSERT") {
    addInsert(e);
  } else if (e.type != "SEQEND" && e.type != "VERTEX") {
    warn("Unsupported DXF entity ignored: " + e.type);
  }
}

void DxfBuilder::finish() {
  if (inPolyline_) fail(op_, kDxfEndOfFile);
}

void DxfBuilder::beginPolyline(const DxfEntity& e) {
  const long flags = integerOf(e, 70, 0, op_);
  inPolyline_ = true;
  closed_ = (flags & 1) != 0;
  xs_.clear();
  ys_.clear();
  bulges_.clear();
  attribNames_.clear();
  attribValues_.clear();
  globals_.clear();
  if (!options_.attributes) return;
  // The POLYLINE's lists: the global attributes' values, the attributes' names and the
  // global attributes' names, told apart by their meaning and the kind of their items.
  std::vector<std::string> globalNames;
  std::vector<double> globalValues;
  for (DxfList& list : dxfLists(e, op_)) {
    const bool global = list.meaning.find("global") != std::string::npos;
    if (list.names || list.meaning.find("name") != std::string::npos) {
      (global ? globalNames : attribNames_) = std::move(list.texts);
    } else if (global) {
      globalValues = std::move(list.values);
    }
  }
  if (globalNames.size() != globalValues.size()) fail(op_, kDxfAttributes);
  for (std::size_t k = 0; k < globalNames.size(); ++k) {
    globals_.emplace_back(std::move(globalNames[k]), globalValues[k]);
  }
  attribValues_.resize(attribNames_.size());
}

void DxfBuilder::addVertex(const DxfEntity& e) {
  // Spline frame control points only shape a fitted curve; they are not on it.
  if ((integerOf(e, 70, 0, op_) & 16) != 0) return;
  countXldPoints(points_, 1, op_);
  xs_.push_back(numberOf(e, 10, 0, op_));
  ys_.push_back(numberOf(e, 20, 0, op_));
  bulges_.push_back(numberOf(e, 42, 0, op_));
  if (attribNames_.empty()) return;
  // Every VERTEX holds one value per attribute the POLYLINE names.
  std::vector<double> values;
  for (DxfList& list : dxfLists(e, op_)) {
    if (!list.names) values = std::move(list.values);
  }
  if (values.size() != attribNames_.size()) fail(op_, kDxfAttributes);
  for (std::size_t k = 0; k < values.size(); ++k) attribValues_[k].push_back(values[k]);
}

void DxfBuilder::endPolyline() {
  inPolyline_ = false;
  if (xs_.empty()) return;
  const bool bulged = std::any_of(bulges_.begin(), bulges_.end(), [](double b) { return b != 0; });
  if (!bulged) {
    // Vertex for vertex, so that the point attributes stay with their points.
    DxfCurve curve = curveOf(xs_, ys_);
    if (closed_ && xs_.size() > 1) {
      countXldPoints(points_, 1, op_);
      curve.cols.push_back(xs_.front());
      curve.rows.push_back(ys_.front());
      for (std::vector<double>& values : attribValues_) values.push_back(values.front());
    }
    for (std::size_t k = 0; k < attribNames_.size(); ++k) {
      curve.attribs.emplace_back(attribNames_[k], std::move(attribValues_[k]));
    }
    curve.globalAttribs = std::move(globals_);
    return addCurve(std::move(curve));
  }
  std::vector<double> xs{xs_.front()}, ys{ys_.front()};
  const std::size_t ends = closed_ ? xs_.size() : xs_.size() - 1;
  for (std::size_t i = 0; i < ends; ++i) {
    const std::size_t j = (i + 1) % xs_.size();
    bulgeSegment(xs_[i], ys_[i], xs_[j], ys_[j], bulges_[i], options_, op_, points_, &xs, &ys);
  }
  addCurve(curveOf(xs, ys));
}

void DxfBuilder::addLwPolyline(const DxfEntity& e) {
  std::vector<double> xs, ys, bulges;
  for (const DxfGroup& g : e.groups) {
    if (g.code == 10) {
      countXldPoints(points_, 1, op_);
      xs.push_back(dxfNumber(g, op_));
      ys.push_back(0);
      bulges.push_back(0);
    } else if ((g.code == 20 || g.code == 42) && !xs.empty()) {
      (g.code == 20 ? ys : bulges).back() = dxfNumber(g, op_);
    }
  }
  if (xs.empty()) return;
  const bool closed = (integerOf(e, 70, 0, op_) & 1) != 0;
  std::vector<double> outX{xs.front()}, outY{ys.front()};
  const std::size_t ends = closed && xs.size() > 1 ? xs.size() : xs.size() - 1;
  for (std::size_t i = 0; i < ends; ++i) {
    const std::size_t j = (i + 1) % xs.size();
    bulgeSegment(xs[i], ys[i], xs[j], ys[j], bulges[i], options_, op_, points_, &outX, &outY);
  }
  addCurve(curveOf(outX, outY));
}

void DxfBuilder::addArc(const DxfEntity& e, bool full) {
  const double radius = numberOf(e, 40, 0, op_);
  if (!(radius > 0)) return warn("DXF " + e.type + " without a positive radius ignored");
  double start = 0, span = kTwoPi;
  if (!full) {
    start = numberOf(e, 50, 0, op_) * kPi / 180;
    span = spanOf(start, numberOf(e, 51, 360, op_) * kPi / 180);
  }
  std::vector<double> xs, ys;
  sampleArc(numberOf(e, 10, 0, op_), numberOf(e, 20, 0, op_), radius, 0, 1, start, span, options_,
            op_, points_, &xs, &ys, false);
  addCurve(curveOf(xs, ys));
}

void DxfBuilder::addEllipse(const DxfEntity& e) {
  const double ux = numberOf(e, 11, 0, op_), uy = numberOf(e, 21, 0, op_);
  const double ratio = numberOf(e, 40, 1, op_);
  if (!(std::hypot(ux, uy) > 0) || !(ratio > 0)) {
    return warn("DXF ELLIPSE without positive axes ignored");
  }
  const double start = numberOf(e, 41, 0, op_);
  const double span = spanOf(start, numberOf(e, 42, kTwoPi, op_));
  std::vector<double> xs, ys;
  sampleArc(numberOf(e, 10, 0, op_), numberOf(e, 20, 0, op_), ux, uy, ratio, start, span, options_,
            op_, points_, &xs, &ys, false);
  addCurve(curveOf(xs, ys));
}

void DxfBuilder::addSpline(const DxfEntity& e) {
  Spline s;
  s.degree = static_cast<int>(integerOf(e, 71, 3, op_));
  std::vector<double> fitX, fitY;
  for (const DxfGroup& g : e.groups) {
    if (g.code == 40) s.knots.push_back(dxfNumber(g, op_));
    if (g.code == 41) s.weights.push_back(dxfNumber(g, op_));
    if (g.code == 10 || g.code == 11) {
      countXldPoints(points_, 1, op_);
      (g.code == 10 ? s.xs : fitX).push_back(dxfNumber(g, op_));
      (g.code == 10 ? s.ys : fitY).push_back(0);
    }
    if (g.code == 20 && !s.ys.empty()) s.ys.back() = dxfNumber(g, op_);
    if (g.code == 21 && !fitY.empty()) fitY.back() = dxfNumber(g, op_);
  }
  const std::size_t n = s.xs.size();
  if (s.weights.size() != n) s.weights.assign(n, 1.0);
  bool valid = s.degree >= 1 && s.degree <= 11 && n > static_cast<std::size_t>(s.degree) &&
               s.knots.size() == n + static_cast<std::size_t>(s.degree) + 1 &&
               std::is_sorted(s.knots.begin(), s.knots.end()) &&
               std::all_of(s.weights.begin(), s.weights.end(), [](double w) { return w > 0; });
  const auto p = static_cast<std::size_t>(std::max(s.degree, 0));
  valid = valid && s.knots[p] < s.knots[n];
  if (!valid) {
    // Without a usable knot vector, the points the curve was fitted through still lie on it.
    if (fitX.size() < 2) return warn("DXF SPLINE without a consistent knot vector ignored");
    return addCurve(curveOf(fitX, fitY));
  }
  std::vector<double> xs(1), ys(1);
  s.at(s.knots[p], &xs[0], &ys[0]);
  for (std::size_t k = p; k < n; ++k) {
    const double t0 = s.knots[k], t1 = s.knots[k + 1];
    if (!(t1 > t0)) continue;
    // Quarters of each knot span first, so that a middle on the chord ends no S-bend early.
    for (int q = 0; q < 4; ++q) {
      const double ta = t0 + (t1 - t0) * q / 4, tb = q == 3 ? t1 : t0 + (t1 - t0) * (q + 1) / 4;
      double bx = 0, by = 0;
      s.at(tb, &bx, &by);
      refine(s, ta, xs.back(), ys.back(), tb, bx, by, 0, options_.maxError, op_, points_, &xs, &ys);
    }
  }
  addCurve(curveOf(xs, ys));
}

void DxfBuilder::addInsert(const DxfEntity& e) {
  const std::string name = textOf(e, 2);
  const auto block = blocks_->find(name);
  if (block == blocks_->end()) return warn("DXF INSERT of an unknown block ignored: " + name);
  if (depth_ >= kMaxInsertDepth) return warn("DXF INSERT nested too deeply ignored: " + name);
  const double sx = numberOf(e, 41, 1, op_), sy = numberOf(e, 42, 1, op_);
  const double turn = numberOf(e, 50, 0, op_) * kPi / 180;
  const double ix = numberOf(e, 10, 0, op_), iy = numberOf(e, 20, 0, op_);
  // Curves of the block are sampled in its own units: its scale makes their error larger.
  DxfOptions scaled = options_;
  const double scale = std::max(std::fabs(sx), std::fabs(sy));
  if (scale > 0) scaled.maxError /= scale;
  // Each replay counts as points too: inserts of inserts must not multiply without bound.
  countXldPoints(points_, block->second.entities.size() + 1, op_);
  DxfBuilder inner(scaled, op_, points_, blocks_, depth_ + 1);
  for (const DxfEntity& entity : block->second.entities) inner.add(entity);
  inner.finish();
  const double c = std::cos(turn), s = std::sin(turn);
  for (DxfCurve& curve : inner.curves) {
    for (std::size_t k = 0; k < curve.rows.size(); ++k) {
      const double x = sx * (curve.cols[k] - block->second.baseX);
      const double y = sy * (curve.rows[k] - block->second.baseY);
      curve.cols[k] = ix + c * x - s * y;
      curve.rows[k] = iy + s * x + c * y;
    }
    curves.push_back(std::move(curve));
  }
  for (const std::string& w : inner.warnings) warn(w);
}

}  // namespace Standin
}  // namespace HalconCpp
