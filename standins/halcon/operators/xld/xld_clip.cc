// The region set operations as an overlay: every edge of both inputs is cut where it meets
// another, each piece learns from a ray which of the two regions lie on either side of it,
// and the pieces with the result on one side only are linked into boundaries. No step
// depends on the edges meeting in general position, so shared vertices, collinear and
// overlapping edges and self-intersections need no special path; the work is counted and
// bounded instead.
#include "operators/xld/xld_clip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "core/params.h"
#include "operators/xld/xld_params.h"

namespace HalconCpp {
namespace Standin {
namespace {

// Points closer than this (in pixels, or in scaled units for huge inputs) are one point; the
// later releases' pages of these operators treat points within 1e-6 as identical.
constexpr double kQuantum = 1.0 / 1048576;
// Inputs beyond 2^30 are scaled down by a power of two (exactly), so that no product of
// coordinates overflows and a computed crossing's rounding stays below the quantum.
constexpr int kMaxExponent = 30;
constexpr std::uint64_t kWorkBudget = 60000000;
constexpr std::size_t kMaxPieces = std::size_t{1} << 20;

struct P {
  double x;  // column
  double y;  // row
};

P minus(P a, P b) {
  return {a.x - b.x, a.y - b.y};
}
double cross(P a, P b) {
  return a.x * b.y - a.y * b.x;
}
double dot(P a, P b) {
  return a.x * b.x + a.y * b.y;
}

class Budget {
 public:
  explicit Budget(const char* op) : op_(op) {}
  void spend(std::uint64_t work) {
    used_ += work;
    if (used_ > kWorkBudget) fail(op_, 6001);
  }

 private:
  const char* op_;
  std::uint64_t used_ = 0;
};

struct Segment {
  P a, b;
  int set;  // 0 or 1
  std::vector<P> cuts;
  double minX() const { return std::min(a.x, b.x); }
  double maxX() const { return std::max(a.x, b.x); }
  double minY() const { return std::min(a.y, b.y); }
  double maxY() const { return std::max(a.y, b.y); }
};

// Whether p lies on the inside of s (not at its ends), within the quantum.
bool onSegment(P p, const Segment& s) {
  const P d = minus(s.b, s.a);
  const double length2 = dot(d, d);
  if (!(length2 > 0)) return false;
  const double t = dot(minus(p, s.a), d) / length2;
  if (!(t > 0 && t < 1)) return false;
  return std::fabs(cross(d, minus(p, s.a))) <= kQuantum * std::sqrt(length2);
}

void meet(Segment& s, Segment& t, std::size_t* cuts, const char* op) {
  const auto add = [&](Segment& to, P p) {
    if (++*cuts > kMaxPieces) fail(op, 6001);
    to.cuts.push_back(p);
  };
  if (onSegment(t.a, s)) add(s, t.a);
  if (onSegment(t.b, s)) add(s, t.b);
  if (onSegment(s.a, t)) add(t, s.a);
  if (onSegment(s.b, t)) add(t, s.b);
  const P ds = minus(s.b, s.a), dt = minus(t.b, t.a);
  const double o1 = cross(ds, minus(t.a, s.a)), o2 = cross(ds, minus(t.b, s.a));
  const double o3 = cross(dt, minus(s.a, t.a)), o4 = cross(dt, minus(s.b, t.a));
  const bool across = (o1 > 0 && o2 < 0) || (o1 < 0 && o2 > 0);
  if (!across || !((o3 > 0 && o4 < 0) || (o3 < 0 && o4 > 0))) return;
  const double u = o3 / (o3 - o4);
  const P p{s.a.x + u * ds.x, s.a.y + u * ds.y};
  add(s, p);
  add(t, p);
}

struct KeyHash {
  std::size_t operator()(const std::pair<std::int64_t, std::int64_t>& k) const {
    const std::uint64_t mixed = static_cast<std::uint64_t>(k.first) * 0x9E3779B97F4A7C15ull ^
                                static_cast<std::uint64_t>(k.second);
    return std::hash<std::uint64_t>()(mixed);
  }
};

// The points, each quantum cell one vertex holding the first coordinates that fell in it.
class Vertices {
 public:
  std::size_t of(P p) {
    const std::pair<std::int64_t, std::int64_t> key{std::llround(p.x / kQuantum),
                                                    std::llround(p.y / kQuantum)};
    const auto found = ids_.emplace(key, points.size());
    if (found.second) points.push_back(p);
    return found.first->second;
  }
  std::vector<P> points;

 private:
  std::unordered_map<std::pair<std::int64_t, std::int64_t>, std::size_t, KeyHash> ids_;
};

struct Edge {
  std::size_t u, v;
  unsigned sets;  // bit s: the edge bounds input s an odd number of times
};

// The edges crossing each band of one axis, for the rays cast along the other.
class Bands {
 public:
  Bands(const std::vector<Edge>& edges, const std::vector<P>& points, bool alongY, Budget* budget)
      : alongY_(alongY) {
    lo_ = HUGE_VAL, hi_ = -HUGE_VAL;
    for (const P& p : points) lo_ = std::min(lo_, axis(p)), hi_ = std::max(hi_, axis(p));
    const auto root = static_cast<std::size_t>(std::sqrt(static_cast<double>(edges.size())));
    count_ = std::max<std::size_t>(1, std::min<std::size_t>(4096, root));
    bands_.resize(count_);
    for (std::size_t i = 0; i < edges.size(); ++i) {
      const double a = axis(points[edges[i].u]), b = axis(points[edges[i].v]);
      const std::size_t first = band(std::min(a, b)), last = band(std::max(a, b));
      budget->spend(last - first + 1);
      for (std::size_t k = first; k <= last; ++k) bands_[k].push_back(i);
    }
  }
  const std::vector<std::size_t>& at(double value) const { return bands_[band(value)]; }

 private:
  double axis(P p) const { return alongY_ ? p.x : p.y; }
  std::size_t band(double value) const {
    if (!(hi_ > lo_)) return 0;
    const double f = (value - lo_) / (hi_ - lo_) * static_cast<double>(count_);
    return std::min(count_ - 1, static_cast<std::size_t>(std::max(0.0, f)));
  }
  bool alongY_;
  double lo_, hi_;
  std::size_t count_;
  std::vector<std::vector<std::size_t>> bands_;
};

// The parity of both inputs at m, counting the edges (other than `skip`) that a ray from m
// crosses: along +x, or along +y when `alongY`. Half-open at the ends, so that a ray through
// a vertex counts its two edges once.
unsigned parityAt(P m, std::size_t skip, bool alongY, const std::vector<Edge>& edges,
                  const std::vector<P>& points, const Bands& bands, Budget* budget) {
  const std::vector<std::size_t>& candidates = bands.at(alongY ? m.x : m.y);
  budget->spend(candidates.size());
  if (alongY) std::swap(m.x, m.y);
  unsigned parity = 0;
  for (std::size_t i : candidates) {
    if (i == skip) continue;
    P a = points[edges[i].u], b = points[edges[i].v];
    if (alongY) std::swap(a.x, a.y), std::swap(b.x, b.y);
    if ((a.y > m.y) != (b.y > m.y)) {
      const double x = a.x + (m.y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (x > m.x) parity ^= edges[i].sets;
    }
  }
  return parity;
}

bool inResult(unsigned sets, SetOperation operation) {
  const bool a = (sets & 1) != 0, b = (sets & 2) != 0;
  switch (operation) {
    case SetOperation::kIntersection:
      return a && b;
    case SetOperation::kUnion:
      return a || b;
    case SetOperation::kDifference:
      return a && !b;
    case SetOperation::kSymmetricDifference:
      return a != b;
  }
  return false;
}

// The inputs' edges in scaled units; rings with a point at infinity or NaN enclose nothing.
std::vector<Segment> segmentsOf(const std::vector<Ring>& a, const std::vector<Ring>& b, int* shift,
                                const char* op) {
  std::size_t total = 0;
  double largest = 0;
  std::vector<std::pair<std::vector<P>, int>> polylines;
  for (int set = 0; set < 2; ++set) {
    for (const Ring& ring : set ? b : a) {
      std::vector<P> points;
      bool finite = true;
      for (std::size_t i = 0; i < ring.rows->size() && finite; ++i) {
        const P p{(*ring.cols)[i], (*ring.rows)[i]};
        finite = std::isfinite(p.x) && std::isfinite(p.y);
        if (finite) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
        points.push_back(p);
      }
      total += points.size();
      if (total > kMaxContourPoints) fail(op, 6001);
      if (finite && points.size() > 2) polylines.emplace_back(std::move(points), set);
    }
  }
  *shift = largest > std::ldexp(1.0, kMaxExponent) ? kMaxExponent - std::ilogb(largest) - 1 : 0;
  std::vector<Segment> segments;
  for (auto& polyline : polylines) {
    std::vector<P>& points = polyline.first;
    for (P& p : points) p = {std::ldexp(p.x, *shift), std::ldexp(p.y, *shift)};
    for (std::size_t i = 0; i < points.size(); ++i) {
      const P from = points[i], to = points[(i + 1) % points.size()];
      if (from.x != to.x || from.y != to.y) segments.push_back({from, to, polyline.second, {}});
    }
  }
  return segments;
}

// The pieces of every edge between the points where others meet it; a piece both inputs
// (or one input twice) draw over counts once per odd number of times.
std::vector<Edge> piecesOf(std::vector<Segment>& segments, Vertices* vertices, Budget* budget,
                           const char* op) {
  std::sort(segments.begin(), segments.end(),
            [](const Segment& s, const Segment& t) { return s.minX() < t.minX(); });
  std::size_t cuts = 0;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    for (std::size_t j = i + 1; j < segments.size(); ++j) {
      if (segments[j].minX() > segments[i].maxX() + kQuantum) break;
      budget->spend(1);
      if (segments[j].minY() > segments[i].maxY() + kQuantum ||
          segments[i].minY() > segments[j].maxY() + kQuantum) {
        continue;
      }
      meet(segments[i], segments[j], &cuts, op);
    }
  }
  std::unordered_map<std::pair<std::int64_t, std::int64_t>, unsigned, KeyHash> parity;
  std::vector<std::pair<std::size_t, std::size_t>> order;
  for (Segment& s : segments) {
    const P d = minus(s.b, s.a);
    std::vector<std::pair<double, std::size_t>> along{{0.0, vertices->of(s.a)},
                                                      {1.0, vertices->of(s.b)}};
    for (const P& p : s.cuts)
      along.emplace_back(dot(minus(p, s.a), d) / dot(d, d), vertices->of(p));
    std::sort(along.begin(), along.end());
    budget->spend(along.size());
    for (std::size_t k = 1; k < along.size(); ++k) {
      const std::size_t u = along[k - 1].second, v = along[k].second;
      if (u == v) continue;
      const std::pair<std::int64_t, std::int64_t> key{static_cast<std::int64_t>(std::min(u, v)),
                                                      static_cast<std::int64_t>(std::max(u, v))};
      const auto found = parity.emplace(key, 0u);
      if (found.second) order.emplace_back(key.first, key.second);
      found.first->second ^= 1u << s.set;
    }
    std::vector<P>().swap(s.cuts);
  }
  std::vector<Edge> edges;
  for (const auto& uv : order) {
    const unsigned sets =
        parity[{static_cast<std::int64_t>(uv.first), static_cast<std::int64_t>(uv.second)}];
    if (sets) edges.push_back({uv.first, uv.second, sets});
  }
  return edges;
}

// Drops the points where the boundary runs straight on (or doubles back onto itself).
void dropStraightPoints(std::vector<P>* loop, Budget* budget) {
  bool changed = true;
  while (changed && loop->size() > 2) {
    changed = false;
    budget->spend(loop->size());
    std::vector<P> kept;
    const std::size_t n = loop->size();
    for (std::size_t i = 0; i < n; ++i) {
      const P before = kept.empty() ? (*loop)[n - 1] : kept.back();
      const P here = (*loop)[i], after = (*loop)[(i + 1) % n];
      const P span = minus(after, before);
      if (std::fabs(cross(minus(here, before), span)) <= kQuantum * std::sqrt(dot(span, span))) {
        changed = true;
        continue;
      }
      kept.push_back(here);
    }
    loop->swap(kept);
  }
}

double twiceArea(const std::vector<P>& loop) {
  double sum = 0;
  for (std::size_t i = 0; i < loop.size(); ++i) {
    sum += cross(minus(loop[i], loop[0]), minus(loop[(i + 1) % loop.size()], loop[0]));
  }
  return sum;
}

}  // namespace

std::vector<Boundary> combineRegions(const std::vector<Ring>& a, const std::vector<Ring>& b,
                                     SetOperation operation, const char* op) {
  Budget budget(op);
  int shift = 0;
  std::vector<Segment> segments = segmentsOf(a, b, &shift, op);
  Vertices vertices;
  const std::vector<Edge> edges = piecesOf(segments, &vertices, &budget, op);
  const std::vector<P>& points = vertices.points;
  const Bands rows(edges, points, false, &budget), cols(edges, points, true, &budget);

  // Each piece with the result on one side only, directed to keep the result on its left
  // (x along the columns, y along the rows).
  std::vector<std::vector<std::size_t>> outgoing(points.size());
  std::vector<std::pair<std::size_t, std::size_t>> directed;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const P u = points[edges[i].u], v = points[edges[i].v];
    const P m{(u.x + v.x) / 2, (u.y + v.y) / 2};
    const bool flat = u.y == v.y;
    const unsigned beyond = parityAt(m, i, flat, edges, points, flat ? cols : rows, &budget);
    // The side the ray starts from (lower x, or lower y for a flat piece) also crosses it.
    const bool before = inResult(beyond ^ edges[i].sets, operation);
    if (before == inResult(beyond, operation)) continue;
    const bool forward = flat ? (v.x < u.x) == before : (v.y > u.y) == before;
    const std::size_t from = forward ? edges[i].u : edges[i].v;
    outgoing[from].push_back(directed.size());
    directed.emplace_back(from, forward ? edges[i].v : edges[i].u);
  }

  // Each loop turns as far left as it can at every vertex, so that parts of the result that
  // touch at a point come out as separate boundaries.
  std::vector<bool> used(directed.size(), false);
  std::vector<Boundary> result;
  for (std::size_t first = 0; first < directed.size(); ++first) {
    if (used[first]) continue;
    std::vector<P> loop;
    std::size_t at = first;
    while (true) {
      used[at] = true;
      const std::size_t from = directed[at].first, to = directed[at].second;
      loop.push_back(points[from]);
      if (to == directed[first].first) break;
      const P back = minus(points[from], points[to]);
      budget.spend(outgoing[to].size());
      double best = HUGE_VAL;
      std::size_t next = directed.size();
      for (std::size_t k : outgoing[to]) {
        if (used[k]) continue;
        const P out = minus(points[directed[k].second], points[to]);
        double turn = std::atan2(back.y, back.x) - std::atan2(out.y, out.x);
        while (turn <= 0) turn += 2 * 3.14159265358979323846;
        if (turn < best) best = turn, next = k;
      }
      if (next == directed.size()) break;
      at = next;
    }
    dropStraightPoints(&loop, &budget);
    const double twice = twiceArea(loop);
    if (loop.size() < 3 || twice == 0) continue;
    Boundary boundary;
    boundary.hole = twice < 0;
    // Positive twice-area in (column, row) runs clockwise on the screen.
    if (twice > 0) std::reverse(loop.begin(), loop.end());
    std::size_t start = 0;
    for (std::size_t i = 1; i < loop.size(); ++i) {
      if (loop[i].y < loop[start].y || (loop[i].y == loop[start].y && loop[i].x < loop[start].x)) {
        start = i;
      }
    }
    for (std::size_t i = 0; i <= loop.size(); ++i) {
      const P p = loop[(start + i) % loop.size()];
      boundary.rows.push_back(std::ldexp(p.y, -shift));
      boundary.cols.push_back(std::ldexp(p.x, -shift));
    }
    result.push_back(std::move(boundary));
  }
  std::stable_sort(result.begin(), result.end(), [](const Boundary& s, const Boundary& t) {
    return s.rows[0] != t.rows[0] ? s.rows[0] < t.rows[0] : s.cols[0] < t.cols[0];
  });
  return result;
}

}  // namespace Standin
}  // namespace HalconCpp
