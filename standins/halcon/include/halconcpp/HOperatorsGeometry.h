#ifndef HALCONCPP_HOPERATORSGEOMETRY_H
#define HALCONCPP_HOPERATORSGEOMETRY_H

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

HALCONCPP_API void GetPointsEllipse(const HTuple& Angle, const HTuple& Row, const HTuple& Column,
                                    const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2,
                                    HTuple* RowPoint, HTuple* ColPoint);

}  // namespace HalconCpp

#endif
