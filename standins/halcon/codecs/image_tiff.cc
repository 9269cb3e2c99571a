// TIFF through libtiff where the build has it (QUORVEX_HAVE_TIFF); the 32-bit and Windows
// builds lack the library and refuse TIFF files with a message that says so.
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "codecs/image_codecs.h"
#include "core/params.h"
#include "halconcpp/HException.h"

#ifdef QUORVEX_HAVE_TIFF
#include <tiffio.h>

#include <mutex>
#endif

namespace HalconCpp {
namespace Standin {

bool isTiffData(const std::string& contents) {
  if (contents.size() < 4) return false;
  const bool little = contents.compare(0, 2, "II") == 0 && contents[2] != 0 && contents[3] == 0;
  const bool big = contents.compare(0, 2, "MM") == 0 && contents[2] == 0 && contents[3] != 0;
  const char version = little ? contents[2] : contents[3];
  return (little || big) && (version == 42 || version == 43);
}

#ifndef QUORVEX_HAVE_TIFF

namespace {
[[noreturn]] void refuseTiff(const char* op) {
  const std::string message = "HALCON error #" + std::to_string(H_ERR_FILE_FORMAT) +
                              ": Unsupported or corrupt image file in operator " + op +
                              " (this build has no TIFF support)";
  throw HException(op, message.c_str(), H_ERR_FILE_FORMAT);
}
}  // namespace

bool tiffSupported() {
  return false;
}

ImagePtr decodeTiff(const std::string&, std::size_t, const char* op) {
  refuseTiff(op);
}

void writeTiff(const std::string&, const PlaneView&, const std::string&, const char* op) {
  refuseTiff(op);
}

#else

namespace {

using TiffFile = std::unique_ptr<TIFF, void (*)(TIFF*)>;

// libtiff reports on stderr by default; the operator's error says what went wrong instead.
void silenceLibtiff() {
  static std::once_flag once;
  std::call_once(once, [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
}

std::uint16_t compressionOf(const std::string& name) {
  if (name == "lzw") return COMPRESSION_LZW;
  if (name == "deflate") return COMPRESSION_ADOBE_DEFLATE;
  if (name == "packbits") return COMPRESSION_PACKBITS;
  return COMPRESSION_NONE;
}

bool isGrey(std::uint16_t photometric) {
  return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
}

// Grey or RGB, and alpha when the first extra sample is declared as one (an RGB file's fourth
// sample counts as alpha in any case, as libtiff reads it). Grey+alpha has two channels, as a
// grey+alpha PNG has.
std::size_t channelsOf(TIFF* tiff, std::uint16_t photometric, std::uint16_t samples) {
  const std::size_t colour = isGrey(photometric) ? 1 : 3;
  std::uint16_t extraCount = 0;
  std::uint16_t* extra = nullptr;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  const bool declared = extraCount > 0 && extra &&
                        (extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA);
  const bool rgbWithFourth = photometric == PHOTOMETRIC_RGB && samples >= 4;
  return samples > colour && (declared || rgbWithFourth) ? colour + 1 : colour;
}

// Strips of 8- or 16-bit grey or RGB samples, rows top-down: read as they are stored, which
// keeps unassociated alpha and its colours exact (libtiff's RGBA interface premultiplies them).
bool readScanlines(TIFF* tiff, const ImagePtr& image, std::uint16_t photometric,
                   std::uint16_t samples) {
  std::uint16_t bits = 8, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT,
                orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  const std::size_t channels = image->channels.size();
  const auto width = static_cast<std::size_t>(image->width);
  const std::size_t bytes = bits / 8;
  if (TIFFIsTiled(tiff) || (bits != 8 && bits != 16) || planar != PLANARCONFIG_CONTIG ||
      format != SAMPLEFORMAT_UINT || orientation != ORIENTATION_TOPLEFT ||
      (!isGrey(photometric) && photometric != PHOTOMETRIC_RGB) || samples < channels ||
      static_cast<std::uint64_t>(TIFFScanlineSize64(tiff)) != width * samples * bytes) {
    return false;
  }
  std::vector<std::uint8_t> row(width * samples * bytes);
  const bool invert = photometric == PHOTOMETRIC_MINISWHITE;
  for (std::int32_t y = 0; y < image->height; ++y) {
    if (TIFFReadScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) < 0) return false;
    const std::size_t start = image->offset(y, 0);
    for (std::size_t c = 0; c < channels; ++c) {
      std::uint8_t* plane = image->pixels(c) + start;
      const unsigned flip = invert && c == 0 ? 0xFF : 0;
      if (image->type() == PixelType::Uint2) {
        // One grey channel of 16 bits, kept whole.
        for (std::size_t x = 0; x < width; ++x) {
          std::memcpy(image->pixels(c) + (start + x) * 2, row.data() + x * samples * 2, 2);
        }
        continue;
      }
      for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* sample = row.data() + (x * samples + c) * bytes;
        // libtiff gives 16-bit samples in the machine's order; the stand-in keeps the high byte.
        std::uint16_t wide = sample[0];
        if (bytes == 2) std::memcpy(&wide, sample, 2);
        plane[x] = static_cast<std::uint8_t>((bytes == 2 ? wide >> 8 : wide) ^ flip);
      }
    }
  }
  return true;
}

}  // namespace

bool tiffSupported() {
  return true;
}

ImagePtr decodeTiff(const std::string& fileName, std::size_t fileSize, const char* op) {
  silenceLibtiff();
  TiffFile tiff(TIFFOpen(fileName.c_str(), "r"), &TIFFClose);
  if (!tiff) fail(op, H_ERR_FILE_FORMAT);
  std::uint32_t width = 0, height = 0;
  std::uint16_t samples = 1, photometric = PHOTOMETRIC_MINISBLACK;
  if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height)) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
  // The RGBA interface decodes into four bytes a pixel, whatever the file holds.
  checkDecodedSize(width, height, 4, fileSize, op);
  const std::size_t channels = channelsOf(tiff.get(), photometric, samples);
  // A grey file of 16-bit samples is a uint2 image; every other file gives bytes.
  std::uint16_t bits = 8;
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
  const bool wide = bits == 16 && channels == 1 && photometric == PHOTOMETRIC_MINISBLACK;
  ImagePtr image = newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                            channels, op, wide ? PixelType::Uint2 : PixelType::Byte);
  if (readScanlines(tiff.get(), image, photometric, samples)) return image;
  if (wide) {
    image =
        newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), channels, op);
  }

  std::vector<std::uint32_t> raster;
  try {
    raster.resize(std::size_t{width} * height);
  } catch (const std::bad_alloc&) {
    fail(op, H_ERR_NO_MEMORY);
  }
  // 16-bit samples come out reduced to their high byte, as the stand-in keeps bytes only.
  if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, raster.data(), ORIENTATION_TOPLEFT,
                                 0)) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  // Grey+alpha takes the grey and the alpha of each RGBA pixel.
  const std::size_t sources[2][4] = {{0, 1, 2, 3}, {0, 3, 0, 0}};
  const std::size_t* source = sources[channels == 2 ? 1 : 0];
  for (std::size_t i = 0; i < raster.size(); ++i) {
    const std::uint32_t pixel = raster[i];
    const std::uint8_t values[4] = {
        static_cast<std::uint8_t>(TIFFGetR(pixel)), static_cast<std::uint8_t>(TIFFGetG(pixel)),
        static_cast<std::uint8_t>(TIFFGetB(pixel)), static_cast<std::uint8_t>(TIFFGetA(pixel))};
    for (std::size_t c = 0; c < channels; ++c) image->pixels(c)[i] = values[source[c]];
  }
  return photometric == PHOTOMETRIC_PALETTE ? collapseGreyChannels(image) : image;
}

void writeTiff(const std::string& fileName, const PlaneView& image, const std::string& compression,
               const char* op) {
  silenceLibtiff();
  const auto channels = static_cast<std::uint16_t>(image.planes.size());
  TiffFile tiff(TIFFOpen(fileName.c_str(), "w"), &TIFFClose);
  if (!tiff) fail(op, H_ERR_FILE_WRITE);
  TIFF* out = tiff.get();
  TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
  TIFFSetField(out, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height));
  TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, channels);
  TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(8 * image.sampleBytes));
  TIFFSetField(out, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(out, TIFFTAG_PHOTOMETRIC, channels <= 2 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  if (channels == 2 || channels == 4) {
    const std::uint16_t alpha[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(out, TIFFTAG_EXTRASAMPLES, 1, alpha);
  }
  TIFFSetField(out, TIFFTAG_COMPRESSION, compressionOf(compression));
  TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(out, 0));
  const auto width = static_cast<std::size_t>(image.width);
  const std::size_t bytes = image.sampleBytes;
  std::vector<std::uint8_t> row(width * channels * bytes);
  for (std::int32_t y = 0; y < image.height; ++y) {
    const std::size_t start = static_cast<std::size_t>(y) * width;
    for (std::size_t x = 0; x < width; ++x) {
      for (std::size_t c = 0; c < channels; ++c) {
        std::memcpy(&row[(x * channels + c) * bytes], image.planes[c] + (start + x) * bytes, bytes);
      }
    }
    if (TIFFWriteScanline(out, row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
      fail(op, H_ERR_FILE_WRITE);
    }
  }
  if (!TIFFFlush(out)) fail(op, H_ERR_FILE_WRITE);
}

#endif

}  // namespace Standin
}  // namespace HalconCpp
