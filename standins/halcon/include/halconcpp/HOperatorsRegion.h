#ifndef HALCONCPP_HOPERATORSREGION_H
#define HALCONCPP_HOPERATORSREGION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators that make, combine and transform regions. Parameters in the vendor's order: iconic
// inputs, iconic outputs, control inputs, control outputs. An output pointer passed as null is
// not written.
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
// The lines from each corner to the next; the filled polygon, closed from the last corner back
// to the first.
HALCONCPP_API void GenRegionPolygon(HObject* Region, const HTuple& Rows, const HTuple& Columns);
HALCONCPP_API void GenRegionPolygonFilled(HObject* Region, const HTuple& Rows,
                                          const HTuple& Columns);
HALCONCPP_API void RegionToBin(const HObject& Region, HObject* BinImage,
                               const HTuple& ForegroundGray, const HTuple& BackgroundGray,
                               const HTuple& Width, const HTuple& Height);
HALCONCPP_API void RegionToLabel(const HObject& Region, HObject* ImageLabel, const HTuple& Type,
                                 const HTuple& Width, const HTuple& Height);
// Image's grey values with each region painted in its mean (rounded) over the region.
HALCONCPP_API void RegionToMean(const HObject& Regions, const HObject& Image, HObject* ImageMean);

// Access: pixels, runs, border and hull as tuples, patterns, the regions that hold a pixel.
HALCONCPP_API void GetRegionPoints(const HObject& Region, HTuple* Rows, HTuple* Columns);
HALCONCPP_API void GetRegionRuns(const HObject& Region, HTuple* Row, HTuple* ColumnBegin,
                                 HTuple* ColumnEnd);
HALCONCPP_API void GetRegionContour(const HObject& Region, HTuple* Rows, HTuple* Columns);
HALCONCPP_API void GetRegionPolygon(const HObject& Region, const HTuple& Tolerance, HTuple* Rows,
                                    HTuple* Columns);
HALCONCPP_API void GetRegionChain(const HObject& Region, HTuple* Row, HTuple* Column,
                                  HTuple* Chain);
HALCONCPP_API void GetRegionConvex(const HObject& Region, HTuple* Rows, HTuple* Columns);
// The runs no shorter than ElimShorter and no longer than ElimLonger; the histograms of the
// lengths of the runs and of the gaps between runs of a row.
HALCONCPP_API void EliminateRuns(const HObject& Region, HObject* RegionClipped,
                                 const HTuple& ElimShorter, const HTuple& ElimLonger);
HALCONCPP_API void RunlengthDistribution(const HObject& Region, HTuple* Foreground,
                                         HTuple* Background);
HALCONCPP_API void GenRegionRuns(HObject* Region, const HTuple& Row, const HTuple& ColumnBegin,
                                 const HTuple& ColumnEnd);
HALCONCPP_API void GenGridRegion(HObject* RegionGrid, const HTuple& RowSteps,
                                 const HTuple& ColumnSteps, const HTuple& Type, const HTuple& Width,
                                 const HTuple& Height);
HALCONCPP_API void GenCheckerRegion(HObject* RegionChecker, const HTuple& WidthRegion,
                                    const HTuple& HeightRegion, const HTuple& WidthPattern,
                                    const HTuple& HeightPattern);
HALCONCPP_API void SelectRegionPoint(const HObject& Regions, HObject* DestRegions,
                                     const HTuple& Row, const HTuple& Column);
HALCONCPP_API void GetRegionIndex(const HObject& Regions, const HTuple& Row, const HTuple& Column,
                                  HTuple* Index);

// Set operations.
HALCONCPP_API void Intersection(const HObject& Region1, const HObject& Region2,
                                HObject* RegionIntersection);
HALCONCPP_API void Union1(const HObject& Region, HObject* RegionUnion);
HALCONCPP_API void Union2(const HObject& Region1, const HObject& Region2, HObject* RegionUnion);
HALCONCPP_API void Difference(const HObject& Region, const HObject& Sub, HObject* RegionDifference);
// Within the system's "width" x "height" frame.
HALCONCPP_API void Complement(const HObject& Region, HObject* RegionComplement);

// Transformations.
HALCONCPP_API void MoveRegion(const HObject& Region, HObject* RegionMoved, const HTuple& Row,
                              const HTuple& Column);
HALCONCPP_API void TransposeRegion(const HObject& Region, HObject* Transposed, const HTuple& Row,
                                   const HTuple& Column);
HALCONCPP_API void MirrorRegion(const HObject& Region, HObject* RegionMirror, const HTuple& Mode,
                                const HTuple& WidthHeight);
HALCONCPP_API void ZoomRegion(const HObject& Region, HObject* RegionZoom, const HTuple& ScaleWidth,
                              const HTuple& ScaleHeight);
HALCONCPP_API void ClipRegion(const HObject& Region, HObject* RegionClipped, const HTuple& Row1,
                              const HTuple& Column1, const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void ClipRegionRel(const HObject& Region, HObject* RegionClipped, const HTuple& Top,
                                 const HTuple& Bottom, const HTuple& Left, const HTuple& Right);
HALCONCPP_API void TestRegionPoint(const HObject& Regions, const HTuple& Row, const HTuple& Column,
                                   HTuple* IsInside);
// Each region of Region1 against the union of Region2: the pixels in one of them only, and
// whether it lies inside (1) or not (0).
HALCONCPP_API void SymmDifference(const HObject& Region1, const HObject& Region2,
                                  HObject* RegionDifference);
HALCONCPP_API void TestSubsetRegion(const HObject& Region1, const HObject& Region2,
                                    HTuple* IsSubset);
// An image of Width x Height per region, each pixel of the measured kind holding its distance to
// the other kind; the regions of equal grey value of a label image, ascending.
HALCONCPP_API void DistanceTransform(const HObject& Region, HObject* DistanceImage,
                                     const HTuple& Metric, const HTuple& Foreground,
                                     const HTuple& Width, const HTuple& Height);
HALCONCPP_API void LabelToRegion(const HObject& LabelImage, HObject* Regions);
HALCONCPP_API void TestEqualRegion(const HObject& Regions1, const HObject& Regions2,
                                   HTuple* IsEqual);
HALCONCPP_API void FillUp(const HObject& Region, HObject* RegionFillUp);
HALCONCPP_API void FillUpShape(const HObject& Region, HObject* RegionFillUp, const HTuple& Feature,
                               const HTuple& Min, const HTuple& Max);
HALCONCPP_API void ShapeTrans(const HObject& Region, HObject* RegionTrans, const HTuple& Type);

}  // namespace HalconCpp

#endif
