#ifndef HALCONCPP_HOPERATORSSEGMENTATION_H
#define HALCONCPP_HOPERATORSSEGMENTATION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Thresholds against constants and other images, the grey-value statistics they are chosen
// by, segmentation by regions grown, by the image's relief and by partitions of regions.
namespace HalconCpp {

// Thresholds and statistics.
HALCONCPP_API void DynThreshold(const HObject& OrigImage, const HObject& ThresholdImage,
                                HObject* RegionDynThresh, const HTuple& Offset,
                                const HTuple& LightDark);
HALCONCPP_API void VarThreshold(const HObject& Image, HObject* Region, const HTuple& MaskWidth,
                                const HTuple& MaskHeight, const HTuple& StdDevScale,
                                const HTuple& AbsThreshold, const HTuple& LightDark);
HALCONCPP_API void BinaryThreshold(const HObject& Image, HObject* Region, const HTuple& Method,
                                   const HTuple& LightDark, HTuple* UsedThreshold);
HALCONCPP_API void MinMaxGray(const HObject& Regions, const HObject& Image, const HTuple& Percent,
                              HTuple* Min, HTuple* Max, HTuple* Range);
HALCONCPP_API void Intensity(const HObject& Regions, const HObject& Image, HTuple* Mean,
                             HTuple* Deviation);
HALCONCPP_API void GrayHisto(const HObject& Regions, const HObject& Image, HTuple* AbsoluteHisto,
                             HTuple* RelativeHisto);

// Regions grown over a raster, basins of the grey-value relief, extrema.
HALCONCPP_API void Regiongrowing(const HObject& Image, HObject* Regions, const HTuple& Row,
                                 const HTuple& Column, const HTuple& Tolerance,
                                 const HTuple& MinSize);
HALCONCPP_API void Watersheds(const HObject& Image, HObject* Basins, HObject* Watersheds);
HALCONCPP_API void WatershedsThreshold(const HObject& Image, HObject* Basins,
                                       const HTuple& Threshold);
HALCONCPP_API void LocalMax(const HObject& Image, HObject* LocalMaxima);
HALCONCPP_API void LocalMin(const HObject& Image, HObject* LocalMinima);
// The pixels at least as high (low) as every 8-neighbour, one region per connected set; the
// _center ones give each set's centre of gravity as one pixel.
HALCONCPP_API void Plateaus(const HObject& Image, HObject* Plateaus);
HALCONCPP_API void PlateausCenter(const HObject& Image, HObject* Plateaus);
HALCONCPP_API void Lowlands(const HObject& Image, HObject* Lowlands);
HALCONCPP_API void LowlandsCenter(const HObject& Image, HObject* Lowlands);

// Thresholds found in a histogram, and fast_threshold.
HALCONCPP_API void HistoToThresh(const HTuple& Histogramm, const HTuple& Sigma, HTuple* MinThresh,
                                 HTuple* MaxThresh);
HALCONCPP_API void BinThreshold(const HObject& Image, HObject* Region);
HALCONCPP_API void CharThreshold(const HObject& Image, const HObject& HistoRegion,
                                 HObject* Characters, const HTuple& Sigma, const HTuple& Percent,
                                 HTuple* Threshold);
HALCONCPP_API void HysteresisThreshold(const HObject& Image, HObject* RegionHysteresis,
                                       const HTuple& Low, const HTuple& High,
                                       const HTuple& MaxLength);
HALCONCPP_API void FastThreshold(const HObject& Image, HObject* Region, const HTuple& MinGray,
                                 const HTuple& MaxGray, const HTuple& MinSize);

// Regions grown into the gaps between them, or their overlaps shared out.
HALCONCPP_API void ExpandRegion(const HObject& Regions, const HObject& ForbiddenArea,
                                HObject* RegionExpanded, const HTuple& Iterations,
                                const HTuple& Mode);
HALCONCPP_API void ExpandGray(const HObject& Regions, const HObject& Image,
                              const HObject& ForbiddenArea, HObject* RegionExpand,
                              const HTuple& Iterations, const HTuple& Mode,
                              const HTuple& Threshold);
HALCONCPP_API void ExpandGrayRef(const HObject& Regions, const HObject& Image,
                                 const HObject& ForbiddenArea, HObject* RegionExpand,
                                 const HTuple& Iterations, const HTuple& Mode,
                                 const HTuple& RefGray, const HTuple& Threshold);

// Regions cut into parts.
HALCONCPP_API void PartitionRectangle(const HObject& Region, HObject* Partitioned,
                                      const HTuple& Width, const HTuple& Height);
HALCONCPP_API void PartitionDynamic(const HObject& Region, HObject* Partitioned,
                                    const HTuple& Distance, const HTuple& Percent);

// Regions grown from seeds (none: from each free pixel in turn) while a 4-neighbour differs
// from the region's running mean by less than Tolerance; those under MinSize pixels dropped.
HALCONCPP_API void RegiongrowingMean(const HObject& Image, HObject* Regions,
                                     const HTuple& StartRows, const HTuple& StartColumns,
                                     const HTuple& Tolerance, const HTuple& MinSize);
// The region grown up and down each column from row Coordinate ('row', or left and right
// along each row from a column) while the grey value stays within Threshold of the line's
// mean ('mean') or of the last pixel taken ('gradient').
HALCONCPP_API void ExpandLine(const HObject& Image, HObject* RegionExpand, const HTuple& Coordinate,
                              const HTuple& ExpandType, const HTuple& RowColumn,
                              const HTuple& Threshold);

// The sub-pixel local extrema and saddle points of the quadratic each pixel's derivatives give
// ('gauss': Gaussian derivatives of Sigma; 'facet': the 3 x 3 facet model after a Gaussian of
// Sigma), where the Hessian's eigenvalues are beyond Threshold with the kind's signs.
HALCONCPP_API void LocalMaxSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                                  const HTuple& Threshold, HTuple* Row, HTuple* Column);
HALCONCPP_API void LocalMinSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                                  const HTuple& Threshold, HTuple* Row, HTuple* Column);
HALCONCPP_API void SaddlePointsSubPix(const HObject& Image, const HTuple& Filter,
                                      const HTuple& Sigma, const HTuple& Threshold, HTuple* Row,
                                      HTuple* Column);
HALCONCPP_API void CriticalPointsSubPix(const HObject& Image, const HTuple& Filter,
                                        const HTuple& Sigma, const HTuple& Threshold,
                                        HTuple* RowMin, HTuple* ColumnMin, HTuple* RowMax,
                                        HTuple* ColumnMax, HTuple* RowSaddle, HTuple* ColumnSaddle);

// The 4-connected components of each region's complement within 'width' x 'height'.
HALCONCPP_API void BackgroundSeg(const HObject& Foreground, HObject* BackgroundRegions);

}  // namespace HalconCpp

#endif
