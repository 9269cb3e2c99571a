// JPEG, PNG and GIF through libjpeg-turbo, libpng and giflib, each where the build found it
// (QUORVEX_HAVE_LIBJPEG, QUORVEX_HAVE_LIBPNG, QUORVEX_HAVE_GIFLIB). libjpeg and libpng leave
// a failed decoding by longjmp: the functions that call them keep no C++ object with a
// destructor in their own frame, and report failure by their result, which the caller turns
// into 5202.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "codecs/image_decoders.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HException.h"

#if defined(QUORVEX_HAVE_LIBJPEG) || defined(QUORVEX_HAVE_LIBPNG)
#include <csetjmp>
#endif
#ifdef QUORVEX_HAVE_LIBJPEG
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers

#include <jpeglib.h>
#endif
#ifdef QUORVEX_HAVE_LIBPNG
#include <png.h>
#endif
#ifdef QUORVEX_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace HalconCpp {
namespace Standin {

bool systemDecoderBuilt(ImageFormat format) {
  switch (format) {
#ifdef QUORVEX_HAVE_LIBJPEG
    case ImageFormat::kJpeg:
      return true;
#endif
#ifdef QUORVEX_HAVE_LIBPNG
    case ImageFormat::kPng:
      return true;
#endif
#ifdef QUORVEX_HAVE_GIFLIB
    case ImageFormat::kGif:
      return true;
#endif
    default:
      return false;
  }
}

namespace {

#ifdef QUORVEX_HAVE_LIBJPEG

// Real progressive files have about ten scans; each scan passes over the whole image again.
constexpr int kMaxJpegScans = 256;

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings (corrupt data, a missing end marker) are not fatal: the decoder fills in what is
// missing, as stb does.
void jpegQuiet(j_common_ptr) {}

void jpegCountScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans) jpegFail(info);
}

// Adobe's CMYK, stored inverted as libjpeg gives it back: each colour times black.
void cmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>((cmyk[c] * cmyk[3] + 127) / 255);
  }
}

bool decodeJpegFrame(const std::string& contents, DecodedPixels* out) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = &jpegFail;
  errors.manager.output_message = &jpegQuiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  progress.progress_monitor = &jpegCountScans;
  info.progress = &progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(contents.data()),
               static_cast<unsigned long>(contents.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
  const int channels = grey ? 1 : 3;
  // libjpeg keeps a progressive file's coefficients, some bytes a pixel, before any output:
  // the size is checked and the pixels taken before it starts.
  if (!plausibleDecodedSize(info.image_width, info.image_height, 4, contents.size()) ||
      !allocatePixels(out, static_cast<std::int32_t>(info.image_width),
                      static_cast<std::int32_t>(info.image_height), channels)) {
    jpegFail(reinterpret_cast<j_common_ptr>(&info));
  }
  jpeg_start_decompress(&info);
  if (info.output_width != info.image_width || info.output_height != info.image_height) {
    jpegFail(reinterpret_cast<j_common_ptr>(&info));
  }
  const std::size_t stride = std::size_t{info.output_width} * static_cast<std::size_t>(channels);
  JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                        JPOOL_IMAGE, info.output_width * 4, 1)
                            : nullptr;
  while (info.output_scanline < info.output_height) {
    std::uint8_t* row = out->bytes.data() + stride * info.output_scanline;
    if (cmyk) {
      jpeg_read_scanlines(&info, cmykRow, 1);
      cmykToRgb(cmykRow[0], row, info.output_width);
    } else {
      JSAMPROW rows[] = {row};
      jpeg_read_scanlines(&info, rows, 1);
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

#endif

#ifdef QUORVEX_HAVE_LIBPNG

struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

void pngRead(png_structp png, png_bytep into, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->at) png_error(png, "truncated");
  std::memcpy(into, source->data + source->at, length);
  source->at += length;
}

void pngFail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void pngQuiet(png_structp, png_const_charp) {}

bool decodePngFrame(const std::string& contents, DecodedPixels* out) {
  PngSource source{reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size(), 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &pngFail, &pngQuiet);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &source, &pngRead);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  // What stb gave before: bytes (16-bit samples keep their high byte, fewer bits are scaled up),
  // palettes as RGB, a transparent colour as an alpha channel; no gamma applied.
  png_set_strip_16(png);
  png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  if (!plausibleDecodedSize(width, height, channels, contents.size()) ||
      png_get_rowbytes(png, info) != std::size_t{width} * static_cast<std::size_t>(channels) ||
      !allocatePixels(out, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                      channels)) {
    png_error(png, "size");
  }
  const std::size_t stride = std::size_t{width} * static_cast<std::size_t>(channels);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y)
      png_read_row(png, out->bytes.data() + stride * y, nullptr);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

#endif

#ifdef QUORVEX_HAVE_GIFLIB

struct GifSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

int gifRead(GifFileType* gif, GifByteType* into, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(length, 0)), source->size - source->at);
  std::memcpy(into, source->data + source->at, count);
  source->at += count;
  return static_cast<int>(count);
}

struct GifClose {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The rows of a frame in the order the file stores them: interlaced frames in four passes.
std::vector<int> gifRowOrder(int height, bool interlaced) {
  std::vector<int> order;
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = starts[pass]; y < height; y += steps[pass]) order.push_back(y);
  }
  return order;
}

// The transparent index a graphic control extension names, or -1.
int transparentIndexOf(GifFileType* gif, const char* op) {
  int code = 0;
  GifByteType* block = nullptr;
  int transparent = -1;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) fail(op, H_ERR_FILE_FORMAT);
  while (block) {
    GraphicsControlBlock control;
    if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4 &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      transparent = control.TransparentColor;
    }
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) fail(op, H_ERR_FILE_FORMAT);
  }
  return transparent;
}

// Pixels the first frame leaves out take the screen's background colour, except that index 0
// leaves them black, as stb has it.
void fillBackground(GifFileType* gif, DecodedPixels* out) {
  const ColorMapObject* colours = gif->SColorMap;
  const int index = gif->SBackGroundColor;
  if (!colours || index <= 0 || index >= colours->ColorCount) return;
  const GifColorType& colour = colours->Colors[index];
  for (std::size_t i = 0; i < out->bytes.size(); i += 3) {
    out->bytes[i] = colour.Red;
    out->bytes[i + 1] = colour.Green;
    out->bytes[i + 2] = colour.Blue;
  }
}

// The first frame on the logical screen, as stb gave it: transparent pixels are black, and
// transparency is no channel.
DecodedPixels decodeGifFrame(GifFileType* gif, std::size_t fileSize, const char* op) {
  DecodedPixels out;
  if (!plausibleDecodedSize(gif->SWidth, gif->SHeight, 4, fileSize)) fail(op, H_ERR_FILE_FORMAT);
  if (!allocatePixels(&out, gif->SWidth, gif->SHeight, 3)) fail(op, H_ERR_NO_MEMORY);
  fillBackground(gif, &out);
  int transparent = -1;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) fail(op, H_ERR_FILE_FORMAT);
    if (record == EXTENSION_RECORD_TYPE) {
      const int named = transparentIndexOf(gif, op);
      if (named >= 0) transparent = named;
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) fail(op, H_ERR_FILE_FORMAT);  // no frame at all
    if (DGifGetImageDesc(gif) == GIF_ERROR) fail(op, H_ERR_FILE_FORMAT);
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!colours || frame.Left < 0 || frame.Top < 0 || frame.Width < 0 || frame.Height < 0 ||
        frame.Left + frame.Width > gif->SWidth || frame.Top + frame.Height > gif->SHeight) {
      fail(op, H_ERR_FILE_FORMAT);
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width) + 1);
    for (const int y : gifRowOrder(frame.Height, frame.Interlace)) {
      if (frame.Width > 0 && DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
        fail(op, H_ERR_FILE_FORMAT);
      }
      const auto pixel =
          static_cast<std::size_t>(frame.Top + y) * static_cast<std::size_t>(out.width) +
          static_cast<std::size_t>(frame.Left);
      std::uint8_t* row = out.bytes.data() + pixel * 3;
      for (int x = 0; x < frame.Width; ++x, row += 3) {
        const int index = line[static_cast<std::size_t>(x)];
        const bool shown = index != transparent && index < colours->ColorCount;
        const GifColorType black{0, 0, 0};
        const GifColorType& colour = shown ? colours->Colors[index] : black;
        row[0] = colour.Red;
        row[1] = colour.Green;
        row[2] = colour.Blue;
      }
    }
    return out;
  }
}

#endif

// The pixels a frame reader gave, or the record of its failure: out of memory or a file
// it refused.
[[maybe_unused]] DecodedPixels decodedOrRaise(bool (*read)(const std::string&, DecodedPixels*),
                                              const std::string& contents, const char* op) {
  DecodedPixels decoded;
  if (!read(contents, &decoded))
    fail(op, decoded.outOfMemory ? H_ERR_NO_MEMORY : H_ERR_FILE_FORMAT);
  return decoded;
}

}  // namespace

DecodedPixels decodeJpegSystem(const std::string& contents, const char* op) {
#ifdef QUORVEX_HAVE_LIBJPEG
  return decodedOrRaise(decodeJpegFrame, contents, op);
#else
  (void)contents;
  fail(op, H_ERR_FILE_FORMAT);
#endif
}

DecodedPixels decodePngSystem(const std::string& contents, const char* op) {
#ifdef QUORVEX_HAVE_LIBPNG
  return decodedOrRaise(decodePngFrame, contents, op);
#else
  (void)contents;
  fail(op, H_ERR_FILE_FORMAT);
#endif
}

DecodedPixels decodeGifSystem(const std::string& contents, const char* op) {
#ifdef QUORVEX_HAVE_GIFLIB
  GifSource source{reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size(), 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&source, &gifRead, &error));
  if (!gif) fail(op, H_ERR_FILE_FORMAT);
  return decodeGifFrame(gif.get(), contents.size(), op);
#else
  (void)contents;
  fail(op, H_ERR_FILE_FORMAT);
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
