// distance_pc, distance_lc, distance_sc, distance_cc and distance_cc_min (HALCON 11.0
// reference, chapter "Tools / Geometry"): contours are polylines through their points.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/params.h"
#include "halconcpp/HOperatorsGeometry.h"
#include "operators/geometry/segments.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const ContourObject& oneContour(const HObject& object, const char* op, int n) {
  const std::vector<const ContourObject*> contours = contoursOf(object, op, n);
  if (contours.size() != 1) fail(op, 1500 + n);
  return *contours.front();
}

// The polyline's pieces; a single point is a piece of its own.
std::vector<Segment> piecesOf(const ContourObject& c) {
  std::vector<Segment> pieces;
  for (std::size_t i = 0; i + 1 < c.size(); ++i) {
    pieces.push_back(Segment{c.rows[i], c.cols[i], c.rows[i + 1], c.cols[i + 1]});
  }
  if (c.size() == 1) pieces.push_back(Segment{c.rows[0], c.cols[0], c.rows[0], c.cols[0]});
  return pieces;
}

// Each point or line of the inputs against the contour: `measure` gives the least and the
// largest distance; an empty contour is at 0 and 0.
template <typename Measure>
void againstContour(const HObject& Contour, std::initializer_list<const HTuple*> inputs,
                    const char* op, HTuple* DistanceMin, HTuple* DistanceMax, Measure&& measure) {
  const ContourObject& contour = oneContour(Contour, op, 1);
  const Hlong n = (*inputs.begin())->Length();
  int position = 0;
  for (const HTuple* input : inputs) requireLength(*input, n, op, ++position);
  HTuple nearest, farthest;
  for (Hlong i = 0; i < n; ++i) {
    std::vector<double> v;
    position = 0;
    for (const HTuple* input : inputs) v.push_back(numberAt(*input, i, op, ++position));
    double low = 0, high = 0;
    if (contour.size() > 0) measure(v, contour, &low, &high);
    nearest.Append(HTuple(low));
    farthest.Append(HTuple(high));
  }
  setOutput(DistanceMin, std::move(nearest));
  setOutput(DistanceMax, std::move(farthest));
}

double nearestPiece(const std::vector<Segment>& pieces, const Segment& s) {
  double best = HUGE_VAL;
  for (const Segment& p : pieces) best = std::min(best, segmentsDistance(p, s));
  return best;
}

}  // namespace

void DistancePc(const HObject& Contour, const HTuple& Row, const HTuple& Column,
                HTuple* DistanceMin, HTuple* DistanceMax) {
  ApiScope scope("DistancePc");
  againstContour(
      Contour, {&Row, &Column}, "distance_pc", DistanceMin, DistanceMax,
      [](const std::vector<double>& v, const ContourObject& c, double* low, double* high) {
        *low = nearestPiece(piecesOf(c), Segment{v[0], v[1], v[0], v[1]});
        for (std::size_t i = 0; i < c.size(); ++i) {
          *high = std::max(*high, std::hypot(c.rows[i] - v[0], c.cols[i] - v[1]));
        }
      });
}

// A contour with points on both sides of the line crosses it, at 0.
void DistanceLc(const HObject& Contour, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceLc");
  againstContour(
      Contour, {&Row1, &Column1, &Row2, &Column2}, "distance_lc", DistanceMin, DistanceMax,
      [](const std::vector<double>& v, const ContourObject& c, double* low, double* high) {
        const Segment line{v[0], v[1], v[2], v[3]};
        bool left = false, right = false;
        *low = HUGE_VAL;
        for (std::size_t i = 0; i < c.size(); ++i) {
          const double side = crossOf(line, c.rows[i], c.cols[i]);
          left |= side <= 0, right |= side >= 0;
          const double d = lineDistance(line, c.rows[i], c.cols[i]);
          *low = std::min(*low, d), *high = std::max(*high, d);
        }
        if (left && right) *low = 0;
      });
}

void DistanceSc(const HObject& Contour, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceSc");
  againstContour(
      Contour, {&Row1, &Column1, &Row2, &Column2}, "distance_sc", DistanceMin, DistanceMax,
      [](const std::vector<double>& v, const ContourObject& c, double* low, double* high) {
        const Segment segment{v[0], v[1], v[2], v[3]};
        *low = nearestPiece(piecesOf(c), segment);
        for (std::size_t i = 0; i < c.size(); ++i) {
          *high = std::max(*high, segmentDistance(segment, c.rows[i], c.cols[i]));
        }
      });
}

// The largest distance is between points in either mode; 'point_to_segment' takes the least
// between the pieces.
void DistanceCc(const HObject& Contour1, const HObject& Contour2, const HTuple& Mode,
                HTuple* DistanceMin, HTuple* DistanceMax) {
  ApiScope scope("DistanceCc");
  const char* op = "distance_cc";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "point_to_point" && mode != "point_to_segment") fail(op, 1301);
  const ContourObject& a = oneContour(Contour1, op, 1);
  const ContourObject& b = oneContour(Contour2, op, 2);
  double low = a.size() && b.size() ? HUGE_VAL : 0, high = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) {
      const double d = std::hypot(a.rows[i] - b.rows[j], a.cols[i] - b.cols[j]);
      low = std::min(low, d), high = std::max(high, d);
    }
  }
  if (mode == "point_to_segment" && a.size() && b.size()) {
    for (const Segment& p : piecesOf(a)) low = std::min(low, nearestPiece(piecesOf(b), p));
  }
  setOutput(DistanceMin, HTuple(low));
  setOutput(DistanceMax, HTuple(high));
}

// 'point_to_point': the closest points; 'fast_point_to_segment': the pieces at the closest
// points, each against the other's; 'point_to_segment': all pieces.
void DistanceCcMin(const HObject& Contour1, const HObject& Contour2, const HTuple& Mode,
                   HTuple* DistanceMin) {
  ApiScope scope("DistanceCcMin");
  const char* op = "distance_cc_min";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "point_to_point" && mode != "point_to_segment" && mode != "fast_point_to_segment") {
    fail(op, 1301);
  }
  const ContourObject& a = oneContour(Contour1, op, 1);
  const ContourObject& b = oneContour(Contour2, op, 2);
  if (!a.size() || !b.size()) return setOutput(DistanceMin, HTuple(0.0));
  double low = HUGE_VAL;
  std::size_t ai = 0, bj = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) {
      const double d = std::hypot(a.rows[i] - b.rows[j], a.cols[i] - b.cols[j]);
      if (d < low) low = d, ai = i, bj = j;
    }
  }
  const std::vector<Segment> pa = piecesOf(a), pb = piecesOf(b);
  if (mode == "point_to_segment") {
    for (const Segment& p : pa) low = std::min(low, nearestPiece(pb, p));
  } else if (mode == "fast_point_to_segment") {
    // The pieces ending or starting at a point: i - 1 and i, where they exist.
    auto around = [](const std::vector<Segment>& pieces, std::size_t i) {
      std::vector<Segment> near;
      if (i > 0 && i - 1 < pieces.size()) near.push_back(pieces[i - 1]);
      if (i < pieces.size()) near.push_back(pieces[i]);
      return near;
    };
    const std::vector<Segment> nb = around(pb, bj);
    for (const Segment& p : around(pa, ai)) low = std::min(low, nearestPiece(nb, p));
  }
  setOutput(DistanceMin, HTuple(low));
}

}  // namespace HalconCpp
