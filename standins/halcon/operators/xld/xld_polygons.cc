// Polygons: the Ramer approximation of contours, the polygons' corners and sides, the
// contours split at the corners, and the transformed polygons.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/image.h"
#include "core/params.h"
#include "core/polygon.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

double pointLineDistance(const ContourObject& c, std::size_t p, std::size_t a, std::size_t b) {
  const double dr = c.rows[b] - c.rows[a], dc = c.cols[b] - c.cols[a];
  const double pr = c.rows[p] - c.rows[a], pc = c.cols[p] - c.cols[a];
  const double norm = std::hypot(dr, dc);
  // Coinciding ends fix no line: the distance is to the end point itself.
  if (norm == 0) return std::hypot(pr, pc);
  return std::fabs(pr * dc - pc * dr) / norm;
}

// Ramer: the corners from first to last, splitting at the point farthest from the chord
// while that distance exceeds alpha. A stack instead of recursion, so that a contour of a
// million points cannot exhaust the call stack.
void ramer(const ContourObject& c, std::size_t first, std::size_t last, double alpha,
           std::vector<std::size_t>* corners) {
  std::vector<std::pair<std::size_t, std::size_t>> pending{{first, last}};
  std::vector<std::size_t> kept{first, last};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    double farthest = -1;
    std::size_t at = a;
    for (std::size_t p = a + 1; p < b; ++p) {
      const double d = pointLineDistance(c, p, a, b);
      if (d > farthest) farthest = d, at = p;
    }
    if (farthest > alpha) {
      kept.push_back(at);
      pending.push_back({a, at});
      pending.push_back({at, b});
    }
  }
  std::sort(kept.begin(), kept.end());
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  corners->insert(corners->end(), kept.begin(), kept.end());
}

std::vector<std::size_t> ramerCorners(const ContourObject& c, double alpha) {
  const std::size_t n = c.size();
  std::vector<std::size_t> corners;
  if (n < 3) {
    for (std::size_t i = 0; i < n; ++i) corners.push_back(i);
    return corners;
  }
  if (!c.closed()) {
    ramer(c, 0, n - 1, alpha, &corners);
    return corners;
  }
  // A closed contour has no chord to start from: it is first cut at the point farthest
  // from its first one, and both halves approximated.
  std::size_t far = 1;
  double best = -1;
  for (std::size_t p = 1; p + 1 < n; ++p) {
    const double d = std::hypot(c.rows[p] - c.rows[0], c.cols[p] - c.cols[0]);
    if (d > best) best = d, far = p;
  }
  ramer(c, 0, far, alpha, &corners);
  corners.pop_back();
  ramer(c, far, n - 1, alpha, &corners);
  return corners;
}

const PolygonObject& onePolygon(const HObject& object, const char* op) {
  if (objectCount(object, op, 1) != 1) fail(op, 1501);
  return *polygonsOf(object, op, 1).front();
}

// Side i joins corners i and i+1; phi is its direction, counter-clockwise on the screen.
double sideLength(const PolygonObject& p, std::size_t i) {
  return std::hypot(p.rows[i + 1] - p.rows[i], p.cols[i + 1] - p.cols[i]);
}
double sidePhi(const PolygonObject& p, std::size_t i) {
  return std::atan2(p.rows[i] - p.rows[i + 1], p.cols[i + 1] - p.cols[i]);
}

// Points first..last of the contour, with their attributes; the contour's global ones kept.
ContourPtr pieceOf(const ContourObject& c, std::size_t first, std::size_t last) {
  const auto begin = static_cast<std::ptrdiff_t>(first),
             end = static_cast<std::ptrdiff_t>(last) + 1;
  auto piece = makeContour({c.rows.begin() + begin, c.rows.begin() + end},
                           {c.cols.begin() + begin, c.cols.begin() + end});
  for (const auto& [name, values] : c.attribs) {
    piece->attribs.push_back({name, {values.begin() + begin, values.begin() + end}});
  }
  piece->globalAttribs = c.globalAttribs;
  return piece;
}

}  // namespace

void GenPolygonsXld(const HObject& Contours, HObject* Polygons, const HTuple& Type,
                    const HTuple& Alpha) {
  ApiScope scope("GenPolygonsXld");
  const char* op = "gen_polygons_xld";
  if (oneString(Type, op, 1) != "ramer") fail(op, 1301);
  const double alpha = oneNumber(Alpha, op, 2);
  if (!(alpha > 0)) fail(op, 1302);
  contoursOf(Contours, op, 1);
  std::vector<HObject::Item> items;
  for (const HObject::Item& item : Contours.Items()) {
    auto contour = std::dynamic_pointer_cast<const ContourObject>(item);
    auto polygon = std::make_shared<PolygonObject>();
    polygon->indices = ramerCorners(*contour, alpha);
    for (std::size_t i : polygon->indices) {
      polygon->rows.push_back(contour->rows[i]);
      polygon->cols.push_back(contour->cols[i]);
    }
    polygon->source = std::move(contour);
    items.push_back(polygon);
  }
  setOutput(Polygons, objectOf(items));
}

void GetPolygonXld(const HObject& Polygon, HTuple* Row, HTuple* Col, HTuple* Length, HTuple* Phi) {
  ApiScope scope("GetPolygonXld");
  const PolygonObject& p = onePolygon(Polygon, "get_polygon_xld");
  HTuple rows, cols, lengths, phis;
  for (std::size_t i = 0; i < p.size(); ++i) {
    rows.Append(HTuple(p.rows[i]));
    cols.Append(HTuple(p.cols[i]));
    // The last corner starts no side: its length and angle are 0.
    const bool side = i + 1 < p.size();
    lengths.Append(HTuple(side ? sideLength(p, i) : 0.0));
    phis.Append(HTuple(side ? sidePhi(p, i) : 0.0));
  }
  setOutput(Row, rows);
  setOutput(Col, cols);
  setOutput(Length, lengths);
  setOutput(Phi, phis);
}

void GetLinesXld(const HObject& Polygon, HTuple* BeginRow, HTuple* BeginCol, HTuple* EndRow,
                 HTuple* EndCol, HTuple* Length, HTuple* Phi) {
  ApiScope scope("GetLinesXld");
  const PolygonObject& p = onePolygon(Polygon, "get_lines_xld");
  HTuple r1, c1, r2, c2, lengths, phis;
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    r1.Append(HTuple(p.rows[i]));
    c1.Append(HTuple(p.cols[i]));
    r2.Append(HTuple(p.rows[i + 1]));
    c2.Append(HTuple(p.cols[i + 1]));
    lengths.Append(HTuple(sideLength(p, i)));
    phis.Append(HTuple(sidePhi(p, i)));
  }
  setOutput(BeginRow, r1);
  setOutput(BeginCol, c1);
  setOutput(EndRow, r2);
  setOutput(EndCol, c2);
  setOutput(Length, lengths);
  setOutput(Phi, phis);
}

void SplitContoursXld(const HObject& Polygons, HObject* Contours, const HTuple& Mode,
                      const HTuple& Weight, const HTuple& Smooth) {
  ApiScope scope("SplitContoursXld");
  const char* op = "split_contours_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "polygon" && mode != "dominant") fail(op, 1301);
  oneInteger(Weight, op, 2);
  if (oneInteger(Smooth, op, 3) < 1) fail(op, 1303);
  std::vector<HObject::Item> items;
  for (const PolygonObject* polygon : polygonsOf(Polygons, op, 1)) {
    if (!polygon->source) fail(op, 1101);
    const ContourObject& c = *polygon->source;
    const std::vector<std::size_t>& at = polygon->indices;
    if (mode == "dominant") fail(op, 1301);
    if (at.size() < 2) {
      if (c.size() > 0) items.push_back(pieceOf(c, 0, c.size() - 1));
      continue;
    }
    for (std::size_t i = 0; i + 1 < at.size(); ++i) items.push_back(pieceOf(c, at[i], at[i + 1]));
  }
  setOutput(Contours, objectOf(items));
}

void AffineTransPolygonXld(const HObject& Polygons, HObject* PolygonsAffinTrans,
                           const HTuple& HomMat2D) {
  ApiScope scope("AffineTransPolygonXld");
  const char* op = "affine_trans_polygon_xld";
  const AffineMatrix m = homMat2dOf(HomMat2D, op, 1);
  std::vector<HObject::Item> items;
  for (const PolygonObject* polygon : polygonsOf(Polygons, op, 1)) {
    auto result = std::make_shared<PolygonObject>();
    for (std::size_t i = 0; i < polygon->size(); ++i) {
      const double x = polygon->rows[i], y = polygon->cols[i];
      result->rows.push_back(m[0] * x + m[1] * y + m[2]);
      result->cols.push_back(m[3] * x + m[4] * y + m[5]);
    }
    items.push_back(result);
  }
  setOutput(PolygonsAffinTrans, objectOf(items));
}

}  // namespace HalconCpp
