// "Segmentation / Topography": the sub-pixel local maxima, minima and saddle points of an
// image. At each pixel the image is taken as the quadratic its first and second derivatives
// give (Gaussian derivatives, or the 3 x 3 facet model of the image smoothed by a Gaussian);
// the quadratic's critical point counts where it lies in the pixel and the Hessian's
// eigenvalues have the kind's signs, each beyond Threshold.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "operators/filters/facet_derivatives.h"
#include "operators/filters/gauss_derivatives.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum Kind { kMinimum, kMaximum, kSaddle, kKinds };

struct Points {
  HTuple rows[kKinds], cols[kKinds];
};

Points criticalPoints(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                      const HTuple& Threshold, const char* op) {
  const std::string filter = oneString(Filter, op, 1);
  if (filter != "facet" && filter != "gauss") fail(op, 1301);
  const double sigma = oneNumber(Sigma, op, 2);
  if (!(sigma > 0) || !std::isfinite(sigma)) fail(op, 1302);
  const double threshold = oneNumber(Threshold, op, 3);
  if (!(threshold >= 0)) fail(op, 1303);
  const std::vector<ImagePtr> images =
      imagesOf(Image, op, 1,
               {PixelType::Byte, PixelType::Int1, PixelType::Int2, PixelType::Uint2,
                PixelType::Int4, PixelType::Real});
  if (images.size() > 1) fail(op, 1501);
  Points found;
  for (const ImagePtr& image : images) {
    const std::int32_t w = image->width, h = image->height;
    if (image->channels.empty() || w < 1 || h < 1) continue;
    const std::size_t n = std::size_t(w) * std::size_t(h);
    const PixelReader read = readerOf(image->type());
    std::vector<double> plane(n);
    for (std::size_t i = 0; i < n; ++i) plane[i] = read(image->pixels(0), i);
    GaussDerivatives g(std::move(plane), w, h, sigma, sigma);
    FacetDerivatives d;
    if (filter == "gauss") {
      d = {g.get(1, 0), g.get(0, 1), g.get(2, 0), g.get(1, 1), g.get(0, 2)};
    } else {
      d = facetDerivatives(g.get(0, 0), w, h, 3);
    }
    for (const Run& run : clipRuns(*image->domain, h, w)) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) {
        const std::size_t i = std::size_t(run.row) * std::size_t(w) + std::size_t(c);
        const double a = d.xx[i], b = d.xy[i], e = d.yy[i];
        const double mean = (a + e) / 2, dev = std::hypot((a - e) / 2, b);
        const double low = mean - dev, high = mean + dev;
        Kind kind = kSaddle;
        if (low > threshold) {
          kind = kMinimum;
        } else if (high < -threshold) {
          kind = kMaximum;
        } else if (!(low < -threshold && high > threshold)) {
          continue;
        }
        // Where the gradient of the quadratic vanishes; both eigenvalues are nonzero here.
        const double det = a * e - b * b;
        const double dx = -(e * d.x[i] - b * d.y[i]) / det;
        const double dy = -(a * d.y[i] - b * d.x[i]) / det;
        // The pixel is [-0.5, 0.5) about its centre, so that a point on a pixel's side
        // counts once.
        if (!(dx >= -0.5 && dx < 0.5 && dy >= -0.5 && dy < 0.5)) continue;
        found.rows[kind].Append(HTuple(run.row + dy));
        found.cols[kind].Append(HTuple(c + dx));
      }
    }
  }
  return found;
}

}  // namespace

void LocalMaxSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                    const HTuple& Threshold, HTuple* Row, HTuple* Column) {
  ApiScope scope("LocalMaxSubPix");
  Points p = criticalPoints(Image, Filter, Sigma, Threshold, "local_max_sub_pix");
  setOutput(Row, std::move(p.rows[kMaximum]));
  setOutput(Column, std::move(p.cols[kMaximum]));
}

void LocalMinSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                    const HTuple& Threshold, HTuple* Row, HTuple* Column) {
  ApiScope scope("LocalMinSubPix");
  Points p = criticalPoints(Image, Filter, Sigma, Threshold, "local_min_sub_pix");
  setOutput(Row, std::move(p.rows[kMinimum]));
  setOutput(Column, std::move(p.cols[kMinimum]));
}

void SaddlePointsSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                        const HTuple& Threshold, HTuple* Row, HTuple* Column) {
  ApiScope scope("SaddlePointsSubPix");
  Points p = criticalPoints(Image, Filter, Sigma, Threshold, "saddle_points_sub_pix");
  setOutput(Row, std::move(p.rows[kSaddle]));
  setOutput(Column, std::move(p.cols[kSaddle]));
}

void CriticalPointsSubPix(const HObject& Image, const HTuple& Filter, const HTuple& Sigma,
                          const HTuple& Threshold, HTuple* RowMin, HTuple* ColumnMin,
                          HTuple* RowMax, HTuple* ColumnMax, HTuple* RowSaddle,
                          HTuple* ColumnSaddle) {
  ApiScope scope("CriticalPointsSubPix");
  Points p = criticalPoints(Image, Filter, Sigma, Threshold, "critical_points_sub_pix");
  setOutput(RowMin, std::move(p.rows[kMinimum]));
  setOutput(ColumnMin, std::move(p.cols[kMinimum]));
  setOutput(RowMax, std::move(p.rows[kMaximum]));
  setOutput(ColumnMax, std::move(p.cols[kMaximum]));
  setOutput(RowSaddle, std::move(p.rows[kSaddle]));
  setOutput(ColumnSaddle, std::move(p.cols[kSaddle]));
}

}  // namespace HalconCpp
