// The bit operators: each pixel as the C type of its image type (unsigned char for byte,
// direction and cyclic, signed char, short, unsigned short, int), combined with C's operators
// and stored back in that type. Shifts to the left stop at the type's limits instead of
// losing bits, as the reference asks.
#include <cstdint>
#include <limits>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kBitTypes{PixelType::Byte, PixelType::Direction, PixelType::Cyclic,
                               PixelType::Int1, PixelType::Int2,      PixelType::Uint2,
                               PixelType::Int4};

// f(values of the planes, i) over the planes as their C type; the result plane is new.
template <typename T, typename F>
void combinePlanes(const std::vector<const std::uint8_t*>& inputs, std::uint8_t* out,
                   std::size_t count, F&& f) {
  T* result = reinterpret_cast<T*>(out);
  for (std::size_t i = 0; i < count; ++i) {
    std::int64_t values[2] = {0, 0};
    for (std::size_t k = 0; k < inputs.size(); ++k) {
      values[k] = reinterpret_cast<const T*>(inputs[k])[i];
    }
    result[i] = static_cast<T>(f(values[0], values[1], std::int64_t(std::numeric_limits<T>::min()),
                                 std::int64_t(std::numeric_limits<T>::max())));
  }
}

// f(a, b, lowest, highest) in 64 bits for each pixel, its result converted to the type.
template <typename F>
void combineTyped(PixelType type, const std::vector<const std::uint8_t*>& inputs, std::uint8_t* out,
                  std::size_t count, F&& f) {
  switch (type) {
    case PixelType::Int1:
      return combinePlanes<std::int8_t>(inputs, out, count, f);
    case PixelType::Int2:
      return combinePlanes<std::int16_t>(inputs, out, count, f);
    case PixelType::Uint2:
      return combinePlanes<std::uint16_t>(inputs, out, count, f);
    case PixelType::Int4:
      return combinePlanes<std::int32_t>(inputs, out, count, f);
    default:
      return combinePlanes<std::uint8_t>(inputs, out, count, f);
  }
}

template <typename F>
HObject bitOne(const HObject& input, const char* op, F&& f) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, kBitTypes)) {
    ImagePtr result = imageLike(image, image->channels.size(), op, image->type());
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      combineTyped(image->type(), {image->pixels(c)}, result->pixels(c), pixelCount(*image), f);
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

template <typename F>
HObject bitTwo(const HObject& first, const HObject& second, const char* op, F&& f) {
  std::vector<HObject::Item> items;
  for (const auto& [a, b] : imagePairs(first, second, op, kBitTypes)) {
    std::vector<PlanePtr> planes;
    for (std::size_t c = 0; c < a->channels.size(); ++c) {
      auto plane = std::make_shared<Plane>(a->width, a->height, op, a->type());
      combineTyped(a->type(), {a->pixels(c), b->pixels(c)}, plane->data(), pixelCount(*a), f);
      planes.push_back(std::move(plane));
    }
    items.push_back(makeImage(a->width, a->height, std::move(planes),
                              std::make_shared<const Runs>(intersectRuns(*a->domain, *b->domain))));
  }
  return objectOf(items);
}

std::int64_t shiftOf(const HTuple& shift, const char* op) {
  const Hlong value = oneInteger(shift, op, 1);
  if (value < 1 || value > 31) fail(op, 1301);
  return value;
}

}  // namespace

void BitAnd(const HObject& Image1, const HObject& Image2, HObject* ImageAnd) {
  ApiScope scope("BitAnd");
  setOutput(ImageAnd,
            bitTwo(Image1, Image2, "bit_and", [](auto a, auto b, auto, auto) { return a & b; }));
}

void BitOr(const HObject& Image1, const HObject& Image2, HObject* ImageOr) {
  ApiScope scope("BitOr");
  setOutput(ImageOr,
            bitTwo(Image1, Image2, "bit_or", [](auto a, auto b, auto, auto) { return a | b; }));
}

void BitXor(const HObject& Image1, const HObject& Image2, HObject* ImageXor) {
  ApiScope scope("BitXor");
  setOutput(ImageXor,
            bitTwo(Image1, Image2, "bit_xor", [](auto a, auto b, auto, auto) { return a ^ b; }));
}

// The complement within the type: ~g converted back keeps the type's bits only.
void BitNot(const HObject& Image, HObject* ImageNot) {
  ApiScope scope("BitNot");
  setOutput(ImageNot, bitOne(Image, "bit_not", [](auto g, auto, auto, auto) { return ~g; }));
}

void BitLshift(const HObject& Image, HObject* ImageLShift, const HTuple& Shift) {
  ApiScope scope("BitLshift");
  const char* op = "bit_lshift";
  const std::int64_t shift = shiftOf(Shift, op);
  setOutput(
      ImageLShift,
      bitOne(Image, op,
             [shift](std::int64_t g, std::int64_t, std::int64_t lowest, std::int64_t highest) {
               // g * 2^shift, held within the type (at most 2^31 * 2^31: no overflow in 64 bits).
               const std::int64_t shifted = g * (std::int64_t(1) << shift);
               return shifted > highest ? highest : shifted < lowest ? lowest : shifted;
             }));
}

// Signed values shift arithmetically, as C compilers do: -8 >> 1 is -4.
void BitRshift(const HObject& Image, HObject* ImageRShift, const HTuple& Shift) {
  ApiScope scope("BitRshift");
  const char* op = "bit_rshift";
  const std::int64_t shift = shiftOf(Shift, op);
  setOutput(ImageRShift, bitOne(Image, op, [shift](std::int64_t g, auto, auto, auto) {
              return g >= 0 ? g >> shift : -((-g - 1) >> shift) - 1;
            }));
}

void BitMask(const HObject& Image, HObject* ImageMask, const HTuple& BitMask) {
  ApiScope scope("BitMask");
  const std::int64_t mask = oneInteger(BitMask, "bit_mask", 1);
  setOutput(ImageMask, bitOne(Image, "bit_mask",
                              [mask](std::int64_t g, auto, auto, auto) { return g & mask; }));
}

// Bit 1 is the lowest; the pixel keeps that bit's value (0 or 2^(Bit - 1)).
void BitSlice(const HObject& Image, HObject* ImageSlice, const HTuple& Bit) {
  ApiScope scope("BitSlice");
  const char* op = "bit_slice";
  const Hlong bit = oneInteger(Bit, op, 1);
  if (bit < 1 || bit > 32) fail(op, 1301);
  const std::int64_t mask = std::int64_t(1) << (bit - 1);
  setOutput(ImageSlice,
            bitOne(Image, op, [mask](std::int64_t g, auto, auto, auto) { return g & mask; }));
}

}  // namespace HalconCpp
