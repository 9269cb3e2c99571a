// Images behind HObject: channels of pixels of one type (core/pixel_type.h) and a domain. Channels
// are shared planes, so that objects made from one another (AccessChannel, Compose3, FullDomain,
// copies) see each other's writes, and so that an extern image wraps the caller's memory without
// copying.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_H
#define QUORVEX_STANDINS_HALCON_IMAGE_H

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "core/iconic.h"
#include "core/line_memory.h"
#include "core/memory_bounds.h"
#include "core/pixel_type.h"
#include "core/runs.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

// One channel's pixels, row by row without padding: either owned or the caller's memory,
// which `clear` (when set) releases with the last object that shares the plane.
class Plane {
 public:
  using ClearProc = void (*)(void*);
  // Owned pixels, all 0. Raises HException 6001 in `op` when memory runs out or the pixels'
  // bytes (their element size each) would pass "standin_pixel_limit".
  Plane(std::int32_t width, std::int32_t height, const char* op, PixelType type = PixelType::Byte);
  // Owned pixels left unwritten, for the operators that write each one themselves: a large
  // image is not cleared only to be overwritten.
  struct Unwritten {};
  Plane(std::int32_t width, std::int32_t height, const char* op, PixelType type, Unwritten);
  Plane(std::uint8_t* external, ClearProc clear, PixelType type = PixelType::Byte);
  ~Plane();
  Plane(const Plane&) = delete;
  Plane& operator=(const Plane&) = delete;

  std::uint8_t* data() const { return data_; }
  PixelType type() const { return type_; }
  // The pixels as the type's elements (float for real, two floats a pixel for complex).
  template <typename T>
  T* as() const {
    return reinterpret_cast<T*>(data_);
  }

 private:
  PixelReservation reservation_;
  // Bytes default-initialised when the vector grows: left as they are unless assigned; on a line
  // of the cache, as every plane begins.
  template <typename T>
  struct UnwrittenAllocator : LineAllocator<T> {
    template <typename U>
    struct rebind {
      using other = UnwrittenAllocator<U>;
    };
    UnwrittenAllocator() = default;
    template <typename U>
    UnwrittenAllocator(const UnwrittenAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };
  std::vector<std::uint8_t, UnwrittenAllocator<std::uint8_t>> owned_;
  std::uint8_t* data_;
  ClearProc clear_ = nullptr;
  PixelType type_;
};
using PlanePtr = std::shared_ptr<Plane>;

struct ImageObject : IconicObject {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<PlanePtr> channels;
  std::shared_ptr<const Runs> domain;  // never null

  const char* className() const override { return "image"; }
  // The planes' type; one made without planes counts as byte.
  PixelType type() const { return channels.empty() ? PixelType::Byte : channels.front()->type(); }
  // The bytes of a byte image's channel (of another type: its raw memory).
  std::uint8_t* pixels(std::size_t channel) const { return channels[channel]->data(); }
  std::size_t offset(std::int32_t row, std::int32_t col) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(col);
  }
};
using ImagePtr = std::shared_ptr<ImageObject>;

// Where row `row` of a plane `width` pixels wide begins: in size_t, since a plane of the
// largest side holds more pixels than an int counts.
inline std::size_t rowStart(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

// Largest side the stand-in accepts, as the vendor's standard edition limits images.
constexpr std::int32_t kMaxImageSide = 32768;

// Every image is made here: it gets the full domain unless one is given, and the system
// parameters "width"/"height" are raised to its size when it is larger.
ImagePtr makeImage(std::int32_t width, std::int32_t height, std::vector<PlanePtr> channels,
                   std::shared_ptr<const Runs> domain = nullptr);
// A new image with `channels` owned planes of zeros.
ImagePtr newImage(std::int32_t width, std::int32_t height, std::size_t channels, const char* op,
                  PixelType type = PixelType::Byte);

// The images of an iconic input at position n; other classes raise 1100+n, an image of a
// type not among `types` H_ERR_WIT.
std::vector<ImagePtr> imagesOf(const HObject& object, const char* op, int n,
                               PixelTypes types = {PixelType::Byte});
// Exactly one image, else 1500+n.
ImagePtr oneImage(const HObject& object, const char* op, int n,
                  PixelTypes types = {PixelType::Byte});
HObject objectOf(const std::vector<std::shared_ptr<IconicObject>>& items);

}  // namespace Standin
}  // namespace HalconCpp

#endif
