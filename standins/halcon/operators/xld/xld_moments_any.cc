// Moments of any order of contours: of the polygon each encloses (moments_any_xld) or of its
// points (moments_any_points_xld), about the origin or a given centre, by area or not.
#include <cmath>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Beyond this order the sums cost p q steps a point and overflow anyway.
constexpr Hlong kMaxOrder = 100;

struct Normalization {
  bool central;
  bool byArea;
};

Normalization modeOf(const HTuple& mode, const char* op) {
  const std::string name = oneString(mode, op, 1);
  if (name == "unnormalized") return {false, false};
  if (name == "normalized") return {false, true};
  if (name == "unnormalized_central") return {true, false};
  if (name == "central") return {true, true};
  fail(op, 1301);
}

// One value for every contour, or one for all of them.
double perContour(const HTuple& values, std::size_t contour, std::size_t contours, const char* op,
                  int n) {
  const Hlong length = values.Length();
  if (length != 1 && length != static_cast<Hlong>(contours)) fail(op, 1400 + n);
  return numberAt(values, length == 1 ? 0 : static_cast<Hlong>(contour), op, n);
}

std::vector<int> ordersOf(const HTuple& values, Hlong length, const char* op, int n) {
  requireLength(values, length, op, n);
  std::vector<int> orders;
  for (Hlong i = 0; i < length; ++i) {
    const Hlong v = integerAt(values, i, op, n);
    if (v < 0 || v > kMaxOrder) fail(op, 1300 + n);
    orders.push_back(static_cast<int>(v));
  }
  return orders;
}

// The moments (p, q) of every contour in turn: `moment` gives the unnormalised one about the
// centre it is given.
template <typename Moment>
HTuple momentsOf(const HObject& xld, const char* op, const Normalization& mode, const HTuple& area,
                 const HTuple& row, const HTuple& col, const HTuple& p, const HTuple& q,
                 int firstNumeric, Moment&& moment) {
  const std::vector<const ContourObject*> contours = contoursOf(xld, op, 1);
  if (p.Length() < 1) fail(op, 1400 + firstNumeric + 3);
  const std::vector<int> ps = ordersOf(p, p.Length(), op, firstNumeric + 3);
  const std::vector<int> qs = ordersOf(q, p.Length(), op, firstNumeric + 4);
  HTuple m;
  for (std::size_t k = 0; k < contours.size(); ++k) {
    const double a = perContour(area, k, contours.size(), op, firstNumeric);
    const double r0 = mode.central ? perContour(row, k, contours.size(), op, firstNumeric + 1) : 0;
    const double c0 = mode.central ? perContour(col, k, contours.size(), op, firstNumeric + 2) : 0;
    for (std::size_t i = 0; i < ps.size(); ++i) {
      double value = moment(*contours[k], k, ps[i], qs[i], r0, c0);
      // By an area of 0 nothing is normalised: such a contour encloses nothing.
      if (mode.byArea) value = a == 0 ? 0 : value / a;
      m.Append(HTuple(value));
    }
  }
  return m;
}

}  // namespace

void MomentsAnyXld(const HObject& XLD, const HTuple& Mode, const HTuple& PointOrder,
                   const HTuple& Area, const HTuple& CenterRow, const HTuple& CenterCol,
                   const HTuple& P, const HTuple& Q, HTuple* M) {
  ApiScope scope("MomentsAnyXld");
  const char* op = "moments_any_xld";
  const Normalization mode = modeOf(Mode, op);
  const std::size_t contours = contoursOf(XLD, op, 1).size();
  std::vector<double> signs;
  for (std::size_t k = 0; k < contours; ++k) {
    const Hlong length = PointOrder.Length();
    if (length != 1 && length != static_cast<Hlong>(contours)) fail(op, 1402);
    const HTuple element = PointOrder[length == 1 ? 0 : static_cast<Hlong>(k)];
    if (element.Type() != eElementTypeString) fail(op, 1202);
    const std::string order = element.S().str();
    if (order != "positive" && order != "negative") fail(op, 1302);
    // Green's theorem gives the enclosed moment with the sign of the points' order.
    signs.push_back(order == "positive" ? 1.0 : -1.0);
  }
  setOutput(M, momentsOf(XLD, op, mode, Area, CenterRow, CenterCol, P, Q, 3,
                         [&](const ContourObject& c, std::size_t k, int p, int q, double r0,
                             double c0) { return signs[k] * polygonMoment(c, p, q, r0, c0); }));
}

void MomentsAnyPointsXld(const HObject& XLD, const HTuple& Mode, const HTuple& Area,
                         const HTuple& CenterRow, const HTuple& CenterCol, const HTuple& P,
                         const HTuple& Q, HTuple* M) {
  ApiScope scope("MomentsAnyPointsXld");
  const char* op = "moments_any_points_xld";
  const Normalization mode = modeOf(Mode, op);
  setOutput(M,
            momentsOf(XLD, op, mode, Area, CenterRow, CenterCol, P, Q, 2,
                      [](const ContourObject& c, std::size_t, int p, int q, double r0, double c0) {
                        double sum = 0;
                        for (const Point& point : cloudOf(c)) {
                          sum += std::pow(point.row - r0, p) * std::pow(point.col - c0, q);
                        }
                        return sum;
                      }));
}

}  // namespace HalconCpp
