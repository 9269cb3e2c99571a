// Window pictures as palette PNGs. A window shows a grey image with a few overlay colours:
// far fewer than 256 colours, a third of the bytes of RGB. Batches write one picture per
// file, so the indices go through the pictures' own fast deflate (png_deflate.h), unfiltered.
#ifndef QUORVEX_STANDINS_HALCON_PNG_PALETTE_H
#define QUORVEX_STANDINS_HALCON_PNG_PALETTE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/plane_view.h"

namespace HalconCpp {
namespace Standin {

// A picture as palette entries: its colours, and one index a pixel behind each row's filter
// byte. A grey pixel's entry is its grey value; other colours take entries no grey uses.
struct IndexedPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> colours;      // RGB of entries 0, 1, ...
  const std::uint8_t* indices = nullptr;  // in the calling thread's scratch space
  std::array<bool, 256> used{};           // true for every value `indices` may hold
};

// Encoding in two steps: the first reads the planes, the second needs them no more, so that
// a window can be indexed while its lock is held instead of copying its framebuffer. The
// indices stay valid on this thread until its next call of either function.
// False when the picture has more than 256 distinct colours.
bool indexPicture(const PlaneView& rgb, IndexedPicture* picture);
// A PNG file in the calling thread's scratch space, valid while this object lives and the
// thread makes no other call here. Pictures are written one after the other: keeping the
// space saves the page faults of a fresh buffer each time, and the copy into a string.
class EncodedPicture {
 public:
  EncodedPicture() = default;
  EncodedPicture(const EncodedPicture&) = delete;
  EncodedPicture& operator=(const EncodedPicture&) = delete;
  EncodedPicture(EncodedPicture&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
  }
  ~EncodedPicture();  // gives back space past what threads keep

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  friend EncodedPicture encodeIndexedPicture(const IndexedPicture& picture);
  EncodedPicture& operator=(EncodedPicture&&) = delete;

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// The PNG file of an 8-bit palette image (which every reader expands back to the same RGB
// pixels); empty when there was no memory for it.
EncodedPicture encodeIndexedPicture(const IndexedPicture& picture);

// Both steps at once; empty when the picture has more than 256 colours.
std::string encodePalettePng(const PlaneView& rgb);

}  // namespace Standin
}  // namespace HalconCpp

#endif
