// gen_parallel_contour_xld: each point moved Distance along its contour's normal there.
#include <cmath>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Normal {
  bool known = false;
  double row = 0;
  double col = 0;
};

// The neighbours of point i: its own index clipped at an open contour's ends, and wrapping
// round a closed one, whose last point repeats its first.
std::size_t neighbour(const ContourObject& c, std::size_t i, int step) {
  const std::size_t n = c.size();
  if (c.closed()) {
    const std::size_t ring = n - 1, at = i % ring;
    return step < 0 ? (at + ring - 1) % ring : (at + 1) % ring;
  }
  if (step < 0) return i == 0 ? 0 : i - 1;
  return i + 1 < n ? i + 1 : i;
}

// The normal turned to the right of the way the contour runs at i (row axis down).
Normal toTheRight(const ContourObject& c, std::size_t i, Normal n) {
  const std::size_t before = neighbour(c, i, -1), after = neighbour(c, i, 1);
  const double tr = c.rows[after] - c.rows[before], tc = c.cols[after] - c.cols[before];
  if (n.row * tc - n.col * tr < 0) n.row = -n.row, n.col = -n.col;
  return n;
}

// The unit normal of the regression line through the point and its two neighbours.
Normal regressionNormal(const ContourObject& c, std::size_t i) {
  std::vector<Point> points;
  for (int step = -1; step <= 1; ++step) {
    const std::size_t k = neighbour(c, i, step);
    points.push_back({c.rows[k], c.cols[k]});
  }
  Line line;
  if (!fitLine(points, std::vector<double>(points.size(), 1.0), &line)) return {};
  return toTheRight(c, i, {true, line.nr, line.nc});
}

// 'edge_direction' is counter-clockwise on the screen from the column axis, 'angle' from the
// row axis.
Normal fromColumnAxis(double angle) {
  return {std::isfinite(angle), -std::sin(angle), std::cos(angle)};
}
Normal fromRowAxis(double angle) {
  return {std::isfinite(angle), std::cos(angle), std::sin(angle)};
}

}  // namespace

void GenParallelContourXld(const HObject& Contours, HObject* ParallelContours, const HTuple& Mode,
                           const HTuple& Distance) {
  ApiScope scope("GenParallelContourXld");
  const char* op = "gen_parallel_contour_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "regression_normal" && mode != "contour_normal" && mode != "gradient") {
    fail(op, 1301);
  }
  const double distance = oneNumber(Distance, op, 2);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const std::size_t n = contour->size();
    const std::vector<double>* angles = nullptr;
    if (mode != "regression_normal") {
      angles = contour->attrib(mode == "gradient" ? "edge_direction" : "angle");
      if (!angles) fail(op, 1301);
    }
    std::vector<Normal> normals(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (mode == "regression_normal") {
        normals[i] = regressionNormal(*contour, i);
      } else if (mode == "contour_normal") {
        // The line detectors' 'angle' points right already; one read from a file or set by
        // hand may not, and is turned as the fitted normal is.
        normals[i] = toTheRight(*contour, i, fromRowAxis((*angles)[i]));
      } else {
        normals[i] = fromColumnAxis((*angles)[i]);
      }
    }
    // A point whose neighbours fix no line takes the normal of the nearest point that has one.
    std::vector<std::size_t> left(n, n), right(n, n);
    for (std::size_t i = 0; i < n; ++i) {
      left[i] = normals[i].known ? i : (i > 0 ? left[i - 1] : n);
    }
    for (std::size_t i = n; i-- > 0;) {
      right[i] = normals[i].known ? i : (i + 1 < n ? right[i + 1] : n);
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (normals[i].known) continue;
      const bool useLeft = left[i] < n && (right[i] == n || i - left[i] <= right[i] - i);
      if (useLeft || right[i] < n) normals[i] = normals[useLeft ? left[i] : right[i]];
    }
    auto parallel = makeContour(contour->rows, contour->cols);
    for (std::size_t i = 0; i < n; ++i) {
      if (!normals[i].known) continue;
      parallel->rows[i] += distance * normals[i].row;
      parallel->cols[i] += distance * normals[i].col;
    }
    parallel->attribs = contour->attribs;
    items.push_back(parallel);
  }
  setOutput(ParallelContours, objectOf(items));
}

}  // namespace HalconCpp
