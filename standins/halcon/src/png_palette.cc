#include "png_palette.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "png_deflate.h"

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
  Scratch stream;
  std::vector<DeflateMatch> matches;
};

void putBigEndian(std::string* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void putChunk(std::string* out, const char* type, const std::uint8_t* data, std::size_t size) {
  putBigEndian(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out->size();
  out->append(type, 4);
  if (size > 0) out->append(reinterpret_cast<const char*>(data), size);
  const auto* typed = reinterpret_cast<const std::uint8_t*>(out->data() + start);
  putBigEndian(out, crc32Of(0, typed, size + 4));
}

// Colours to palette entries, in the order they first appear. Grey pixels, most of a window,
// find their entry by value; the others by a small hash.
class Palette {
 public:
  Palette() { std::fill(std::begin(greyEntry_), std::end(greyEntry_), std::int16_t{-1}); }

  // Eight grey pixels already in the palette, at once; false when one is not.
  bool greys(const std::uint8_t* grey, std::uint8_t* out) const {
    int missing = 0;
    for (int k = 0; k < 8; ++k) {
      const std::int16_t entry = greyEntry_[grey[k]];
      missing |= entry;
      out[k] = static_cast<std::uint8_t>(entry);
    }
    return missing >= 0;
  }

  // False when the colour would be the 257th.
  bool entry(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t* out) {
    if (r == g && g == b) {
      if (greyEntry_[r] < 0) {
        if (full()) return false;
        greyEntry_[r] = static_cast<std::int16_t>(add(r, g, b));
      }
      *out = static_cast<std::uint8_t>(greyEntry_[r]);
      return true;
    }
    const std::uint32_t key = 1u << 24 | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
    if (key != lastKey_) {
      std::size_t slot = (key * 2654435761u) >> 22;
      while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) % kSlots;
      if (keys_[slot] == 0) {
        if (full()) return false;
        keys_[slot] = key;
        entries_[slot] = add(r, g, b);
      }
      lastKey_ = key;
      lastEntry_ = entries_[slot];
    }
    *out = lastEntry_;
    return true;
  }

  const std::vector<std::uint8_t>& colours() const { return colours_; }

 private:
  static constexpr std::size_t kSlots = 1024;  // at most 256 colours: a quarter full

  bool full() const { return colours_.size() == 3 * 256; }
  std::uint8_t add(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const auto index = static_cast<std::uint8_t>(colours_.size() / 3);
    colours_.insert(colours_.end(), {r, g, b});
    return index;
  }

  std::vector<std::uint8_t> colours_;
  std::int16_t greyEntry_[256];
  std::uint32_t keys_[kSlots] = {};
  std::uint8_t entries_[kSlots] = {};
  std::uint32_t lastKey_ = 0;
  std::uint8_t lastEntry_ = 0;
};

// Palette indices with each row's leading filter byte (0: none), or false past 256 colours.
bool paletteIndices(const PlaneView& rgb, Palette* palette, std::uint8_t* out) {
  const auto width = static_cast<std::size_t>(rgb.width);
  const auto height = static_cast<std::size_t>(rgb.height);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* red = rgb.planes[0] + y * width;
    const std::uint8_t* green = rgb.planes[1] + y * width;
    const std::uint8_t* blue = rgb.planes[2] + y * width;
    *out++ = 0;
    std::size_t x = 0;
    while (x < width) {
      if (x + 8 <= width) {
        const std::uint64_t r = load64(red + x);
        if (((r ^ load64(green + x)) | (r ^ load64(blue + x))) == 0 &&
            palette->greys(red + x, out)) {
          x += 8;
          out += 8;
          continue;
        }
      }
      // One pixel at a time up to the next multiple of eight.
      const std::size_t end = std::min(width, (x | 7) + 1);
      for (; x < end; ++x) {
        if (!palette->entry(red[x], green[x], blue[x], out++)) return false;
      }
    }
  }
  return true;
}

std::string pngFile(const IndexedPicture& picture, const std::uint8_t* stream,
                    std::size_t streamSize) {
  const std::vector<std::uint8_t>& colours = picture.colours;
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::uint8_t header[13];
  for (int i = 0; i < 4; ++i) {
    header[i] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(picture.width) >> (24 - 8 * i));
    header[4 + i] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(picture.height) >> (24 - 8 * i));
  }
  header[8] = 8;                             // bits per index
  header[9] = 3;                             // palette colour
  header[10] = header[11] = header[12] = 0;  // deflate, adaptive filters, no interlacing
  png.reserve(8 + 25 + 12 + colours.size() + 12 + streamSize + 12);
  putChunk(&png, "IHDR", header, sizeof header);
  putChunk(&png, "PLTE", colours.data(), colours.size());
  putChunk(&png, "IDAT", stream, streamSize);
  putChunk(&png, "IEND", nullptr, 0);
  return png;
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
  Palette palette;
  if (!indices || !paletteIndices(rgb, &palette, indices)) return false;
  picture->width = rgb.width;
  picture->height = rgb.height;
  picture->colours = palette.colours();
  picture->indices = indices;
  return true;
}

std::string encodeIndexedPicture(const IndexedPicture& picture) {
  Buffers& buffers = threadBuffers();
  const std::size_t row = static_cast<std::size_t>(picture.width) + 1;
  const std::size_t size = row * static_cast<std::size_t>(picture.height);
  std::uint8_t* const stream = buffers.stream.room(2 * size + 1024);
  const std::size_t streamSize =
      stream ? deflatePicture(picture.indices, size, row, &buffers.matches, stream) : 0;
  const std::string png = stream && streamSize <= 0x7FFFFFFFu  // a chunk's length has 31 bits
                              ? pngFile(picture, stream, streamSize)
                              : std::string();
  buffers.indices.trim();
  buffers.stream.trim();
  if (buffers.matches.capacity() * sizeof(DeflateMatch) > Scratch::kKeptBytes) {
    std::vector<DeflateMatch>().swap(buffers.matches);
  }
  return png;
}

std::string encodePalettePng(const PlaneView& rgb) {
  IndexedPicture picture;
  return indexPicture(rgb, &picture) ? encodeIndexedPicture(picture) : std::string();
}

}  // namespace Standin
}  // namespace HalconCpp
