// Decoding with Debian's header-only stb_image: BMP in every build, and JPEG, PNG and GIF
// where the build has no system decoder for them. stb is not written for
// files from outside, so what it is known to mishandle is checked before it sees the bytes.
// TGA is left out: it is not among the vendor's formats, and stb accepts almost any bytes as one.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codecs/image_codecs.h"
#include "codecs/image_decoders.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HException.h"

#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 32768
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace HalconCpp {
namespace Standin {

namespace {

static_assert(STBI_MAX_DIMENSIONS == kMaxImageSide, "stb's bound is the stand-in's");

using StbPixels = std::unique_ptr<stbi_uc, void (*)(void*)>;

// A byte of the file, 0 past its end, as stb reads it.
unsigned byteAt(const std::string& contents, std::size_t at) {
  return at < contents.size() ? static_cast<unsigned char>(contents[at]) : 0u;
}

std::uint32_t bigEndian(const std::string& contents, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | byteAt(contents, at + i);
  return value;
}

std::uint32_t littleEndian32(const std::string& contents, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | byteAt(contents, at + i);
  return value;
}

// The height a BMP header gives, which is negative for rows stored top-down; stb's header
// query passes it on as it is.
bool bmpHeightFits(const std::string& contents) {
  if (littleEndian32(contents, 14) == 12) return true;  // OS/2: unsigned 16-bit sides
  // stb negates the height with abs(), which the most negative int overflows.
  return littleEndian32(contents, 22) != 0x80000000u;
}

// Empty IDAT chunks before the first one with data, as (offset, length) of whole chunks.
std::vector<std::pair<std::size_t, std::size_t>> leadingEmptyData(const std::string& contents) {
  std::vector<std::pair<std::size_t, std::size_t>> empty;
  std::uint64_t at = 8;
  while (at + 12 <= contents.size()) {
    const std::uint64_t length = bigEndian(contents, at, 4);
    if (contents.compare(at + 4, 4, "IDAT") == 0) {
      if (length != 0) break;
      empty.emplace_back(at, 12);
    }
    at += 12 + length;
  }
  return empty;
}

}  // namespace

bool jpegHuffmanCountsFit(const std::string& contents) {
  // Every FF C4 is checked, not only those of a marker walk: stb resynchronises after
  // entropy-coded data on its own terms, and a table stb never reads costs nothing to check.
  for (std::size_t at = contents.find("\xFF\xC4"); at != std::string::npos;
       at = contents.find("\xFF\xC4", at + 1)) {
    std::size_t table = at + 4;
    std::int64_t left = static_cast<std::int64_t>(bigEndian(contents, at + 2, 2)) - 2;
    // Past the file's end stb reads zeros: empty tables, which fit.
    while (left > 0 && table < contents.size()) {
      const unsigned classAndId = byteAt(contents, table);
      if (classAndId >> 4 > 1 || (classAndId & 15) > 3) break;  // stb refuses the table itself
      unsigned codes = 0;
      for (int length = 1; length <= 16; ++length) codes += byteAt(contents, table + length);
      if (codes > 256) return false;
      left -= 17 + static_cast<std::int64_t>(codes);
      table += 17 + codes;
    }
  }
  return true;
}

bool dropLeadingEmptyPngData(const std::string& contents, std::string* stripped) {
  const auto empty = leadingEmptyData(contents);
  if (empty.empty()) return false;
  stripped->clear();
  std::size_t from = 0;
  for (const auto& [at, length] : empty) {
    stripped->append(contents, from, at - from);
    from = at + length;
  }
  stripped->append(contents, from, std::string::npos);
  return true;
}

DecodedPixels decodeWithStb(const std::string& contents, ImageFormat format, const char* op) {
  std::string stripped;
  const std::string* file = &contents;
  if (format == ImageFormat::kJpeg && !jpegHuffmanCountsFit(contents)) fail(op, H_ERR_FILE_FORMAT);
  if (format == ImageFormat::kPng && dropLeadingEmptyPngData(contents, &stripped)) file = &stripped;
  if (format == ImageFormat::kBmp && !bmpHeightFits(contents)) fail(op, H_ERR_FILE_FORMAT);
  if (file->size() > static_cast<std::size_t>(INT_MAX)) fail(op, H_ERR_FILE_FORMAT);

  const auto* data = reinterpret_cast<const stbi_uc*>(file->data());
  const int length = static_cast<int>(file->size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  if (format == ImageFormat::kBmp) height = std::abs(height);
  // Decoders work with up to four bytes a pixel whatever the file holds.
  checkDecodedSize(width, height, 4, file->size(), op);
  const PixelReservation decoding(static_cast<std::uint64_t>(width) * height * 4, op);
  StbPixels pixels(stbi_load_from_memory(data, length, &width, &height, &channels, 0),
                   &stbi_image_free);
  if (!pixels) fail(op, H_ERR_FILE_FORMAT);
  checkDecodedSize(width, height, channels, file->size(), op);

  // A GIF's transparency is not an image channel for the vendor.
  const int kept = format == ImageFormat::kGif && channels == 4 ? 3 : channels;
  DecodedPixels decoded;
  if (!allocatePixels(&decoded, width, height, kept)) fail(op, H_ERR_NO_MEMORY);
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const auto stride = static_cast<std::size_t>(channels);
  const auto keptStride = static_cast<std::size_t>(kept);
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t c = 0; c < keptStride; ++c) {
      decoded.bytes[i * keptStride + c] = pixels.get()[i * stride + c];
    }
  }
  return decoded;
}

}  // namespace Standin
}  // namespace HalconCpp
