// Operators that make images (constant, ramps and polynomial surfaces, from the caller's
// memory), hand out their planes and regroup channels.
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Extern images wrap the caller's bytes, so only "byte" is taken; any other name is a wrong
// value.
void checkByteType(const HTuple& type, const char* op, int n) {
  if (oneString(type, op, n) != "byte") fail(op, 1300 + n);
}

PixelType pixelTypeParameter(const HTuple& value, const char* op, int n) {
  PixelType type;
  if (!pixelTypeOf(oneString(value, op, n), &type)) fail(op, 1300 + n);
  return type;
}

std::int32_t imageSide(const HTuple& value, const char* op, int n) {
  const Hlong side = oneInteger(value, op, n);
  if (side < 1 || side > kMaxImageSide) fail(op, 1300 + n);
  return static_cast<std::int32_t>(side);
}

double finiteNumber(const HTuple& value, const char* op, int n) {
  const double number = oneNumber(value, op, n);
  if (!std::isfinite(number)) fail(op, 1300 + n);
  return number;
}

// One plane whose pixel (r, c) holds surface(r - row, c - column), stored as the type stores a
// value: rounded and clipped to its range for the integer types.
template <typename Surface>
HObject surfaceImage(PixelType type, double row, double column, std::int32_t width,
                     std::int32_t height, const char* op, Surface surface) {
  ImagePtr image = newImage(width, height, 1, op, type);
  const PixelWriter write = writerOf(type);
  std::uint8_t* pixels = image->pixels(0);
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      write(pixels, image->offset(r, c), surface(r - row, c - column));
    }
  }
  return objectOf({image});
}

PixelType surfaceType(const HTuple& value, const char* op) {
  const PixelType type = pixelTypeParameter(value, op, 1);
  if (type != PixelType::Byte && type != PixelType::Uint2 && type != PixelType::Real) {
    fail(op, 1301);
  }
  return type;
}

// Addresses travel as integer elements; on 32-bit targets the upper half of the address
// space reads as negative numbers, so the conversion goes through the unsigned width.
std::uint8_t* pointerOf(const HTuple& value, const char* op, int n) {
  const Hlong address = oneInteger(value, op, n);
  if (address == 0) fail(op, 1300 + n);
  return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(address));
}

Plane::ClearProc clearProcOf(const HTuple& value, const char* op, int n) {
  const Hlong address = oneInteger(value, op, n);
  return address == 0 ? nullptr
                      : reinterpret_cast<Plane::ClearProc>(static_cast<std::uintptr_t>(address));
}

HTuple addressOf(const std::uint8_t* pointer) {
  return HTuple(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(pointer)));
}

}  // namespace

void GenImageConst(HObject* Image, const HTuple& Type, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenImageConst");
  const char* op = "gen_image_const";
  const PixelType type = pixelTypeParameter(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  setOutput(Image, objectOf({newImage(width, height, 1, op, type)}));
}

void GenImageGrayRamp(HObject* ImageGrayRamp, const HTuple& Alpha, const HTuple& Beta,
                      const HTuple& Mean, const HTuple& Row, const HTuple& Column,
                      const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenImageGrayRamp");
  const char* op = "gen_image_gray_ramp";
  const double alpha = finiteNumber(Alpha, op, 1), beta = finiteNumber(Beta, op, 2);
  const double mean = finiteNumber(Mean, op, 3);
  const auto row = static_cast<double>(oneInteger(Row, op, 4));
  const auto column = static_cast<double>(oneInteger(Column, op, 5));
  const std::int32_t width = imageSide(Width, op, 6), height = imageSide(Height, op, 7);
  setOutput(ImageGrayRamp,
            surfaceImage(PixelType::Byte, row, column, width, height, op,
                         [&](double r, double c) { return alpha * r + beta * c + mean; }));
}

void GenImageSurfaceFirstOrder(HObject* ImageSurface, const HTuple& Type, const HTuple& Alpha,
                               const HTuple& Beta, const HTuple& Gamma, const HTuple& Row,
                               const HTuple& Column, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenImageSurfaceFirstOrder");
  const char* op = "gen_image_surface_first_order";
  const PixelType type = surfaceType(Type, op);
  const double alpha = finiteNumber(Alpha, op, 2), beta = finiteNumber(Beta, op, 3);
  const double gamma = finiteNumber(Gamma, op, 4);
  const double row = finiteNumber(Row, op, 5), column = finiteNumber(Column, op, 6);
  const std::int32_t width = imageSide(Width, op, 7), height = imageSide(Height, op, 8);
  setOutput(ImageSurface,
            surfaceImage(type, row, column, width, height, op,
                         [&](double r, double c) { return alpha * r + beta * c + gamma; }));
}

void GenImageSurfaceSecondOrder(HObject* ImageSurface, const HTuple& Type, const HTuple& Alpha,
                                const HTuple& Beta, const HTuple& Gamma, const HTuple& Delta,
                                const HTuple& Epsilon, const HTuple& Zeta, const HTuple& Row,
                                const HTuple& Column, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenImageSurfaceSecondOrder");
  const char* op = "gen_image_surface_second_order";
  const PixelType type = surfaceType(Type, op);
  const double alpha = finiteNumber(Alpha, op, 2), beta = finiteNumber(Beta, op, 3);
  const double gamma = finiteNumber(Gamma, op, 4), delta = finiteNumber(Delta, op, 5);
  const double epsilon = finiteNumber(Epsilon, op, 6), zeta = finiteNumber(Zeta, op, 7);
  const double row = finiteNumber(Row, op, 8), column = finiteNumber(Column, op, 9);
  const std::int32_t width = imageSide(Width, op, 10), height = imageSide(Height, op, 11);
  // The terms in fit_surface_second_order's order: r^2, c^2, r c, r, c, 1.
  setOutput(ImageSurface,
            surfaceImage(type, row, column, width, height, op, [&](double r, double c) {
              return alpha * r * r + beta * c * c + gamma * r * c + delta * r + epsilon * c + zeta;
            }));
}

void GenImage1Extern(HObject* Image, const HTuple& Type, const HTuple& Width, const HTuple& Height,
                     const HTuple& PixelPointer, const HTuple& ClearProc) {
  ApiScope scope("GenImage1Extern");
  const char* op = "gen_image1_extern";
  checkByteType(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  std::uint8_t* pixels = pointerOf(PixelPointer, op, 4);
  const Plane::ClearProc clear = clearProcOf(ClearProc, op, 5);
  setOutput(Image, objectOf({makeImage(width, height, {std::make_shared<Plane>(pixels, clear)})}));
}

void GenImage3Extern(HObject* Image, const HTuple& Type, const HTuple& Width, const HTuple& Height,
                     const HTuple& PointerRed, const HTuple& PointerGreen,
                     const HTuple& PointerBlue, const HTuple& ClearProc) {
  ApiScope scope("GenImage3Extern");
  const char* op = "gen_image3_extern";
  checkByteType(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  std::uint8_t* pointers[] = {pointerOf(PointerRed, op, 4), pointerOf(PointerGreen, op, 5),
                              pointerOf(PointerBlue, op, 6)};
  const Plane::ClearProc clear = clearProcOf(ClearProc, op, 7);
  // One address given twice is one plane: it is released once, and the channels share it as
  // Compose3's channels do.
  std::vector<PlanePtr> planes;
  for (std::size_t i = 0; i < 3; ++i) {
    PlanePtr plane;
    for (std::size_t j = 0; j < i; ++j) {
      if (pointers[j] == pointers[i]) plane = planes[j];
    }
    planes.push_back(plane ? plane : std::make_shared<Plane>(pointers[i], clear));
  }
  setOutput(Image, objectOf({makeImage(width, height, std::move(planes))}));
}

void GetImagePointer1(const HObject& Image, HTuple* Pointer, HTuple* Type, HTuple* Width,
                      HTuple* Height) {
  ApiScope scope("GetImagePointer1");
  const char* op = "get_image_pointer1";
  HTuple pointers, types, widths, heights;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
    pointers.Append(addressOf(image->pixels(0)));
    types.Append(HTuple(pixelTypeName(image->type())));
    widths.Append(HTuple(static_cast<Hlong>(image->width)));
    heights.Append(HTuple(static_cast<Hlong>(image->height)));
  }
  setOutput(Pointer, std::move(pointers));
  setOutput(Type, std::move(types));
  setOutput(Width, std::move(widths));
  setOutput(Height, std::move(heights));
}

void GetImagePointer3(const HObject& ImageRGB, HTuple* PointerRed, HTuple* PointerGreen,
                      HTuple* PointerBlue, HTuple* Type, HTuple* Width, HTuple* Height) {
  ApiScope scope("GetImagePointer3");
  const char* op = "get_image_pointer3";
  HTuple reds, greens, blues, types, widths, heights;
  for (const ImagePtr& image : imagesOf(ImageRGB, op, 1, PixelTypes::all())) {
    if (image->channels.size() != 3) fail(op, H_ERR_CHANNEL_COUNT);
    reds.Append(addressOf(image->pixels(0)));
    greens.Append(addressOf(image->pixels(1)));
    blues.Append(addressOf(image->pixels(2)));
    types.Append(HTuple(pixelTypeName(image->type())));
    widths.Append(HTuple(static_cast<Hlong>(image->width)));
    heights.Append(HTuple(static_cast<Hlong>(image->height)));
  }
  setOutput(PointerRed, std::move(reds));
  setOutput(PointerGreen, std::move(greens));
  setOutput(PointerBlue, std::move(blues));
  setOutput(Type, std::move(types));
  setOutput(Width, std::move(widths));
  setOutput(Height, std::move(heights));
}

void AccessChannel(const HObject& MultiChannelImage, HObject* Image, const HTuple& Channel) {
  ApiScope scope("AccessChannel");
  const char* op = "access_channel";
  const Hlong channel = oneInteger(Channel, op, 1);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(MultiChannelImage, op, 1, PixelTypes::all())) {
    if (channel < 1 || channel > static_cast<Hlong>(image->channels.size())) fail(op, 1301);
    items.push_back(makeImage(image->width, image->height,
                              {image->channels[static_cast<std::size_t>(channel - 1)]},
                              image->domain));
  }
  setOutput(Image, objectOf(items));
}

void Compose3(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              HObject* MultiChannelImage) {
  ApiScope scope("Compose3");
  const char* op = "compose3";
  const std::vector<ImagePtr> inputs[] = {imagesOf(Image1, op, 1, PixelTypes::all()),
                                          imagesOf(Image2, op, 2, PixelTypes::all()),
                                          imagesOf(Image3, op, 3, PixelTypes::all())};
  if (inputs[1].size() != inputs[0].size()) fail(op, 1502);
  if (inputs[2].size() != inputs[0].size()) fail(op, 1503);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < inputs[0].size(); ++i) {
    std::vector<PlanePtr> planes;
    for (const auto& input : inputs) {
      const ImagePtr& image = input[i];
      if (image->width != inputs[0][i]->width || image->height != inputs[0][i]->height) {
        fail(op, H_ERR_SIZES_DIFFER);
      }
      if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
      // One image holds one type.
      if (image->type() != inputs[0][i]->type()) fail(op, H_ERR_WIT);
      planes.push_back(image->channels.front());
    }
    items.push_back(makeImage(inputs[0][i]->width, inputs[0][i]->height, std::move(planes),
                              inputs[0][i]->domain));
  }
  setOutput(MultiChannelImage, objectOf(items));
}

void CountChannels(const HObject& MultiChannelImage, HTuple* Channels) {
  ApiScope scope("CountChannels");
  HTuple counts;
  for (const ImagePtr& image :
       imagesOf(MultiChannelImage, "count_channels", 1, PixelTypes::all())) {
    counts.Append(HTuple(static_cast<Hlong>(image->channels.size())));
  }
  setOutput(Channels, std::move(counts));
}

void FullDomain(const HObject& Image, HObject* ImageFull) {
  ApiScope scope("FullDomain");
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, "full_domain", 1, PixelTypes::all())) {
    items.push_back(makeImage(image->width, image->height, image->channels));
  }
  setOutput(ImageFull, objectOf(items));
}

void GetImageSize(const HObject& Image, HTuple* Width, HTuple* Height) {
  ApiScope scope("GetImageSize");
  HTuple widths, heights;
  for (const ImagePtr& image : imagesOf(Image, "get_image_size", 1, PixelTypes::all())) {
    widths.Append(HTuple(static_cast<Hlong>(image->width)));
    heights.Append(HTuple(static_cast<Hlong>(image->height)));
  }
  setOutput(Width, std::move(widths));
  setOutput(Height, std::move(heights));
}

}  // namespace HalconCpp
