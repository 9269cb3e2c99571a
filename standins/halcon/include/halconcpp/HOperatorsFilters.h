#ifndef HALCONCPP_HOPERATORSFILTERS_H
#define HALCONCPP_HOPERATORSFILTERS_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Smoothing and edge filters on byte images. Each filters every channel over the image's domain
// and mirrors the image at its edges (the row above row 0 repeats row 0).
namespace HalconCpp {

// Filters.
HALCONCPP_API void MeanImage(const HObject& Image, HObject* ImageMean, const HTuple& MaskWidth,
                             const HTuple& MaskHeight);
HALCONCPP_API void MedianImage(const HObject& Image, HObject* ImageMedian, const HTuple& MaskType,
                               const HTuple& Radius, const HTuple& Margin);
HALCONCPP_API void GaussFilter(const HObject& Image, HObject* ImageGauss, const HTuple& Size);
HALCONCPP_API void Emphasize(const HObject& Image, HObject* ImageEmphasize, const HTuple& MaskWidth,
                             const HTuple& MaskHeight, const HTuple& Factor);
HALCONCPP_API void SobelAmp(const HObject& Image, HObject* EdgeAmplitude, const HTuple& FilterType,
                            const HTuple& Size);

}  // namespace HalconCpp

#endif
