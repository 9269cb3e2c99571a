// Operators that make regions from shapes and points, and the binary and label images of
// regions.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsRegion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

double boundedAt(const HTuple& value, Hlong i, const char* op, int n) {
  const double number = numberAt(value, i, op, n);
  if (!(std::fabs(number) <= kMaxRegionCoordinate)) fail(op, 1300 + n);  // NaN too
  return number;
}

std::int32_t pixelAt(const HTuple& value, Hlong i, const char* op, int n) {
  return static_cast<std::int32_t>(std::lround(boundedAt(value, i, op, n)));
}

// Each shape parameter holds one value per region, or one value for all of them.
Hlong shapeCount(const std::vector<const HTuple*>& params, const char* op) {
  Hlong count = params.front()->Length();
  for (const HTuple* p : params) count = std::max(count, p->Length());
  for (std::size_t n = 0; n < params.size(); ++n) {
    const Hlong length = params[n]->Length();
    if (length != count && length != 1) fail(op, 1401 + static_cast<int>(n));
  }
  return count;
}

Hlong at(const HTuple& value, Hlong i) {
  return value.Length() == 1 ? 0 : i;
}

}  // namespace

void GenEmptyRegion(HObject* EmptyRegion) {
  ApiScope scope("GenEmptyRegion");
  setOutput(EmptyRegion, objectOf({makeRegion({})}));
}

void GenRectangle2(HObject* Rectangle, const HTuple& Row, const HTuple& Column, const HTuple& Phi,
                   const HTuple& Length1, const HTuple& Length2) {
  ApiScope scope("GenRectangle2");
  const char* op = "gen_rectangle2";
  const Hlong count = shapeCount({&Row, &Column, &Phi, &Length1, &Length2}, op);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < count; ++i) {
    const double row = boundedAt(Row, at(Row, i), op, 1);
    const double col = boundedAt(Column, at(Column, i), op, 2);
    const double phi = numberAt(Phi, at(Phi, i), op, 3);
    const double length1 = boundedAt(Length1, at(Length1, i), op, 4);
    const double length2 = boundedAt(Length2, at(Length2, i), op, 5);
    if (!std::isfinite(phi)) fail(op, 1303);
    if (length1 < 0) fail(op, 1304);
    if (length2 < 0) fail(op, 1305);
    items.push_back(makeRegion(rectangle2Runs(row, col, phi, length1, length2)));
  }
  setOutput(Rectangle, objectOf(items));
}

void GenEllipse(HObject* Ellipse, const HTuple& Row, const HTuple& Column, const HTuple& Phi,
                const HTuple& Radius1, const HTuple& Radius2) {
  ApiScope scope("GenEllipse");
  const char* op = "gen_ellipse";
  const Hlong count = shapeCount({&Row, &Column, &Phi, &Radius1, &Radius2}, op);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < count; ++i) {
    const double row = boundedAt(Row, at(Row, i), op, 1);
    const double col = boundedAt(Column, at(Column, i), op, 2);
    const double phi = numberAt(Phi, at(Phi, i), op, 3);
    const double radius1 = boundedAt(Radius1, at(Radius1, i), op, 4);
    const double radius2 = boundedAt(Radius2, at(Radius2, i), op, 5);
    if (!std::isfinite(phi)) fail(op, 1303);
    if (radius1 <= 0) fail(op, 1304);
    if (radius2 <= 0) fail(op, 1305);
    items.push_back(makeRegion(ellipseRuns(row, col, phi, radius1, radius2)));
  }
  setOutput(Ellipse, objectOf(items));
}

void GenRegionLine(HObject* RegionLines, const HTuple& BeginRow, const HTuple& BeginCol,
                   const HTuple& EndRow, const HTuple& EndCol) {
  ApiScope scope("GenRegionLine");
  const char* op = "gen_region_line";
  const HTuple* ends[] = {&BeginRow, &BeginCol, &EndRow, &EndCol};
  for (int n = 1; n <= 4; ++n) requireLength(*ends[n - 1], 1, op, n);
  std::int32_t c[4];
  for (int n = 1; n <= 4; ++n) c[n - 1] = pixelAt(*ends[n - 1], 0, op, n);
  setOutput(RegionLines, objectOf({makeRegion(lineRuns(c[0], c[1], c[2], c[3]))}));
}

void GenRegionPoints(HObject* Region, const HTuple& Rows, const HTuple& Columns) {
  ApiScope scope("GenRegionPoints");
  const char* op = "gen_region_points";
  requireLength(Columns, Rows.Length(), op, 2);
  Runs runs;
  runs.reserve(static_cast<std::size_t>(Rows.Length()));
  for (Hlong i = 0; i < Rows.Length(); ++i) {
    const std::int32_t row = pixelAt(Rows, i, op, 1);
    const std::int32_t col = pixelAt(Columns, i, op, 2);
    runs.push_back(Run{row, col, col});
  }
  setOutput(Region, objectOf({makeRegion(normalizeRuns(std::move(runs)))}));
}

void RegionToBin(const HObject& Region, HObject* BinImage, const HTuple& ForegroundGray,
                 const HTuple& BackgroundGray, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("RegionToBin");
  const char* op = "region_to_bin";
  const Hlong foreground = oneInteger(ForegroundGray, op, 1);
  const Hlong background = oneInteger(BackgroundGray, op, 2);
  const Hlong width = oneInteger(Width, op, 3);
  const Hlong height = oneInteger(Height, op, 4);
  if (foreground < 0 || foreground > 255) fail(op, 1301);
  if (background < 0 || background > 255) fail(op, 1302);
  if (width < 1 || width > kMaxImageSide) fail(op, 1303);
  if (height < 1 || height > kMaxImageSide) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1, false)) {
    ImagePtr image =
        newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 1, op);
    std::uint8_t* pixels = image->pixels(0);
    std::memset(pixels, static_cast<int>(background),
                static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (const Run& run : clipRuns(*region, image->height, image->width)) {
      std::memset(pixels + image->offset(run.row, run.begin), static_cast<int>(foreground),
                  static_cast<std::size_t>(run.end - run.begin + 1));
    }
    items.push_back(std::move(image));
  }
  setOutput(BinImage, objectOf(items));
}

// Region i (from 1) is painted with i, later regions over earlier ones; byte images take the
// index modulo 256 and int2 images modulo 32768, so that only values >= 0 appear.
void RegionToLabel(const HObject& Region, HObject* ImageLabel, const HTuple& Type,
                   const HTuple& Width, const HTuple& Height) {
  ApiScope scope("RegionToLabel");
  const char* op = "region_to_label";
  const std::string typeName = oneString(Type, op, 1);
  const Hlong width = oneInteger(Width, op, 2);
  const Hlong height = oneInteger(Height, op, 3);
  PixelType type;
  if (!pixelTypeOf(typeName, &type) ||
      (type != PixelType::Byte && type != PixelType::Int2 && type != PixelType::Int4)) {
    fail(op, 1301);
  }
  if (width < 1 || width > kMaxImageSide) fail(op, 1302);
  if (height < 1 || height > kMaxImageSide) fail(op, 1303);
  checkNoObjects(Region, op, 1);
  const std::vector<const Runs*> regions = regionsOf(Region, op, 1, false);
  if (skipEmptyRegions(regions, op)) return setOutput(ImageLabel, HObject());
  ImagePtr image =
      newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 1, op, type);
  const PixelWriter write = writerOf(type);
  const Hlong modulus = type == PixelType::Byte ? 256 : type == PixelType::Int2 ? 32768 : 0;
  std::uint8_t* pixels = image->pixels(0);
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const Hlong index = static_cast<Hlong>(i) + 1;
    const double value = static_cast<double>(modulus ? index % modulus : index);
    for (const Run& run : clipRuns(*regions[i], image->height, image->width)) {
      const std::size_t at = image->offset(run.row, run.begin);
      for (std::int32_t c = 0; c <= run.end - run.begin; ++c) write(pixels, at + c, value);
    }
  }
  setOutput(ImageLabel, objectOf({image}));
}

void RegionToMean(const HObject& Regions, const HObject& Image, HObject* ImageMean) {
  ApiScope scope("RegionToMean");
  const char* op = "region_to_mean";
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  const ImagePtr image = oneImage(Image, op, 2, {PixelType::Byte, PixelType::Uint2});
  const PixelType type = image->type();
  std::vector<PlanePtr> planes;
  const std::size_t n = std::size_t(image->width) * std::size_t(image->height);
  const std::size_t bytes = n * elementSize(type);
  for (std::size_t c = 0; c < image->channels.size(); ++c) {
    planes.push_back(std::make_shared<Plane>(image->width, image->height, op, type));
    std::memcpy(planes.back()->data(), image->pixels(c), bytes);
  }
  ImagePtr result = makeImage(image->width, image->height, std::move(planes), image->domain);
  // Each region in turn over the image's grey values, a later one painting over an earlier.
  for (const Runs* region : regions) {
    const Runs inside = clipRuns(*region, image->height, image->width);
    if (inside.empty()) continue;
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const auto value = [&](std::size_t i) -> double {
        if (type == PixelType::Byte) return image->pixels(c)[i];
        std::uint16_t v;
        std::memcpy(&v, image->pixels(c) + 2 * i, 2);
        return v;
      };
      double sum = 0, count = 0;
      for (const Run& run : inside) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          sum += value(image->offset(run.row, col));
        }
        count += run.end - run.begin + 1;
      }
      const double mean = std::floor(sum / count + 0.5);
      std::uint8_t* out = result->pixels(c);
      for (const Run& run : inside) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          const std::size_t i = image->offset(run.row, col);
          if (type == PixelType::Byte) {
            out[i] = static_cast<std::uint8_t>(mean);
          } else {
            const auto v = static_cast<std::uint16_t>(mean);
            std::memcpy(out + 2 * i, &v, 2);
          }
        }
      }
    }
  }
  setOutput(ImageMean, objectOf({result}));
}

}  // namespace HalconCpp
