#ifndef HALCONCPP_HOPERATORSXLD_H
#define HALCONCPP_HOPERATORSXLD_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// XLD contours: polylines of sub-pixel points, in image coordinates (the row first, pixel
// centres at whole numbers). Angles are counter-clockwise from the column axis, as the
// region operators measure them.
namespace HalconCpp {

// Creation.
HALCONCPP_API void GenCircleContourXld(HObject* ContCircle, const HTuple& Row, const HTuple& Column,
                                       const HTuple& Radius, const HTuple& StartPhi,
                                       const HTuple& EndPhi, const HTuple& PointOrder,
                                       const HTuple& Resolution);
HALCONCPP_API void GenEllipseContourXld(HObject* ContEllipse, const HTuple& Row,
                                        const HTuple& Column, const HTuple& Phi,
                                        const HTuple& Radius1, const HTuple& Radius2,
                                        const HTuple& StartPhi, const HTuple& EndPhi,
                                        const HTuple& PointOrder, const HTuple& Resolution);
HALCONCPP_API void GenRectangle2ContourXld(HObject* Rectangle, const HTuple& Row,
                                           const HTuple& Column, const HTuple& Phi,
                                           const HTuple& Length1, const HTuple& Length2);
HALCONCPP_API void GenContourRegionXld(const HObject& Regions, HObject* Contours,
                                       const HTuple& Mode);
HALCONCPP_API void GenRegionContourXld(const HObject& Contour, HObject* Region, const HTuple& Mode);
HALCONCPP_API void AffineTransContourXld(const HObject& Contours, HObject* ContoursAffinTrans,
                                         const HTuple& HomMat2D);

// Access.
HALCONCPP_API void GetContourXld(const HObject& Contour, HTuple* Row, HTuple* Col);
HALCONCPP_API void ContourPointNumXld(const HObject& Contour, HTuple* Length);
HALCONCPP_API void GetContourAttribXld(const HObject& Contour, const HTuple& Name, HTuple* Attrib);
HALCONCPP_API void QueryContourAttribsXld(const HObject& Contour, HTuple* Attribs);
HALCONCPP_API void TestClosedXld(const HObject& XLD, HTuple* IsClosed);

// Features.
HALCONCPP_API void LengthXld(const HObject& XLD, HTuple* Length);
HALCONCPP_API void AreaCenterXld(const HObject& XLD, HTuple* Area, HTuple* Row, HTuple* Column,
                                 HTuple* PointOrder);
HALCONCPP_API void SmallestRectangle1Xld(const HObject& XLD, HTuple* Row1, HTuple* Column1,
                                         HTuple* Row2, HTuple* Column2);
HALCONCPP_API void SmallestRectangle2Xld(const HObject& XLD, HTuple* Row, HTuple* Column,
                                         HTuple* Phi, HTuple* Length1, HTuple* Length2);
HALCONCPP_API void SelectShapeXld(const HObject& XLD, HObject* SelectedXLD, const HTuple& Features,
                                  const HTuple& Operation, const HTuple& Min, const HTuple& Max);
HALCONCPP_API void AreaCenterPointsXld(const HObject& XLD, HTuple* Area, HTuple* Row,
                                       HTuple* Column);
HALCONCPP_API void SmallestCircleXld(const HObject& XLD, HTuple* Row, HTuple* Column,
                                     HTuple* Radius);
HALCONCPP_API void EllipticAxisXld(const HObject& XLD, HTuple* Ra, HTuple* Rb, HTuple* Phi);
HALCONCPP_API void EllipticAxisPointsXld(const HObject& XLD, HTuple* Ra, HTuple* Rb, HTuple* Phi);
HALCONCPP_API void OrientationXld(const HObject& XLD, HTuple* Phi);
HALCONCPP_API void OrientationPointsXld(const HObject& XLD, HTuple* Phi);
HALCONCPP_API void CircularityXld(const HObject& XLD, HTuple* Circularity);
HALCONCPP_API void CompactnessXld(const HObject& XLD, HTuple* Compactness);
HALCONCPP_API void ConvexityXld(const HObject& XLD, HTuple* Convexity);
HALCONCPP_API void RectangularityXld(const HObject& XLD, HTuple* Rectangularity);
HALCONCPP_API void DiameterXld(const HObject& XLD, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                               HTuple* Column2, HTuple* Diameter);
HALCONCPP_API void EccentricityXld(const HObject& XLD, HTuple* Anisometry, HTuple* Bulkiness,
                                   HTuple* StructureFactor);
HALCONCPP_API void EccentricityPointsXld(const HObject& XLD, HTuple* Anisometry);
HALCONCPP_API void MomentsXld(const HObject& XLD, HTuple* M11, HTuple* M20, HTuple* M02);
HALCONCPP_API void MomentsPointsXld(const HObject& XLD, HTuple* M11, HTuple* M20, HTuple* M02);
HALCONCPP_API void MomentsAnyXld(const HObject& XLD, const HTuple& Mode, const HTuple& PointOrder,
                                 const HTuple& Area, const HTuple& CenterRow,
                                 const HTuple& CenterCol, const HTuple& P, const HTuple& Q,
                                 HTuple* M);
HALCONCPP_API void MomentsAnyPointsXld(const HObject& XLD, const HTuple& Mode, const HTuple& Area,
                                       const HTuple& CenterRow, const HTuple& CenterCol,
                                       const HTuple& P, const HTuple& Q, HTuple* M);
HALCONCPP_API void TestSelfIntersectionXld(const HObject& XLD, const HTuple& CloseXLD,
                                           HTuple* DoesIntersect);

// Fitting.
HALCONCPP_API void FitLineContourXld(const HObject& Contours, const HTuple& Algorithm,
                                     const HTuple& MaxNumPoints, const HTuple& ClippingEndPoints,
                                     const HTuple& Iterations, const HTuple& ClippingFactor,
                                     HTuple* RowBegin, HTuple* ColBegin, HTuple* RowEnd,
                                     HTuple* ColEnd, HTuple* Nr, HTuple* Nc, HTuple* Dist);
HALCONCPP_API void FitCircleContourXld(const HObject& Contours, const HTuple& Algorithm,
                                       const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                                       const HTuple& ClippingEndPoints, const HTuple& Iterations,
                                       const HTuple& ClippingFactor, HTuple* Row, HTuple* Column,
                                       HTuple* Radius, HTuple* StartPhi, HTuple* EndPhi,
                                       HTuple* PointOrder);
HALCONCPP_API void FitEllipseContourXld(const HObject& Contours, const HTuple& Algorithm,
                                        const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                                        const HTuple& ClippingEndPoints, const HTuple& VossTabSize,
                                        const HTuple& Iterations, const HTuple& ClippingFactor,
                                        HTuple* Row, HTuple* Column, HTuple* Phi, HTuple* Radius1,
                                        HTuple* Radius2, HTuple* StartPhi, HTuple* EndPhi,
                                        HTuple* PointOrder);
HALCONCPP_API void FitRectangle2ContourXld(const HObject& Contours, const HTuple& Algorithm,
                                           const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                                           const HTuple& ClippingEndPoints,
                                           const HTuple& Iterations, const HTuple& ClippingFactor,
                                           HTuple* Row, HTuple* Column, HTuple* Phi,
                                           HTuple* Length1, HTuple* Length2, HTuple* PointOrder);
HALCONCPP_API void DistEllipseContourXld(const HObject& Contours, const HTuple& Mode,
                                         const HTuple& MaxNumPoints,
                                         const HTuple& ClippingEndPoints, const HTuple& Row,
                                         const HTuple& Column, const HTuple& Phi,
                                         const HTuple& Radius1, const HTuple& Radius2,
                                         HTuple* MinDist, HTuple* MaxDist, HTuple* AvgDist,
                                         HTuple* SigmaDist);
HALCONCPP_API void DistEllipseContourPointsXld(const HObject& Contour, const HTuple& DistanceMode,
                                               const HTuple& ClippingEndPoints, const HTuple& Row,
                                               const HTuple& Column, const HTuple& Phi,
                                               const HTuple& Radius1, const HTuple& Radius2,
                                               HTuple* Distances);
HALCONCPP_API void DistRectangle2ContourPointsXld(const HObject& Contour,
                                                  const HTuple& ClippingEndPoints,
                                                  const HTuple& Row, const HTuple& Column,
                                                  const HTuple& Phi, const HTuple& Length1,
                                                  const HTuple& Length2, HTuple* Distances);

// Processing.
HALCONCPP_API void SmoothContoursXld(const HObject& Contours, HObject* SmoothedContours,
                                     const HTuple& NumRegrPoints);
HALCONCPP_API void UnionAdjacentContoursXld(const HObject& Contours, HObject* UnionContours,
                                            const HTuple& MaxDistAbs, const HTuple& MaxDistRel,
                                            const HTuple& Mode);
HALCONCPP_API void CloseContoursXld(const HObject& Contours, HObject* ClosedContours);
HALCONCPP_API void GenCrossContourXld(HObject* Cross, const HTuple& Row, const HTuple& Col,
                                      const HTuple& Size, const HTuple& Angle);
HALCONCPP_API void SelectContoursXld(const HObject& Contours, HObject* SelectedContours,
                                     const HTuple& Feature, const HTuple& Min1, const HTuple& Max1,
                                     const HTuple& Min2, const HTuple& Max2);
HALCONCPP_API void GetContourGlobalAttribXld(const HObject& Contour, const HTuple& Name,
                                             HTuple* Attrib);
HALCONCPP_API void QueryContourGlobalAttribsXld(const HObject& Contour, HTuple* Attribs);
HALCONCPP_API void ShapeTransXld(const HObject& XLD, HObject* XLDTrans, const HTuple& Type);
HALCONCPP_API void SegmentContoursXld(const HObject& Contours, HObject* ContoursSplit,
                                      const HTuple& Mode, const HTuple& SmoothCont,
                                      const HTuple& MaxLineDist1, const HTuple& MaxLineDist2);

// Sub-pixel edges of a byte image: 'canny' and 'sobel_fast'. Each edge carries the point
// attributes 'edge_direction', 'angle' and 'response'.
HALCONCPP_API void EdgesSubPix(const HObject& Image, HObject* Edges, const HTuple& Filter,
                               const HTuple& Alpha, const HTuple& Low, const HTuple& High);
// Steger's lines of a light or dark curvilinear structure, with their widths on request.
HALCONCPP_API void LinesGauss(const HObject& Image, HObject* Lines, const HTuple& Sigma,
                              const HTuple& Low, const HTuple& High, const HTuple& LightDark,
                              const HTuple& ExtractWidth, const HTuple& LineModel,
                              const HTuple& CompleteJunctions);
// The same lines from the derivatives of the quadratic fitted to each MaskSize x MaskSize
// window (the facet model), without widths.
HALCONCPP_API void LinesFacet(const HObject& Image, HObject* Lines, const HTuple& MaskSize,
                              const HTuple& Low, const HTuple& High, const HTuple& LightDark);

// Where the image, interpolated bilinearly between the pixel centres, crosses a level:
// Threshold, or zero for signed images.
HALCONCPP_API void ThresholdSubPix(const HObject& Image, HObject* Border, const HTuple& Threshold);
HALCONCPP_API void ZeroCrossingSubPix(const HObject& Image, HObject* ZeroCrossings);

// Display: contours and polygons, as polylines in the window's colour and line width.
HALCONCPP_API void DispXld(const HObject& XLDObject, const HTuple& WindowHandle);

// Polygons ("xld_poly"): the corners of an approximated contour.
HALCONCPP_API void GenPolygonsXld(const HObject& Contours, HObject* Polygons, const HTuple& Type,
                                  const HTuple& Alpha);
HALCONCPP_API void GetPolygonXld(const HObject& Polygon, HTuple* Row, HTuple* Col, HTuple* Length,
                                 HTuple* Phi);
HALCONCPP_API void GetLinesXld(const HObject& Polygon, HTuple* BeginRow, HTuple* BeginCol,
                               HTuple* EndRow, HTuple* EndCol, HTuple* Length, HTuple* Phi);
HALCONCPP_API void SplitContoursXld(const HObject& Polygons, HObject* Contours, const HTuple& Mode,
                                    const HTuple& Weight, const HTuple& Smooth);
HALCONCPP_API void AffineTransPolygonXld(const HObject& Polygons, HObject* PolygonsAffinTrans,
                                         const HTuple& HomMat2D);
// paint_xld: contours and polygons filled into a copy of the image, anti-aliased.
HALCONCPP_API void PaintXld(const HObject& XLD, const HObject& Image, HObject* ImageResult,
                            const HTuple& Grayval);
HALCONCPP_API void GenRegionPolygonXld(const HObject& Polygon, HObject* Region, const HTuple& Mode);

// Editing: contours cut to a rectangle, shortened at their ends, sorted by position, and
// their regression lines.
HALCONCPP_API void CropContoursXld(const HObject& Contours, HObject* CroppedContours,
                                   const HTuple& Row1, const HTuple& Col1, const HTuple& Row2,
                                   const HTuple& Col2, const HTuple& CloseContours);
HALCONCPP_API void ClipContoursXld(const HObject& Contours, HObject* ClippedContours,
                                   const HTuple& Row1, const HTuple& Column1, const HTuple& Row2,
                                   const HTuple& Column2);
HALCONCPP_API void ClipEndPointsContoursXld(const HObject& Contours, HObject* ClippedContours,
                                            const HTuple& Mode, const HTuple& Length);
HALCONCPP_API void SortContoursXld(const HObject& Contours, HObject* SortedContours,
                                   const HTuple& SortMode, const HTuple& Order,
                                   const HTuple& RowOrCol);
HALCONCPP_API void RegressContoursXld(const HObject& Contours, HObject* RegressContours,
                                      const HTuple& Mode, const HTuple& Iterations);
HALCONCPP_API void GetContourAngleXld(const HObject& Contour, const HTuple& AngleMode,
                                      const HTuple& CalcMode, const HTuple& Lookaround,
                                      HTuple* Angles);
HALCONCPP_API void DistanceContoursXld(const HObject& ContourFrom, const HObject& ContourTo,
                                       HObject* ContourOut, const HTuple& Mode);
HALCONCPP_API void UnionStraightContoursXld(const HObject& Contours, HObject* UnionContours,
                                            const HTuple& MaxDist, const HTuple& MaxDiff,
                                            const HTuple& Percent, const HTuple& Mode,
                                            const HTuple& Iterations);
HALCONCPP_API void GetRegressParamsXld(const HObject& Contours, HTuple* Length, HTuple* Nx,
                                       HTuple* Ny, HTuple* Dist, HTuple* Fpx, HTuple* Fpy,
                                       HTuple* Lpx, HTuple* Lpy, HTuple* Mean, HTuple* Deviation);

// Sets: the regions closed contours or polygons enclose, combined.
HALCONCPP_API void IntersectionClosedContoursXld(const HObject& Contours1, const HObject& Contours2,
                                                 HObject* ContoursIntersection);
HALCONCPP_API void Union2ClosedContoursXld(const HObject& Contours1, const HObject& Contours2,
                                           HObject* ContoursUnion);
HALCONCPP_API void DifferenceClosedContoursXld(const HObject& Contours, const HObject& Sub,
                                               HObject* ContoursDifference);
HALCONCPP_API void SymmDifferenceClosedContoursXld(const HObject& Contours1,
                                                   const HObject& Contours2,
                                                   HObject* ContoursDifference);
HALCONCPP_API void IntersectionClosedPolygonsXld(const HObject& Polygons1, const HObject& Polygons2,
                                                 HObject* PolygonsIntersection);
HALCONCPP_API void Union2ClosedPolygonsXld(const HObject& Polygons1, const HObject& Polygons2,
                                           HObject* PolygonsUnion);
HALCONCPP_API void DifferenceClosedPolygonsXld(const HObject& Polygons, const HObject& Sub,
                                               HObject* PolygonsDifference);
HALCONCPP_API void SymmDifferenceClosedPolygonsXld(const HObject& Polygons1,
                                                   const HObject& Polygons2,
                                                   HObject* PolygonsDifference);
HALCONCPP_API void GenParallelContourXld(const HObject& Contours, HObject* ParallelContours,
                                         const HTuple& Mode, const HTuple& Distance);

}  // namespace HalconCpp

#endif
