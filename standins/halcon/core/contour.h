// Contours (XLD) behind HObject: polylines with sub-pixel points, and the attributes the
// operators that make them attach, per point ('angle', 'edge_direction', 'response', ...)
// and for the whole contour.
#ifndef QUORVEX_STANDINS_HALCON_CONTOUR_H
#define QUORVEX_STANDINS_HALCON_CONTOUR_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/iconic.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

struct ContourObject : IconicObject {
  std::vector<double> rows;
  std::vector<double> cols;
  // Each attribute holds one value per point, in the points' order.
  std::vector<std::pair<std::string, std::vector<double>>> attribs;
  std::vector<std::pair<std::string, double>> globalAttribs;
  // The origin's distance to the regression line regress_contours_xld fits, which
  // get_regress_params_xld gives beside the line's global attributes.
  double regressionDistance = 0;
  const char* className() const override { return "xld_cont"; }

  std::size_t size() const { return rows.size(); }
  // The attribute's values, or null when the contour has none of that name.
  const std::vector<double>* attrib(const std::string& name) const;
  // A contour is closed when its last point is its first (and it has more than two).
  bool closed() const;
};
using ContourPtr = std::shared_ptr<ContourObject>;

ContourPtr makeContour(std::vector<double> rows, std::vector<double> cols);

// The contours of an iconic input at position n, as regionsOf gives regions: 1500+n for an
// uninitialised object, 1100+n for another class.
std::vector<const ContourObject*> contoursOf(const HObject& object, const char* op, int n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
