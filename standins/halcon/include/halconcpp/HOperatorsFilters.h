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
HALCONCPP_API void GaussImage(const HObject& Image, HObject* ImageGauss, const HTuple& Size);
HALCONCPP_API void Emphasize(const HObject& Image, HObject* ImageEmphasize, const HTuple& MaskWidth,
                             const HTuple& MaskHeight, const HTuple& Factor);
HALCONCPP_API void SobelAmp(const HObject& Image, HObject* EdgeAmplitude, const HTuple& FilterType,
                            const HTuple& Size);
// Filter 'deriche1', 'deriche2', 'shen' (Alpha > 0: larger is less smoothing) or 'gauss'
// (Alpha the sigma).
HALCONCPP_API void SmoothImage(const HObject& Image, HObject* ImageSmooth, const HTuple& Filter,
                               const HTuple& Alpha);
// Odd mask sides 1 ... 37.
HALCONCPP_API void BinomialFilter(const HObject& Image, HObject* ImageBinomial,
                                  const HTuple& MaskWidth, const HTuple& MaskHeight);

// Laws' texture masks: two letters of 'l', 'e', 's' (size 3), 'w', 'r' (5), 'u', 'o' (7),
// down the columns and along the rows, the result shifted right by Shift (0 ... 9).
HALCONCPP_API void TextureLaws(const HObject& Image, HObject* ImageTexture,
                               const HTuple& FilterTypes, const HTuple& Shift,
                               const HTuple& FilterSize);

// Dots of an odd Diameter 3 ... 23, 'light', 'dark' or 'all', the response times
// 2^PixelShift (-1 ... 2).
HALCONCPP_API void DotsImage(const HObject& Image, HObject* DotImage, const HTuple& Diameter,
                             const HTuple& FilterType, const HTuple& PixelShift);

// Grey-value scaling: each channel spread over 0 ... 255; g1 g2 Mult + Add, clipped.
HALCONCPP_API void ScaleImageMax(const HObject& Image, HObject* ImageScaleMax);
HALCONCPP_API void MultImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
                             const HTuple& Mult, const HTuple& Add);

// Colour spaces 'yiq', 'yuv', 'argyb', 'ciexyz', 'hsv', 'hls', 'hsi' on byte or real images,
// one channel an input and output: byte images code each value's range as 0 ... 255, real
// images keep the values (hue in radians).
HALCONCPP_API void TransFromRgb(const HObject& ImageRed, const HObject& ImageGreen,
                                const HObject& ImageBlue, HObject* ImageResult1,
                                HObject* ImageResult2, HObject* ImageResult3,
                                const HTuple& ColorSpace);
HALCONCPP_API void TransToRgb(const HObject& ImageInput1, const HObject& ImageInput2,
                              const HObject& ImageInput3, HObject* ImageRed, HObject* ImageGreen,
                              HObject* ImageBlue, const HTuple& ColorSpace);

// The gradient of the Sobel masks as sobel_amp's 'sum_abs' / 'sum_sqrt' (and '_binomial'), and its
// direction image: degrees / 2 counterclockwise from the column axis, 255 where there is no edge.
HALCONCPP_API void SobelDir(const HObject& Image, HObject* EdgeAmplitude, HObject* EdgeDirection,
                            const HTuple& FilterType, const HTuple& Size);
// mean_image over Width x Height less the pixel, plus 128, clipped.
HALCONCPP_API void HighpassImage(const HObject& Image, HObject* Highpass, const HTuple& Width,
                                 const HTuple& Height);
// Edges and lines. Gaussian derivatives of any real-valued image as real images: Sigma one
// value or (along the rows, down the columns); Component as the reference lists them.
HALCONCPP_API void DerivateGauss(const HObject& Image, HObject* DerivGauss, const HTuple& Sigma,
                                 const HTuple& Component);
// The Laplacian of a Gaussian (0.7 < Sigma <= 25) as int2.
HALCONCPP_API void LaplaceOfGauss(const HObject& Image, HObject* ImageLaplace, const HTuple& Sigma);
// Marr's difference of two Gaussians of a byte or uint2 image as int2.
HALCONCPP_API void DiffOfGauss(const HObject& Image, HObject* DiffOfGauss, const HTuple& Sigma,
                               const HTuple& SigFactor);
// The finite-difference Laplacian 'n_4', 'n_8' or 'n_8_isotropic' of a byte image, after a
// Gaussian (MaskSize 5 ... 13) or binomial ('..._binomial', 5 ... 39) smoothing of
// MaskSize - 2.
HALCONCPP_API void Laplace(const HObject& Image, HObject* ImageLaplace, const HTuple& ResultType,
                           const HTuple& MaskSize, const HTuple& FilterMask);
// The pixels of an int1, int2, int4 or real image that are 0 or beside one of opposite sign.
HALCONCPP_API void ZeroCrossing(const HObject& Image, HObject* RegionCrossing);
// Edge amplitude and direction of a byte or uint2 image, thinned and thresholded.
HALCONCPP_API void EdgesImage(const HObject& Image, HObject* ImaAmp, HObject* ImaDir,
                              const HTuple& Filter, const HTuple& Alpha, const HTuple& NMS,
                              const HTuple& Low, const HTuple& High);

// Rank filters of byte images. The rectangle filters take odd sides 1 ... 4095 and mirror the
// image; Margin is 'mirrored', 'cyclic', 'continued' or a grey value 0 ... 255. Rank counts
// from 1 (the least).
HALCONCPP_API void MedianRect(const HObject& Image, HObject* ImageMedian, const HTuple& MaskWidth,
                              const HTuple& MaskHeight);
HALCONCPP_API void RankRect(const HObject& Image, HObject* ImageRank, const HTuple& MaskWidth,
                            const HTuple& MaskHeight, const HTuple& Rank);
// Mask: one region, placed by its centre of gravity.
HALCONCPP_API void RankImage(const HObject& Image, const HObject& Mask, HObject* ImageRank,
                             const HTuple& Rank, const HTuple& Margin);
// rank_image with ModePercent percent of the ranks, then with 100 - ModePercent.
HALCONCPP_API void DualRank(const HObject& Image, HObject* ImageRank, const HTuple& MaskType,
                            const HTuple& Radius, const HTuple& ModePercent, const HTuple& Margin);
// The mean of the Number middle grey values of the mask.
HALCONCPP_API void TrimmedMean(const HObject& Image, const HObject& Mask, HObject* ImageTMean,
                               const HTuple& Number, const HTuple& Margin);
// The median of the 3 x 3 mask with 'gauss' (1 2 1 / 2 4 2 / 1 2 1) or 'inner' (centre 3)
// weights.
HALCONCPP_API void MedianWeighted(const HObject& Image, HObject* ImageWMedian,
                                  const HTuple& MaskType, const HTuple& MaskSize);
// The median along the rows over MaskWidth, then down the columns over MaskHeight.
HALCONCPP_API void MedianSeparate(const HObject& Image, HObject* ImageSMedian,
                                  const HTuple& MaskWidth, const HTuple& MaskHeight,
                                  const HTuple& Margin);
// Means of the window's grey values in [MinThresh, MaxThresh]: at every pixel (mean_sp), or
// only at those outside the range (eliminate_sp).
HALCONCPP_API void MeanSp(const HObject& Image, HObject* ImageSPMean, const HTuple& MaskWidth,
                          const HTuple& MaskHeight, const HTuple& MinThresh,
                          const HTuple& MaxThresh);
HALCONCPP_API void EliminateSp(const HObject& Image, HObject* ImageFillSP, const HTuple& MaskWidth,
                               const HTuple& MaskHeight, const HTuple& MinThresh,
                               const HTuple& MaxThresh);
// The mean of the window's grey values within Sigma standard deviations of the pixel.
HALCONCPP_API void SigmaImage(const HObject& Image, HObject* ImageSigma, const HTuple& MaskHeight,
                              const HTuple& MaskWidth, const HTuple& Sigma);
// Local extremes more than Gap beyond all their neighbours (the window clipped at the edges)
// replaced: Mode 1 by the neighbours' extreme, 2 by the window's mean, else its median.
HALCONCPP_API void EliminateMinMax(const HObject& Image, HObject* FilteredImage,
                                   const HTuple& MaskWidth, const HTuple& MaskHeight,
                                   const HTuple& Gap, const HTuple& Mode);
// The mean, and the value of rank RankIndex, across each image's channels.
HALCONCPP_API void MeanN(const HObject& Image, HObject* ImageMean);
HALCONCPP_API void RankN(const HObject& Image, HObject* RankImage, const HTuple& RankIndex);
// The region's pixels with at least Number of its pixels in the Width x Height rectangle.
HALCONCPP_API void RankRegion(const HObject& Region, HObject* RegionCount, const HTuple& Width,
                              const HTuple& Height, const HTuple& Number);

// The filters of "Filters / Match": the count of the strictly lower 8-neighbours, and the
// pyramid of images scaled down by Scale level by level, the input its first level.
HALCONCPP_API void Monotony(const HObject& Image, HObject* ImageMonotony);
HALCONCPP_API void GenGaussPyramid(const HObject& Image, HObject* ImagePyramid, const HTuple& Mode,
                                   const HTuple& Scale);

// The corner measure R = A B - C^2 - k (A + B)^2 of the smoothed products of the first
// derivatives ("Filters / Points"): as an image, and as its positive local maxima.
HALCONCPP_API void CornerResponse(const HObject& Image, HObject* ImageCorner, const HTuple& Size,
                                  const HTuple& Weight);
HALCONCPP_API void PointsHarris(const HObject& Image, const HTuple& SigmaGrad,
                                const HTuple& SigmaSmooth, const HTuple& Alpha,
                                const HTuple& Threshold, HTuple* Row, HTuple* Column);
// The fixed 5 x 5 line mask of "Filters / Lines" ('lines', the only FilterType).
HALCONCPP_API void BandpassImage(const HObject& Image, HObject* ImageBandpass,
                                 const HTuple& FilterType);
HALCONCPP_API void PointsHarrisBinomial(const HObject& Image, const HTuple& MaskSizeGrad,
                                        const HTuple& MaskSizeSmooth, const HTuple& Alpha,
                                        const HTuple& Threshold, const HTuple& Subpix, HTuple* Row,
                                        HTuple* Column);
// Noise (HALCON 11.0 "Filters / Noise"): a distribution is 513 frequencies of the noise values
// -256 ... 256, the value 0 at index 256.
HALCONCPP_API void AddNoiseWhite(const HObject& Image, HObject* ImageNoise, const HTuple& Amp);
HALCONCPP_API void AddNoiseDistribution(const HObject& Image, HObject* ImageNoise,
                                        const HTuple& Distribution);
HALCONCPP_API void GaussDistribution(const HTuple& Sigma, HTuple* Distribution);
HALCONCPP_API void SpDistribution(const HTuple& PercentSalt, const HTuple& PercentPepper,
                                  HTuple* Distribution);
HALCONCPP_API void NoiseDistributionMean(const HObject& ConstRegion, const HObject& Image,
                                         const HTuple& FilterSize, HTuple* Distribution);

// Colour values through a homogeneous m x (n + 1) matrix, row by row: a real image of m
// channels from one of n.
HALCONCPP_API void LinearTransColor(const HObject& Image, HObject* ImageTrans,
                                    const HTuple& TransMat);
// The principal components of a multichannel image's channels over its domain: a real image
// of as many channels, greatest variance first, and each one's share of the variance.
HALCONCPP_API void PrincipalComp(const HObject& MultichannelImage, HObject* PCAImage,
                                 HTuple* InfoPerComp);
// The same analysis as matrices for linear_trans_color (to the components and back), with the
// channels' mean, covariance and the shares of the variance.
HALCONCPP_API void GenPrincipalCompTrans(const HObject& MultichannelImage, HTuple* Trans,
                                         HTuple* TransInv, HTuple* Mean, HTuple* Cov,
                                         HTuple* InfoPerComp);
// A Bayer mosaic ('bayer_gb', 'bayer_gr', 'bayer_bg', 'bayer_rg': its first two pixels) to
// red, green and blue by 'bilinear' interpolation.
HALCONCPP_API void CfaToRgb(const HObject& CFAImage, HObject* RGBImage, const HTuple& CFAType,
                            const HTuple& Interpolation);
// Tables of a trans_from_rgb ('from_rgb') or trans_to_rgb ('to_rgb') space for 8-bit channels.
HALCONCPP_API void CreateColorTransLut(const HTuple& ColorSpace, const HTuple& TransDirection,
                                       const HTuple& NumBits, HTuple* ColorTransLUTHandle);
HALCONCPP_API void ApplyColorTransLut(const HObject& Image1, const HObject& Image2,
                                      const HObject& Image3, HObject* ImageResult1,
                                      HObject* ImageResult2, HObject* ImageResult3,
                                      const HTuple& ColorTransLUTHandle);
HALCONCPP_API void ClearColorTransLut(const HTuple& ColorTransLUTHandle);
HALCONCPP_API void ClearAllColorTransLuts();
// The two half images of a video frame: 'odd' or 'even' rows recomputed as the mean of the rows
// beside them, 'rmodd' or 'rmeven' rows dropped, or the two exchanged ('switch').
HALCONCPP_API void FillInterlace(const HObject& ImageCamera, HObject* ImageFilled,
                                 const HTuple& Mode);
// The domain grown by ExpansionRange rings of 8-neighbours, each new pixel the mean of its
// neighbours already inside.
HALCONCPP_API void ExpandDomainGray(const HObject& InputImage, HObject* ExpandedImage,
                                    const HTuple& ExpansionRange);
// How far each pixel must climb on its lowest path to the domain's edge (int2).
HALCONCPP_API void GrayInside(const HObject& Image, HObject* ImageDist);
// Along each row: 255 - 255 / MaskSize times the sum over i = 1 ... MaskSize of
// (|g(x + i) - g(x - i)| / 255)^Exponent; Direction 0.0 only.
HALCONCPP_API void Symmetry(const HObject& Image, HObject* ImageSymmetry, const HTuple& MaskSize,
                            const HTuple& Direction, const HTuple& Exponent);
}  // namespace HalconCpp

#endif
