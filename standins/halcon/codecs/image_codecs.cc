// Encoding with Debian's header-only stb_image_write (decoding is image_decode.cc's), and
// writing whole files.
#include "codecs/image_codecs.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "codecs/png_palette.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "standin/controls.h"

#if defined(QUORVEX_HAVE_LIBDEFLATE)
#include <libdeflate.h>

namespace {
// Where the system's libdeflate is there, PNG data goes through it: at level 1 it deflates
// window pictures about eight times faster than stb's own compressor and three times faster
// than zlib's fastest level, for files a sixth smaller than zlib's. stb releases the result
// with free().
unsigned char* deflateFast(unsigned char* data, int length, int* outLength, int) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
  if (!compressor) return nullptr;
  const std::size_t bound =
      libdeflate_zlib_compress_bound(compressor, static_cast<std::size_t>(length));
  auto* out = static_cast<unsigned char*>(std::malloc(bound));
  const std::size_t size =
      out ? libdeflate_zlib_compress(compressor, data, static_cast<std::size_t>(length), out, bound)
          : 0;
  libdeflate_free_compressor(compressor);
  if (size == 0) {
    std::free(out);
    return nullptr;
  }
  *outLength = static_cast<int>(size);
  return out;
}
}  // namespace
#define STBIW_ZLIB_COMPRESS deflateFast
#define STBIW_CRC32(buffer, length) libdeflate_crc32(0, buffer, static_cast<std::size_t>(length))
#endif
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace HalconCpp {
namespace Standin {

namespace {

std::vector<std::uint8_t> interleaved(const PlaneView& image) {
  const std::size_t channels = image.planes.size();
  const std::size_t count =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  std::vector<std::uint8_t> out(count * channels);
  for (std::size_t c = 0; c < channels; ++c) {
    for (std::size_t i = 0; i < count; ++i) out[i * channels + c] = image.planes[c][i];
  }
  return out;
}

void appendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<std::size_t>(size));
}

void putLittleEndian(std::string* out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// stb writes grey as 24-bit RGB, which would read back with three channels; the vendor writes
// an 8-bit file with a grey palette.
std::string encodeGreyBmp(const PlaneView& image) {
  const auto width = static_cast<std::uint32_t>(image.width);
  const auto height = static_cast<std::uint32_t>(image.height);
  const std::uint32_t rowSize = (width + 3) / 4 * 4;
  const std::uint32_t pixelOffset = 14 + 40 + 256 * 4;
  std::string out = "BM";
  putLittleEndian(&out, pixelOffset + rowSize * height, 4);
  putLittleEndian(&out, 0, 4);
  putLittleEndian(&out, pixelOffset, 4);
  const std::uint32_t info[] = {40, width, height};
  for (std::uint32_t value : info) putLittleEndian(&out, value, 4);
  putLittleEndian(&out, 1, 2);  // planes
  putLittleEndian(&out, 8, 2);  // bits per pixel
  const std::uint32_t rest[] = {0, rowSize * height, 2835, 2835, 256, 0};
  for (std::uint32_t value : rest) putLittleEndian(&out, value, 4);
  for (std::uint32_t grey = 0; grey < 256; ++grey) putLittleEndian(&out, grey * 0x010101u, 4);
  const std::uint8_t* pixels = image.planes[0];
  for (std::uint32_t row = height; row-- > 0;) {
    out.append(reinterpret_cast<const char*>(pixels) + std::size_t{row} * width, width);
    out.append(rowSize - width, '\0');
  }
  return out;
}

}  // namespace

// Window dumps and snapshots are written by the hundred in a batch: one fixed row filter and
// fast compression instead of stb's default, which tries all five filters on every row and
// compresses at level 8 (about ten times the time, for files some 20% smaller). Set once,
// before any thread writes, since stb keeps them as globals.
[[maybe_unused]] const bool kFastPngSettings = [] {
  stbi_write_png_compression_level = 1;
  stbi_write_force_png_filter = 1;  // "sub": cheap, and good on the flat areas windows have
  return true;
}();

namespace {

// "standin_png_palette": 'true' writes colour pictures of up to 256 colours as palette PNGs
// (several times faster, a third of the data); 'false', the default, writes RGB as the
// vendor does, which every reader gives back as three channels.
std::atomic<bool> palettePng{false};

void setPalettePng(const HTuple& value) {
  const std::string text = oneString(value, "set_system", 2);
  if (text != "true" && text != "false") fail("set_system", 1302);
  palettePng.store(text == "true");
}

HTuple getPalettePng() {
  return HTuple(palettePng.load() ? "true" : "false");
}

const bool imageCodecsRegistered = [] {
  registerControl("standin_png_palette", &setPalettePng, &getPalettePng);
  return true;
}();

}  // namespace

bool palettePngRequested() {
  return palettePng.load();
}

std::string encodePng(const PlaneView& image, const char* op) {
  if (palettePng.load()) {
    std::string palette = encodePalettePng(image);
    if (!palette.empty()) return palette;
  }
  const std::vector<std::uint8_t> pixels = interleaved(image);
  const int channels = static_cast<int>(image.planes.size());
  std::string encoded;
  if (!stbi_write_png_to_func(&appendBytes, &encoded, image.width, image.height, channels,
                              pixels.data(), image.width * channels)) {
    fail(op, H_ERR_FILE_WRITE);
  }
  return encoded;
}

std::string encodeBmp(const PlaneView& image, const char* op) {
  const std::size_t channels = image.planes.size();
  if (channels == 1) return encodeGreyBmp(image);
  if (channels != 3 && channels != 4) fail(op, H_ERR_CHANNEL_COUNT);
  const std::vector<std::uint8_t> pixels = interleaved(image);
  std::string encoded;
  if (!stbi_write_bmp_to_func(&appendBytes, &encoded, image.width, image.height,
                              static_cast<int>(channels), pixels.data())) {
    fail(op, H_ERR_FILE_WRITE);
  }
  return encoded;
}

std::string encodeJpeg(const PlaneView& image, int quality, const char* op) {
  const std::size_t channels = image.planes.size();
  if (channels != 1 && channels != 3) fail(op, H_ERR_CHANNEL_COUNT);
  const std::vector<std::uint8_t> pixels = interleaved(image);
  std::string encoded;
  if (!stbi_write_jpg_to_func(&appendBytes, &encoded, image.width, image.height,
                              static_cast<int>(channels), pixels.data(), quality)) {
    fail(op, H_ERR_FILE_WRITE);
  }
  return encoded;
}

void writeWholeFile(const std::string& fileName, const std::uint8_t* bytes, std::size_t size,
                    const char* op) {
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) fail(op, H_ERR_FILE_WRITE);
  std::setvbuf(file, nullptr, _IONBF, 0);  // one write, not one through a buffer and a rest
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) fail(op, H_ERR_FILE_WRITE);
}

void writeWholeFile(const std::string& fileName, const std::string& bytes, const char* op) {
  writeWholeFile(fileName, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), op);
}

}  // namespace Standin
}  // namespace HalconCpp
