// Images onto and back from the polar coordinates of an annular arc (polar_arc.h). Each output
// pixel samples the input where its centre maps to, as the affine warps do; a pixel that maps
// outside the input stays 0. Every pixel type the pages allow keeps its type.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/polar_arc.h"
#include "operators/transformations/sampled_image.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace Standin {

std::int32_t polarSideOf(const HTuple& value, const char* op, int n) {
  const Hlong side = oneInteger(value, op, n);
  if (side < 1 || side > kMaxImageSide) fail(op, 1300 + n);
  return static_cast<std::int32_t>(side);
}

bool polarBilinear(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "nearest_neighbor") return false;
  if (name == "bilinear") return true;
  fail(op, 1300 + n);
}

}  // namespace Standin

namespace {

constexpr PixelTypes kPolarTypes = {PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                    PixelType::Real};

}  // namespace

void PolarTransImageExt(const HObject& Image, HObject* PolarTransImage, const HTuple& Row,
                        const HTuple& Column, const HTuple& AngleStart, const HTuple& AngleEnd,
                        const HTuple& RadiusStart, const HTuple& RadiusEnd, const HTuple& Width,
                        const HTuple& Height, const HTuple& Interpolation) {
  ApiScope scope("PolarTransImageExt");
  const char* op = "polar_trans_image_ext";
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, Width, Height, op);
  const bool bilinear = polarBilinear(Interpolation, op, 9);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kPolarTypes)) {
    items.push_back(sampledImage(image, arc.width, arc.height, bilinear, op,
                                 [&arc](std::int32_t r, std::int32_t c, double* x, double* y) {
                                   arc.toCartesian(r, c, x, y);
                                   return true;
                                 }));
  }
  setOutput(PolarTransImage, objectOf(items));
}

void PolarTransImageInv(const HObject& PolarImage, HObject* XYTransImage, const HTuple& Row,
                        const HTuple& Column, const HTuple& AngleStart, const HTuple& AngleEnd,
                        const HTuple& RadiusStart, const HTuple& RadiusEnd, const HTuple& Width,
                        const HTuple& Height, const HTuple& Interpolation) {
  ApiScope scope("PolarTransImageInv");
  const char* op = "polar_trans_image_inv";
  // Width and Height are the result's size here.
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, Width, Height, op);
  const std::int32_t width = arc.width, height = arc.height;
  const bool bilinear = polarBilinear(Interpolation, op, 9);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(PolarImage, op, 1, kPolarTypes)) {
    // The polar image's own size places the arc's ends.
    arc.width = image->width;
    arc.height = image->height;
    items.push_back(sampledImage(image, width, height, bilinear, op,
                                 [&arc](std::int32_t r, std::int32_t c, double* x, double* y) {
                                   double angle, radius;
                                   arc.polarOf(r, c, &angle, &radius);
                                   *x = arc.polarRow(radius);
                                   *y = arc.columnOfAngle(angle);
                                   return true;
                                 }));
  }
  setOutput(XYTransImage, objectOf(items));
}

// The older operator is the newer one over a whole turn that leaves out its last column (the
// first again), radii 0 .. Height - 1 one pixel a row, nearest neighbours.
void PolarTransImage(const HObject& ImageXY, HObject* ImagePolar, const HTuple& Row,
                     const HTuple& Column, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("PolarTransImage");
  const char* op = "polar_trans_image";
  const Hlong row = oneInteger(Row, op, 1), col = oneInteger(Column, op, 2);
  const std::int32_t width = polarSideOf(Width, op, 3), height = polarSideOf(Height, op, 4);
  const double angleEnd = kPolarTurn * (width - 1) / width;
  const PolarArc arc{double(row), double(col), 0, angleEnd, 0, double(height - 1), width, height};
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(ImageXY, op, 1, kPolarTypes)) {
    items.push_back(sampledImage(image, width, height, false, op,
                                 [&arc](std::int32_t r, std::int32_t c, double* x, double* y) {
                                   arc.toCartesian(r, c, x, y);
                                   return true;
                                 }));
  }
  setOutput(ImagePolar, objectOf(items));
}

}  // namespace HalconCpp
