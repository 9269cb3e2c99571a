// Window pictures as palette PNGs. A window shows a grey image with a few overlay colours:
// far fewer than 256 colours, a third of the bytes of RGB. Batches write one picture per
// file, so the indices go through the pictures' own fast deflate (png_deflate.h), unfiltered.
#ifndef QUORVEX_STANDINS_HALCON_PNG_PALETTE_H
#define QUORVEX_STANDINS_HALCON_PNG_PALETTE_H

#include <cstdint>
#include <string>
#include <vector>

#include "image_codecs.h"

namespace HalconCpp {
namespace Standin {

// A picture as palette entries: its colours, and one index a pixel behind each row's filter
// byte.
struct IndexedPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> colours;      // RGB, in the order they first appear
  const std::uint8_t* indices = nullptr;  // in the calling thread's scratch space
};

// Encoding in two steps: the first reads the planes, the second needs them no more, so that
// a window can be indexed while its lock is held instead of copying its framebuffer. The
// indices stay valid on this thread until its next call of either function.
// False when the picture has more than 256 distinct colours.
bool indexPicture(const PlaneView& rgb, IndexedPicture* picture);
// The PNG file of an 8-bit palette image (which every reader expands back to the same RGB
// pixels); empty when there was no memory for it.
std::string encodeIndexedPicture(const IndexedPicture& picture);

// Both steps at once; empty when the picture has more than 256 colours.
std::string encodePalettePng(const PlaneView& rgb);

}  // namespace Standin
}  // namespace HalconCpp

#endif
