// Contours closed, made as crosses, selected by the features of select_contours_xld, and their
// global attributes read.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

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

constexpr double kMaxCrossCoordinate = 1e7;

const ContourObject& oneContour(const HObject& object, const char* op) {
  if (objectCount(object, op, 1) != 1) fail(op, 1501);
  return *contoursOf(object, op, 1).front();
}

// The largest distance among the eight extreme points: the first and last of the top-most
// and bottom-most points by column, of the left-most and right-most by row.
double maximumExtent(const ContourObject& c) {
  const std::size_t n = c.size();
  if (n == 0) return 0;
  std::vector<std::size_t> extremes(8, 0);
  const auto better = [&](std::size_t i, std::size_t j, int k) {
    const double ri = c.rows[i], ci = c.cols[i], rj = c.rows[j], cj = c.cols[j];
    switch (k) {
      case 0:
        return ri < rj || (ri == rj && ci < cj);  // top, left-most
      case 1:
        return ri < rj || (ri == rj && ci > cj);  // top, right-most
      case 2:
        return ri > rj || (ri == rj && ci < cj);  // bottom, left-most
      case 3:
        return ri > rj || (ri == rj && ci > cj);  // bottom, right-most
      case 4:
        return ci < cj || (ci == cj && ri < rj);  // left, top-most
      case 5:
        return ci < cj || (ci == cj && ri > rj);  // left, bottom-most
      case 6:
        return ci > cj || (ci == cj && ri < rj);  // right, top-most
      default:
        return ci > cj || (ci == cj && ri > rj);  // right, bottom-most
    }
  };
  for (std::size_t i = 1; i < n; ++i) {
    for (int k = 0; k < 8; ++k) {
      if (better(i, extremes[static_cast<std::size_t>(k)], k))
        extremes[static_cast<std::size_t>(k)] = i;
    }
  }
  double best = 0;
  for (std::size_t a : extremes) {
    for (std::size_t b : extremes) {
      best = std::max(best, std::hypot(c.rows[a] - c.rows[b], c.cols[a] - c.cols[b]));
    }
  }
  return best;
}

// The regression line through the points, directed from the first point towards the last:
// its angle counter-clockwise from the column axis in [0, 2 pi), and the mean and standard
// deviation of the points' distances to it. False for fewer than two distinct points.
struct Regression {
  double direction = 0;
  double mean = 0;
  double deviation = 0;
};

bool regressionOf(const ContourObject& c, Regression* out) {
  std::vector<Point> points;
  for (std::size_t i = 0; i < c.size(); ++i) points.push_back(Point{c.rows[i], c.cols[i]});
  Line line;
  if (points.size() < 2 || !fitLine(points, std::vector<double>(points.size(), 1.0), &line)) {
    return false;
  }
  // The line's direction (nc, -nr) in (row, col), turned to run from the first point to the
  // last.
  double dr = line.nc, dc = -line.nr;
  if (dr * (c.rows.back() - c.rows.front()) + dc * (c.cols.back() - c.cols.front()) < 0) {
    dr = -dr, dc = -dc;
  }
  double angle = std::atan2(-dr, dc);
  if (angle < 0) angle += 2 * kPi;
  double sum = 0, squares = 0;
  for (const Point& p : points) {
    const double d = std::fabs(line.nr * p.row + line.nc * p.col - line.dist);
    sum += d, squares += d * d;
  }
  const double n = static_cast<double>(points.size());
  out->direction = angle;
  out->mean = sum / n;
  out->deviation = std::sqrt(std::max(0.0, squares / n - out->mean * out->mean));
  return true;
}

double toFullTurn(double angle) {
  const double turned = std::fmod(angle, 2 * kPi);
  return turned < 0 ? turned + 2 * kPi : turned;
}

bool within(double value, double min, double max) {
  return value >= min && value <= max;
}

}  // namespace

void CloseContoursXld(const HObject& Contours, HObject* ClosedContours) {
  ApiScope scope("CloseContoursXld");
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, "close_contours_xld", 1)) {
    auto copy = makeContour(contour->rows, contour->cols);
    copy->attribs = contour->attribs;
    copy->globalAttribs = contour->globalAttribs;
    const std::size_t n = copy->size();
    const bool joined =
        n > 0 && copy->rows.front() == copy->rows.back() && copy->cols.front() == copy->cols.back();
    if (n > 1 && !joined) {
      copy->rows.push_back(copy->rows.front());
      copy->cols.push_back(copy->cols.front());
      for (auto& entry : copy->attribs) entry.second.push_back(entry.second.front());
    }
    items.push_back(copy);
  }
  setOutput(ClosedContours, objectOf(items));
}

// Each cross one contour: the first bar from end to end, back to the centre, and the second
// bar from end to end, so that drawing the polyline draws both bars.
void GenCrossContourXld(HObject* Cross, const HTuple& Row, const HTuple& Col, const HTuple& Size,
                        const HTuple& Angle) {
  ApiScope scope("GenCrossContourXld");
  const char* op = "gen_cross_contour_xld";
  requireLength(Col, Row.Length(), op, 2);
  if (Size.Length() != 1) requireLength(Size, Row.Length(), op, 3);
  const double angle = oneNumber(Angle, op, 4);
  if (!std::isfinite(angle)) fail(op, 1304);
  const double sr = -std::sin(angle), sc = std::cos(angle);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    const double r = numberAt(Row, i, op, 1), c = numberAt(Col, i, op, 2);
    const double size = numberAt(Size, Size.Length() == 1 ? 0 : i, op, 3);
    if (!(std::fabs(r) <= kMaxCrossCoordinate)) fail(op, 1301);
    if (!(std::fabs(c) <= kMaxCrossCoordinate)) fail(op, 1302);
    if (!(size >= 0 && size <= kMaxCrossCoordinate)) fail(op, 1303);
    const double h = size / 2;
    items.push_back(makeContour({r - h * sr, r + h * sr, r, r - h * sc, r + h * sc},
                                {c - h * sc, c + h * sc, c, c + h * sr, c - h * sr}));
  }
  setOutput(Cross, objectOf(items));
}

void SelectContoursXld(const HObject& Contours, HObject* SelectedContours, const HTuple& Feature,
                       const HTuple& Min1, const HTuple& Max1, const HTuple& Min2,
                       const HTuple& Max2) {
  ApiScope scope("SelectContoursXld");
  const char* op = "select_contours_xld";
  const std::string feature = oneString(Feature, op, 1);
  const double min1 = oneNumber(Min1, op, 2), max1 = oneNumber(Max1, op, 3);
  const double min2 = oneNumber(Min2, op, 4), max2 = oneNumber(Max2, op, 5);
  const auto keep = [&](const ContourObject& c) {
    if (feature == "contour_length") return within(polylineLength(c), min1, max1);
    if (feature == "maximum_extent") return within(maximumExtent(c), min1, max1);
    const double gap =
        c.size() == 0 ? 0
                      : std::hypot(c.rows.back() - c.rows.front(), c.cols.back() - c.cols.front());
    if (feature == "closed") return gap <= max1;
    if (feature == "open") return gap > min1;
    Regression line;
    if (!regressionOf(c, &line)) return false;
    if (feature == "direction") {
      const double low = toFullTurn(min1), high = toFullTurn(max1);
      return low <= high ? within(line.direction, low, high)
                         : line.direction >= low || line.direction <= high;
    }
    const bool meanOk = (min1 == 0 && max1 == 0) || within(line.mean, min1, max1);
    const bool deviationOk = (min2 == 0 && max2 == 0) || within(line.deviation, min2, max2);
    return meanOk && deviationOk;
  };
  if (feature != "contour_length" && feature != "maximum_extent" && feature != "closed" &&
      feature != "open" && feature != "direction" && feature != "curvature") {
    fail(op, 1301);
  }
  // The selected contours are the inputs themselves, as objects are never changed in place.
  const std::vector<const ContourObject*> contours = contoursOf(Contours, op, 1);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    if (keep(*contours[i])) items.push_back(Contours.Items()[i]);
  }
  setOutput(SelectedContours, objectOf(items));
}

void GetContourGlobalAttribXld(const HObject& Contour, const HTuple& Name, HTuple* Attrib) {
  ApiScope scope("GetContourGlobalAttribXld");
  const char* op = "get_contour_global_attrib_xld";
  const std::string name = oneString(Name, op, 1);
  const ContourObject& contour = oneContour(Contour, op);
  for (const auto& entry : contour.globalAttribs) {
    if (entry.first == name) {
      setOutput(Attrib, HTuple(entry.second));
      return;
    }
  }
  fail(op, 1301);
}

void QueryContourGlobalAttribsXld(const HObject& Contour, HTuple* Attribs) {
  ApiScope scope("QueryContourGlobalAttribsXld");
  const ContourObject& contour = oneContour(Contour, "query_contour_global_attribs_xld");
  HTuple names;
  for (const auto& entry : contour.globalAttribs) names.Append(HTuple(entry.first.c_str()));
  setOutput(Attribs, names);
}

}  // namespace HalconCpp
