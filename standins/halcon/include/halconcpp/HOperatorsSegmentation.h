#ifndef HALCONCPP_HOPERATORSSEGMENTATION_H
#define HALCONCPP_HOPERATORSSEGMENTATION_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Thresholds against constants and other images, and the grey-value statistics they are chosen
// by.
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

}  // namespace HalconCpp

#endif
