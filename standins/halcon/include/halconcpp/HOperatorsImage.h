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
// The region, cut to the image, replaces the domain.
HALCONCPP_API void ChangeDomain(const HObject& Image, const HObject& NewDomain, HObject* ImageNew);
// As ReduceDomain with the rectangle; Row2 < Row1 is 1303, Column2 < Column1 1304.
HALCONCPP_API void Rectangle1Domain(const HObject& Image, HObject* ImageReduced, const HTuple& Row1,
                                    const HTuple& Column1, const HTuple& Row2,
                                    const HTuple& Column2);
HALCONCPP_API void CropDomain(const HObject& Image, HObject* ImagePart);
HALCONCPP_API void CropDomainRel(const HObject& Image, HObject* ImagePart, const HTuple& Top,
                                 const HTuple& Left, const HTuple& Bottom, const HTuple& Right);
// One image a region, sharing the image's channels, the region (clipped) its domain.
HALCONCPP_API void AddChannels(const HObject& Regions, const HObject& Image, HObject* GrayRegions);
HALCONCPP_API void CropPart(const HObject& Image, HObject* ImagePart, const HTuple& Row,
                            const HTuple& Column, const HTuple& Width, const HTuple& Height);
// The top left part of the given size, padded with 0 where the image is smaller.
HALCONCPP_API void ChangeFormat(const HObject& Image, HObject* ImagePart, const HTuple& Width,
                                const HTuple& Height);
HALCONCPP_API void CropRectangle1(const HObject& Image, HObject* ImagePart, const HTuple& Row1,
                                  const HTuple& Column1, const HTuple& Row2, const HTuple& Column2);

// Channels and grey values.
HALCONCPP_API void Rgb1ToGray(const HObject& RGBImage, HObject* GrayImage);
HALCONCPP_API void Rgb3ToGray(const HObject& ImageRed, const HObject& ImageGreen,
                              const HObject& ImageBlue, HObject* ImageGray);
HALCONCPP_API void Decompose3(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3);
// Exactly as many channels as outputs (else 3032); each output shares its channel.
HALCONCPP_API void Decompose2(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2);
HALCONCPP_API void Decompose4(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3, HObject* Image4);
HALCONCPP_API void Decompose5(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3, HObject* Image4, HObject* Image5);
HALCONCPP_API void Decompose6(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3, HObject* Image4, HObject* Image5, HObject* Image6);
HALCONCPP_API void Decompose7(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                              HObject* Image3, HObject* Image4, HObject* Image5, HObject* Image6,
                              HObject* Image7);
// As Compose3 (HOperatorsIconic.h).
HALCONCPP_API void Compose2(const HObject& Image1, const HObject& Image2,
                            HObject* MultiChannelImage);
HALCONCPP_API void Compose4(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                            const HObject& Image4, HObject* MultiChannelImage);
HALCONCPP_API void Compose5(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                            const HObject& Image4, const HObject& Image5,
                            HObject* MultiChannelImage);
HALCONCPP_API void Compose6(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                            const HObject& Image4, const HObject& Image5, const HObject& Image6,
                            HObject* MultiChannelImage);
HALCONCPP_API void Compose7(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                            const HObject& Image4, const HObject& Image5, const HObject& Image6,
                            const HObject& Image7, HObject* MultiChannelImage);
// The second input's channels after the first's, in the first's domain.
HALCONCPP_API void AppendChannel(const HObject& MultiChannelImage, const HObject& Image,
                                 HObject* ImageExtended);
// One image of the first channel of every input, in the meeting of their domains.
HALCONCPP_API void ChannelsToImage(const HObject& Images, HObject* MultiChannelImage);
// Every channel of every image as an image of its own, with its image's domain.
HALCONCPP_API void ImageToChannels(const HObject& MultiChannelImage, HObject* Images);
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
