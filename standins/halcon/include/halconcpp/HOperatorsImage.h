#ifndef HALCONCPP_HOPERATORSIMAGE_H
#define HALCONCPP_HOPERATORSIMAGE_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Operators on byte images: domains, colour, grey-value arithmetic and geometry. Results keep
// their input's domain unless said otherwise.
namespace HalconCpp {

// Domains.
HALCONCPP_API void ReduceDomain(const HObject& Image, const HObject& Region, HObject* ImageReduced);
HALCONCPP_API void GetDomain(const HObject& Image, HObject* Domain);
HALCONCPP_API void CropDomain(const HObject& Image, HObject* ImagePart);
HALCONCPP_API void CropDomainRel(const HObject& Image, HObject* ImagePart, const HTuple& Top,
                                 const HTuple& Left, const HTuple& Bottom, const HTuple& Right);
// One image a region, sharing the image's channels, the region (clipped) its domain.
HALCONCPP_API void AddChannels(const HObject& Regions, const HObject& Image, HObject* GrayRegions);
HALCONCPP_API void CropPart(const HObject& Image, HObject* ImagePart, const HTuple& Row,
                            const HTuple& Column, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void CropRectangle1(const HObject& Image, HObject* ImagePart, const HTuple& Row1,
                                  const HTuple& Column1, const HTuple& Row2, const HTuple& Column2);

// Channels and grey values.
HALCONCPP_API void Rgb1ToGray(const HObject& RGBImage, HObject* GrayImage);
HALCONCPP_API void Rgb3ToGray(const HObject& ImageRed, const HObject& ImageGreen,
                              const HObject& ImageBlue, HObject* ImageGray);
HALCONCPP_API void Decompose3(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3);
HALCONCPP_API void ConvertImageType(const HObject& Image, HObject* ImageConverted,
                                    const HTuple& NewType);
HALCONCPP_API void ScaleImage(const HObject& Image, HObject* ImageScaled, const HTuple& Mult,
                              const HTuple& Add);
HALCONCPP_API void InvertImage(const HObject& Image, HObject* ImageInvert);
HALCONCPP_API void AddImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
                            const HTuple& Mult, const HTuple& Add);
HALCONCPP_API void SubImage(const HObject& ImageMinuend, const HObject& ImageSubtrahend,
                            HObject* ImageSub, const HTuple& Mult, const HTuple& Add);
HALCONCPP_API void AbsDiffImage(const HObject& Image1, const HObject& Image2, HObject* ImageAbsDiff,
                                const HTuple& Mult);

// Geometry.
HALCONCPP_API void ZoomImageSize(const HObject& Image, HObject* ImageZoom, const HTuple& Width,
                                 const HTuple& Height, const HTuple& Interpolation);
HALCONCPP_API void ZoomImageFactor(const HObject& Image, HObject* ImageZoomed,
                                   const HTuple& ScaleWidth, const HTuple& ScaleHeight,
                                   const HTuple& Interpolation);
HALCONCPP_API void MirrorImage(const HObject& Image, HObject* ImageMirror, const HTuple& Mode);
// Phi in degrees, counter-clockwise about the image's centre.
HALCONCPP_API void RotateImage(const HObject& Image, HObject* ImageRotate, const HTuple& Phi,
                               const HTuple& Interpolation);

}  // namespace HalconCpp

#endif
