// The decoders behind ReadImage. Where the build has them, JPEG, PNG and GIF go through
// libjpeg-turbo, libpng and giflib, which their makers fuzz and Debian patches; BMP, and those
// three in builds without the libraries (32-bit, Windows), go through the header-only stb,
// guarded against its known faults; binary PGM/PPM the stand-in reads itself. Each decoder
// raises 5202 in `op` for data it refuses.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_DECODERS_H
#define QUORVEX_STANDINS_HALCON_IMAGE_DECODERS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_bounds.h"

namespace HalconCpp {
namespace Standin {

// An image as a decoder leaves it: width x height pixels of `channels` interleaved bytes
// (1 grey, 2 grey+alpha, 3 RGB, 4 RGBA).
// The bytes count against "standin_pixel_limit" while they are held, and are taken from it
// before the decoding, so that a file promising more than the bound fails at once.
struct DecodedPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  int channels = 0;
  std::vector<std::uint8_t> bytes;
  PixelReservation reservation;
  bool outOfMemory = false;  // why allocatePixels failed
};

enum class ImageFormat { kUnknown, kPng, kJpeg, kGif, kBmp, kPortableMap };
ImageFormat imageFormatOf(const std::string& contents);

// Whether width x height x channels bytes are a plausible decoding of a file of `fileSize`
// bytes (see checkDecodedSize); never throws, for decoders that must clean up first.
bool plausibleDecodedSize(std::int64_t width, std::int64_t height, std::int64_t channels,
                          std::size_t fileSize);
// Sizes `out` for width x height x channels bytes; false, with `outOfMemory` set, when they
// would pass the pixel bound or memory runs out. Never throws.
bool allocatePixels(DecodedPixels* out, std::int32_t width, std::int32_t height, int channels);

// Whether the build has a system decoder for the format, and whether
// "standin_image_decoders" lets ReadImage use it.
bool systemDecoderBuilt(ImageFormat format);
bool systemDecodersChosen();

DecodedPixels decodeJpegSystem(const std::string& contents, const char* op);
DecodedPixels decodePngSystem(const std::string& contents, const char* op);
DecodedPixels decodeGifSystem(const std::string& contents, const char* op);
// PNG, JPEG, GIF or BMP, with stb.
DecodedPixels decodeWithStb(const std::string& contents, ImageFormat format, const char* op);
// Binary PGM/PPM, by the stand-in itself.
DecodedPixels decodePortableMap(const std::string& contents, const char* op);

// The guards stb needs before it sees a file. Whether no Huffman table of a JPEG declares more
// than 256 codes, wherever the bytes of a table could be read as one.
bool jpegHuffmanCountsFit(const std::string& contents);
// Empty IDAT chunks are valid PNG, but stb cannot take one before the first with data: when
// the file has such, `stripped` gets it without them and the answer is true.
bool dropLeadingEmptyPngData(const std::string& contents, std::string* stripped);

}  // namespace Standin
}  // namespace HalconCpp

#endif
