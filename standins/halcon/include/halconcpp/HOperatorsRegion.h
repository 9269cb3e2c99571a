#ifndef HALCONCPP_HOPERATORSREGION_H
#define HALCONCPP_HOPERATORSREGION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators that make, combine, transform, measure and select regions. Parameters in the
// vendor's order: iconic inputs, iconic outputs, control inputs, control outputs. An output
// pointer passed as null is not written.
namespace HalconCpp {

// Creation.
HALCONCPP_API void GenEmptyRegion(HObject* EmptyRegion);
HALCONCPP_API void GenRectangle2(HObject* Rectangle, const HTuple& Row, const HTuple& Column,
                                 const HTuple& Phi, const HTuple& Length1, const HTuple& Length2);
HALCONCPP_API void GenEllipse(HObject* Ellipse, const HTuple& Row, const HTuple& Column,
                              const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2);
HALCONCPP_API void GenRegionLine(HObject* RegionLines, const HTuple& BeginRow,
                                 const HTuple& BeginCol, const HTuple& EndRow,
                                 const HTuple& EndCol);
HALCONCPP_API void GenRegionPoints(HObject* Region, const HTuple& Rows, const HTuple& Columns);
HALCONCPP_API void RegionToBin(const HObject& Region, HObject* BinImage,
                               const HTuple& ForegroundGray, const HTuple& BackgroundGray,
                               const HTuple& Width, const HTuple& Height);

// Set operations.
HALCONCPP_API void Intersection(const HObject& Region1, const HObject& Region2,
                                HObject* RegionIntersection);
HALCONCPP_API void Union1(const HObject& Region, HObject* RegionUnion);
HALCONCPP_API void Union2(const HObject& Region1, const HObject& Region2, HObject* RegionUnion);
HALCONCPP_API void Difference(const HObject& Region, const HObject& Sub, HObject* RegionDifference);
// Within the system's "width" x "height" frame.
HALCONCPP_API void Complement(const HObject& Region, HObject* RegionComplement);

// Transformations.
HALCONCPP_API void FillUp(const HObject& Region, HObject* RegionFillUp);
HALCONCPP_API void FillUpShape(const HObject& Region, HObject* RegionFillUp, const HTuple& Feature,
                               const HTuple& Min, const HTuple& Max);
HALCONCPP_API void ShapeTrans(const HObject& Region, HObject* RegionTrans, const HTuple& Type);

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
