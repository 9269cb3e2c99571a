// Contours (XLD) behind HObject: polylines with sub-pixel points.
#ifndef QUORVEX_STANDINS_HALCON_CONTOUR_H
#define QUORVEX_STANDINS_HALCON_CONTOUR_H

#include <vector>

#include "core/iconic.h"

namespace HalconCpp {
namespace Standin {

struct ContourObject : IconicObject {
  std::vector<double> rows;
  std::vector<double> cols;
  const char* className() const override { return "xld_cont"; }
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
