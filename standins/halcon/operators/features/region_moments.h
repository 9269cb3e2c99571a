// The moments of regions after the vendor's moments_region_* operators and the moment
// features of region_features and select_shape.
#ifndef QUORVEX_STANDINS_HALCON_REGION_MOMENTS_H
#define QUORVEX_STANDINS_HALCON_REGION_MOMENTS_H

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

// The area and the central moments summed over the pixels' centres: MUpq sums
// (row - row0)^p (column - column0)^q about the centre of gravity (row0, column0).
struct CentralMoments {
  double area = 0;
  double mu11 = 0;
  double mu20 = 0;
  double mu02 = 0;
  double mu21 = 0;
  double mu12 = 0;
  double mu30 = 0;
  double mu03 = 0;
};
CentralMoments centralMomentsOf(const Runs& runs);

// The outputs of moments_region_2nd, _2nd_invar, _2nd_rel_invar, _3rd, _3rd_invar, _central
// and _central_invar in that order, as region_features' Moments* features list them.
enum class Moment {
  M11,
  M20,
  M02,
  Ia,
  Ib,
  M11Invar,
  M20Invar,
  M02Invar,
  Phi1,
  Phi2,
  M21,
  M12,
  M03,
  M30,
  M21Invar,
  M12Invar,
  M03Invar,
  M30Invar,
  I1,
  I2,
  I3,
  I4,
  Psi1,
  Psi2,
  Psi3,
  Psi4,
};
// The moment's value; 0 for an empty region.
double momentOf(const CentralMoments& m, Moment moment);

}  // namespace Standin
}  // namespace HalconCpp

#endif
