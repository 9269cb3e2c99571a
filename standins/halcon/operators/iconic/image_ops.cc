// Operators that make images (constant, ramps and polynomial surfaces, from the caller's
// memory), hand out their planes and regroup channels.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "core/handed_out.h"
#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/runs.h"
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

// Where a program line's address may point (the engine calls in from inside the stand-ins,
// a C++ caller from outside): to the start of a live plane the stand-in handed out, with at
// least `bytes` (else 1300+n), which the returned plane keeps alive. A C++ caller's address
// is its own buffer, taken as given (null returned).
PlanePtr sourcePlane(const HTuple& value, bool fromOutside, std::uint64_t bytes, const char* op,
                     int n, std::uint8_t** pixels) {
  *pixels = pointerOf(value, op, n);
  if (fromOutside) return nullptr;
  PlanePtr plane = handedOutPlane(reinterpret_cast<std::uintptr_t>(*pixels), bytes);
  if (!plane) fail(op, 1300 + n);
  return plane;
}

// An extern image's plane: the caller's memory from C++; from a program line the handed-out
// byte plane itself, shared, as a program cannot own memory or name a function to free it
// (a ClearProc other than 0 is a wrong value).
PlanePtr externPlane(const HTuple& value, bool fromOutside, std::uint64_t bytes,
                     Plane::ClearProc clear, const char* op, int n, int clearN) {
  std::uint8_t* pixels = nullptr;
  PlanePtr plane = sourcePlane(value, fromOutside, bytes, op, n, &pixels);
  if (fromOutside) return std::make_shared<Plane>(pixels, clear);
  if (clear) fail(op, 1300 + clearN);
  if (plane->type() != PixelType::Byte) fail(op, 1300 + n);
  return plane;
}

std::uint64_t planeBytes(const ImageObject& image) {
  return std::uint64_t(image.width) * std::uint64_t(image.height) * elementSize(image.type());
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
  const bool fromOutside = calledFromOutside();
  ApiScope scope("GenImage1Extern");
  const char* op = "gen_image1_extern";
  checkByteType(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  const Plane::ClearProc clear = clearProcOf(ClearProc, op, 5);
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height);
  setOutput(Image,
            objectOf({makeImage(
                width, height, {externPlane(PixelPointer, fromOutside, bytes, clear, op, 4, 5)})}));
}

void GenImage1Rect(HObject* Image, const HTuple& PixelPointer, const HTuple& Width,
                   const HTuple& Height, const HTuple& VerticalPitch,
                   const HTuple& HorizontalBitPitch, const HTuple& BitsPerPixel,
                   const HTuple& DoCopy, const HTuple& ClearProc) {
  const bool fromOutside = calledFromOutside();
  ApiScope scope("GenImage1Rect");
  const char* op = "gen_image1_rect";
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  const Hlong pitch = oneInteger(VerticalPitch, op, 4);
  // The pixel's bits name the type, as get_image_pointer1_rect gives them.
  const Hlong bitPitch = oneInteger(HorizontalBitPitch, op, 5);
  PixelType type = PixelType::Byte;
  if (bitPitch == 16) {
    type = PixelType::Uint2;
  } else if (bitPitch == 32) {
    type = PixelType::Int4;
  } else if (bitPitch != 8) {
    fail(op, 1305);
  }
  const Hlong bits = oneInteger(BitsPerPixel, op, 6);
  if (bits < 1 || bits > bitPitch) fail(op, 1306);
  const std::string copy = oneString(DoCopy, op, 7);
  if (copy != "true" && copy != "false") fail(op, 1307);
  const Plane::ClearProc clear = clearProcOf(ClearProc, op, 8);
  // A row of the image is the whole pitch; the domain is its first Width columns.
  const Hlong bytesPerPixel = bitPitch / 8;
  if (pitch < 1 || pitch % bytesPerPixel != 0 || pitch / bytesPerPixel < width ||
      pitch / bytesPerPixel > kMaxImageSide) {
    fail(op, 1304);
  }
  const auto fullWidth = static_cast<std::int32_t>(pitch / bytesPerPixel);
  const std::uint64_t bytes = std::uint64_t(pitch) * std::uint64_t(height);
  auto domain = std::make_shared<const Runs>(rectangleRuns(0, 0, height - 1, width - 1));
  std::uint8_t* pixels = nullptr;
  const PlanePtr source = sourcePlane(PixelPointer, fromOutside, bytes, op, 1, &pixels);
  PlanePtr plane;
  if (copy == "true") {
    // The caller's memory is read once and left to the caller: ClearProc does not apply.
    plane = std::make_shared<Plane>(fullWidth, height, op, type);
    std::memcpy(plane->data(), pixels, static_cast<std::size_t>(bytes));
  } else if (fromOutside) {
    plane = std::make_shared<Plane>(pixels, clear, type);
  } else {
    // A program shares a handed-out plane of the same type; it cannot name a function to free
    // it.
    if (clear) fail(op, 1308);
    if (source->type() != type) fail(op, 1301);
    plane = source;
  }
  setOutput(Image, objectOf({makeImage(fullWidth, height, {plane}, domain)}));
}

void GenImage3Extern(HObject* Image, const HTuple& Type, const HTuple& Width, const HTuple& Height,
                     const HTuple& PointerRed, const HTuple& PointerGreen,
                     const HTuple& PointerBlue, const HTuple& ClearProc) {
  const bool fromOutside = calledFromOutside();
  ApiScope scope("GenImage3Extern");
  const char* op = "gen_image3_extern";
  checkByteType(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  const Plane::ClearProc clear = clearProcOf(ClearProc, op, 7);
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height);
  const HTuple* pointers[] = {&PointerRed, &PointerGreen, &PointerBlue};
  // One address given twice is one plane: it is released once, and the channels share it as
  // Compose3's channels do.
  std::vector<PlanePtr> planes;
  for (int i = 0; i < 3; ++i) {
    PlanePtr plane;
    for (int j = 0; j < i; ++j) {
      if (pointerOf(*pointers[j], op, 4 + j) == pointerOf(*pointers[i], op, 4 + i)) {
        plane = planes[static_cast<std::size_t>(j)];
      }
    }
    planes.push_back(plane ? plane
                           : externPlane(*pointers[i], fromOutside, bytes, clear, op, 4 + i, 7));
  }
  setOutput(Image, objectOf({makeImage(width, height, std::move(planes))}));
}

void GenImage1(HObject* Image, const HTuple& Type, const HTuple& Width, const HTuple& Height,
               const HTuple& PixelPointer) {
  const bool fromOutside = calledFromOutside();
  ApiScope scope("GenImage1");
  const char* op = "gen_image1";
  const PixelType type = pixelTypeParameter(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * elementSize(type);
  std::uint8_t* pixels = nullptr;
  const PlanePtr source = sourcePlane(PixelPointer, fromOutside, bytes, op, 4, &pixels);
  ImagePtr image = newImage(width, height, 1, op, type);
  std::memcpy(image->pixels(0), pixels, static_cast<std::size_t>(bytes));
  setOutput(Image, objectOf({image}));
}

void GenImage3(HObject* ImageRGB, const HTuple& Type, const HTuple& Width, const HTuple& Height,
               const HTuple& PixelPointerRed, const HTuple& PixelPointerGreen,
               const HTuple& PixelPointerBlue) {
  const bool fromOutside = calledFromOutside();
  ApiScope scope("GenImage3");
  const char* op = "gen_image3";
  const PixelType type = pixelTypeParameter(Type, op, 1);
  const std::int32_t width = imageSide(Width, op, 2);
  const std::int32_t height = imageSide(Height, op, 3);
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * elementSize(type);
  const HTuple* pointers[] = {&PixelPointerRed, &PixelPointerGreen, &PixelPointerBlue};
  ImagePtr image = newImage(width, height, 3, op, type);
  for (int c = 0; c < 3; ++c) {
    std::uint8_t* pixels = nullptr;
    const PlanePtr source = sourcePlane(*pointers[c], fromOutside, bytes, op, 4 + c, &pixels);
    std::memcpy(image->pixels(static_cast<std::size_t>(c)), pixels,
                static_cast<std::size_t>(bytes));
  }
  setOutput(ImageRGB, objectOf({image}));
}

void ObjToInteger(const HObject& Objects, const HTuple& Index, const HTuple& Number,
                  HTuple* SurrogateTuple) {
  ApiScope scope("ObjToInteger");
  const char* op = "obj_to_integer";
  const Hlong index = oneInteger(Index, op, 1);
  const Hlong number = oneInteger(Number, op, 2);
  const Hlong count = objectCount(Objects, op, 1);
  if (index < 1 || index > count) fail(op, 1301);
  if (number < -1 || number == 0 || (number > 0 && index - 1 + number > count)) fail(op, 1302);
  const Hlong last = number == -1 ? count : index - 1 + number;
  HTuple keys;
  for (Hlong i = index; i <= last; ++i) {
    keys.Append(HTuple(handOutObject(Objects.Items()[static_cast<std::size_t>(i - 1)])));
  }
  setOutput(SurrogateTuple, std::move(keys));
}

void IntegerToObj(HObject* Objects, const HTuple& SurrogateTuple) {
  ApiScope scope("IntegerToObj");
  const char* op = "integer_to_obj";
  // Keys are never read as addresses: only those obj_to_integer gave, of live objects.
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < SurrogateTuple.Length(); ++i) {
    HObject::Item item = handedOutObject(integerAt(SurrogateTuple, i, op, 1));
    if (!item) fail(op, 1301);
    items.push_back(std::move(item));
  }
  setOutput(Objects, HObject(std::move(items)));
}

void GetImagePointer1(const HObject& Image, HTuple* Pointer, HTuple* Type, HTuple* Width,
                      HTuple* Height) {
  ApiScope scope("GetImagePointer1");
  const char* op = "get_image_pointer1";
  HTuple pointers, types, widths, heights;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
    pointers.Append(handOutPlane(image->channels[0], planeBytes(*image)));
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
    reds.Append(handOutPlane(image->channels[0], planeBytes(*image)));
    greens.Append(handOutPlane(image->channels[1], planeBytes(*image)));
    blues.Append(handOutPlane(image->channels[2], planeBytes(*image)));
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

void GetImagePointer1Rect(const HObject& Image, HTuple* PixelPointer, HTuple* Width, HTuple* Height,
                          HTuple* VerticalPitch, HTuple* HorizontalBitPitch, HTuple* BitsPerPixel) {
  ApiScope scope("GetImagePointer1Rect");
  const char* op = "get_image_pointer1_rect";
  const ImagePtr image =
      oneImage(Image, op, 1, {PixelType::Byte, PixelType::Uint2, PixelType::Int4});
  if (image->channels.size() != 1) fail(op, H_ERR_CHANNEL_COUNT);
  const std::size_t size = elementSize(image->type());
  std::int32_t row1 = 0, col1 = 0, row2 = -1, col2 = -1;
  // An empty domain has no rectangle: the plane's start and a size of 0 x 0.
  runsBox(*image->domain, &row1, &col1, &row2, &col2);
  const std::uint8_t* start = image->pixels(0) + image->offset(row1, col1) * size;
  setOutput(PixelPointer, HTuple(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(start))));
  setOutput(Width, HTuple(static_cast<Hlong>(col2 - col1 + 1)));
  setOutput(Height, HTuple(static_cast<Hlong>(row2 - row1 + 1)));
  setOutput(VerticalPitch, HTuple(static_cast<Hlong>(image->width) * static_cast<Hlong>(size)));
  setOutput(HorizontalBitPitch, HTuple(static_cast<Hlong>(8 * size)));
  setOutput(BitsPerPixel, HTuple(static_cast<Hlong>(8 * size)));
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
