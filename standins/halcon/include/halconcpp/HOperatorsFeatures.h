#ifndef HALCONCPP_HOPERATORSFEATURES_H
#define HALCONCPP_HOPERATORSFEATURES_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators that measure regions and choose and order them by their shapes, and that measure
// the grey values of images within regions. Parameters in the
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
HALCONCPP_API void Roundness(const HObject& Regions, HTuple* Distance, HTuple* Sigma,
                             HTuple* Roundness, HTuple* Sides);
// The moments of the HALCON 11.0 reference, one value per region.
HALCONCPP_API void MomentsRegion2nd(const HObject& Regions, HTuple* M11, HTuple* M20, HTuple* M02,
                                    HTuple* Ia, HTuple* Ib);
HALCONCPP_API void MomentsRegion2ndInvar(const HObject& Regions, HTuple* M11, HTuple* M20,
                                         HTuple* M02);
HALCONCPP_API void MomentsRegion2ndRelInvar(const HObject& Regions, HTuple* PHI1, HTuple* PHI2);
HALCONCPP_API void MomentsRegion3rd(const HObject& Regions, HTuple* M21, HTuple* M12, HTuple* M03,
                                    HTuple* M30);
HALCONCPP_API void MomentsRegion3rdInvar(const HObject& Regions, HTuple* M21, HTuple* M12,
                                         HTuple* M03, HTuple* M30);
HALCONCPP_API void MomentsRegionCentral(const HObject& Regions, HTuple* I1, HTuple* I2, HTuple* I3,
                                        HTuple* I4);
HALCONCPP_API void MomentsRegionCentralInvar(const HObject& Regions, HTuple* PSI1, HTuple* PSI2,
                                             HTuple* PSI3, HTuple* PSI4);
// For each region, the value of each feature in turn.
HALCONCPP_API void Circularity(const HObject& Regions, HTuple* Circularity);
HALCONCPP_API void Compactness(const HObject& Regions, HTuple* Compactness);
HALCONCPP_API void Convexity(const HObject& Regions, HTuple* Convexity);
HALCONCPP_API void Rectangularity(const HObject& Regions, HTuple* Rectangularity);
HALCONCPP_API void Contlength(const HObject& Regions, HTuple* ContLength);
HALCONCPP_API void Eccentricity(const HObject& Regions, HTuple* Anisometry, HTuple* Bulkiness,
                                HTuple* StructureFactor);
HALCONCPP_API void EulerNumber(const HObject& Regions, HTuple* EulerNumber);
HALCONCPP_API void ConnectAndHoles(const HObject& Regions, HTuple* NumConnected, HTuple* NumHoles);
HALCONCPP_API void AreaHoles(const HObject& Regions, HTuple* Area);
HALCONCPP_API void DiameterRegion(const HObject& Regions, HTuple* Row1, HTuple* Column1,
                                  HTuple* Row2, HTuple* Column2, HTuple* Diameter);
HALCONCPP_API void RunlengthFeatures(const HObject& Regions, HTuple* NumRuns, HTuple* KFactor,
                                     HTuple* LFactor, HTuple* MeanLength, HTuple* Bytes);
HALCONCPP_API void InnerRectangle1(const HObject& Regions, HTuple* Row1, HTuple* Column1,
                                   HTuple* Row2, HTuple* Column2);
// Regions of the first input paired with those of the second, in order.
HALCONCPP_API void HammingDistance(const HObject& Regions1, const HObject& Regions2,
                                   HTuple* Distance, HTuple* Similarity);
HALCONCPP_API void HammingDistanceNorm(const HObject& Regions1, const HObject& Regions2,
                                       const HTuple& Norm, HTuple* Distance, HTuple* Similarity);
// Every region against the union of Pattern.
HALCONCPP_API void SelectShapeProto(const HObject& Regions, const HObject& Pattern,
                                    HObject* SelectedRegions, const HTuple& Feature,
                                    const HTuple& Min, const HTuple& Max);
// The pairs of regions in a relation, as indices from 1: Regions1 empty compares the regions of
// Regions2 with each other, one region compares it with each, as many compares them in order.
HALCONCPP_API void SelectRegionSpatial(const HObject& Regions1, const HObject& Regions2,
                                       const HTuple& Direction, HTuple* RegionIndex1,
                                       HTuple* RegionIndex2);
HALCONCPP_API void SpatialRelation(const HObject& Regions1, const HObject& Regions2,
                                   const HTuple& Percent, HTuple* RegionIndex1,
                                   HTuple* RegionIndex2, HTuple* Relation1, HTuple* Relation2);
HALCONCPP_API void RegionFeatures(const HObject& Regions, const HTuple& Features, HTuple* Value);

// Selection and order.
HALCONCPP_API void SelectShape(const HObject& Regions, HObject* SelectedRegions,
                               const HTuple& Features, const HTuple& Operation, const HTuple& Min,
                               const HTuple& Max);
HALCONCPP_API void SelectShapeStd(const HObject& Regions, HObject* SelectedRegions,
                                  const HTuple& Shape, const HTuple& Percent);
HALCONCPP_API void SortRegion(const HObject& Regions, HObject* SortedRegions,
                              const HTuple& SortMode, const HTuple& Order, const HTuple& RowOrCol);

// Grey-value features, one value per region (the region within the image's domain).
HALCONCPP_API void AreaCenterGray(const HObject& Regions, const HObject& Image, HTuple* Area,
                                  HTuple* Row, HTuple* Column);
HALCONCPP_API void EllipticAxisGray(const HObject& Regions, const HObject& Image, HTuple* Ra,
                                    HTuple* Rb, HTuple* Phi);
HALCONCPP_API void MomentsGrayPlane(const HObject& Regions, const HObject& Image, HTuple* MRow,
                                    HTuple* MCol, HTuple* Alpha, HTuple* Beta, HTuple* Mean);
HALCONCPP_API void PlaneDeviation(const HObject& Regions, const HObject& Image, HTuple* Deviation);
HALCONCPP_API void EntropyGray(const HObject& Regions, const HObject& Image, HTuple* Entropy,
                               HTuple* Anisotropy);
HALCONCPP_API void FuzzyEntropy(const HObject& Regions, const HObject& Image, const HTuple& Apar,
                                const HTuple& Cpar, HTuple* Entropy);
// For each region, the value of each feature in turn.
HALCONCPP_API void GrayFeatures(const HObject& Regions, const HObject& Image,
                                const HTuple& Features, HTuple* Value);
HALCONCPP_API void SelectGray(const HObject& Regions, const HObject& Image,
                              HObject* SelectedRegions, const HTuple& Features,
                              const HTuple& Operation, const HTuple& Min, const HTuple& Max);
HALCONCPP_API void GrayHistoAbs(const HObject& Regions, const HObject& Image,
                                const HTuple& Quantization, HTuple* AbsoluteHisto);
HALCONCPP_API void GrayProjections(const HObject& Region, const HObject& Image, const HTuple& Mode,
                                   HTuple* HorProjection, HTuple* VertProjection);
HALCONCPP_API void FitSurfaceFirstOrder(const HObject& Regions, const HObject& Image,
                                        const HTuple& Algorithm, const HTuple& Iterations,
                                        const HTuple& ClippingFactor, HTuple* Alpha, HTuple* Beta,
                                        HTuple* Gamma);
HALCONCPP_API void FitSurfaceSecondOrder(const HObject& Regions, const HObject& Image,
                                         const HTuple& Algorithm, const HTuple& Iterations,
                                         const HTuple& ClippingFactor, HTuple* Alpha, HTuple* Beta,
                                         HTuple* Gamma, HTuple* Delta, HTuple* Epsilon,
                                         HTuple* Zeta);
HALCONCPP_API void CoocFeatureImage(const HObject& Regions, const HObject& Image,
                                    const HTuple& LdGray, const HTuple& Direction, HTuple* Energy,
                                    HTuple* Correlation, HTuple* Homogeneity, HTuple* Contrast);
HALCONCPP_API void GenCoocMatrix(const HObject& Regions, const HObject& Image, HObject* Matrix,
                                 const HTuple& LdGray, const HTuple& Direction);
HALCONCPP_API void CoocFeatureMatrix(const HObject& CoocMatrix, HTuple* Energy, HTuple* Correlation,
                                     HTuple* Homogeneity, HTuple* Contrast);
HALCONCPP_API void Histo2dim(const HObject& Regions, const HObject& ImageCol,
                             const HObject& ImageRow, HObject* Histo2Dim);

// Grey values of whole images.
HALCONCPP_API void EstimateNoise(const HObject& Image, const HTuple& Method, const HTuple& Percent,
                                 HTuple* Sigma);
HALCONCPP_API void GrayRangeRect(const HObject& Image, HObject* ImageResult,
                                 const HTuple& MaskHeight, const HTuple& MaskWidth);
HALCONCPP_API void AutoThreshold(const HObject& Image, HObject* Regions, const HTuple& Sigma);

}  // namespace HalconCpp

#endif
