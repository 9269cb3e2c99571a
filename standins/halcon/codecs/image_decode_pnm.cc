// Binary PGM (P5) and PPM (P6), read by the stand-in itself: the format is a text header and
// raw samples, and stb's reader overflows on long numbers and leaves the pixels a short file
// lacks unset.
#include <cstdint>
#include <cstring>
#include <string>

#include "codecs/image_codecs.h"
#include "codecs/image_decoders.h"
#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the header from `at`: whitespace and '#' comments (to the end of their line) before
// each number.
class HeaderReader {
 public:
  HeaderReader(const std::string& contents, std::size_t at) : contents_(contents), at_(at) {}

  // The next number, or -1 when there is none or it passes `limit`.
  std::int64_t number(std::int64_t limit) {
    for (;;) {
      while (at_ < contents_.size() && isSpace(contents_[at_])) ++at_;
      if (at_ >= contents_.size() || contents_[at_] != '#') break;
      while (at_ < contents_.size() && contents_[at_] != '\n' && contents_[at_] != '\r') ++at_;
    }
    std::int64_t value = -1;
    while (at_ < contents_.size() && contents_[at_] >= '0' && contents_[at_] <= '9') {
      value = (value < 0 ? 0 : value * 10) + (contents_[at_] - '0');
      if (value > limit) return -1;
      ++at_;
    }
    return value;
  }

  // After the last number one whitespace character, then the samples.
  bool samplesStart(std::size_t* start) const {
    if (at_ >= contents_.size() || !isSpace(contents_[at_])) return false;
    *start = at_ + 1;
    return true;
  }

 private:
  const std::string& contents_;
  std::size_t at_;
};

}  // namespace

DecodedPixels decodePortableMap(const std::string& contents, const char* op) {
  const int channels = contents.compare(0, 2, "P6") == 0 ? 3 : 1;
  HeaderReader header(contents, 2);
  const std::int64_t width = header.number(kMaxImageSide);
  const std::int64_t height = header.number(kMaxImageSide);
  const std::int64_t maximum = header.number(65535);
  std::size_t start = 0;
  if (width < 1 || height < 1 || maximum < 1 || !header.samplesStart(&start)) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  checkDecodedSize(width, height, channels, contents.size(), op);
  // Samples above 255 take two bytes, the high one first; the stand-in keeps that one. Smaller
  // samples are kept as they are, not scaled to 255.
  const std::size_t bytes = maximum > 255 ? 2 : 1;
  const std::size_t samples = static_cast<std::size_t>(width * height * channels);
  if (contents.size() - start < samples * bytes) fail(op, H_ERR_FILE_FORMAT);
  DecodedPixels decoded;
  if (!allocatePixels(&decoded, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                      channels)) {
    fail(op, H_ERR_NO_MEMORY);
  }
  const char* raw = contents.data() + start;
  if (bytes == 1) {
    std::memcpy(decoded.bytes.data(), raw, samples);
  } else {
    for (std::size_t i = 0; i < samples; ++i)
      decoded.bytes[i] = static_cast<std::uint8_t>(raw[2 * i]);
  }
  return decoded;
}

}  // namespace Standin
}  // namespace HalconCpp
