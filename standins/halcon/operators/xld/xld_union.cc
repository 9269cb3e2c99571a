// union_straight_contours_xld: neighbouring straight contours of similar direction merged,
// two at a time, judged by their regression lines.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kHalfPi = 1.57079632679489661923;

// A contour's regression line with its ends projected onto it.
struct Straight {
  bool valid = false;
  Line line;
  double ends[2][2] = {{0, 0}, {0, 0}};  // (row, col) of the first and the last point
};

Straight straightOf(const ContourObject& c) {
  Straight s;
  std::vector<Point> points;
  for (std::size_t i = 0; i < c.size(); ++i) points.push_back({c.rows[i], c.cols[i]});
  if (!fitLine(points, std::vector<double>(points.size(), 1.0), &s.line)) return s;
  s.valid = true;
  for (int e = 0; e < 2; ++e) {
    const std::size_t i = e ? c.size() - 1 : 0;
    const double off = s.line.nr * c.rows[i] + s.line.nc * c.cols[i] - s.line.dist;
    s.ends[e][0] = c.rows[i] - off * s.line.nr;
    s.ends[e][1] = c.cols[i] - off * s.line.nc;
  }
  return s;
}

// value / limit as the criterion weighs it: nothing is within a limit of 0 but 0 itself.
double ratio(double value, double limit) {
  if (value == 0) return 0;
  return limit > 0 ? value / limit : HUGE_VAL;
}

// Whether b's ends projected onto a's line overlap a's own span there.
bool sideBySide(const Straight& a, const Straight& b) {
  const double dr = -a.line.nc, dc = a.line.nr;  // along a's line
  const auto along = [&](const double* p) { return p[0] * dr + p[1] * dc; };
  const double a0 = std::min(along(a.ends[0]), along(a.ends[1]));
  const double a1 = std::max(along(a.ends[0]), along(a.ends[1]));
  const double b0 = std::min(along(b.ends[0]), along(b.ends[1]));
  const double b1 = std::max(along(b.ends[0]), along(b.ends[1]));
  return std::min(a1, b1) > std::max(a0, b0);
}

void reverse(ContourObject& c) {
  std::reverse(c.rows.begin(), c.rows.end());
  std::reverse(c.cols.begin(), c.cols.end());
  for (auto& entry : c.attribs) std::reverse(entry.second.begin(), entry.second.end());
}

}  // namespace

void UnionStraightContoursXld(const HObject& Contours, HObject* UnionContours,
                              const HTuple& MaxDist, const HTuple& MaxDiff, const HTuple& Percent,
                              const HTuple& Mode, const HTuple& Iterations) {
  ApiScope scope("UnionStraightContoursXld");
  const char* op = "union_straight_contours_xld";
  const double maxDist = oneNumber(MaxDist, op, 1), maxDiff = oneNumber(MaxDiff, op, 2);
  if (!(maxDist >= 0)) fail(op, 1301);
  if (!(maxDiff >= 0)) fail(op, 1302);
  const double percent = oneNumber(Percent, op, 3);
  if (!(percent >= 0 && percent <= 100)) fail(op, 1303);
  const std::string mode = oneString(Mode, op, 4);
  if (mode != "every" && mode != "noparallel" && mode != "paralleltoo") fail(op, 1304);
  if (Iterations.Length() != 1) fail(op, 1405);
  Hlong iterations = -1;  // 'maximum': until no pair merges
  if (Iterations[0].Type() == eElementTypeString) {
    if (Iterations[0].S().str() != std::string("maximum")) fail(op, 1305);
  } else {
    iterations = oneInteger(Iterations, op, 5);
    if (iterations < 1) fail(op, 1305);
  }
  std::vector<ContourPtr> pieces;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    auto copy = makeContour(contour->rows, contour->cols);
    copy->attribs = contour->attribs;
    copy->globalAttribs = contour->globalAttribs;
    pieces.push_back(copy);
  }
  for (Hlong step = 0; iterations < 0 || step < iterations; ++step) {
    std::vector<Straight> lines;
    for (const ContourPtr& piece : pieces) lines.push_back(straightOf(*piece));
    // The pair scoring least merges; 'every' merges the first two regardless.
    double best = HUGE_VAL;
    std::size_t a = 0, b = 0;
    int endA = 0, endB = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      for (std::size_t j = i + 1; j < pieces.size(); ++j) {
        if (!lines[i].valid || !lines[j].valid) continue;
        double gap = HUGE_VAL;
        int ei = 0, ej = 0;
        for (int x = 0; x < 2; ++x) {
          for (int y = 0; y < 2; ++y) {
            const double d = std::hypot(lines[i].ends[x][0] - lines[j].ends[y][0],
                                        lines[i].ends[x][1] - lines[j].ends[y][1]);
            if (d < gap) gap = d, ei = x, ej = y;
          }
        }
        const double cosine =
            std::fabs(lines[i].line.nr * lines[j].line.nr + lines[i].line.nc * lines[j].line.nc);
        const double turn = cosine >= 1 ? 0 : std::min(kHalfPi, std::acos(cosine));
        double score = 0;
        if (mode != "every") {
          score = ratio(gap, maxDist) * percent + ratio(turn, maxDiff) * (100 - percent);
          if (!(score <= 100)) continue;
          if (mode == "noparallel" && sideBySide(lines[i], lines[j])) continue;
        }
        if (score < best) best = score, a = i, b = j, endA = ei, endB = ej;
      }
    }
    if (best == HUGE_VAL) break;
    ContourObject& first = *pieces[a];
    ContourObject& second = *pieces[b];
    // The nearest ends meet: first runs into them, second away from them.
    if (endA == 0) reverse(first);
    if (endB == 1) reverse(second);
    first.rows.insert(first.rows.end(), second.rows.begin(), second.rows.end());
    first.cols.insert(first.cols.end(), second.cols.begin(), second.cols.end());
    std::vector<std::pair<std::string, std::vector<double>>> kept;
    for (auto& entry : first.attribs) {
      if (const std::vector<double>* other = second.attrib(entry.first)) {
        entry.second.insert(entry.second.end(), other->begin(), other->end());
        kept.push_back(std::move(entry));
      }
    }
    first.attribs = std::move(kept);
    first.globalAttribs.clear();
    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(b));
  }
  std::vector<HObject::Item> items(pieces.begin(), pieces.end());
  setOutput(UnionContours, objectOf(items));
}

}  // namespace HalconCpp
