// Window pictures as palette PNGs. A window shows a grey image with a few overlay colours:
// far fewer than 256 colours, a third of the bytes of RGB. Batches write one picture per
// file, so this writer is built for speed: one byte per pixel, no row filter, and a deflate
// stream whose only matches repeat the pixel to the left or the one above, coded with one
// Huffman table fitted to the picture. That costs a few passes over the pixels instead of a
// general match search, and on noisy camera images compresses within 10% of zlib's level 1.
#ifndef QUORVEX_STANDINS_HALCON_PNG_PALETTE_H
#define QUORVEX_STANDINS_HALCON_PNG_PALETTE_H

#include <string>

#include "image_codecs.h"

namespace HalconCpp {
namespace Standin {

// The PNG file of a three-plane picture with at most 256 distinct colours, as an 8-bit
// palette image (which every reader expands back to the same RGB pixels); empty when the
// picture has more colours.
std::string encodePalettePng(const PlaneView& rgb);

}  // namespace Standin
}  // namespace HalconCpp

#endif
