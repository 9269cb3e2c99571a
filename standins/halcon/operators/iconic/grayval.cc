// Reading and writing single pixels, painting regions into images and copying grey values
// from one image into another, into a new image or in place.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Point {
  std::int32_t row;
  std::int32_t col;
};

// Coordinates may be reals (rounded to the nearest pixel); a point outside the image is a
// wrong value of the coordinate that leaves it.
std::vector<Point> pointsOf(const ImageObject& image, const HTuple& rows, const HTuple& cols,
                            const char* op) {
  if (cols.Length() != rows.Length()) fail(op, 1402);
  std::vector<Point> points;
  for (Hlong i = 0; i < rows.Length(); ++i) {
    const double row = std::round(numberAt(rows, i, op, 1));
    const double col = std::round(numberAt(cols, i, op, 2));
    if (!(row >= 0 && row < image.height)) fail(op, 1301);  // NaN too
    if (!(col >= 0 && col < image.width)) fail(op, 1302);
    points.push_back(Point{static_cast<std::int32_t>(row), static_cast<std::int32_t>(col)});
  }
  return points;
}

// Byte pixels saturate: a value beyond 0..255 is clamped, a real rounded, NaN is 0.
std::uint8_t byteOf(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<std::uint8_t>(std::clamp(std::round(value), 0.0, 255.0));
}

}  // namespace

void GetGrayval(const HObject& Image, const HTuple& Row, const HTuple& Column, HTuple* Grayval) {
  ApiScope scope("GetGrayval");
  const char* op = "get_grayval";
  const ImagePtr image = oneImage(Image, op, 1, PixelTypes::all());
  // Integer types give integers, 'real' reals, 'complex' two reals a channel (real part,
  // then imaginary part).
  const PixelReader read = readerOf(image->type());
  const bool reals = holdsReals(image->type());
  const bool complex = image->type() == PixelType::Complex;
  HTuple values;
  for (const Point& point : pointsOf(*image, Row, Column, op)) {
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::size_t at = image->offset(point.row, point.col);
      if (complex) {
        const float* parts = image->channels[c]->as<float>();
        values.Append(HTuple(double(parts[2 * at]))).Append(HTuple(double(parts[2 * at + 1])));
        continue;
      }
      const double value = read(image->pixels(c), at);
      values.Append(reals ? HTuple(value) : HTuple(static_cast<Hlong>(value)));
    }
  }
  setOutput(Grayval, std::move(values));
}

void SetGrayval(const HObject& Image, const HTuple& Row, const HTuple& Column,
                const HTuple& Grayval) {
  ApiScope scope("SetGrayval");
  const char* op = "set_grayval";
  const ImagePtr image = oneImage(Image, op, 1, kRealValuedTypes);
  const PixelWriter write = writerOf(image->type());
  const std::vector<Point> points = pointsOf(*image, Row, Column, op);
  const std::size_t channels = image->channels.size();
  // One value for everything, one per point (every channel), or one per point and channel
  // in GetGrayval's order.
  const auto count = static_cast<std::size_t>(Grayval.Length());
  if (count != 1 && count != points.size() && count != points.size() * channels) fail(op, 1403);
  for (Hlong i = 0; i < Grayval.Length(); ++i) numberAt(Grayval, i, op, 3);
  for (std::size_t p = 0; p < points.size(); ++p) {
    for (std::size_t c = 0; c < channels; ++c) {
      const std::size_t index = count == 1 ? 0 : count == points.size() ? p : p * channels + c;
      write(image->pixels(c), image->offset(points[p].row, points[p].col),
            Grayval[static_cast<Hlong>(index)].D());
    }
  }
}

void PaintRegion(const HObject& Region, const HObject& Image, HObject* ImageResult,
                 const HTuple& Grayval, const HTuple& Type) {
  ApiScope scope("PaintRegion");
  const char* op = "paint_region";
  const std::vector<const Runs*> regions = regionsOf(Region, op, 1, false);
  const ImagePtr image = oneImage(Image, op, 2);
  const std::size_t channels = image->channels.size();
  if (Grayval.Length() != 1 && static_cast<std::size_t>(Grayval.Length()) != channels) {
    fail(op, 1401);
  }
  for (Hlong i = 0; i < Grayval.Length(); ++i) numberAt(Grayval, i, op, 1);
  const std::string type = oneString(Type, op, 2);
  if (type != "fill" && type != "margin") fail(op, 1302);

  ImagePtr result = newImage(image->width, image->height, channels, op);
  result->domain = image->domain;
  const std::size_t size = image->offset(image->height, 0);
  for (std::size_t c = 0; c < channels; ++c) {
    std::memcpy(result->pixels(c), image->pixels(c), size);
  }
  for (const Runs* region : regions) {
    const Runs painted =
        clipRuns(type == "fill" ? *region : marginRuns(*region, 1), image->height, image->width);
    for (std::size_t c = 0; c < channels; ++c) {
      const std::uint8_t value =
          byteOf(Grayval[Grayval.Length() == 1 ? 0 : static_cast<Hlong>(c)].D());
      for (const Run& run : painted) {
        std::memset(result->pixels(c) + result->offset(run.row, run.begin), value,
                    static_cast<std::size_t>(run.end - run.begin + 1));
      }
    }
  }
  setOutput(ImageResult, objectOf({result}));
}

// Writes into every image in place, as set_grayval does: one grey value for every channel or
// one per channel, stored as each image's type stores it.
void OverpaintRegion(const HObject& Image, const HObject& Region, const HTuple& Grayval,
                     const HTuple& Type) {
  ApiScope scope("OverpaintRegion");
  const char* op = "overpaint_region";
  const std::vector<ImagePtr> images = imagesOf(Image, op, 1, kRealValuedTypes);
  const std::vector<const Runs*> regions = regionsOf(Region, op, 2, false);
  for (Hlong i = 0; i < Grayval.Length(); ++i) numberAt(Grayval, i, op, 1);
  const std::string type = oneString(Type, op, 2);
  if (type != "fill" && type != "margin") fail(op, 1302);
  for (const ImagePtr& image : images) {
    const std::size_t channels = image->channels.size();
    if (Grayval.Length() != 1 && static_cast<std::size_t>(Grayval.Length()) != channels) {
      fail(op, 1401);
    }
    const PixelWriter write = writerOf(image->type());
    for (const Runs* region : regions) {
      const Runs painted =
          clipRuns(type == "fill" ? *region : marginRuns(*region, 1), image->height, image->width);
      for (std::size_t c = 0; c < channels; ++c) {
        const double value = Grayval[Grayval.Length() == 1 ? 0 : static_cast<Hlong>(c)].D();
        for (const Run& run : painted) {
          const std::size_t at = image->offset(run.row, run.begin);
          for (std::int32_t x = 0; x <= run.end - run.begin; ++x)
            write(image->pixels(c), at + x, value);
        }
      }
    }
  }
}

namespace {

// The source's grey values inside its domain, copied into `destination`'s planes.
void copyInsideDomain(const ImageObject& source, const ImageObject& destination) {
  const std::size_t element = elementSize(source.type());
  for (std::size_t c = 0; c < source.channels.size(); ++c) {
    for (const Run& run : *source.domain) {
      const std::size_t at = source.offset(run.row, run.begin) * element;
      std::memcpy(destination.pixels(c) + at, source.pixels(c) + at,
                  static_cast<std::size_t>(run.end - run.begin + 1) * element);
    }
  }
}

}  // namespace

void OverpaintGray(const HObject& ImageDestination, const HObject& ImageSource) {
  ApiScope scope("OverpaintGray");
  for (const auto& [destination, source] :
       imagePairs(ImageDestination, ImageSource, "overpaint_gray", PixelTypes::all())) {
    copyInsideDomain(*source, *destination);
  }
}

void PaintGray(const HObject& ImageSource, const HObject& ImageDestination, HObject* MixedImage) {
  ApiScope scope("PaintGray");
  const char* op = "paint_gray";
  std::vector<HObject::Item> items;
  for (const auto& [source, destination] :
       imagePairs(ImageSource, ImageDestination, op, PixelTypes::all())) {
    ImagePtr mixed = imageLike(destination, destination->channels.size(), op, destination->type());
    const std::size_t bytes =
        destination->offset(destination->height, 0) * elementSize(destination->type());
    for (std::size_t c = 0; c < destination->channels.size(); ++c) {
      std::memcpy(mixed->pixels(c), destination->pixels(c), bytes);
    }
    copyInsideDomain(*source, *mixed);
    items.push_back(std::move(mixed));
  }
  setOutput(MixedImage, objectOf(items));
}

}  // namespace HalconCpp
