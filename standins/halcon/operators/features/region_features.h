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
};

// False for a name the stand-in does not know.
bool featureNamed(const std::string& name, Feature* feature);
// The feature's value; 0 for an empty region.
double featureOf(const Runs& runs, Feature feature);

}  // namespace Standin
}  // namespace HalconCpp

#endif
