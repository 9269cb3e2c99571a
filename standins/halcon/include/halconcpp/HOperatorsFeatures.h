#ifndef HALCONCPP_HOPERATORSFEATURES_H
#define HALCONCPP_HOPERATORSFEATURES_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators that measure regions and choose and order them by their shapes. Parameters in the
// vendor's order: iconic inputs, iconic outputs, control inputs, control outputs. An output
// pointer passed as null is not written.
namespace HalconCpp {

// Features.
HALCONCPP_API void SmallestRectangle1(const HObject& Regions, HTuple* Row1, HTuple* Column1,
                                      HTuple* Row2, HTuple* Column2);
HALCONCPP_API void SmallestRectangle2(const HObject& Regions, HTuple* Row, HTuple* Column,
                                      HTuple* Phi, HTuple* Length1, HTuple* Length2);
HALCONCPP_API void SmallestCircle(const HObject& Regions, HTuple* Row, HTuple* Column,
                                  HTuple* Radius);
HALCONCPP_API void InnerCircle(const HObject& Regions, HTuple* Row, HTuple* Column, HTuple* Radius);
HALCONCPP_API void EllipticAxis(const HObject& Regions, HTuple* Ra, HTuple* Rb, HTuple* Phi);
HALCONCPP_API void OrientationRegion(const HObject& Regions, HTuple* Phi);
// For each region, the value of each feature in turn.
HALCONCPP_API void RegionFeatures(const HObject& Regions, const HTuple& Features, HTuple* Value);

// Selection and order.
HALCONCPP_API void SelectShape(const HObject& Regions, HObject* SelectedRegions,
                               const HTuple& Features, const HTuple& Operation, const HTuple& Min,
                               const HTuple& Max);
HALCONCPP_API void SelectShapeStd(const HObject& Regions, HObject* SelectedRegions,
                                  const HTuple& Shape, const HTuple& Percent);
HALCONCPP_API void SortRegion(const HObject& Regions, HObject* SortedRegions,
                              const HTuple& SortMode, const HTuple& Order, const HTuple& RowOrCol);

}  // namespace HalconCpp

#endif
