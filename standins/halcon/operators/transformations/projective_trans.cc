// Images, regions and contours through projective matrices. Images and regions use pixel
// coordinates as affine_trans_pixel does (HALCON 11.0 projective_trans_image); contours keep
// their sub-pixel coordinates, as affine_trans_contour_xld does.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsSystem.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/image_warp.h"
#include "operators/transformations/proj_hom_mat2d.h"
#include "operators/transformations/region_pull_back.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

bool interpolationOf(const HTuple& value, const char* op) {
  const std::string name = oneString(value, op, 2);
  if (name == "nearest_neighbor") return false;
  if (name == "bilinear") return true;
  fail(op, 1302);
}

bool flagOf(const HTuple& value, const char* op, int n) {
  const std::string flag = oneString(value, op, n);
  if (flag != "true" && flag != "false") fail(op, 1300 + n);
  return flag == "true";
}

// The box [top, bottom] x [left, right] that the corners of the pixel box map into; false
// when a corner goes to or beyond infinity, so that the image is not bounded by them.
bool mappedBox(const ProjMatrix& m, double r1, double c1, double r2, double c2, double* top,
               double* bottom, double* left, double* right) {
  *top = *left = HUGE_VAL;
  *bottom = *right = -HUGE_VAL;
  int sides = 0;
  for (double r : {r1, r2}) {
    for (double c : {c1, c2}) {
      // Corners on both sides of the line sent to infinity: the box crosses it.
      sides |= m[6] * r + m[7] * c + m[8] > 0 ? 1 : 2;
      if (sides == 3) return false;
      double x, y;
      if (!projApply(m, r, c, &x, &y)) return false;
      *top = std::min(*top, x), *bottom = std::max(*bottom, x);
      *left = std::min(*left, y), *right = std::max(*right, y);
    }
  }
  return true;
}

std::int32_t systemSide(const char* name) {
  InsideScope inside;
  HTuple value;
  GetSystem(name, &value);
  return static_cast<std::int32_t>(value[0].L());
}

std::vector<HObject::Item> transformedImages(const HObject& Image, const ProjMatrix& forward,
                                             bool interpolate, bool adapt, std::int32_t width,
                                             std::int32_t height, bool domainOnly, const char* op) {
  const ProjMatrix back = projInverted(forward, op);
  const BackMap map = [&back](double row, double col, double* x, double* y) {
    return projApply(back, row, col, x, y);
  };
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    std::int32_t w = width > 0 ? width : image->width, h = height > 0 ? height : image->height;
    double top, bottom, left, right;
    if (adapt && mappedBox(forward, -0.5, -0.5, image->height - 0.5, image->width - 0.5, &top,
                           &bottom, &left, &right)) {
      const auto side = [](double edge) {
        return static_cast<std::int32_t>(
            std::clamp(std::ceil(edge + 0.5 - 1e-9), 1.0, double(kMaxImageSide)));
      };
      h = side(bottom), w = side(right);
    }
    items.push_back(warpedImage(image, map, w, h, interpolate, domainOnly, op));
  }
  return items;
}

Runs transformedRuns(const Runs& region, const ProjMatrix& forward, const ProjMatrix& back) {
  std::int32_t r1, c1, r2, c2;
  if (!runsBox(region, &r1, &c1, &r2, &c2)) return {};
  double top, bottom, left, right;
  if (!mappedBox(forward, r1 - 0.5, c1 - 0.5, r2 + 0.5, c2 + 0.5, &top, &bottom, &left, &right)) {
    // Unbounded: cut to the system's image size.
    top = left = 0;
    bottom = systemSide("height") - 1;
    right = systemSide("width") - 1;
  }
  return pulledBackRuns(region, top, bottom, left, right,
                        [&back](double row, double col, double* x, double* y) {
                          return projApply(back, row, col, x, y);
                        });
}

}  // namespace

void ProjectiveTransImage(const HObject& Image, HObject* TransImage, const HTuple& HomMat2D,
                          const HTuple& Interpolation, const HTuple& AdaptImageSize,
                          const HTuple& TransformDomain) {
  ApiScope scope("ProjectiveTransImage");
  const char* op = "projective_trans_image";
  const ProjMatrix forward = projPixelMatrix(projMatrixOf(HomMat2D, op, 1));
  const bool interpolate = interpolationOf(Interpolation, op);
  const bool adapt = flagOf(AdaptImageSize, op, 3);
  const bool domainOnly = flagOf(TransformDomain, op, 4);
  setOutput(TransImage,
            objectOf(transformedImages(Image, forward, interpolate, adapt, 0, 0, domainOnly, op)));
}

void ProjectiveTransImageSize(const HObject& Image, HObject* TransImage, const HTuple& HomMat2D,
                              const HTuple& Interpolation, const HTuple& Width,
                              const HTuple& Height, const HTuple& TransformDomain) {
  ApiScope scope("ProjectiveTransImageSize");
  const char* op = "projective_trans_image_size";
  const ProjMatrix forward = projPixelMatrix(projMatrixOf(HomMat2D, op, 1));
  const bool interpolate = interpolationOf(Interpolation, op);
  const Hlong width = oneInteger(Width, op, 3), height = oneInteger(Height, op, 4);
  if (width < 1 || width > kMaxImageSide) fail(op, 1303);
  if (height < 1 || height > kMaxImageSide) fail(op, 1304);
  const bool domainOnly = flagOf(TransformDomain, op, 5);
  setOutput(TransImage, objectOf(transformedImages(
                            Image, forward, interpolate, false, static_cast<std::int32_t>(width),
                            static_cast<std::int32_t>(height), domainOnly, op)));
}

void ProjectiveTransRegion(const HObject& Regions, HObject* TransRegions, const HTuple& HomMat2D,
                           const HTuple& Interpolation) {
  ApiScope scope("ProjectiveTransRegion");
  const char* op = "projective_trans_region";
  const ProjMatrix forward = projPixelMatrix(projMatrixOf(HomMat2D, op, 1));
  interpolationOf(Interpolation, op);
  const ProjMatrix back = projInverted(forward, op);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Regions, op, 1)) {
    items.push_back(makeRegion(transformedRuns(*region, forward, back)));
  }
  setOutput(TransRegions, objectOf(items));
}

void ProjectiveTransContourXld(const HObject& Contours, HObject* ContoursProjTrans,
                               const HTuple& HomMat2D) {
  ApiScope scope("ProjectiveTransContourXld");
  const char* op = "projective_trans_contour_xld";
  const ProjMatrix m = projMatrixOf(HomMat2D, op, 1);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    auto result = makeContour({}, {});
    for (const auto& attrib : contour->attribs) result->attribs.push_back({attrib.first, {}});
    for (std::size_t i = 0; i < contour->size(); ++i) {
      double x, y;
      // A point sent to infinity has no place on the contour.
      if (!projApply(m, contour->rows[i], contour->cols[i], &x, &y)) continue;
      result->rows.push_back(x);
      result->cols.push_back(y);
      for (std::size_t a = 0; a < contour->attribs.size(); ++a) {
        result->attribs[a].second.push_back(contour->attribs[a].second[i]);
      }
    }
    result->globalAttribs = contour->globalAttribs;
    items.push_back(result);
  }
  setOutput(ContoursProjTrans, objectOf(items));
}

}  // namespace HalconCpp
