// Images resampled to another size, mirrored and rotated.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image_results.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/region.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsImage.h"
#include "operators/image/warp_rows.h"
#include "operators/image/warp_simd.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// 'constant' and 'weighted' also smooth when they shrink an image; the stand-in interpolates
// them bilinearly.
Sampling interpolationNamed(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "nearest_neighbor") return Sampling::Nearest;
  if (name == "bilinear" || name == "constant" || name == "weighted") {
    return Sampling::Bilinear;
  }
  if (name == "bicubic") return Sampling::Bicubic;
  fail(op, 1300 + n);
}

// The grey value at a real position, pixel centres at whole numbers; -1 outside the image.
double sample(const ImagePtr& image, std::size_t channel, double row, double col,
              Sampling interpolation) {
  const std::uint8_t* p = image->pixels(channel);
  if (interpolation == Sampling::Nearest) {
    const auto r = static_cast<std::int32_t>(std::floor(row + 0.5));
    const auto c = static_cast<std::int32_t>(std::floor(col + 0.5));
    if (r < 0 || c < 0 || r >= image->height || c >= image->width) return -1;
    return p[image->offset(r, c)];
  }
  if (row < -0.5 || col < -0.5 || row > image->height - 0.5 || col > image->width - 0.5) return -1;
  if (interpolation == Sampling::Bicubic) return bicubicAt(*image, p, row, col);
  return bilinearAt(*image, p, row, col);
}

// A new image of the given size whose pixel (row, col) samples the input at source(row, col);
// pixels whose source falls outside the input's domain are left out of the result's domain.
template <typename Source>
ImagePtr resample(const ImagePtr& image, std::int32_t width, std::int32_t height,
                  Sampling interpolation, const char* op, Source&& source) {
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image->channels.size(); ++c) {
    planes.push_back(std::make_shared<Plane>(width, height, op));
  }
  Runs domain;
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t col = 0; col < width; ++col) {
      double sr, sc;
      source(r, col, &sr, &sc);
      const auto nr = static_cast<std::int32_t>(std::floor(sr + 0.5));
      const auto nc = static_cast<std::int32_t>(std::floor(sc + 0.5));
      if (!runsContain(*image->domain, nr, nc)) continue;
      if (!domain.empty() && domain.back().row == r && domain.back().end + 1 == col) {
        domain.back().end = col;
      } else {
        domain.push_back(Run{r, col, col});
      }
      for (std::size_t c = 0; c < planes.size(); ++c) {
        const double v = sample(image, c, sr, sc, interpolation);
        planes[c]->data()[static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(col)] = clampToByte(v);
      }
    }
  }
  return makeImage(width, height, std::move(planes),
                   std::make_shared<const Runs>(std::move(domain)));
}

ImagePtr zoomed(const ImagePtr& image, Hlong width, Hlong height, Sampling interpolation,
                const char* op) {
  const double sx = double(image->width) / double(width),
               sy = double(image->height) / double(height);
  const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
  if (vectorPathsEnabled() && interpolation == Sampling::Bilinear && image->width == 2 * w &&
      image->height == 2 * h) {
    return halveImage(image, op);
  }
  if (vectorPathsEnabled()) {
    WarpSource source;
    source.rowOf = [sy](std::int32_t r) { return (r + 0.5) * sy - 0.5; };
    source.colOf = [sx](std::int32_t c) { return (c + 0.5) * sx - 0.5; };
    return warpImage(image, w, h, interpolation, Inside::Domain, source, op);
  }
  return resample(image, w, h, interpolation, op,
                  [&](std::int32_t r, std::int32_t c, double* sr, double* sc) {
                    *sr = (r + 0.5) * sy - 0.5;
                    *sc = (c + 0.5) * sx - 0.5;
                  });
}

// A turn by a whole number of quarters moves whole pixels: the doubles of the general turn
// differ from it by less than 1e-12 a pixel, which no interpolation or rounding can see.
bool quarterTurn(const ImageObject& image, double turn, PixelMove* move) {
  const std::int32_t h1 = image.height - 1, w1 = image.width - 1;
  const auto near = [turn](double angle) { return std::fabs(turn - angle) < 1e-9; };
  if (near(0) || near(360)) {
    *move = PixelMove{0, 1, 0, 0, 0, 1};
  } else if (near(90)) {
    *move = PixelMove{0, 0, 1, w1, -1, 0};
  } else if (near(180)) {
    *move = PixelMove{h1, -1, 0, w1, 0, -1};
  } else if (near(270)) {
    *move = PixelMove{h1, 0, -1, 0, 1, 0};
  } else {
    return false;
  }
  return true;
}

}  // namespace

void ZoomImageSize(const HObject& Image, HObject* ImageZoom, const HTuple& Width,
                   const HTuple& Height, const HTuple& Interpolation) {
  ApiScope scope("ZoomImageSize");
  const char* op = "zoom_image_size";
  const Hlong width = oneInteger(Width, op, 1), height = oneInteger(Height, op, 2);
  if (width < 1 || width > kMaxImageSide) fail(op, 1301);
  if (height < 1 || height > kMaxImageSide) fail(op, 1302);
  const Sampling interpolation = interpolationNamed(Interpolation, op, 3);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    items.push_back(zoomed(image, width, height, interpolation, op));
  }
  setOutput(ImageZoom, objectOf(items));
}

void ZoomImageFactor(const HObject& Image, HObject* ImageZoomed, const HTuple& ScaleWidth,
                     const HTuple& ScaleHeight, const HTuple& Interpolation) {
  ApiScope scope("ZoomImageFactor");
  const char* op = "zoom_image_factor";
  const double sx = oneNumber(ScaleWidth, op, 1), sy = oneNumber(ScaleHeight, op, 2);
  const Sampling interpolation = interpolationNamed(Interpolation, op, 3);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const double width = std::round(image->width * sx), height = std::round(image->height * sy);
    if (!(width >= 1 && width <= kMaxImageSide)) fail(op, 1301);
    if (!(height >= 1 && height <= kMaxImageSide)) fail(op, 1302);
    items.push_back(
        zoomed(image, static_cast<Hlong>(width), static_cast<Hlong>(height), interpolation, op));
  }
  setOutput(ImageZoomed, objectOf(items));
}

void MirrorImage(const HObject& Image, HObject* ImageMirror, const HTuple& Mode) {
  ApiScope scope("MirrorImage");
  const char* op = "mirror_image";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "row" && mode != "column" && mode != "diagonal") fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const bool transpose = mode == "diagonal";
    const std::int32_t width = transpose ? image->height : image->width;
    const std::int32_t height = transpose ? image->width : image->height;
    if (vectorPathsEnabled()) {
      const std::int32_t h1 = image->height - 1, w1 = image->width - 1;
      const PixelMove move = mode == "row"      ? PixelMove{h1, -1, 0, 0, 0, 1}
                             : mode == "column" ? PixelMove{0, 1, 0, w1, 0, -1}
                                                : PixelMove{0, 0, 1, 0, 1, 0};
      items.push_back(moveImage(image, width, height, move, op));
      continue;
    }
    items.push_back(resample(image, width, height, Sampling::Nearest, op,
                             [&](std::int32_t r, std::int32_t c, double* sr, double* sc) {
                               *sr = mode == "row" ? image->height - 1 - r : transpose ? c : r;
                               *sc = mode == "column" ? image->width - 1 - c : transpose ? r : c;
                             }));
  }
  setOutput(ImageMirror, objectOf(items));
}

void RotateImage(const HObject& Image, HObject* ImageRotate, const HTuple& Phi,
                 const HTuple& Interpolation) {
  ApiScope scope("RotateImage");
  const char* op = "rotate_image";
  const double degrees = oneNumber(Phi, op, 1);
  if (!std::isfinite(degrees)) fail(op, 1301);
  const Sampling interpolation = interpolationNamed(Interpolation, op, 2);
  double turn = std::fmod(degrees, 360.0);
  if (turn < 0) turn += 360;
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    // A quarter turn swaps the sides; other angles keep the size and turn about the centre.
    const bool quarter = std::fabs(turn - 90) < 1e-9 || std::fabs(turn - 270) < 1e-9;
    const std::int32_t width = quarter ? image->height : image->width;
    const std::int32_t height = quarter ? image->width : image->height;
    const double angle = turn * kPi / 180, cs = std::cos(angle), sn = std::sin(angle);
    const double cr = (image->height - 1) / 2.0, cc = (image->width - 1) / 2.0;
    const double outR = (height - 1) / 2.0, outC = (width - 1) / 2.0;
    PixelMove move;
    if (vectorPathsEnabled() && quarterTurn(*image, turn, &move)) {
      items.push_back(moveImage(image, width, height, move, op));
      continue;
    }
    if (vectorPathsEnabled()) {
      WarpSource source;
      source.row = [&](std::int32_t r, double* sr, double* sc) {
        const double dr = r - outR, rowPart = cr + cs * dr, colPart = cc - sn * dr;
        const auto n = static_cast<std::size_t>(width);
        rampVectors(colPart, cs, outC, n, sc);
        for (auto c = static_cast<std::int32_t>(rampVectors(rowPart, sn, outC, n, sr)); c < width;
             ++c) {
          const double dc = c - outC;
          sr[c] = rowPart + sn * dc;
          sc[c] = colPart + cs * dc;
        }
      };
      items.push_back(warpImage(image, width, height, interpolation, Inside::Domain, source, op));
      continue;
    }
    items.push_back(resample(image, width, height, interpolation, op,
                             [&](std::int32_t r, std::int32_t c, double* sr, double* sc) {
                               // Counter-clockwise on screen, where rows point down.
                               const double dr = r - outR, dc = c - outC;
                               *sr = cr + cs * dr + sn * dc;
                               *sc = cc - sn * dr + cs * dc;
                             }));
  }
  setOutput(ImageRotate, objectOf(items));
}

}  // namespace HalconCpp
