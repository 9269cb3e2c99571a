// Operators that carry any pixel type: the type's name, conversions between types, copies,
// constant images of another image's shape, and the pixelwise operators the reference defines
// for every type.
#include <cmath>
#include <cstring>

#include "core/params.h"
#include "halconcpp/HOperatorsImage.h"
#include "halconcpp/HOperatorsTypes.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace Standin {

bool hasTypedImages(const HObject& object) {
  if (!object.IsInitialized()) return false;
  for (const HObject::Item& item : object.Items()) {
    const auto* image = dynamic_cast<const ImageObject*>(item.get());
    if (image && image->type() != PixelType::Byte) return true;
  }
  return false;
}

HObject invertTyped(const HObject& input, const char* op) {
  const PixelTypes types{PixelType::Byte, PixelType::Int1, PixelType::Int2,  PixelType::Uint2,
                         PixelType::Int4, PixelType::Real, PixelType::Cyclic};
  const std::vector<ImagePtr> images = imagesOf(input, op, 1, types);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : images) {
    const PixelType type = image->type();
    const double top = type == PixelType::Byte || type == PixelType::Cyclic ? 255
                       : type == PixelType::Uint2                           ? 65535
                                                                            : 0;
    items.push_back(image);
    HObject one(std::vector<HObject::Item>{image});
    items.back() = mapTyped(one, op, types, [top](double g) { return top - g; }).Items().front();
  }
  return objectOf(items);
}

}  // namespace Standin

void GetImageType(const HObject& Image, HTuple* Type) {
  ApiScope scope("GetImageType");
  HTuple types;
  for (const ImagePtr& image : imagesOf(Image, "get_image_type", 1, PixelTypes::all())) {
    types.Append(HTuple(pixelTypeName(image->type())));
  }
  setOutput(Type, std::move(types));
}

void ConvertImageType(const HObject& Image, HObject* ImageConverted, const HTuple& NewType) {
  ApiScope scope("ConvertImageType");
  const char* op = "convert_image_type";
  PixelType target;
  if (!pixelTypeOf(oneString(NewType, op, 1), &target)) fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, PixelTypes::all())) {
    // "If the source and destination image type are identical, no new image matrix is
    // allocated": the result shares the planes.
    if (image->type() == target) {
      items.push_back(makeImage(image->width, image->height, image->channels, image->domain));
      continue;
    }
    ImagePtr result = imageLike(image, image->channels.size(), op, target);
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(target);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        write(result->pixels(c), i, read(image->pixels(c), i));
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageConverted, objectOf(items));
}

void CopyImage(const HObject& Image, HObject* DupImage) {
  ApiScope scope("CopyImage");
  const char* op = "copy_image";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    ImagePtr copy = imageLike(image, image->channels.size(), op, image->type());
    const std::size_t bytes = pixelCount(*image) * elementSize(image->type());
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      if (bytes > 0) std::memcpy(copy->pixels(c), image->pixels(c), bytes);
    }
    items.push_back(std::move(copy));
  }
  setOutput(DupImage, objectOf(items));
}

void GenImageProto(const HObject& Image, HObject* ImageCleared, const HTuple& Grayval) {
  ApiScope scope("GenImageProto");
  const char* op = "gen_image_proto";
  const double value = oneNumber(Grayval, op, 1);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    ImagePtr cleared = imageLike(image, image->channels.size(), op, image->type());
    const PixelWriter write = writerOf(image->type());
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        write(cleared->pixels(c), i, value);
      }
    }
    items.push_back(std::move(cleared));
  }
  setOutput(ImageCleared, objectOf(items));
}

// The signed types and real: |g|; the unsigned ones are their own absolute values.
void AbsImage(const HObject& Image, HObject* ImageAbs) {
  ApiScope scope("AbsImage");
  setOutput(ImageAbs, mapTyped(Image, "abs_image",
                               {PixelType::Byte, PixelType::Int1, PixelType::Int2, PixelType::Uint2,
                                PixelType::Int4, PixelType::Real},
                               [](double g) { return std::fabs(g); }));
}

void MaxImage(const HObject& Image1, const HObject& Image2, HObject* ImageMax) {
  ApiScope scope("MaxImage");
  setOutput(ImageMax, mapTypedPairs(Image1, Image2, "max_image", kRealValuedTypes,
                                    [](double a, double b) { return a > b ? a : b; }));
}

void MinImage(const HObject& Image1, const HObject& Image2, HObject* ImageMin) {
  ApiScope scope("MinImage");
  setOutput(ImageMin, mapTypedPairs(Image1, Image2, "min_image", kRealValuedTypes,
                                    [](double a, double b) { return a < b ? a : b; }));
}

}  // namespace HalconCpp
