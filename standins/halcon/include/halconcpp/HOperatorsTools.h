#ifndef HALCONCPP_HOPERATORSTOOLS_H
#define HALCONCPP_HOPERATORSTOOLS_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// One-dimensional functions (HALCON 11.0 "Tools / Function"): a Function is a control tuple,
// [0, dx, x0, y...] for equidistant samples or [1, x..., y...] for pairs.
namespace HalconCpp {

HALCONCPP_API void CreateFunct1dArray(const HTuple& YValues, HTuple* Function);
HALCONCPP_API void CreateFunct1dPairs(const HTuple& XValues, const HTuple& YValues,
                                      HTuple* Function);
HALCONCPP_API void Funct1dToPairs(const HTuple& Function, HTuple* XValues, HTuple* YValues);
HALCONCPP_API void GetPairFunct1d(const HTuple& Function, const HTuple& Index, HTuple* X,
                                  HTuple* Y);
HALCONCPP_API void GetYValueFunct1d(const HTuple& Function, const HTuple& X,
                                    const HTuple& BorderMode, HTuple* Y);
HALCONCPP_API void NumPointsFunct1d(const HTuple& Function, HTuple* Length);
HALCONCPP_API void XRangeFunct1d(const HTuple& Function, HTuple* XMin, HTuple* XMax);
HALCONCPP_API void YRangeFunct1d(const HTuple& Function, HTuple* YMin, HTuple* YMax);
HALCONCPP_API void ScaleYFunct1d(const HTuple& Function, const HTuple& Mult, const HTuple& Add,
                                 HTuple* FunctionScaled);
HALCONCPP_API void NegateFunct1d(const HTuple& Function, HTuple* FunctionInverted);
HALCONCPP_API void AbsFunct1d(const HTuple& Function, HTuple* FunctionAbsolute);
HALCONCPP_API void TransformFunct1d(const HTuple& Function, const HTuple& Params,
                                    HTuple* TransformedFunction);
HALCONCPP_API void SampleFunct1d(const HTuple& Function, const HTuple& XMin, const HTuple& XMax,
                                 const HTuple& XDist, const HTuple& Border,
                                 HTuple* SampledFunction);
HALCONCPP_API void InvertFunct1d(const HTuple& Function, HTuple* InverseFunction);
HALCONCPP_API void ComposeFunct1d(const HTuple& Function1, const HTuple& Function2,
                                  const HTuple& Border, HTuple* ComposedFunction);
HALCONCPP_API void DerivateFunct1d(const HTuple& Function, const HTuple& Mode, HTuple* Derivative);
HALCONCPP_API void IntegrateFunct1d(const HTuple& Function, HTuple* Positive, HTuple* Negative);
HALCONCPP_API void ZeroCrossingsFunct1d(const HTuple& Function, HTuple* ZeroCrossings);
HALCONCPP_API void LocalMinMaxFunct1d(const HTuple& Function, const HTuple& Mode,
                                      const HTuple& Interpolation, HTuple* Min, HTuple* Max);
HALCONCPP_API void SmoothFunct1dMean(const HTuple& Function, const HTuple& SmoothSize,
                                     const HTuple& Iterations, HTuple* SmoothedFunction);
HALCONCPP_API void SmoothFunct1dGauss(const HTuple& Function, const HTuple& Sigma,
                                      HTuple* SmoothedFunction);

// The Hough transform (HALCON 11.0 "Tools / Hough"): lines in the normal form
// col cos(Angle) + row sin(Angle) = Dist, Angle from -90 to 180 degrees.
HALCONCPP_API void HoughLineTrans(const HObject& Region, HObject* HoughImage,
                                  const HTuple& AngleResolution);
HALCONCPP_API void HoughLines(const HObject& RegionIn, const HTuple& AngleResolution,
                              const HTuple& Threshold, const HTuple& AngleGap,
                              const HTuple& DistGap, HTuple* Angle, HTuple* Dist);
HALCONCPP_API void HoughLineTransDir(const HObject& ImageDir, HObject* HoughImage,
                                     const HTuple& DirectionUncertainty,
                                     const HTuple& AngleResolution);
HALCONCPP_API void HoughLinesDir(const HObject& ImageDir, HObject* HoughImage, HObject* Lines,
                                 const HTuple& DirectionUncertainty, const HTuple& AngleResolution,
                                 const HTuple& Smoothing, const HTuple& FilterSize,
                                 const HTuple& Threshold, const HTuple& AngleGap,
                                 const HTuple& DistGap, const HTuple& GenLines, HTuple* Angle,
                                 HTuple* Dist);
HALCONCPP_API void HoughCircleTrans(const HObject& Region, HObject* HoughImage,
                                    const HTuple& Radius);
HALCONCPP_API void HoughCircles(const HObject& RegionIn, HObject* RegionOut, const HTuple& Radius,
                                const HTuple& Percent, const HTuple& Mode);
HALCONCPP_API void SelectMatchingLines(const HObject& RegionIn, HObject* RegionLines,
                                       const HTuple& AngleIn, const HTuple& DistIn,
                                       const HTuple& LineWidth, const HTuple& Thresh,
                                       HTuple* AngleOut, HTuple* DistOut);

// Lines by their end points (HALCON 11.0 "Tools / Lines", and intersection_ll of "Legacy").
HALCONCPP_API void SelectLines(const HTuple& RowBeginIn, const HTuple& ColBeginIn,
                               const HTuple& RowEndIn, const HTuple& ColEndIn,
                               const HTuple& Feature, const HTuple& Operation, const HTuple& Min,
                               const HTuple& Max, HTuple* RowBeginOut, HTuple* ColBeginOut,
                               HTuple* RowEndOut, HTuple* ColEndOut);
HALCONCPP_API void PartitionLines(const HTuple& RowBeginIn, const HTuple& ColBeginIn,
                                  const HTuple& RowEndIn, const HTuple& ColEndIn,
                                  const HTuple& Feature, const HTuple& Operation, const HTuple& Min,
                                  const HTuple& Max, HTuple* RowBeginOut, HTuple* ColBeginOut,
                                  HTuple* RowEndOut, HTuple* ColEndOut, HTuple* FailRowBOut,
                                  HTuple* FailColBOut, HTuple* FailRowEOut, HTuple* FailColEOut);
HALCONCPP_API void SelectLinesLongest(const HTuple& RowBeginIn, const HTuple& ColBeginIn,
                                      const HTuple& RowEndIn, const HTuple& ColEndIn,
                                      const HTuple& Num, HTuple* RowBeginOut, HTuple* ColBeginOut,
                                      HTuple* RowEndOut, HTuple* ColEndOut);
HALCONCPP_API void IntersectionLl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                                  const HTuple& ColumnA2, const HTuple& RowB1,
                                  const HTuple& ColumnB1, const HTuple& RowB2,
                                  const HTuple& ColumnB2, HTuple* Row, HTuple* Column,
                                  HTuple* IsParallel);
// Functions in text files, as write_tuple writes the function's tuple.
HALCONCPP_API void WriteFunct1d(const HTuple& Function, const HTuple& FileName);
HALCONCPP_API void ReadFunct1d(const HTuple& FileName, HTuple* Function);

}  // namespace HalconCpp

#endif
