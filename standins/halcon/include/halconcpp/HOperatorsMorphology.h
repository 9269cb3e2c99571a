#ifndef HALCONCPP_HOPERATORSMORPHOLOGY_H
#define HALCONCPP_HOPERATORSMORPHOLOGY_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Morphology of regions with circles (the pixels whose centres lie within Radius of the
// reference pixel, Radius 0.5..511.5) and axis-parallel rectangles (Width x Height pixels,
// 1..511 each).
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

}  // namespace HalconCpp

#endif
