// The tangent direction at each point of a contour, and the distance of each point of one
// contour to others.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Counter-clockwise on the screen, where rows grow downwards.
double directionOf(double dr, double dc) {
  return std::atan2(-dr, dc);
}

// Into (-pi, pi].
double wrapped(double angle) {
  while (angle > kPi) angle -= 2 * kPi;
  while (angle <= -kPi) angle += 2 * kPi;
  return angle;
}

double tangentAt(const ContourObject& c, std::size_t i, const std::string& mode, Hlong around) {
  const std::size_t reach = static_cast<std::size_t>(around);
  // The interval is cut at the contour's ends.
  const std::size_t first = i > reach ? i - reach : 0;
  const std::size_t last = std::min(c.size() - 1, i + reach);
  const double spanR = c.rows[last] - c.rows[first], spanC = c.cols[last] - c.cols[first];
  if (mode == "range" || last == first) return directionOf(spanR, spanC);
  if (mode == "mean") {
    // Each step's angle unwrapped against the one before, so that the mean of directions
    // either side of pi stays near pi.
    double previous =
        directionOf(c.rows[first + 1] - c.rows[first], c.cols[first + 1] - c.cols[first]);
    double sum = previous;
    for (std::size_t k = first + 1; k < last; ++k) {
      const double a = directionOf(c.rows[k + 1] - c.rows[k], c.cols[k + 1] - c.cols[k]);
      previous += wrapped(a - previous);
      sum += previous;
    }
    return sum / static_cast<double>(last - first);
  }
  std::vector<Point> points;
  for (std::size_t k = first; k <= last; ++k) points.push_back({c.rows[k], c.cols[k]});
  Line line;
  if (!fitLine(points, std::vector<double>(points.size(), 1.0), &line)) {
    return directionOf(spanR, spanC);
  }
  // The line's direction, turned to run the way the contour does.
  double dirR = -line.nc, dirC = line.nr;
  if (dirR * spanR + dirC * spanC < 0) dirR = -dirR, dirC = -dirC;
  return directionOf(dirR, dirC);
}

}  // namespace

void GetContourAngleXld(const HObject& Contour, const HTuple& AngleMode, const HTuple& CalcMode,
                        const HTuple& Lookaround, HTuple* Angles) {
  ApiScope scope("GetContourAngleXld");
  const char* op = "get_contour_angle_xld";
  const std::string angleMode = oneString(AngleMode, op, 1);
  if (angleMode != "abs" && angleMode != "rel") fail(op, 1301);
  const std::string calcMode = oneString(CalcMode, op, 2);
  if (calcMode != "range" && calcMode != "mean" && calcMode != "regress") fail(op, 1302);
  const Hlong around = oneInteger(Lookaround, op, 3);
  if (around <= 0) fail(op, 1303);
  if (objectCount(Contour, op, 1) != 1) fail(op, 1501);
  const ContourObject& c = *contoursOf(Contour, op, 1).front();
  HTuple angles;
  double before = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    double a = tangentAt(c, i, calcMode, around);
    if (angleMode == "abs") {
      a = std::fmod(a, 2 * kPi);
      if (a < 0) a += 2 * kPi;
      angles.Append(HTuple(a));
    } else {
      // The first point has no predecessor: its turn is 0.
      angles.Append(HTuple(i == 0 ? 0.0 : wrapped(a - before)));
    }
    before = a;
  }
  setOutput(Angles, angles);
}

void DistanceContoursXld(const HObject& ContourFrom, const HObject& ContourTo, HObject* ContourOut,
                         const HTuple& Mode) {
  ApiScope scope("DistanceContoursXld");
  const char* op = "distance_contours_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "point_to_point" && mode != "point_to_segment") fail(op, 1301);
  const std::vector<const ContourObject*> from = contoursOf(ContourFrom, op, 1);
  const std::vector<const ContourObject*> to = contoursOf(ContourTo, op, 2);
  std::vector<HObject::Item> items;
  for (const ContourObject* c : from) {
    auto result = makeContour(c->rows, c->cols);
    result->attribs = c->attribs;
    result->globalAttribs = c->globalAttribs;
    std::vector<double> distances;
    for (std::size_t i = 0; i < c->size(); ++i) {
      // No point to measure to leaves the distance infinite, as the minimum of nothing.
      double best = HUGE_VAL;
      for (const ContourObject* t : to) {
        for (std::size_t k = 0; k < t->size(); ++k) {
          double pr = c->rows[i] - t->rows[k], pc = c->cols[i] - t->cols[k];
          best = std::min(best, std::hypot(pr, pc));
          if (mode != "point_to_segment" || k + 1 >= t->size()) continue;
          const double sr = t->rows[k + 1] - t->rows[k], sc = t->cols[k + 1] - t->cols[k];
          const double len2 = sr * sr + sc * sc;
          if (len2 == 0) continue;
          const double u = (pr * sr + pc * sc) / len2;
          if (u <= 0 || u >= 1) continue;
          best = std::min(best, std::hypot(pr - u * sr, pc - u * sc));
        }
      }
      distances.push_back(best);
    }
    bool replaced = false;
    for (auto& entry : result->attribs) {
      if (entry.first == "distance") entry.second = distances, replaced = true;
    }
    if (!replaced) result->attribs.push_back({"distance", distances});
    items.push_back(result);
  }
  setOutput(ContourOut, objectOf(items));
}

}  // namespace HalconCpp
