// Images through an affine matrix, resampled as image_warp.h describes; the output's domain is the
// input's full rectangle transformed, cut to the output.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/image/warp_rows.h"
#include "operators/transformations/hom_mat2d.h"
#include "operators/transformations/image_warp.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

bool bilinearNamed(const HTuple& value, const char* op) {
  const std::string name = oneString(value, op, 2);
  if (name == "nearest_neighbor") return false;
  if (name == "bilinear" || name == "constant" || name == "weighted") return true;
  fail(op, 1302);
}

ImagePtr transformedImage(const ImagePtr& image, const AffineMatrix& back, std::int32_t width,
                          std::int32_t height, bool interpolate, const char* op) {
  if (vectorPathsEnabled()) {
    // A matrix without shear or turn maps rows to rows and columns to columns.
    WarpSource source;
    if (back[1] == 0 && back[3] == 0) {
      source.rowOf = [&](std::int32_t r) { return back[0] * r + back[2]; };
      source.colOf = [&](std::int32_t c) { return back[4] * c + back[5]; };
    } else {
      source.row = [&](std::int32_t r, double* sr, double* sc) {
        const double rowX = back[0] * r, rowY = back[3] * r;
        for (std::int32_t c = 0; c < width; ++c) {
          sr[c] = rowX + back[1] * c + back[2];
          sc[c] = rowY + back[4] * c + back[5];
        }
      };
    }
    return warpImage(image, width, height, interpolate ? Sampling::Bilinear : Sampling::Nearest,
                     Inside::Rectangle, source, op);
  }
  // The portable path, shared with the projective transformations.
  const BackMap map = [&back](double row, double col, double* x, double* y) {
    *x = back[0] * row + back[1] * col + back[2];
    *y = back[3] * row + back[4] * col + back[5];
    return true;
  };
  return warpedImage(image, map, width, height, interpolate, false, op);
}

// The size that holds the transformed image up to its lowest and rightmost edge.
void adaptedSize(const ImageObject& image, const AffineMatrix& forward, std::int32_t* width,
                 std::int32_t* height) {
  double bottom = -HUGE_VAL, right = -HUGE_VAL;
  for (double r : {-0.5, image.height - 0.5}) {
    for (double c : {-0.5, image.width - 0.5}) {
      bottom = std::max(bottom, forward[0] * r + forward[1] * c + forward[2]);
      right = std::max(right, forward[3] * r + forward[4] * c + forward[5]);
    }
  }
  const auto side = [](double edge) {
    return static_cast<std::int32_t>(
        std::clamp(std::ceil(edge + 0.5 - 1e-9), 1.0, double(kMaxImageSide)));
  };
  *height = side(bottom);
  *width = side(right);
}

}  // namespace

void AffineTransImage(const HObject& Image, HObject* ImageAffinTrans, const HTuple& HomMat2D,
                      const HTuple& Interpolation, const HTuple& AdaptImageSize) {
  ApiScope scope("AffineTransImage");
  const char* op = "affine_trans_image";
  const AffineMatrix forward = pixelMatrix(homMat2dOf(HomMat2D, op, 1));
  const bool interpolate = bilinearNamed(Interpolation, op);
  const std::string adapt = oneString(AdaptImageSize, op, 3);
  if (adapt != "true" && adapt != "false") fail(op, 1303);
  const AffineMatrix back = inverted(forward, op);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    std::int32_t width = image->width, height = image->height;
    if (adapt == "true") adaptedSize(*image, forward, &width, &height);
    items.push_back(transformedImage(image, back, width, height, interpolate, op));
  }
  setOutput(ImageAffinTrans, objectOf(items));
}

void AffineTransImageSize(const HObject& Image, HObject* ImageAffinTrans, const HTuple& HomMat2D,
                          const HTuple& Interpolation, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("AffineTransImageSize");
  const char* op = "affine_trans_image_size";
  const AffineMatrix forward = pixelMatrix(homMat2dOf(HomMat2D, op, 1));
  const bool interpolate = bilinearNamed(Interpolation, op);
  const Hlong width = oneInteger(Width, op, 3), height = oneInteger(Height, op, 4);
  if (width < 1 || width > kMaxImageSide) fail(op, 1303);
  if (height < 1 || height > kMaxImageSide) fail(op, 1304);
  const AffineMatrix back = inverted(forward, op);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    items.push_back(transformedImage(image, back, static_cast<std::int32_t>(width),
                                     static_cast<std::int32_t>(height), interpolate, op));
  }
  setOutput(ImageAffinTrans, objectOf(items));
}

}  // namespace HalconCpp
