#include "codecs/png_palette.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "codecs/png_deflate.h"

namespace HalconCpp {
namespace Standin {
namespace {

// Buffers each thread keeps between pictures: a batch writes hundreds of the same size, and
// fresh buffers that large cost more in page faults than the encoding itself. Ones past
// kKeptBytes are given back after each picture.
class Scratch {
 public:
  static constexpr std::size_t kKeptBytes = std::size_t{16} << 20;

  // Room for `size` bytes, not zeroed; null when there is no memory for them.
  std::uint8_t* room(std::size_t size) {
    if (size > capacity_) {
      bytes_.reset(new (std::nothrow) std::uint8_t[size]);
      capacity_ = bytes_ ? size : 0;
    }
    return bytes_.get();
  }
  void trim() {
    if (capacity_ > kKeptBytes) {
      bytes_.reset();
      capacity_ = 0;
    }
  }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t capacity_ = 0;
};

struct Buffers {
  Scratch indices;
  Scratch file;
  DeflateScratch deflate;
};

std::uint8_t* putBigEndian(std::uint8_t* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) *out++ = static_cast<std::uint8_t>(value >> shift);
  return out;
}

// A chunk whose `size` bytes of data are already in place after its length and type.
std::uint8_t* finishChunk(std::uint8_t* chunk, const char* type, std::size_t size) {
  putBigEndian(chunk, static_cast<std::uint32_t>(size));
  std::memcpy(chunk + 4, type, 4);
  return putBigEndian(chunk + 8 + size, crc32Of(0, chunk + 4, size + 4));
}

#if defined(QUORVEX_PNG_SSE2)
constexpr std::size_t kBlock = 16;  // pixels one step of the first pass takes
#else
constexpr std::size_t kBlock = 8;
#endif

// The colours other than grey, numbered in the order they first appear; at most 256.
class ColourSet {
 public:
  static constexpr std::uint32_t kFull = 256;

  // The colour's number, or kFull when it would be the 257th.
  std::uint32_t add(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::uint32_t key = 1u << 24 | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
    if (key == lastKey_) return lastNumber_;
    std::size_t slot = (key * 2654435761u) >> 22;
    while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) % kSlots;
    if (keys_[slot] == 0) {
      if (colours_.size() == 3 * kFull) return kFull;
      keys_[slot] = key;
      numbers_[slot] = static_cast<std::uint16_t>(colours_.size() / 3);
      colours_.insert(colours_.end(), {r, g, b});
    }
    lastKey_ = key;
    lastNumber_ = numbers_[slot];
    return lastNumber_;
  }
  std::size_t size() const { return colours_.size() / 3; }
  const std::vector<std::uint8_t>& colours() const { return colours_; }

 private:
  static constexpr std::size_t kSlots = 1024;  // at most 256 colours: a quarter full

  std::vector<std::uint8_t> colours_;
  std::uint32_t keys_[kSlots] = {};
  std::uint16_t numbers_[kSlots] = {};
  std::uint32_t lastKey_ = 0;
  std::uint32_t lastNumber_ = 0;
};

// The darkest and the brightest grey pixel seen.
class GreyRange {
 public:
  // Copies a block's red values and takes in those of its grey pixels; returns the block's
  // other pixels, one bit each.
  std::uint32_t copyBlock(const std::uint8_t* red, const std::uint8_t* green,
                          const std::uint8_t* blue, std::uint8_t* out) {
#if defined(QUORVEX_PNG_SSE2)
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(red));
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(green));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blue));
    const __m128i grey = _mm_and_si128(_mm_cmpeq_epi8(r, g), _mm_cmpeq_epi8(r, b));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), r);
    // Other pixels count as white for the darkest grey and as black for the brightest.
    low_ = _mm_min_epu8(low_, _mm_or_si128(r, _mm_andnot_si128(grey, _mm_set1_epi8(-1))));
    high_ = _mm_max_epu8(high_, _mm_and_si128(r, grey));
    const auto greys = static_cast<std::uint32_t>(_mm_movemask_epi8(grey));
    any_ = any_ || greys != 0;
    return ~greys & 0xFFFFu;
#else
    return copyPixels(red, green, blue, out, kBlock);
#endif
  }
  // The same for the first `count` pixels, one at a time: a row's last, short block.
  std::uint32_t copyPixels(const std::uint8_t* red, const std::uint8_t* green,
                           const std::uint8_t* blue, std::uint8_t* out, std::size_t count) {
    std::memcpy(out, red, count);
    std::uint32_t others = 0;
    for (std::size_t k = 0; k < count; ++k) {
      if (red[k] == green[k] && red[k] == blue[k]) {
        add(red[k]);
      } else {
        others |= 1u << k;
      }
    }
    return others;
  }
  // True from the darkest grey to the brightest: a superset of the greys shown.
  std::array<bool, 256> span() const {
    std::uint8_t lowest = lowest_, highest = highest_;
#if defined(QUORVEX_PNG_SSE2)
    std::uint8_t lows[kBlock], highs[kBlock];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lows), low_);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(highs), high_);
    lowest = std::min(lowest, *std::min_element(lows, lows + kBlock));
    highest = std::max(highest, *std::max_element(highs, highs + kBlock));
#endif
    std::array<bool, 256> values{};
    for (unsigned value = lowest; any_ && value <= highest; ++value) values[value] = true;
    return values;
  }

 private:
  void add(std::uint8_t grey) {
    lowest_ = std::min(lowest_, grey);
    highest_ = std::max(highest_, grey);
    any_ = true;
  }

#if defined(QUORVEX_PNG_SSE2)
  __m128i low_ = _mm_set1_epi8(-1);
  __m128i high_ = _mm_setzero_si128();
#endif
  std::uint8_t lowest_ = 255;
  std::uint8_t highest_ = 0;
  bool any_ = false;
};

// Exactly the greys the picture shows.
std::array<bool, 256> greysShown(const PlaneView& rgb) {
  std::array<bool, 256> shown{};
  const std::uint8_t* const red = rgb.planes[0];
  const std::size_t pixels =
      static_cast<std::size_t>(rgb.width) * static_cast<std::size_t>(rgb.height);
  for (std::size_t p = 0; p < pixels; ++p) {
    if (red[p] == rgb.planes[1][p] && red[p] == rgb.planes[2][p]) shown[red[p]] = true;
  }
  return shown;
}

std::vector<std::uint8_t> valuesNotIn(const std::array<bool, 256>& values) {
  std::vector<std::uint8_t> missing;
  for (unsigned value = 0; value < 256; ++value) {
    if (!values[value]) missing.push_back(static_cast<std::uint8_t>(value));
  }
  return missing;
}

// Palette indices with each row's leading filter byte (0: none), or false past 256 colours.
// A grey pixel's entry is its own grey value: the grey image that fills most of a window is
// copied, not looked up. The other colours take entries no grey pixel uses, known once every
// pixel has been seen: above or below the greys' range, where there is room, else any grey
// the picture lacks. A second pass fills them in, over the blocks that hold them only.
bool paletteIndices(const PlaneView& rgb, std::uint8_t* out, IndexedPicture* picture) {
  const auto width = static_cast<std::size_t>(rgb.width);
  const auto height = static_cast<std::size_t>(rgb.height);
  const std::uint8_t* const red = rgb.planes[0];
  const std::uint8_t* const green = rgb.planes[1];
  const std::uint8_t* const blue = rgb.planes[2];
  ColourSet colours;
  GreyRange greys;
  struct ColouredBlock {
    std::size_t first;     // pixel
    std::uint32_t others;  // its pixels that are not grey, one bit each
  };
  std::vector<ColouredBlock> colouredBlocks;
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* const row = out + y * (width + 1) + 1;
    row[-1] = 0;
    for (std::size_t x = 0; x < width; x += kBlock) {
      const std::size_t p = y * width + x;
      const std::size_t n = std::min(kBlock, width - x);
      const std::uint32_t others = n == kBlock
                                       ? greys.copyBlock(red + p, green + p, blue + p, row + x)
                                       : greys.copyPixels(red + p, green + p, blue + p, row + x, n);
      if (others == 0) continue;  // the common case: a grey image
      for (std::uint32_t left = others; left != 0; left &= left - 1) {
        const std::size_t at = p + static_cast<std::size_t>(lowestSetBit(left));
        if (colours.add(red[at], green[at], blue[at]) == ColourSet::kFull) return false;
      }
      colouredBlocks.push_back({p, others});
    }
  }

  std::array<bool, 256>& used = picture->used;
  used = greys.span();
  std::vector<std::uint8_t> spare = valuesNotIn(used);
  if (spare.size() < colours.size()) {
    used = greysShown(rgb);
    spare = valuesNotIn(used);
    if (spare.size() < colours.size()) return false;  // greys and colours together past 256
  }
  for (std::size_t c = 0; c < colours.size(); ++c) used[spare[c]] = true;

  const auto entries =
      static_cast<std::size_t>(std::find(used.rbegin(), used.rend(), true).base() - used.begin());
  picture->colours.resize(3 * std::max<std::size_t>(entries, 1));
  for (std::size_t entry = 0; entry < entries; ++entry) {
    std::fill_n(picture->colours.begin() + static_cast<std::ptrdiff_t>(3 * entry), 3,
                static_cast<std::uint8_t>(entry));
  }
  for (std::size_t c = 0; c < colours.size(); ++c) {
    std::copy_n(colours.colours().begin() + static_cast<std::ptrdiff_t>(3 * c), 3,
                picture->colours.begin() + static_cast<std::ptrdiff_t>(3 * spare[c]));
  }
  used[0] = true;  // the filter bytes
  for (const ColouredBlock& block : colouredBlocks) {
    std::uint8_t* const blockOut =
        out + block.first / width * (width + 1) + 1 + block.first % width;
    for (std::uint32_t left = block.others; left != 0; left &= left - 1) {
      const auto k = static_cast<std::size_t>(lowestSetBit(left));
      const std::size_t at = block.first + k;
      blockOut[k] = spare[colours.add(red[at], green[at], blue[at])];
    }
  }
  return true;
}

constexpr std::size_t kSignatureBytes = 8;
constexpr std::size_t kChunkBytes = 12;  // length, type and CRC around a chunk's data
constexpr std::size_t kHeaderBytes = 13;

// The file's bytes up to the picture data's chunk, whose length and type come last.
std::uint8_t* startPngFile(const IndexedPicture& picture, std::uint8_t* out) {
  std::memcpy(out, "\x89PNG\r\n\x1a\n", kSignatureBytes);
  std::uint8_t* const header = out + kSignatureBytes;
  std::uint8_t* data = putBigEndian(header + 8, static_cast<std::uint32_t>(picture.width));
  data = putBigEndian(data, static_cast<std::uint32_t>(picture.height));
  *data++ = 8;  // bits per index
  *data++ = 3;  // palette colour
  *data++ = 0;  // deflate
  *data++ = 0;  // adaptive filters
  *data++ = 0;  // no interlacing
  std::uint8_t* const palette = finishChunk(header, "IHDR", kHeaderBytes);
  std::copy(picture.colours.begin(), picture.colours.end(), palette + 8);
  return finishChunk(palette, "PLTE", picture.colours.size());
}

Buffers& threadBuffers() {
  thread_local Buffers buffers;
  return buffers;
}

}  // namespace

bool indexPicture(const PlaneView& rgb, IndexedPicture* picture) {
  if (rgb.planes.size() != 3 || rgb.width <= 0 || rgb.height <= 0) return false;
  const std::size_t size =
      (static_cast<std::size_t>(rgb.width) + 1) * static_cast<std::size_t>(rgb.height);
  std::uint8_t* const indices = threadBuffers().indices.room(size);
  if (!indices || !paletteIndices(rgb, indices, picture)) return false;
  picture->width = rgb.width;
  picture->height = rgb.height;
  picture->indices = indices;
  return true;
}

EncodedPicture::~EncodedPicture() {
  if (data_) threadBuffers().file.trim();
}

EncodedPicture encodeIndexedPicture(const IndexedPicture& picture) {
  Buffers& buffers = threadBuffers();
  const std::size_t row = static_cast<std::size_t>(picture.width) + 1;
  const std::size_t size = row * static_cast<std::size_t>(picture.height);
  const std::size_t prefix = kSignatureBytes + kChunkBytes + kHeaderBytes + kChunkBytes +
                             picture.colours.size() + kChunkBytes - 4;
  // Matches keep 32-bit positions, and the room below must not wrap on 32-bit machines.
  const bool fits = size <= std::numeric_limits<std::uint32_t>::max() / 4;
  std::uint8_t* const file =
      fits ? buffers.file.room(prefix + 2 * size + 1024 + 4 + kChunkBytes) : nullptr;
  EncodedPicture encoded;
  if (file) {
    std::uint8_t* const data = startPngFile(picture, file);
    const std::size_t streamSize =
        deflatePicture(picture.indices, size, row, picture.used.data(), &buffers.deflate, data + 8);
    if (streamSize <= 0x7FFFFFFFu) {  // a chunk's length has 31 bits
      std::uint8_t* const end = finishChunk(data, "IDAT", streamSize);
      encoded.data_ = file;
      encoded.size_ = static_cast<std::size_t>(finishChunk(end, "IEND", 0) - file);
    }
  }
  buffers.indices.trim();
  if (buffers.deflate.matches.capacity() * sizeof(DeflateMatch) > Scratch::kKeptBytes) {
    std::vector<DeflateMatch>().swap(buffers.deflate.matches);
  }
  if (!encoded.data_) buffers.file.trim();
  return encoded;
}

std::string encodePalettePng(const PlaneView& rgb) {
  IndexedPicture picture;
  if (!indexPicture(rgb, &picture)) return std::string();
  const EncodedPicture encoded = encodeIndexedPicture(picture);
  if (encoded.empty()) return std::string();
  return std::string(reinterpret_cast<const char*>(encoded.data()), encoded.size());
}

}  // namespace Standin
}  // namespace HalconCpp
