// smooth_image and binomial_filter: every channel over the whole image, mirrored at its edges,
// the input's domain kept; the types beyond byte in doubles (typed_filters.h).
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The recursions start this far beyond the edges (25 / Alpha), and the sampled Gaussian reaches
// 6.44 sigma: the bounds keep one line's work within a few hundred thousand steps.
constexpr double kSmallestRecursiveAlpha = 0.001;
constexpr double kLargestGaussSigma = 1000;

Hlong binomialSide(const HTuple& value, const char* op, int n) {
  const Hlong side = oneInteger(value, op, n);
  if (side < 1 || side > 37 || side % 2 == 0) fail(op, 1300 + n);
  return side;
}

}  // namespace

void SmoothImage(const HObject& Image, HObject* ImageSmooth, const HTuple& Filter,
                 const HTuple& Alpha) {
  ApiScope scope("SmoothImage");
  const char* op = "smooth_image";
  const std::string filter = oneString(Filter, op, 1);
  const double alpha = oneNumber(Alpha, op, 2);
  const bool gauss = filter == "gauss";
  RecursiveSmoothing kind = RecursiveSmoothing::Shen;
  if (filter == "deriche1") {
    kind = RecursiveSmoothing::Deriche1;
  } else if (filter == "deriche2") {
    kind = RecursiveSmoothing::Deriche2;
  } else if (filter != "shen" && !gauss) {
    fail(op, 1301);
  }
  if (!(alpha > 0) || !std::isfinite(alpha)) fail(op, 1302);
  if (gauss ? alpha > kLargestGaussSigma : alpha < kSmallestRecursiveAlpha) fail(op, 1302);
  if (hasTypedImages(Image)) {
    if (gauss) {
      const std::vector<double> weights = sampledGaussWeights(alpha);
      setOutput(ImageSmooth, typedSeparableFilter(Image, weights, weights, kLinearFilterTypes, op));
      return;
    }
    setOutput(ImageSmooth,
              typedPlaneFilter(Image, kLinearFilterTypes, op, [&](double* values, PlaneSize size) {
                recursiveSmoothDoubles(values, size, kind, alpha);
              }));
    return;
  }
  if (gauss) {
    setOutput(ImageSmooth, filterExtents(Image, op,
                                         [&](const std::uint8_t* in, PlaneSize size,
                                             const Extent& extent, std::uint8_t* out) {
                                           sampledGaussPlane(in, size, extent, alpha, out);
                                         }));
    return;
  }
  setOutput(ImageSmooth, filterWholeExtents(Image, op,
                                            [&](const std::uint8_t* in, PlaneSize size,
                                                const Extent& extent, std::uint8_t* out) {
                                              recursiveSmoothPlane(in, size, extent, kind, alpha,
                                                                   out);
                                            }));
}

void BinomialFilter(const HObject& Image, HObject* ImageBinomial, const HTuple& MaskWidth,
                    const HTuple& MaskHeight) {
  ApiScope scope("BinomialFilter");
  const char* op = "binomial_filter";
  const auto w = static_cast<std::int32_t>(binomialSide(MaskWidth, op, 1));
  const auto h = static_cast<std::int32_t>(binomialSide(MaskHeight, op, 2));
  if (hasTypedImages(Image)) {
    setOutput(ImageBinomial, typedSeparableFilter(Image, binomialWeights(w), binomialWeights(h),
                                                  kBinomialFilterTypes, op));
    return;
  }
  // Every pixel written, so the planes are not cleared first.
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr result = unwrittenImageLike(image, image->channels.size(), op);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      binomialPlane(image->pixels(c), PlaneSize{image->width, image->height}, w, h,
                    result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageBinomial, objectOf(items));
}

}  // namespace HalconCpp
