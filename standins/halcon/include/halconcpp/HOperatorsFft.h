#ifndef HALCONCPP_HOPERATORSFFT_H
#define HALCONCPP_HOPERATORSFFT_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// The frequency domain: Fourier transforms of whole images, filters laid out as the
// transforms lay out their frequencies, and the complex images they work with.
namespace HalconCpp {

HALCONCPP_API void FftGeneric(const HObject& Image, HObject* ImageFFT, const HTuple& Direction,
                              const HTuple& Exponent, const HTuple& Norm, const HTuple& Mode,
                              const HTuple& ResultType);
HALCONCPP_API void FftImage(const HObject& Image, HObject* ImageFFT);
HALCONCPP_API void FftImageInv(const HObject& Image, HObject* ImageFFTInv);
HALCONCPP_API void RftGeneric(const HObject& Image, HObject* ImageFFT, const HTuple& Direction,
                              const HTuple& Norm, const HTuple& ResultType, const HTuple& Width);
HALCONCPP_API void ConvolFft(const HObject& ImageFFT, const HObject& ImageFilter,
                             HObject* ImageConvol);
HALCONCPP_API void CorrelationFft(const HObject& ImageFFT1, const HObject& ImageFFT2,
                                  HObject* ImageCorrelation);
HALCONCPP_API void OptimizeFftSpeed(const HTuple& Width, const HTuple& Height, const HTuple& Mode);
HALCONCPP_API void OptimizeRftSpeed(const HTuple& Width, const HTuple& Height, const HTuple& Mode);
HALCONCPP_API void ReadFftOptimizationData(const HTuple& FileName);
HALCONCPP_API void WriteFftOptimizationData(const HTuple& FileName);

HALCONCPP_API void GenGaussFilter(HObject* ImageGauss, const HTuple& Sigma1, const HTuple& Sigma2,
                                  const HTuple& Phi, const HTuple& Norm, const HTuple& Mode,
                                  const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenLowpass(HObject* ImageLowpass, const HTuple& Frequency, const HTuple& Norm,
                              const HTuple& Mode, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenHighpass(HObject* ImageHighpass, const HTuple& Frequency, const HTuple& Norm,
                               const HTuple& Mode, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenBandpass(HObject* ImageBandpass, const HTuple& MinFrequency,
                               const HTuple& MaxFrequency, const HTuple& Norm, const HTuple& Mode,
                               const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenBandfilter(HObject* ImageFilter, const HTuple& MinFrequency,
                                 const HTuple& MaxFrequency, const HTuple& Norm, const HTuple& Mode,
                                 const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenSinBandpass(HObject* ImageFilter, const HTuple& Frequency, const HTuple& Norm,
                                  const HTuple& Mode, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenStdBandpass(HObject* ImageFilter, const HTuple& Frequency,
                                  const HTuple& Sigma, const HTuple& Type, const HTuple& Norm,
                                  const HTuple& Mode, const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenMeanFilter(HObject* ImageMean, const HTuple& MaskShape,
                                 const HTuple& Diameter1, const HTuple& Diameter2,
                                 const HTuple& Phi, const HTuple& Norm, const HTuple& Mode,
                                 const HTuple& Width, const HTuple& Height);
HALCONCPP_API void GenDerivativeFilter(HObject* ImageDerivative, const HTuple& Derivative,
                                       const HTuple& Exponent, const HTuple& Norm,
                                       const HTuple& Mode, const HTuple& Width,
                                       const HTuple& Height);

HALCONCPP_API void RealToComplex(const HObject& ImageReal, const HObject& ImageImaginary,
                                 HObject* ImageComplex);
HALCONCPP_API void ComplexToReal(const HObject& ImageComplex, HObject* ImageReal,
                                 HObject* ImageImaginary);
HALCONCPP_API void PowerReal(const HObject& Image, HObject* ImageResult);
HALCONCPP_API void PowerByte(const HObject& Image, HObject* PowerByte);
HALCONCPP_API void PhaseRad(const HObject& ImageComplex, HObject* ImagePhase);
HALCONCPP_API void PhaseDeg(const HObject& ImageComplex, HObject* ImagePhase);
HALCONCPP_API void PowerLn(const HObject& Image, HObject* ImageResult);
HALCONCPP_API void EnergyGabor(const HObject& ImageGabor, const HObject& ImageHilbert,
                               HObject* Energy);

}  // namespace HalconCpp

#endif
