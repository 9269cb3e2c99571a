// Image files in memory and on disk: decoding (image_decoders.h says with what), TIFF through
// libtiff where the build has it, encoding the formats write_image offers.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_CODECS_H
#define QUORVEX_STANDINS_HALCON_IMAGE_CODECS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/plane_view.h"
#include "core/image.h"

namespace HalconCpp {
namespace Standin {

// Decodes a whole file. Raises 5202 in `op` for data no codec accepts, and for a header
// that promises more pixels than the file could plausibly hold, before allocating them.
ImagePtr decodeImageFile(const std::string& fileName, const std::string& contents, const char* op);

// Raises 5202 unless width x height x channels bytes are a plausible size for a file of
// `fileSize` bytes: each side at most 32768, and no more bytes than the best compression
// real codecs reach could pack into the file (with a floor for small files).
void checkDecodedSize(std::int64_t width, std::int64_t height, std::int64_t channels,
                      std::size_t fileSize, const char* op);

// The image itself when its three channels differ, else a one-channel image of the first.
ImagePtr collapseGreyChannels(const ImagePtr& image);

bool isTiffData(const std::string& contents);
// Whether this build reads and writes TIFF; where it does not, both raise 5202 with a
// message saying so.
bool tiffSupported();
ImagePtr decodeTiff(const std::string& fileName, std::size_t fileSize, const char* op);
// `compression`: "none", "lzw", "deflate" or "packbits". Raises 5201 when the file cannot be
// written.
void writeTiff(const std::string& fileName, const PlaneView& image, const std::string& compression,
               const char* op);

// Whether "standin_png_palette" asks for palette files where a picture allows them.
bool palettePngRequested();
std::string encodePng(const PlaneView& image, const char* op);
std::string encodeBmp(const PlaneView& image, const char* op);
// quality 1..100
std::string encodeJpeg(const PlaneView& image, int quality, const char* op);

// Writes the bytes, raising 5201 in `op` on failure.
void writeWholeFile(const std::string& fileName, const std::uint8_t* bytes, std::size_t size,
                    const char* op);
void writeWholeFile(const std::string& fileName, const std::string& bytes, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
