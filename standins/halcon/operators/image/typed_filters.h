// The thresholds and linear filters on images of the types beyond byte, in doubles. Byte
// images keep their operators' own fast roads; these take an input as soon as one of its
// images is of another type (hasTypedImages).
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_TYPED_FILTERS_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_TYPED_FILTERS_H

#include <functional>
#include <vector>

#include "core/pixel_type.h"
#include "halconcpp/HObject.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// The types mean_image and gauss_filter take, and binomial_filter's.
constexpr PixelTypes kLinearFilterTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                        PixelType::Int4, PixelType::Real};
// var_threshold's.
constexpr PixelTypes kLocalDeviationTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                          PixelType::Int4, PixelType::Real};
constexpr PixelTypes kBinomialFilterTypes{PixelType::Byte, PixelType::Uint2, PixelType::Real};

// dyn_threshold: the pixels of both domains where accepts(g, t) holds for the values of the
// first channels of pairs of images of one type.
HObject typedDynThreshold(const HObject& orig, const HObject& reference,
                          const std::function<bool(double, double)>& accepts, const char* op);

// var_threshold: the domain's pixels of the first channel where accepts(g, mean, deviation)
// holds, the mean and standard deviation over width x height pixels (odd) about each pixel,
// the image mirrored at its edges.
HObject typedLocalDeviation(const HObject& images, int width, int height, PixelTypes types,
                            const std::function<bool(double, double, double)>& accepts,
                            const char* op);

// The same weights along each row and down each column, the image mirrored at its edges, the
// result stored as the input's type holds it (integer types rounded to the nearest).
HObject typedSeparableFilter(const HObject& images, const std::vector<double>& alongRow,
                             const std::vector<double>& alongColumn, PixelTypes types,
                             const char* op);
// Any filter of a whole plane of doubles, in place (`filter(values, size)`).
HObject typedPlaneFilter(const HObject& images, PixelTypes types, const char* op,
                         const std::function<void(double*, PlaneSize)>& filter);
// The mean over width x height pixels (odd), by running sums.
HObject typedMeanFilter(const HObject& images, int width, int height, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
