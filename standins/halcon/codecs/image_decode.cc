// ReadImage's decoding: the format told from the file's first bytes, the decoder chosen for
// it, and what every decoder's result goes through (size limits, channels as the vendor gives
// them).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "codecs/image_codecs.h"
#include "codecs/image_decoders.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Deflate packs at most about 1032:1, JPEG and LZW stay below that on real pictures; the
// floor lets small, very flat images through.
constexpr std::uint64_t kCompressionRatio = 2048;
constexpr std::uint64_t kDecodedFloor = std::uint64_t{64} << 20;
// A 32-bit process must still find the memory for the planes after decoding.
constexpr std::uint64_t kDecodedCeiling32 = std::uint64_t{512} << 20;

bool startsWith(const std::string& contents, const char* magic) {
  return contents.compare(0, std::strlen(magic), magic) == 0;
}

// Formats whose grey images come out as RGB: palettes, and JPEG because stb's encoder writes
// every JPEG with three components. The vendor gives a grey image one channel.
bool mayCarryGreyAsRgb(ImageFormat format, const std::string& contents) {
  if (format == ImageFormat::kGif || format == ImageFormat::kJpeg) return true;
  if (format != ImageFormat::kBmp || contents.size() < 30) return false;
  const auto bitsPerPixel = static_cast<unsigned>(static_cast<unsigned char>(contents[28]) |
                                                  static_cast<unsigned char>(contents[29]) << 8);
  return bitsPerPixel <= 8;
}

// "standin_image_decoders": 'system' (the default) decodes JPEG, PNG and GIF with the system
// libraries where the build has them; 'stb' with the guarded header-only decoder, as the
// builds without them do, so that one build can test and fuzz both.
std::atomic<bool> systemChosen{true};

void setDecoders(const HTuple& value) {
  const std::string text = oneString(value, "set_system", 2);
  if (text != "system" && text != "stb") fail("set_system", 1302);
  systemChosen.store(text == "system");
}

HTuple getDecoders() {
  return HTuple(systemChosen.load() ? "system" : "stb");
}

const bool imageDecodeRegistered = [] {
  registerControl("standin_image_decoders", &setDecoders, &getDecoders);
  return true;
}();

DecodedPixels decode(ImageFormat format, const std::string& contents, const char* op) {
  if (format == ImageFormat::kPortableMap) return decodePortableMap(contents, op);
  if (systemChosen.load() && systemDecoderBuilt(format)) {
    switch (format) {
      case ImageFormat::kJpeg:
        return decodeJpegSystem(contents, op);
      case ImageFormat::kPng:
        return decodePngSystem(contents, op);
      case ImageFormat::kGif:
        return decodeGifSystem(contents, op);
      default:
        break;
    }
  }
  return decodeWithStb(contents, format, op);
}

}  // namespace

ImageFormat imageFormatOf(const std::string& contents) {
  if (startsWith(contents, "\x89PNG\r\n\x1A\n")) return ImageFormat::kPng;
  if (startsWith(contents, "\xFF\xD8")) return ImageFormat::kJpeg;
  if (startsWith(contents, "GIF87a") || startsWith(contents, "GIF89a")) return ImageFormat::kGif;
  if (startsWith(contents, "BM")) return ImageFormat::kBmp;
  if (startsWith(contents, "P5") || startsWith(contents, "P6")) return ImageFormat::kPortableMap;
  return ImageFormat::kUnknown;
}

bool systemDecodersChosen() {
  return systemChosen.load();
}

bool plausibleDecodedSize(std::int64_t width, std::int64_t height, std::int64_t channels,
                          std::size_t fileSize) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide || channels < 1 ||
      channels > 4) {
    return false;
  }
  std::uint64_t limit = std::max(kDecodedFloor, std::uint64_t{fileSize} * kCompressionRatio);
  if (sizeof(void*) < 8) limit = std::min(limit, kDecodedCeiling32);
  return static_cast<std::uint64_t>(width * height * channels) <= limit;
}

void checkDecodedSize(std::int64_t width, std::int64_t height, std::int64_t channels,
                      std::size_t fileSize, const char* op) {
  if (!plausibleDecodedSize(width, height, channels, fileSize)) fail(op, H_ERR_FILE_FORMAT);
}

bool allocatePixels(DecodedPixels* out, std::int32_t width, std::int32_t height, int channels) {
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                           static_cast<std::size_t>(channels);
  out->outOfMemory = true;
  // Neither exception may leave: decoders call this between a setjmp and its longjmp.
  try {
    out->reservation.change(size, "read_image");
    out->bytes.assign(size, 0);
  } catch (const HException&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  out->outOfMemory = false;
  out->width = width;
  out->height = height;
  out->channels = channels;
  return true;
}

ImagePtr collapseGreyChannels(const ImagePtr& image) {
  if (image->channels.size() != 3) return image;
  const std::size_t count = image->offset(image->height, 0);
  const std::uint8_t* red = image->pixels(0);
  if (std::memcmp(red, image->pixels(1), count) != 0 ||
      std::memcmp(red, image->pixels(2), count) != 0) {
    return image;
  }
  return makeImage(image->width, image->height, {image->channels[0]});
}

ImagePtr decodeImageFile(const std::string& fileName, const std::string& contents, const char* op) {
  if (isTiffData(contents)) return decodeTiff(fileName, contents.size(), op);
  const ImageFormat format = imageFormatOf(contents);
  if (format == ImageFormat::kUnknown) fail(op, H_ERR_FILE_FORMAT);
  const DecodedPixels decoded = decode(format, contents, op);
  checkDecodedSize(decoded.width, decoded.height, decoded.channels, contents.size(), op);

  ImagePtr image =
      newImage(decoded.width, decoded.height, static_cast<std::size_t>(decoded.channels), op);
  const std::size_t count = image->offset(decoded.height, 0);
  const auto stride = static_cast<std::size_t>(decoded.channels);
  for (std::size_t c = 0; c < stride; ++c) {
    std::uint8_t* plane = image->pixels(c);
    for (std::size_t i = 0; i < count; ++i) plane[i] = decoded.bytes[i * stride + c];
  }
  return mayCarryGreyAsRgb(format, contents) ? collapseGreyChannels(image) : image;
}

}  // namespace Standin
}  // namespace HalconCpp
