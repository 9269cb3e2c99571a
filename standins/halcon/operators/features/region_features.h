// The shape features of regions by the vendor's names, as region_features, select_shape
// and fill_up_shape read them.
#ifndef QUORVEX_STANDINS_HALCON_REGION_FEATURES_H
#define QUORVEX_STANDINS_HALCON_REGION_FEATURES_H

#include <string>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

enum class Feature {
  Area,
  Row,
  Column,
  Width,
  Height,
  Ratio,
  Row1,
  Column1,
  Row2,
  Column2,
  Circularity,
  Compactness,
  Contlength,
  Convexity,
  Rectangularity,
  Ra,
  Rb,
  Phi,
  Anisometry,
  Bulkiness,
  StructFactor,
  OuterRadius,
  InnerRadius,
  InnerWidth,
  InnerHeight,
  DistMean,
  DistDeviation,
  Roundness,
  ConnectNum,
  HolesNum,
  AreaHoles,
  EulerNumber,
  MaxDiameter,
  Orientation,
  Rect2Phi,
  Rect2Len1,
  Rect2Len2,
  // The moments of moments_region_2nd, _2nd_invar, _2nd_rel_invar, _3rd, _3rd_invar,
  // _central and _central_invar, in the order of region_moments.h's Moment.
  MomentsM11,
  MomentsM20,
  MomentsM02,
  MomentsIa,
  MomentsIb,
  MomentsM11Invar,
  MomentsM20Invar,
  MomentsM02Invar,
  MomentsPhi1,
  MomentsPhi2,
  MomentsM21,
  MomentsM12,
  MomentsM03,
  MomentsM30,
  MomentsM21Invar,
  MomentsM12Invar,
  MomentsM03Invar,
  MomentsM30Invar,
  MomentsI1,
  MomentsI2,
  MomentsI3,
  MomentsI4,
  MomentsPsi1,
  MomentsPsi2,
  MomentsPsi3,
  MomentsPsi4,
  NumSides,
};

// False for a name the stand-in does not know.
bool featureNamed(const std::string& name, Feature* feature);
// The feature's value; 0 for an empty region.
double featureOf(const Runs& runs, Feature feature);

}  // namespace Standin
}  // namespace HalconCpp

#endif
