#ifndef HALCONCPP_HOPERATORSGEOMETRY_H
#define HALCONCPP_HOPERATORSGEOMETRY_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Points and lines in image coordinates (the row first): distances, angles and intersections
// that programs compute beside measuring. Lines are given by two of their points; the
// operators taking several points work element by element on tuples of one length.
namespace HalconCpp {

HALCONCPP_API void DistancePp(const HTuple& Row1, const HTuple& Column1, const HTuple& Row2,
                              const HTuple& Column2, HTuple* Distance);
HALCONCPP_API void DistancePl(const HTuple& Row, const HTuple& Column, const HTuple& Row1,
                              const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
                              HTuple* Distance);
HALCONCPP_API void DistancePs(const HTuple& Row, const HTuple& Column, const HTuple& Row1,
                              const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
                              HTuple* DistanceMin, HTuple* DistanceMax);
HALCONCPP_API void DistanceSl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                              const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                              const HTuple& RowB2, const HTuple& ColumnB2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
HALCONCPP_API void DistanceSs(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                              const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                              const HTuple& RowB2, const HTuple& ColumnB2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
// Phi in (-pi/2, pi/2], counter-clockwise from the column axis.
HALCONCPP_API void LineOrientation(const HTuple& RowBegin, const HTuple& ColBegin,
                                   const HTuple& RowEnd, const HTuple& ColEnd, HTuple* Phi);
HALCONCPP_API void LinePosition(const HTuple& RowBegin, const HTuple& ColBegin,
                                const HTuple& RowEnd, const HTuple& ColEnd, HTuple* RowCenter,
                                HTuple* ColCenter, HTuple* Length, HTuple* Phi);
HALCONCPP_API void ProjectionPl(const HTuple& Row, const HTuple& Column, const HTuple& Row1,
                                const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
                                HTuple* RowProj, HTuple* ColProj);
HALCONCPP_API void AngleLx(const HTuple& Row1, const HTuple& Column1, const HTuple& Row2,
                           const HTuple& Column2, HTuple* Angle);
HALCONCPP_API void AngleLl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                           const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                           const HTuple& RowB2, const HTuple& ColumnB2, HTuple* Angle);
HALCONCPP_API void IntersectionLines(const HTuple& RowA1, const HTuple& ColumnA1,
                                     const HTuple& RowA2, const HTuple& ColumnA2,
                                     const HTuple& RowB1, const HTuple& ColumnB1,
                                     const HTuple& RowB2, const HTuple& ColumnB2, HTuple* Row,
                                     HTuple* Column, HTuple* IsOverlapping);

// Points, lines and segments against the pixel centres of one region; pairs of regions.
HALCONCPP_API void DistancePr(const HObject& Region, const HTuple& Row, const HTuple& Column,
                              HTuple* DistanceMin, HTuple* DistanceMax);
HALCONCPP_API void DistanceLr(const HObject& Region, const HTuple& Row1, const HTuple& Column1,
                              const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
HALCONCPP_API void DistanceSr(const HObject& Region, const HTuple& Row1, const HTuple& Column1,
                              const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
HALCONCPP_API void DistanceRrMin(const HObject& Regions1, const HObject& Regions2,
                                 HTuple* MinDistance, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                                 HTuple* Column2);
HALCONCPP_API void DistanceRrMinDil(const HObject& Regions1, const HObject& Regions2,
                                    HTuple* MinDistance);

// Points, lines, segments and contours against one contour, a polyline through its points.
HALCONCPP_API void DistancePc(const HObject& Contour, const HTuple& Row, const HTuple& Column,
                              HTuple* DistanceMin, HTuple* DistanceMax);
HALCONCPP_API void DistanceLc(const HObject& Contour, const HTuple& Row1, const HTuple& Column1,
                              const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
HALCONCPP_API void DistanceSc(const HObject& Contour, const HTuple& Row1, const HTuple& Column1,
                              const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                              HTuple* DistanceMax);
HALCONCPP_API void DistanceCc(const HObject& Contour1, const HObject& Contour2, const HTuple& Mode,
                              HTuple* DistanceMin, HTuple* DistanceMax);
HALCONCPP_API void DistanceCcMin(const HObject& Contour1, const HObject& Contour2,
                                 const HTuple& Mode, HTuple* DistanceMin);

HALCONCPP_API void GetPointsEllipse(const HTuple& Angle, const HTuple& Row, const HTuple& Column,
                                    const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2,
                                    HTuple* RowPoint, HTuple* ColPoint);

}  // namespace HalconCpp

#endif
