// Contours smoothed, joined at near ends and split into straight pieces and arcs.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_ellipse.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// An arc's radius beyond this many times its chord is taken for a straight line.
constexpr double kMaxArcRadiusPerSpan = 100;

// Each point moved to its foot on the regression line of the `count` points around it; the
// window is cut at the ends of an open contour and wraps round a closed one.
ContourPtr smoothed(const ContourObject& contour, Hlong count) {
  const std::size_t n = contour.size();
  const bool closed = contour.closed();
  const std::size_t distinct = closed ? n - 1 : n;
  const auto half = static_cast<std::ptrdiff_t>(count / 2);
  auto result = makeContour({}, {});
  result->globalAttribs = contour.globalAttribs;
  for (std::size_t i = 0; i < distinct; ++i) {
    std::vector<Point> window;
    for (std::ptrdiff_t k = -half; k <= half; ++k) {
      std::ptrdiff_t at = static_cast<std::ptrdiff_t>(i) + k;
      if (closed) {
        const auto m = static_cast<std::ptrdiff_t>(distinct);
        at = ((at % m) + m) % m;
      } else if (at < 0 || at >= static_cast<std::ptrdiff_t>(n)) {
        continue;
      }
      window.push_back(Point{contour.rows[static_cast<std::size_t>(at)],
                             contour.cols[static_cast<std::size_t>(at)]});
    }
    Line line;
    double r = contour.rows[i], c = contour.cols[i];
    if (window.size() >= 2 && fitLine(window, std::vector<double>(window.size(), 1.0), &line)) {
      const double d = line.nr * r + line.nc * c - line.dist;
      r -= d * line.nr, c -= d * line.nc;
    }
    result->rows.push_back(r), result->cols.push_back(c);
  }
  if (closed && distinct > 0) {
    result->rows.push_back(result->rows.front()), result->cols.push_back(result->cols.front());
  }
  return result;
}

double distanceToChord(const ContourObject& c, std::size_t a, std::size_t b, std::size_t i) {
  const double dr = c.rows[b] - c.rows[a], dc = c.cols[b] - c.cols[a];
  const double length = std::hypot(dr, dc);
  if (length == 0) return std::hypot(c.rows[i] - c.rows[a], c.cols[i] - c.cols[a]);
  return std::fabs((c.rows[i] - c.rows[a]) * dc - (c.cols[i] - c.cols[a]) * dr) / length;
}

// Split points between a and b: where the farthest point from the chord is farther than
// `limit`, recursively (Ramer, Douglas and Peucker).
void splitAt(const ContourObject& c, std::size_t a, std::size_t b, double limit,
             std::vector<std::size_t>* breaks) {
  std::vector<std::pair<std::size_t, std::size_t>> pending{{a, b}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    double worst = -1;
    std::size_t at = from;
    for (std::size_t i = from + 1; i < to; ++i) {
      const double d = distanceToChord(c, from, to, i);
      if (d > worst) worst = d, at = i;
    }
    if (worst <= limit) continue;
    breaks->push_back(at);
    pending.push_back({from, at});
    pending.push_back({at, to});
  }
}

// The reference marks each piece with the shape it approximates: -1 a line, 0 an elliptic
// arc, 1 a circular one.
constexpr double kLine = -1, kEllipse = 0, kCircle = 1;

enum class Arcs { kNone, kCircles, kEllipses };

ContourPtr piece(const ContourObject& c, std::size_t from, std::size_t to, double approx) {
  auto result = makeContour({c.rows.begin() + static_cast<std::ptrdiff_t>(from),
                             c.rows.begin() + static_cast<std::ptrdiff_t>(to) + 1},
                            {c.cols.begin() + static_cast<std::ptrdiff_t>(from),
                             c.cols.begin() + static_cast<std::ptrdiff_t>(to) + 1});
  for (const auto& entry : c.attribs) {
    result->attribs.push_back({entry.first,
                               {entry.second.begin() + static_cast<std::ptrdiff_t>(from),
                                entry.second.begin() + static_cast<std::ptrdiff_t>(to) + 1}});
  }
  result->globalAttribs = {{"cont_approx", approx}};
  return result;
}

// The circle through the points from..to of the contour when none lies farther than `limit`
// from it; a circle whose radius dwarfs the span is a line, which the lines already cover.
bool arcFits(const ContourObject& c, std::size_t from, std::size_t to, double limit, Arcs arcs) {
  std::vector<Point> points;
  for (std::size_t i = from; i <= to; ++i) points.push_back(Point{c.rows[i], c.cols[i]});
  const std::vector<double> weights(points.size(), 1.0);
  Circle circle;
  EllipseShape ellipse;
  if (arcs == Arcs::kCircles
          ? points.size() < 3 || !fitCircleGeometric(points, weights, &circle)
          : points.size() < 5 || !fitEllipseAlgebraic(points, weights, &ellipse)) {
    return false;
  }
  const double span = std::hypot(c.rows[to] - c.rows[from], c.cols[to] - c.cols[from]);
  const double radius = arcs == Arcs::kCircles ? circle.radius : ellipse.ra;
  if (!(radius < kMaxArcRadiusPerSpan * std::max(span, 1.0))) return false;
  // The segments between the points must follow the arc too, not only their ends: four
  // corners of a rectangle lie on a circle, its sides do not.
  const auto off = [&](double row, double col) {
    const double d = arcs == Arcs::kCircles
                         ? std::hypot(row - circle.row, col - circle.col) - circle.radius
                         : signedEllipseDistance(ellipse, Point{row, col});
    return std::fabs(d) > limit;
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (off(points[i].row, points[i].col)) return false;
    if (i > 0 &&
        off((points[i].row + points[i - 1].row) / 2, (points[i].col + points[i - 1].col) / 2)) {
      return false;
    }
  }
  return true;
}

// Neighbouring line pieces joined into circular or elliptic arcs: from each piece, as many
// following pieces as one circle (ellipse) holds within `limit`; two pieces at least make an
// arc.
void addPieces(const ContourObject& c, const std::vector<std::size_t>& breaks, Arcs arcs,
               double limit, std::vector<HObject::Item>* items) {
  for (std::size_t k = 0; k + 1 < breaks.size();) {
    std::size_t last = k + 1;
    while (arcs != Arcs::kNone && last + 1 < breaks.size() &&
           arcFits(c, breaks[k], breaks[last + 1], limit, arcs)) {
      ++last;
    }
    const double arc = arcs == Arcs::kCircles ? kCircle : kEllipse;
    items->push_back(piece(c, breaks[k], breaks[last], last > k + 1 ? arc : kLine));
    k = last;
  }
}

}  // namespace

void SmoothContoursXld(const HObject& Contours, HObject* SmoothedContours,
                       const HTuple& NumRegrPoints) {
  ApiScope scope("SmoothContoursXld");
  const char* op = "smooth_contours_xld";
  const Hlong count = oneInteger(NumRegrPoints, op, 1);
  if (count < 3 || count % 2 == 0 || count > 1000001) fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    items.push_back(smoothed(*contour, count));
  }
  setOutput(SmoothedContours, objectOf(items));
}

void SegmentContoursXld(const HObject& Contours, HObject* ContoursSplit, const HTuple& Mode,
                        const HTuple& SmoothCont, const HTuple& MaxLineDist1,
                        const HTuple& MaxLineDist2) {
  ApiScope scope("SegmentContoursXld");
  const char* op = "segment_contours_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "lines" && mode != "lines_circles" && mode != "lines_ellipses") fail(op, 1301);
  const Hlong smooth = oneInteger(SmoothCont, op, 2);
  if (smooth < 0 || smooth > 1000001) fail(op, 1302);
  const double dist1 = oneNumber(MaxLineDist1, op, 3), dist2 = oneNumber(MaxLineDist2, op, 4);
  if (!(dist1 >= 0)) fail(op, 1303);
  if (!(dist2 >= 0)) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const std::size_t n = contour->size();
    if (n < 2) {
      items.push_back(makeContour(contour->rows, contour->cols));
      continue;
    }
    // The break points are found on the smoothed contour with the first distance, then each
    // piece of the contour itself is split further with the second.
    const ContourPtr guide = smooth >= 3 ? smoothed(*contour, smooth | 1) : nullptr;
    std::vector<std::size_t> breaks{0, n - 1};
    splitAt(guide ? *guide : *contour, 0, n - 1, dist1, &breaks);
    std::sort(breaks.begin(), breaks.end());
    std::vector<std::size_t> refined = breaks;
    for (std::size_t k = 0; k + 1 < breaks.size(); ++k) {
      splitAt(*contour, breaks[k], breaks[k + 1], dist2, &refined);
    }
    std::sort(refined.begin(), refined.end());
    refined.erase(std::unique(refined.begin(), refined.end()), refined.end());
    addPieces(*contour, refined,
              mode == "lines"           ? Arcs::kNone
              : mode == "lines_circles" ? Arcs::kCircles
                                        : Arcs::kEllipses,
              dist2, &items);
  }
  setOutput(ContoursSplit, objectOf(items));
}

void UnionAdjacentContoursXld(const HObject& Contours, HObject* UnionContours,
                              const HTuple& MaxDistAbs, const HTuple& MaxDistRel,
                              const HTuple& Mode) {
  ApiScope scope("UnionAdjacentContoursXld");
  const char* op = "union_adjacent_contours_xld";
  const double maxAbs = oneNumber(MaxDistAbs, op, 1), maxRel = oneNumber(MaxDistRel, op, 2);
  if (!(maxAbs >= 0)) fail(op, 1301);
  if (!(maxRel >= 0)) fail(op, 1302);
  const std::string mode = oneString(Mode, op, 3);
  if (mode != "noparallel" && mode != "attr_keep" && mode != "attr_forget") fail(op, 1303);
  std::vector<ContourPtr> pieces;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    auto copy = makeContour(contour->rows, contour->cols);
    if (mode == "attr_keep") copy->attribs = contour->attribs;
    pieces.push_back(copy);
  }
  // The nearest pair of ends of two open contours joins first, while one is near enough:
  // within MaxDistAbs and within MaxDistRel times the longer contour's length.
  for (;;) {
    double best = HUGE_VAL;
    std::size_t a = 0, b = 0;
    bool aEnd = false, bStart = false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i]->size() == 0 || pieces[i]->closed()) continue;
      for (std::size_t j = i + 1; j < pieces.size(); ++j) {
        if (pieces[j]->size() == 0 || pieces[j]->closed()) continue;
        const double longer = std::max(polylineLength(*pieces[i]), polylineLength(*pieces[j]));
        for (int ei = 0; ei < 2; ++ei) {
          for (int ej = 0; ej < 2; ++ej) {
            const std::size_t pi = ei ? pieces[i]->size() - 1 : 0;
            const std::size_t pj = ej ? pieces[j]->size() - 1 : 0;
            const double d = std::hypot(pieces[i]->rows[pi] - pieces[j]->rows[pj],
                                        pieces[i]->cols[pi] - pieces[j]->cols[pj]);
            if (d > maxAbs || d > maxRel * longer || d >= best) continue;
            best = d, a = i, b = j, aEnd = ei == 1, bStart = ej == 0;
          }
        }
      }
    }
    if (best == HUGE_VAL) break;
    ContourObject& first = *pieces[a];
    ContourObject& second = *pieces[b];
    const auto flip = [](ContourObject& c) {
      std::reverse(c.rows.begin(), c.rows.end());
      std::reverse(c.cols.begin(), c.cols.end());
      for (auto& entry : c.attribs) std::reverse(entry.second.begin(), entry.second.end());
    };
    if (!aEnd) flip(first);
    if (!bStart) flip(second);
    first.rows.insert(first.rows.end(), second.rows.begin(), second.rows.end());
    first.cols.insert(first.cols.end(), second.cols.begin(), second.cols.end());
    // Attributes both contours carry are kept; the others would have gaps.
    std::vector<std::pair<std::string, std::vector<double>>> kept;
    for (auto& entry : first.attribs) {
      if (const std::vector<double>* other = second.attrib(entry.first)) {
        entry.second.insert(entry.second.end(), other->begin(), other->end());
        kept.push_back(std::move(entry));
      }
    }
    first.attribs = std::move(kept);
    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(b));
  }
  std::vector<HObject::Item> items(pieces.begin(), pieces.end());
  setOutput(UnionContours, objectOf(items));
}

}  // namespace HalconCpp
