// The structure tensor's corner measure R = det M - k trace(M)^2, where M is the smoothed matrix
// of the products of the first derivatives: corner_response as an image (the Sobel masks and
// gauss_image), points_harris as the positive local maxima of R (Gaussian derivatives).
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/gauss_derivatives.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

std::vector<double> planeOf(const ImageObject& image, std::size_t channel) {
  const PixelReader read = readerOf(image.type());
  std::vector<double> plane(std::size_t(image.width) * std::size_t(image.height));
  for (std::size_t i = 0; i < plane.size(); ++i) plane[i] = read(image.pixels(channel), i);
  return plane;
}

// The Sobel masks' components over 4, as sobel_amp takes them, the image mirrored at its edges.
void sobelComponents(const std::vector<double>& in, std::int32_t w, std::int32_t h,
                     std::vector<double>* gx, std::vector<double>* gy) {
  gx->assign(in.size(), 0);
  gy->assign(in.size(), 0);
  auto at = [&](std::int32_t r, std::int32_t c) {
    return in[std::size_t(mirroredIndex(r, h)) * std::size_t(w) + std::size_t(mirroredIndex(c, w))];
  };
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      const std::size_t i = std::size_t(r) * std::size_t(w) + std::size_t(c);
      (*gx)[i] = (at(r - 1, c + 1) + 2 * at(r, c + 1) + at(r + 1, c + 1) - at(r - 1, c - 1) -
                  2 * at(r, c - 1) - at(r + 1, c - 1)) /
                 4;
      (*gy)[i] = (at(r + 1, c - 1) + 2 * at(r + 1, c) + at(r + 1, c + 1) - at(r - 1, c - 1) -
                  2 * at(r - 1, c) - at(r - 1, c + 1)) /
                 4;
    }
  }
}

ImagePtr realImage(const std::vector<double>& values, std::int32_t w, std::int32_t h,
                   const char* op) {
  ImagePtr image = newImage(w, h, 1, op, PixelType::Real);
  float* out = image->channels[0]->as<float>();
  for (std::size_t i = 0; i < values.size(); ++i) out[i] = static_cast<float>(values[i]);
  return image;
}

// Sub-pixel position of a maximum along one axis: the vertex of the parabola through the three
// values about it.
double vertex(double before, double centre, double after) {
  const double curvature = before - 2 * centre + after;
  if (!(curvature < 0)) return 0;
  return std::clamp((before - after) / (2 * curvature), -0.5, 0.5);
}

// The points of one image: `gradients(plane, gx, gy)` gives a channel's first derivatives,
// `smooth(plane)` the integration of their products.
template <typename Gradients, typename Smooth>
void harrisPoints(const ImageObject& image, Gradients&& gradients, Smooth&& smooth, double alpha,
                  double threshold, bool subpix, HTuple* rows, HTuple* cols) {
  const std::int32_t w = image.width, h = image.height;
  const std::size_t n = std::size_t(w) * std::size_t(h);
  std::vector<double> xx(n, 0), yy(n, 0), xy(n, 0), gx, gy;
  for (std::size_t ch = 0; ch < image.channels.size(); ++ch) {
    gradients(planeOf(image, ch), &gx, &gy);
    for (std::size_t i = 0; i < n; ++i) {
      xx[i] += gx[i] * gx[i], yy[i] += gy[i] * gy[i], xy[i] += gx[i] * gy[i];
    }
  }
  const std::vector<double> a = smooth(std::move(xx)), b = smooth(std::move(yy)),
                            c = smooth(std::move(xy));
  std::vector<double> r(n);
  for (std::size_t i = 0; i < n; ++i) {
    r[i] = a[i] * b[i] - c[i] * c[i] - alpha * (a[i] + b[i]) * (a[i] + b[i]);
  }
  auto at = [&](std::int32_t row, std::int32_t col) {
    return r[std::size_t(mirroredIndex(row, h)) * std::size_t(w) +
             std::size_t(mirroredIndex(col, w))];
  };
  for (const Run& run : clipRuns(*image.domain, h, w)) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const std::int32_t row = run.row;
      const double v = at(row, col);
      if (!(v > 0) || v < threshold) continue;
      // A maximum over its 8 neighbours; of equal neighbours the first in row order counts.
      bool maximum = true;
      for (std::int32_t dr = -1; dr <= 1 && maximum; ++dr) {
        for (std::int32_t dc = -1; dc <= 1; ++dc) {
          const std::int32_t rr = row + dr, cc = col + dc;
          if ((dr == 0 && dc == 0) || rr < 0 || rr >= h || cc < 0 || cc >= w) continue;
          const bool before = dr < 0 || (dr == 0 && dc < 0);
          if (before ? at(rr, cc) >= v : at(rr, cc) > v) maximum = false;
        }
      }
      if (!maximum) continue;
      rows->Append(HTuple(row + (subpix ? vertex(at(row - 1, col), v, at(row + 1, col)) : 0.0)));
      cols->Append(HTuple(col + (subpix ? vertex(at(row, col - 1), v, at(row, col + 1)) : 0.0)));
    }
  }
}

// A plane filtered along the rows and down the columns by `kernel` (odd, centred), the plane
// mirrored at its edges.
std::vector<double> separable(const std::vector<double>& in, std::int32_t w, std::int32_t h,
                              const std::vector<double>& kernel) {
  const auto half = static_cast<std::int32_t>(kernel.size() / 2);
  std::vector<double> rows(in.size()), out(in.size());
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      double sum = 0;
      for (std::int32_t k = -half; k <= half; ++k) {
        sum += kernel[std::size_t(k + half)] *
               in[std::size_t(r) * std::size_t(w) + std::size_t(mirroredIndex(c + k, w))];
      }
      rows[std::size_t(r) * std::size_t(w) + std::size_t(c)] = sum;
    }
  }
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      double sum = 0;
      for (std::int32_t k = -half; k <= half; ++k) {
        sum += kernel[std::size_t(k + half)] *
               rows[std::size_t(mirroredIndex(r + k, h)) * std::size_t(w) + std::size_t(c)];
      }
      out[std::size_t(r) * std::size_t(w) + std::size_t(c)] = sum;
    }
  }
  return out;
}

// One image of the types given, with channels; none when the input holds no objects.
std::vector<ImagePtr> oneInput(const HObject& Image, const char* op, PixelTypes types) {
  std::vector<ImagePtr> images = imagesWithChannels(Image, op, 1, types);
  if (images.size() > 1) fail(op, 1501);
  return images;
}

}  // namespace

void CornerResponse(const HObject& Image, HObject* ImageCorner, const HTuple& Size,
                    const HTuple& Weight) {
  ApiScope scope("CornerResponse");
  const char* op = "corner_response";
  const Hlong size = oneInteger(Size, op, 1);
  if (size < 3 || size > 11 || size % 2 == 0) fail(op, 1301);
  const double weight = oneNumber(Weight, op, 2);
  if (!std::isfinite(weight)) fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(
           Image, op, 1, {PixelType::Byte, PixelType::Uint2, PixelType::Int2, PixelType::Real})) {
    const std::int32_t w = image->width, h = image->height;
    ImagePtr result = imageLike(image, image->channels.size(), op, image->type());
    const PixelWriter write = writerOf(image->type());
    for (std::size_t ch = 0; ch < image->channels.size(); ++ch) {
      std::vector<double> gx, gy;
      sobelComponents(planeOf(*image, ch), w, h, &gx, &gy);
      std::vector<double> xx(gx.size()), yy(gx.size()), xy(gx.size());
      for (std::size_t i = 0; i < gx.size(); ++i) {
        xx[i] = gx[i] * gx[i], yy[i] = gy[i] * gy[i], xy[i] = gx[i] * gy[i];
      }
      // W is gauss_image itself, on real images of the three products.
      HObject smoothed;
      GaussImage(
          objectOf({realImage(xx, w, h, op), realImage(yy, w, h, op), realImage(xy, w, h, op)}),
          &smoothed, HTuple(size));
      const std::vector<ImagePtr> abc = imagesOf(smoothed, op, 1, {PixelType::Real});
      const float* a = abc[0]->channels[0]->as<float>();
      const float* b = abc[1]->channels[0]->as<float>();
      const float* c = abc[2]->channels[0]->as<float>();
      for (std::size_t i = 0; i < gx.size(); ++i) {
        const double sum = double(a[i]) + double(b[i]);
        write(result->pixels(ch), i,
              double(a[i]) * double(b[i]) - double(c[i]) * double(c[i]) - weight * sum * sum);
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageCorner, objectOf(items));
}

void PointsHarris(const HObject& Image, const HTuple& SigmaGrad, const HTuple& SigmaSmooth,
                  const HTuple& Alpha, const HTuple& Threshold, HTuple* Row, HTuple* Column) {
  ApiScope scope("PointsHarris");
  const char* op = "points_harris";
  const double sigmaGrad = oneNumber(SigmaGrad, op, 1);
  if (!(sigmaGrad > 0 && sigmaGrad <= 100)) fail(op, 1301);
  const double sigmaSmooth = oneNumber(SigmaSmooth, op, 2);
  if (!(sigmaSmooth > 0 && sigmaSmooth <= 100)) fail(op, 1302);
  const double alpha = oneNumber(Alpha, op, 3);
  if (!(alpha >= 0) || !std::isfinite(alpha)) fail(op, 1303);
  const double threshold = oneNumber(Threshold, op, 4);
  HTuple rows, cols;
  for (const ImagePtr& image :
       oneInput(Image, op, {PixelType::Byte, PixelType::Uint2, PixelType::Real})) {
    const std::int32_t w = image->width, h = image->height;
    harrisPoints(
        *image,
        [&](std::vector<double> plane, std::vector<double>* gx, std::vector<double>* gy) {
          GaussDerivatives d(std::move(plane), w, h, sigmaGrad, sigmaGrad);
          *gx = d.get(1, 0);
          *gy = d.get(0, 1);
        },
        [&](std::vector<double> plane) {
          return GaussDerivatives(std::move(plane), w, h, sigmaSmooth, sigmaSmooth).get(0, 0);
        },
        alpha, threshold, true, &rows, &cols);
  }
  setOutput(Row, std::move(rows));
  setOutput(Column, std::move(cols));
}

void PointsHarrisBinomial(const HObject& Image, const HTuple& MaskSizeGrad,
                          const HTuple& MaskSizeSmooth, const HTuple& Alpha,
                          const HTuple& Threshold, const HTuple& Subpix, HTuple* Row,
                          HTuple* Column) {
  ApiScope scope("PointsHarrisBinomial");
  const char* op = "points_harris_binomial";
  const Hlong grad = oneInteger(MaskSizeGrad, op, 1);
  if (grad < 1 || grad > 37 || grad % 2 == 0) fail(op, 1301);
  const Hlong smooth = oneInteger(MaskSizeSmooth, op, 2);
  if (smooth < 1 || smooth > 37 || smooth % 2 == 0) fail(op, 1302);
  const double alpha = oneNumber(Alpha, op, 3);
  if (!(alpha >= 0) || !std::isfinite(alpha)) fail(op, 1303);
  const double threshold = oneNumber(Threshold, op, 4);
  if (!(threshold >= 0)) fail(op, 1304);
  const std::string subpix = oneString(Subpix, op, 5);
  if (subpix != "on" && subpix != "off") fail(op, 1305);
  const std::vector<double> gradWeights = binomialWeights(static_cast<std::int32_t>(grad));
  const std::vector<double> smoothWeights = binomialWeights(static_cast<std::int32_t>(smooth));
  HTuple rows, cols;
  for (const ImagePtr& image : oneInput(Image, op, {PixelType::Byte, PixelType::Uint2})) {
    const std::int32_t w = image->width, h = image->height;
    harrisPoints(
        *image,
        [&](std::vector<double> plane, std::vector<double>* gx, std::vector<double>* gy) {
          sobelComponents(separable(plane, w, h, gradWeights), w, h, gx, gy);
        },
        [&](std::vector<double> plane) { return separable(plane, w, h, smoothWeights); }, alpha,
        threshold, subpix == "on", &rows, &cols);
  }
  setOutput(Row, std::move(rows));
  setOutput(Column, std::move(cols));
}

}  // namespace HalconCpp
