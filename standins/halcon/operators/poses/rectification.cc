// Images rectified through the camera models of camera.h: the image of the world plane z = 0
// (gen_image_to_world_plane_map, image_to_world_plane) and the image a camera with other
// internal parameters takes (gen_radial_distortion_map, change_radial_distortion_image), each
// as a map for map_image or warped at once. The direct warps read every source position
// through the map's single precision and sample it as map_image does, so that a program may
// swap one form for the other without a single grey value changing.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/camera.h"
#include "operators/poses/pose_math.h"
#include "operators/transformations/sampled_image.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kWarpedTypes = {PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                     PixelType::Real};

// A pixel with no source is stored at (-1, -1): outside every image, as map_image takes it.
constexpr float kNowhere = -1.0f;

// Where an output pixel's centre comes from in the input image, in the map's precision.
struct Source {
  virtual ~Source() = default;
  virtual bool at(std::int32_t row, std::int32_t col, double* r, double* c) const = 0;
  bool stored(std::int32_t row, std::int32_t col, float* r, float* c) const {
    double rr, cc;
    if (!at(row, col, &rr, &cc) || !std::isfinite(rr) || !std::isfinite(cc) ||
        std::fabs(rr) > 1e9 || std::fabs(cc) > 1e9) {
      *r = *c = kNowhere;
      return false;
    }
    *r = static_cast<float>(rr);
    *c = static_cast<float>(cc);
    return true;
  }
};

// The world plane's pixel (row, col) is the point (col Scale, row Scale, 0) of the world
// coordinates, seen through the camera: the columns run along world x and the rows along
// world y, as contour_to_world_plane_xld and image_points_to_world_plane give them.
struct WorldPlaneSource : Source {
  CameraParam camera;
  Mat3d toCamera{};
  double scale = 1;
  bool at(std::int32_t row, std::int32_t col, double* r, double* c) const override {
    const double x = col * scale, y = row * scale;
    double p[3];
    for (std::size_t i = 0; i < 3; ++i) {
      p[i] = toCamera[i * 4] * x + toCamera[i * 4 + 1] * y + toCamera[i * 4 + 3];
    }
    double u = p[0], v = p[1];
    if (!camera.telecentric()) {
      // A point on or behind the plane of the centre of projection has no image.
      if (!(p[2] > 0)) return false;
      u = camera.focus * p[0] / p[2];
      v = camera.focus * p[1] / p[2];
    }
    distort(camera, &u, &v);
    planeToPixel(camera, u, v, r, c);
    return true;
  }
};

// The output camera's pixel on the line of sight the input camera sees it on.
struct CameraChangeSource : Source {
  CameraParam in, out;
  bool at(std::int32_t row, std::int32_t col, double* r, double* c) const override {
    changePixel(out, in, row, col, r, c);
    return true;
  }
};

enum class MapLayout { kNearestNeighbor, kSubPixel };

// 'bilinear' maps, an int4 channel beside uint2 weights, are no stand-in image (see
// map_images.cc): the name is refused as an unknown one is.
MapLayout mapLayoutOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "nearest_neighbor") return MapLayout::kNearestNeighbor;
  if (name == "coord_map_sub_pix") return MapLayout::kSubPixel;
  fail(op, 1300 + n);
}

std::int32_t sideOf(Hlong value, const char* op, int n) {
  if (value < 1 || value > kMaxImageSide) fail(op, 1300 + n);
  return static_cast<std::int32_t>(value);
}

std::int32_t sideOf(const HTuple& value, const char* op, int n) {
  return sideOf(oneInteger(value, op, n), op, n);
}

// The map of a width x height result from a widthIn x heightIn image: two real channels of
// each pixel's source row and column, or one int4 channel of the index of the source's
// nearest pixel, -1 where that lies outside the image.
ImagePtr mapOf(const Source& source, std::int32_t width, std::int32_t height, std::int32_t widthIn,
               std::int32_t heightIn, MapLayout type, const char* op) {
  const bool subPixel = type == MapLayout::kSubPixel;
  ImagePtr map =
      newImage(width, height, subPixel ? 2 : 1, op, subPixel ? PixelType::Real : PixelType::Int4);
  for (std::int32_t row = 0; row < height; ++row) {
    for (std::int32_t col = 0; col < width; ++col) {
      const std::size_t at = map->offset(row, col);
      float r, c;
      source.stored(row, col, &r, &c);
      if (subPixel) {
        map->channels[0]->as<float>()[at] = r;
        map->channels[1]->as<float>()[at] = c;
        continue;
      }
      // The bounds and the rounding of map_image's nearest pixel.
      const bool inside = r >= -0.5 && r < heightIn - 0.5 && c >= -0.5 && c < widthIn - 0.5;
      map->channels[0]->as<std::int32_t>()[at] =
          inside ? static_cast<std::int32_t>(std::floor(r + 0.5)) * widthIn +
                       static_cast<std::int32_t>(std::floor(c + 0.5))
                 : -1;
    }
  }
  return map;
}

// Each image warped to width x height over `within` (the whole result when null); pixels
// whose source lies outside the image stay 0 and leave the domain, as map_image leaves them.
HObject warped(const HObject& images, const Source& source, std::int32_t width, std::int32_t height,
               bool bilinear, const Runs* within, const char* op) {
  const Runs whole = rectangleRuns(0, 0, height - 1, width - 1);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(images, op, 1, kWarpedTypes)) {
    items.push_back(sampledImage(
        image, width, height, bilinear, op,
        [&](std::int32_t row, std::int32_t col, double* r, double* c) {
          float fr, fc;
          if (!source.stored(row, col, &fr, &fc)) return false;
          *r = fr;
          *c = fc;
          return true;
        },
        within ? within : &whole));
  }
  return objectOf(items);
}

WorldPlaneSource worldPlaneSource(const HTuple& cameraParam, const HTuple& worldPose,
                                  const char* op) {
  WorldPlaneSource source;
  source.camera = cameraParamOf(cameraParam, op, 1);
  source.toCamera = poseMatrix(poseOf(worldPose, op, 2));
  return source;
}

// Both cameras pinhole or both telecentric, as change_radial_distortion_points requires.
CameraChangeSource cameraChangeSource(const HTuple& in, const HTuple& out, const char* op) {
  CameraChangeSource source;
  source.in = cameraParamOf(in, op, 1);
  source.out = cameraParamOf(out, op, 2);
  if (source.in.telecentric() != source.out.telecentric()) fail(op, 1302);
  sideOf(source.out.width, op, 2);
  sideOf(source.out.height, op, 2);
  return source;
}

}  // namespace

void GenImageToWorldPlaneMap(HObject* Map, const HTuple& CameraParam, const HTuple& WorldPose,
                             const HTuple& WidthIn, const HTuple& HeightIn,
                             const HTuple& WidthMapped, const HTuple& HeightMapped,
                             const HTuple& Scale, const HTuple& MapType) {
  ApiScope scope("GenImageToWorldPlaneMap");
  const char* op = "gen_image_to_world_plane_map";
  WorldPlaneSource source = worldPlaneSource(CameraParam, WorldPose, op);
  const std::int32_t widthIn = sideOf(WidthIn, op, 3), heightIn = sideOf(HeightIn, op, 4);
  const std::int32_t width = sideOf(WidthMapped, op, 5), height = sideOf(HeightMapped, op, 6);
  source.scale = worldScaleOf(Scale, op, 7);
  const auto type = mapLayoutOf(MapType, op, 8);
  setOutput(Map, objectOf({mapOf(source, width, height, widthIn, heightIn, type, op)}));
}

void ImageToWorldPlane(const HObject& Image, HObject* ImageWorld, const HTuple& CameraParam,
                       const HTuple& WorldPose, const HTuple& Width, const HTuple& Height,
                       const HTuple& Scale, const HTuple& Interpolation) {
  ApiScope scope("ImageToWorldPlane");
  const char* op = "image_to_world_plane";
  WorldPlaneSource source = worldPlaneSource(CameraParam, WorldPose, op);
  const std::int32_t width = sideOf(Width, op, 3), height = sideOf(Height, op, 4);
  source.scale = worldScaleOf(Scale, op, 5);
  const std::string interpolation = oneString(Interpolation, op, 6);
  if (interpolation != "bilinear" && interpolation != "none") fail(op, 1306);
  setOutput(ImageWorld,
            warped(Image, source, width, height, interpolation == "bilinear", nullptr, op));
}

void GenRadialDistortionMap(HObject* Map, const HTuple& CamParamIn, const HTuple& CamParamOut,
                            const HTuple& MapType) {
  ApiScope scope("GenRadialDistortionMap");
  const char* op = "gen_radial_distortion_map";
  const CameraChangeSource source = cameraChangeSource(CamParamIn, CamParamOut, op);
  const auto type = mapLayoutOf(MapType, op, 3);
  const std::int32_t widthIn = sideOf(source.in.width, op, 1);
  const std::int32_t heightIn = sideOf(source.in.height, op, 1);
  setOutput(Map, objectOf({mapOf(source, static_cast<std::int32_t>(source.out.width),
                                 static_cast<std::int32_t>(source.out.height), widthIn, heightIn,
                                 type, op)}));
}

// Region lies in the result; no region at all (an empty object) asks for every pixel.
void ChangeRadialDistortionImage(const HObject& Image, const HObject& Region,
                                 HObject* ImageRectified, const HTuple& CamParamIn,
                                 const HTuple& CamParamOut) {
  ApiScope scope("ChangeRadialDistortionImage");
  const char* op = "change_radial_distortion_image";
  const std::vector<const Runs*> regions = regionsOf(Region, op, 2);
  if (regions.size() > 1) fail(op, 1502);
  const CameraChangeSource source = cameraChangeSource(CamParamIn, CamParamOut, op);
  setOutput(ImageRectified, warped(Image, source, static_cast<std::int32_t>(source.out.width),
                                   static_cast<std::int32_t>(source.out.height), true,
                                   regions.empty() ? nullptr : regions.front(), op));
}

// 'fixed' puts the coefficients in and leaves every other parameter as it is. Nothing at
// hand fixes how the other modes move Focus, the cells or the centre, so they are refused as
// an unknown mode is. The division model takes one coefficient, the polynomial five (K1, K2,
// K3, P1, P2) or one, then K1 with the others 0.
void ChangeRadialDistortionCamPar(const HTuple& Mode, const HTuple& CamParamIn,
                                  const HTuple& DistortionCoeffs, HTuple* CamParamOut) {
  ApiScope scope("ChangeRadialDistortionCamPar");
  const char* op = "change_radial_distortion_cam_par";
  const std::string mode = oneString(Mode, op, 1);
  const CameraParam camera = cameraParamOf(CamParamIn, op, 2);
  const Hlong count = DistortionCoeffs.Length();
  if (count != 1 && !(camera.polynomial && count == 5)) fail(op, 1403);
  std::vector<double> coeffs(camera.polynomial ? 5 : 1, 0.0);
  for (Hlong i = 0; i < count; ++i) {
    coeffs[static_cast<std::size_t>(i)] = numberAt(DistortionCoeffs, i, op, 3);
  }
  if (mode != "fixed") fail(op, 1301);
  HTuple out = CamParamIn;
  for (std::size_t i = 0; i < coeffs.size(); ++i)
    out[static_cast<Hlong>(i) + 1] = HTuple(coeffs[i]);
  setOutput(CamParamOut, out);
}

}  // namespace HalconCpp
