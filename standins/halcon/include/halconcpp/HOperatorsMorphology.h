#ifndef HALCONCPP_HOPERATORSMORPHOLOGY_H
#define HALCONCPP_HOPERATORSMORPHOLOGY_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Morphology of regions with circles (the pixels whose centres lie within Radius of the
// reference pixel, Radius 0.5..511.5), axis-parallel rectangles (Width x Height pixels,
// 1..511 each) and structuring regions of any shape, and the skeleton.
namespace HalconCpp {

HALCONCPP_API void DilationCircle(const HObject& Region, HObject* RegionDilation,
                                  const HTuple& Radius);
HALCONCPP_API void ErosionCircle(const HObject& Region, HObject* RegionErosion,
                                 const HTuple& Radius);
HALCONCPP_API void OpeningCircle(const HObject& Region, HObject* RegionOpening,
                                 const HTuple& Radius);
HALCONCPP_API void ClosingCircle(const HObject& Region, HObject* RegionClosing,
                                 const HTuple& Radius);
HALCONCPP_API void DilationRectangle1(const HObject& Region, HObject* RegionDilation,
                                      const HTuple& Width, const HTuple& Height);
HALCONCPP_API void ErosionRectangle1(const HObject& Region, HObject* RegionErosion,
                                     const HTuple& Width, const HTuple& Height);
HALCONCPP_API void OpeningRectangle1(const HObject& Region, HObject* RegionOpening,
                                     const HTuple& Width, const HTuple& Height);
HALCONCPP_API void ClosingRectangle1(const HObject& Region, HObject* RegionClosing,
                                     const HTuple& Width, const HTuple& Height);

// Structuring regions, about their centre of gravity or a reference point.
HALCONCPP_API void Dilation1(const HObject& Region, const HObject& StructElement,
                             HObject* RegionDilation, const HTuple& Iterations);
HALCONCPP_API void Erosion1(const HObject& Region, const HObject& StructElement,
                            HObject* RegionErosion, const HTuple& Iterations);
HALCONCPP_API void Dilation2(const HObject& Region, const HObject& StructElement,
                             HObject* RegionDilation, const HTuple& Row, const HTuple& Column,
                             const HTuple& Iterations);
HALCONCPP_API void Erosion2(const HObject& Region, const HObject& StructElement,
                            HObject* RegionErosion, const HTuple& Row, const HTuple& Column,
                            const HTuple& Iterations);
HALCONCPP_API void MinkowskiAdd1(const HObject& Region, const HObject& StructElement,
                                 HObject* RegionMinkAdd, const HTuple& Iterations);
HALCONCPP_API void MinkowskiSub1(const HObject& Region, const HObject& StructElement,
                                 HObject* RegionMinkSub, const HTuple& Iterations);
HALCONCPP_API void Opening(const HObject& Region, const HObject& StructElement,
                           HObject* RegionOpening);
HALCONCPP_API void Closing(const HObject& Region, const HObject& StructElement,
                           HObject* RegionClosing);
HALCONCPP_API void TopHat(const HObject& Region, const HObject& StructElement,
                          HObject* RegionTopHat);
HALCONCPP_API void BottomHat(const HObject& Region, const HObject& StructElement,
                             HObject* RegionBottomHat);
HALCONCPP_API void HitOrMiss(const HObject& Region, const HObject& StructElement1,
                             const HObject& StructElement2, HObject* RegionHitMiss,
                             const HTuple& Row, const HTuple& Column);
HALCONCPP_API void MinkowskiAdd2(const HObject& Region, const HObject& StructElement,
                                 HObject* RegionMinkAdd, const HTuple& Row, const HTuple& Column,
                                 const HTuple& Iterations);
HALCONCPP_API void MinkowskiSub2(const HObject& Region, const HObject& StructElement,
                                 HObject* RegionMinkSub, const HTuple& Row, const HTuple& Column,
                                 const HTuple& Iterations);
HALCONCPP_API void MorphHat(const HObject& Region, const HObject& StructElement,
                            HObject* RegionMorphHat);
HALCONCPP_API void OpeningSeg(const HObject& Region, const HObject& StructElement,
                              HObject* RegionOpening);
HALCONCPP_API void Thinning(const HObject& Region, const HObject& StructElement1,
                            const HObject& StructElement2, HObject* RegionThin, const HTuple& Row,
                            const HTuple& Column, const HTuple& Iterations);
HALCONCPP_API void Thickening(const HObject& Region, const HObject& StructElement1,
                              const HObject& StructElement2, HObject* RegionThick,
                              const HTuple& Row, const HTuple& Column, const HTuple& Iterations);

// The Golay alphabet's letters as 3 x 3 elements about their centre; Rotation even: the
// foreground element of a rotation, odd: its background element.
HALCONCPP_API void GolayElements(HObject* StructElement1, HObject* StructElement2,
                                 const HTuple& GolayElement, const HTuple& Rotation,
                                 const HTuple& Row, const HTuple& Column);
HALCONCPP_API void HitOrMissGolay(const HObject& Region, HObject* RegionHitMiss,
                                  const HTuple& GolayElement, const HTuple& Rotation);
HALCONCPP_API void ThinningGolay(const HObject& Region, HObject* RegionThin,
                                 const HTuple& GolayElement, const HTuple& Rotation);
HALCONCPP_API void ThickeningGolay(const HObject& Region, HObject* RegionThick,
                                   const HTuple& GolayElement, const HTuple& Rotation);
HALCONCPP_API void DilationGolay(const HObject& Region, HObject* RegionDilation,
                                 const HTuple& GolayElement, const HTuple& Iterations,
                                 const HTuple& Rotation);
HALCONCPP_API void ErosionGolay(const HObject& Region, HObject* RegionErosion,
                                const HTuple& GolayElement, const HTuple& Iterations,
                                const HTuple& Rotation);
HALCONCPP_API void OpeningGolay(const HObject& Region, HObject* RegionOpening,
                                const HTuple& GolayElement, const HTuple& Rotation);
HALCONCPP_API void ClosingGolay(const HObject& Region, HObject* RegionClosing,
                                const HTuple& GolayElement, const HTuple& Rotation);
HALCONCPP_API void Boundary(const HObject& Region, HObject* RegionBorder,
                            const HTuple& BoundaryType);

// Skeletons: one pixel wide, 8-connected.
HALCONCPP_API void Skeleton(const HObject& Region, HObject* Skeleton);
HALCONCPP_API void JunctionsSkeleton(const HObject& Region, HObject* EndPoints,
                                     HObject* JuncPoints);
HALCONCPP_API void MorphSkeleton(const HObject& Region, HObject* RegionSkeleton);
HALCONCPP_API void Pruning(const HObject& Region, HObject* RegionPrune, const HTuple& Length);

// Grey-value morphology over a MaskHeight x MaskWidth rectangle (1 ... 511, an even side acting
// as the next odd one), the image mirrored at its edges.
HALCONCPP_API void GrayErosionRect(const HObject& Image, HObject* ImageMin,
                                   const HTuple& MaskHeight, const HTuple& MaskWidth);
HALCONCPP_API void GrayDilationRect(const HObject& Image, HObject* ImageMax,
                                    const HTuple& MaskHeight, const HTuple& MaskWidth);
HALCONCPP_API void GrayOpeningRect(const HObject& Image, HObject* ImageOpening,
                                   const HTuple& MaskHeight, const HTuple& MaskWidth);
HALCONCPP_API void GrayClosingRect(const HObject& Image, HObject* ImageClosing,
                                   const HTuple& MaskHeight, const HTuple& MaskWidth);
// The same over a 'rectangle', 'rhombus' or 'octagon' (equal sides) mask; a real side between two
// odd ones interpolates their results.
HALCONCPP_API void GrayErosionShape(const HObject& Image, HObject* ImageMin,
                                    const HTuple& MaskHeight, const HTuple& MaskWidth,
                                    const HTuple& MaskShape);
HALCONCPP_API void GrayDilationShape(const HObject& Image, HObject* ImageMax,
                                     const HTuple& MaskHeight, const HTuple& MaskWidth,
                                     const HTuple& MaskShape);
HALCONCPP_API void GrayOpeningShape(const HObject& Image, HObject* ImageOpening,
                                    const HTuple& MaskHeight, const HTuple& MaskWidth,
                                    const HTuple& MaskShape);
HALCONCPP_API void GrayClosingShape(const HObject& Image, HObject* ImageClosing,
                                    const HTuple& MaskHeight, const HTuple& MaskWidth,
                                    const HTuple& MaskShape);
// Structuring-element images (byte, uint2, real, the image's type): the element is the SE's
// domain with its grey values about its centre pixel. gen_disc_se makes an ellipsoid.
HALCONCPP_API void GenDiscSe(HObject* SE, const HTuple& Type, const HTuple& Width,
                             const HTuple& Height, const HTuple& Smax);
HALCONCPP_API void GrayErosion(const HObject& Image, const HObject& SE, HObject* ImageErosion);
HALCONCPP_API void GrayDilation(const HObject& Image, const HObject& SE, HObject* ImageDilation);
HALCONCPP_API void GrayOpening(const HObject& Image, const HObject& SE, HObject* ImageOpening);
HALCONCPP_API void GrayClosing(const HObject& Image, const HObject& SE, HObject* ImageClosing);
HALCONCPP_API void GrayTophat(const HObject& Image, const HObject& SE, HObject* ImageTopHat);
HALCONCPP_API void GrayBothat(const HObject& Image, const HObject& SE, HObject* ImageBotHat);

}  // namespace HalconCpp

#endif
