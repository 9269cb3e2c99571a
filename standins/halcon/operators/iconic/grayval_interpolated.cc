// get_grayval_interpolated and get_grayval_contour_xld: grey values between pixel centres.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Keys' cubic convolution kernel with a = -0.5, the one the stand-in's zooms use.
double cubicWeight(double x) {
  x = std::fabs(x);
  if (x <= 1) return (1.5 * x - 2.5) * x * x + 1;
  if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
  return 0;
}

// The value at (row, col), neighbours beyond the border reading the border pixel:
// 'nearest_neighbor' keeps an integer image's integers, the interpolations give reals.
HTuple grayvalAt(const ImageObject& image, double row, double col, const std::string& mode) {
  const PixelReader read = readerOf(image.type());
  const std::uint8_t* pixels = image.pixels(0);
  const auto at = [&](Hlong r, Hlong c) {
    r = std::clamp<Hlong>(r, 0, image.height - 1);
    c = std::clamp<Hlong>(c, 0, image.width - 1);
    return read(pixels, image.offset(std::int32_t(r), std::int32_t(c)));
  };
  if (mode == "nearest_neighbor") {
    const double value = at(Hlong(std::floor(row + 0.5)), Hlong(std::floor(col + 0.5)));
    return holdsReals(image.type()) ? HTuple(value) : HTuple(Hlong(value));
  }
  const Hlong r0 = Hlong(std::floor(row)), c0 = Hlong(std::floor(col));
  const double fr = row - double(r0), fc = col - double(c0);
  double value = 0;
  if (mode == "bilinear") {
    value = (1 - fr) * ((1 - fc) * at(r0, c0) + fc * at(r0, c0 + 1)) +
            fr * ((1 - fc) * at(r0 + 1, c0) + fc * at(r0 + 1, c0 + 1));
  } else {
    for (Hlong dr = -1; dr <= 2; ++dr) {
      for (Hlong dc = -1; dc <= 2; ++dc) {
        value += cubicWeight(double(dr) - fr) * cubicWeight(double(dc) - fc) * at(r0 + dr, c0 + dc);
      }
    }
  }
  return HTuple(value);
}

bool knownMode(const std::string& mode) {
  return mode == "nearest_neighbor" || mode == "bilinear" || mode == "bicubic";
}

}  // namespace

void GetGrayvalInterpolated(const HObject& Image, const HTuple& Row, const HTuple& Column,
                            const HTuple& Interpolation, HTuple* Grayval) {
  ApiScope scope("GetGrayvalInterpolated");
  const char* op = "get_grayval_interpolated";
  const ImagePtr image = oneImage(Image, op, 1, kRealValuedTypes);
  if (Column.Length() != Row.Length()) fail(op, 1402);
  const std::string mode = oneString(Interpolation, op, 3);
  if (!knownMode(mode)) fail(op, 1303);
  HTuple values;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    const double row = numberAt(Row, i, op, 1), col = numberAt(Column, i, op, 2);
    // Within the pixels' area: from the first pixel's outer edge to before the last's.
    if (!(row >= -0.5 && row < image->height - 0.5)) fail(op, 1301);
    if (!(col >= -0.5 && col < image->width - 0.5)) fail(op, 1302);
    values.Append(grayvalAt(*image, row, col, mode));
  }
  setOutput(Grayval, std::move(values));
}

// The same values at a contour's points; the page names no error for points beyond the
// image, which read the border pixels as the neighbours there do.
void GetGrayvalContourXld(const HObject& Image, const HObject& Contour, const HTuple& Interpolation,
                          HTuple* Grayval) {
  ApiScope scope("GetGrayvalContourXld");
  const char* op = "get_grayval_contour_xld";
  const ImagePtr image = oneImage(Image, op, 1, kRealValuedTypes);
  const std::vector<const ContourObject*> contours = contoursOf(Contour, op, 2);
  if (contours.size() != 1) fail(op, 1502);
  const std::string mode = oneString(Interpolation, op, 1);
  if (!knownMode(mode)) fail(op, 1301);
  HTuple values;
  const ContourObject& contour = *contours.front();
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const double row = contour.rows[i], col = contour.cols[i];
    // Far beyond the image (or not a number) is the border too, without overflow.
    const double r = std::isfinite(row) ? std::clamp(row, -1.0, double(image->height)) : -1.0;
    const double c = std::isfinite(col) ? std::clamp(col, -1.0, double(image->width)) : -1.0;
    values.Append(grayvalAt(*image, r, c, mode));
  }
  setOutput(Grayval, std::move(values));
}

}  // namespace HalconCpp
