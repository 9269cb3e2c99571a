// Polygons (XLD): the corner points gen_polygons_xld keeps of a contour. A polygon made from
// a contour remembers it and where its corners lie on it, which split_contours_xld needs.
#ifndef QUORVEX_STANDINS_HALCON_POLYGON_H
#define QUORVEX_STANDINS_HALCON_POLYGON_H

#include <cstddef>
#include <memory>
#include <vector>

#include "core/contour.h"
#include "core/iconic.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

struct PolygonObject : IconicObject {
  std::vector<double> rows;
  std::vector<double> cols;
  // The contour approximated, and the index on it of each corner; null when the polygon
  // has lost it (an affine transformation moves the corners, not the contour).
  std::shared_ptr<const ContourObject> source;
  std::vector<std::size_t> indices;
  const char* className() const override { return "xld_poly"; }

  std::size_t size() const { return rows.size(); }
};
using PolygonPtr = std::shared_ptr<PolygonObject>;

// The polygons of an iconic input at position n, with the numbers contoursOf raises.
std::vector<const PolygonObject*> polygonsOf(const HObject& object, const char* op, int n);

// The polygon's corners as a contour, for the operators that treat both alike.
ContourPtr contourOfPolygon(const PolygonObject& polygon);

// The contours and polygons of an XLD input, each as its polyline (polygons as the contour
// of their corners), for the operators the reference gives both kinds.
std::vector<std::shared_ptr<const ContourObject>> polylinesOf(const HObject& object, const char* op,
                                                              int n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
