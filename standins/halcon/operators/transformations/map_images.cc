// Images through a map (HALCON 11.0 map_image, convert_map_type). A map is an image of the
// result's size whose pixels say where each result pixel comes from: two real channels of
// row and column ('coord_map_sub_pix', interpolated bilinearly), or one int4 channel of the
// source pixel's linear index row * width + column ('nearest_neighbor'). The older
// 'bilinear' maps mix an int4 channel with uint2 weights, which no image of one pixel type
// holds; they are not accepted.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/sampled_image.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kMappedTypes = {PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                     PixelType::Real};

// The map at position n: a sub-pixel map (true) or an index map (false); another layout is
// H_ERR_WIT.
bool subPixelMap(const ImagePtr& map, const char* op) {
  if (map->type() == PixelType::Real && map->channels.size() == 2) return true;
  if (map->type() == PixelType::Int4 && map->channels.size() == 1) return false;
  fail(op, H_ERR_WIT);
}

}  // namespace

void MapImage(const HObject& Image, const HObject& Map, HObject* ImageMapped) {
  ApiScope scope("MapImage");
  const char* op = "map_image";
  const ImagePtr map = oneImage(Map, op, 2, {PixelType::Real, PixelType::Int4});
  const bool subPixel = subPixelMap(map, op);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kMappedTypes)) {
    if (subPixel) {
      const float* rows = map->channels[0]->as<float>();
      const float* cols = map->channels[1]->as<float>();
      items.push_back(sampledImage(
          image, map->width, map->height, true, op,
          [&](std::int32_t r, std::int32_t c, double* x, double* y) {
            *x = rows[map->offset(r, c)];
            *y = cols[map->offset(r, c)];
            return true;
          },
          map->domain.get()));
      continue;
    }
    const std::int32_t* index = map->channels[0]->as<std::int32_t>();
    const auto width = static_cast<std::int64_t>(image->width);
    const std::int64_t count = width * image->height;
    items.push_back(sampledImage(
        image, map->width, map->height, false, op,
        [&](std::int32_t r, std::int32_t c, double* x, double* y) {
          const std::int64_t i = index[map->offset(r, c)];
          if (i < 0 || i >= count) return false;
          *x = static_cast<double>(i / width);
          *y = static_cast<double>(i % width);
          return true;
        },
        map->domain.get()));
  }
  setOutput(ImageMapped, objectOf(items));
}

void ConvertMapType(const HObject& Map, HObject* MapConverted, const HTuple& NewType,
                    const HTuple& ImageWidth) {
  ApiScope scope("ConvertMapType");
  const char* op = "convert_map_type";
  const std::string type = oneString(NewType, op, 1);
  if (type != "coord_map_sub_pix") fail(op, 1301);
  const Hlong width = oneInteger(ImageWidth, op, 2);
  if (width < 1 || width > kMaxImageSide) fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const ImagePtr& map : imagesOf(Map, op, 1, {PixelType::Real, PixelType::Int4})) {
    if (subPixelMap(map, op)) {
      items.push_back(map);
      continue;
    }
    // Rows and columns of the index map's pixels; those indexing nothing leave the domain.
    ImagePtr converted = newImage(map->width, map->height, 2, op, PixelType::Real);
    float* rows = converted->channels[0]->as<float>();
    float* cols = converted->channels[1]->as<float>();
    const std::int32_t* index = map->channels[0]->as<std::int32_t>();
    Runs domain;
    for (const Run& run : *map->domain) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) {
        const std::int32_t i = index[map->offset(run.row, c)];
        if (i < 0) continue;
        rows[map->offset(run.row, c)] = static_cast<float>(i / width);
        cols[map->offset(run.row, c)] = static_cast<float>(i % width);
        if (!domain.empty() && domain.back().row == run.row && domain.back().end + 1 == c) {
          domain.back().end = c;
        } else {
          domain.push_back(Run{run.row, c, c});
        }
      }
    }
    items.push_back(makeImage(map->width, map->height, converted->channels,
                              std::make_shared<const Runs>(std::move(domain))));
  }
  setOutput(MapConverted, objectOf(items));
}

}  // namespace HalconCpp
