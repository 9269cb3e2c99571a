#ifndef HALCONCPP_HOPERATORSPIXELS_H
#define HALCONCPP_HOPERATORSPIXELS_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Pixelwise arithmetic, bit operations and grey-value tables on the integer and real pixel
// types, and the 3 x 3 edge masks of Roberts, Prewitt, Kirsch, Frei and Robinson.
namespace HalconCpp {

// g1 / g2 * Mult + Add in the inputs' type; a division by zero gives 0.
HALCONCPP_API void DivImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
                            const HTuple& Mult, const HTuple& Add);
HALCONCPP_API void SqrtImage(const HObject& Image, HObject* SqrtImage);
// The results are real images.
HALCONCPP_API void LogImage(const HObject& Image, HObject* LogImage, const HTuple& Base);
HALCONCPP_API void ExpImage(const HObject& Image, HObject* ExpImage, const HTuple& Base);
HALCONCPP_API void PowImage(const HObject& Image, HObject* PowImage, const HTuple& Exponent);
HALCONCPP_API void DeviationN(const HObject& Image, HObject* ImageDeviation);
HALCONCPP_API void Illuminate(const HObject& Image, HObject* ImageIlluminate,
                              const HTuple& MaskWidth, const HTuple& MaskHeight,
                              const HTuple& Factor);

// C's bitwise operators in each pixel's own type.
HALCONCPP_API void BitAnd(const HObject& Image1, const HObject& Image2, HObject* ImageAnd);
HALCONCPP_API void BitOr(const HObject& Image1, const HObject& Image2, HObject* ImageOr);
HALCONCPP_API void BitXor(const HObject& Image1, const HObject& Image2, HObject* ImageXor);
HALCONCPP_API void BitNot(const HObject& Image, HObject* ImageNot);
HALCONCPP_API void BitLshift(const HObject& Image, HObject* ImageLShift, const HTuple& Shift);
HALCONCPP_API void BitRshift(const HObject& Image, HObject* ImageRShift, const HTuple& Shift);
HALCONCPP_API void BitMask(const HObject& Image, HObject* ImageMask, const HTuple& BitMask);
HALCONCPP_API void BitSlice(const HObject& Image, HObject* ImageSlice, const HTuple& Bit);

HALCONCPP_API void LutTrans(const HObject& Image, HObject* ImageResult, const HTuple& Lut);
HALCONCPP_API void EquHistoImage(const HObject& Image, HObject* ImageEquHisto);
HALCONCPP_API void ConvolImage(const HObject& Image, HObject* ImageResult, const HTuple& FilterMask,
                               const HTuple& Margin);
HALCONCPP_API void DeviationImage(const HObject& Image, HObject* ImageDeviation,
                                  const HTuple& Width, const HTuple& Height);
HALCONCPP_API void EntropyImage(const HObject& Image, HObject* ImageEntropy, const HTuple& Width,
                                const HTuple& Height);
HALCONCPP_API void MidrangeImage(const HObject& Image, const HObject& Mask, HObject* ImageMidrange,
                                 const HTuple& Margin);

HALCONCPP_API void Roberts(const HObject& Image, HObject* ImageRoberts, const HTuple& FilterType);
HALCONCPP_API void PrewittAmp(const HObject& Image, HObject* ImageEdgeAmp);
HALCONCPP_API void PrewittDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir);
HALCONCPP_API void KirschAmp(const HObject& Image, HObject* ImageEdgeAmp);
HALCONCPP_API void KirschDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir);
HALCONCPP_API void FreiAmp(const HObject& Image, HObject* ImageEdgeAmp);
HALCONCPP_API void FreiDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir);
HALCONCPP_API void RobinsonAmp(const HObject& Image, HObject* ImageEdgeAmp);
HALCONCPP_API void RobinsonDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir);
HALCONCPP_API void NonmaxSuppressionAmp(const HObject& ImgAmp, HObject* ImageResult,
                                        const HTuple& Mode);
HALCONCPP_API void NonmaxSuppressionDir(const HObject& ImgAmp, const HObject& ImgDir,
                                        HObject* ImageResult, const HTuple& Mode);

}  // namespace HalconCpp

#endif
