#ifndef HALCONCPP_HOPERATORSMEASURE_H
#define HALCONCPP_HOPERATORSMEASURE_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// 1-D measuring: a measure object (a rectangle or an annular arc, behind an integer handle)
// turns the grey values of an image into a profile along its major axis, on which edges, edge
// pairs and threshold crossings are found at sub-pixel positions.
namespace HalconCpp {

// Measure objects.
HALCONCPP_API void GenMeasureRectangle2(const HTuple& Row, const HTuple& Column, const HTuple& Phi,
                                        const HTuple& Length1, const HTuple& Length2,
                                        const HTuple& Width, const HTuple& Height,
                                        const HTuple& Interpolation, HTuple* MeasureHandle);
HALCONCPP_API void GenMeasureArc(const HTuple& CenterRow, const HTuple& CenterCol,
                                 const HTuple& Radius, const HTuple& AngleStart,
                                 const HTuple& AngleExtent, const HTuple& AnnulusRadius,
                                 const HTuple& Width, const HTuple& Height,
                                 const HTuple& Interpolation, HTuple* MeasureHandle);
HALCONCPP_API void TranslateMeasure(const HTuple& MeasureHandle, const HTuple& Row,
                                    const HTuple& Column);
HALCONCPP_API void CloseMeasure(const HTuple& MeasureHandle);
HALCONCPP_API void CloseAllMeasures();

// Measuring.
HALCONCPP_API void MeasureProjection(const HObject& Image, const HTuple& MeasureHandle,
                                     HTuple* GrayValues);
HALCONCPP_API void MeasurePos(const HObject& Image, const HTuple& MeasureHandle,
                              const HTuple& Sigma, const HTuple& Threshold,
                              const HTuple& Transition, const HTuple& Select, HTuple* RowEdge,
                              HTuple* ColumnEdge, HTuple* Amplitude, HTuple* Distance);
HALCONCPP_API void MeasurePairs(const HObject& Image, const HTuple& MeasureHandle,
                                const HTuple& Sigma, const HTuple& Threshold,
                                const HTuple& Transition, const HTuple& Select,
                                HTuple* RowEdgeFirst, HTuple* ColumnEdgeFirst,
                                HTuple* AmplitudeFirst, HTuple* RowEdgeSecond,
                                HTuple* ColumnEdgeSecond, HTuple* AmplitudeSecond,
                                HTuple* IntraDistance, HTuple* InterDistance);
HALCONCPP_API void MeasureThresh(const HObject& Image, const HTuple& MeasureHandle,
                                 const HTuple& Sigma, const HTuple& Threshold, const HTuple& Select,
                                 HTuple* RowThresh, HTuple* ColumnThresh, HTuple* Distance);

}  // namespace HalconCpp

#endif
