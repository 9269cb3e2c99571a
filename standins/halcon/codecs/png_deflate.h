// Deflate for pictures, built for speed: one dynamic-Huffman block fitted to the data, whose
// only matches repeat the byte before or the byte one row up, the two places a picture
// repeats itself. A few passes over the bytes instead of a general match search; on noisy
// camera images it compresses within 10% of zlib's level 1.
#ifndef QUORVEX_STANDINS_HALCON_PNG_DEFLATE_H
#define QUORVEX_STANDINS_HALCON_PNG_DEFLATE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// QUORVEX_PNG_PORTABLE: the code without SSE2 also where SSE2 is there, for its test.
#if defined(__SSE2__) && !defined(QUORVEX_PNG_PORTABLE)
#define QUORVEX_PNG_SSE2
#include <emmintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

// A match: where it starts, its length, and whether it repeats the row above (else the byte
// before).
struct DeflateMatch {
  std::uint32_t position;
  std::uint16_t length;
  bool fromRow;
};

// Space deflatePicture keeps from picture to picture.
struct DeflateScratch {
  std::vector<DeflateMatch> matches;
  std::vector<std::uint64_t> pairCodes;
};

// The zlib stream of `size` bytes in rows of `row` bytes, written from `out`, which has room
// for 2 * size + 1024 bytes; returns the stream's size. `mayOccur` (256 entries, or null for
// all) tells which byte values the bytes may hold: only those get codes.
std::size_t deflatePicture(const std::uint8_t* bytes, std::size_t size, std::size_t row,
                           const bool* mayOccur, DeflateScratch* scratch, std::uint8_t* out);

// Deflate's longest code.
constexpr int kDeflateMaxCodeBits = 15;

// Huffman code lengths of at most maxBits for the symbols with a nonzero count, always a
// complete code: a lone symbol gets a partner (its count set to 1), since inflaters refuse
// some incomplete codes.
void codeLengths(std::uint32_t* counts, int symbols, int maxBits, std::uint8_t* lengths);

// Deflate's canonical codes for the lengths, bit-reversed for the least-significant-first
// stream.
void canonicalCodes(const std::uint8_t* lengths, int symbols, std::uint16_t* codes);

// The CRC-32 of PNG chunks and zlib, continued from `crc` (0 to start).
std::uint32_t crc32Of(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// Eight bytes as a little-endian word.
inline std::uint64_t load64(const std::uint8_t* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::uint64_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
#else
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  return value;
#endif
}

// The index of the lowest set bit of a nonzero value.
inline int lowestSetBit(std::uint64_t value) {
#if defined(__GNUC__)
  return __builtin_ctzll(value);
#else
  int bit = 0;
  while (!(value & 1)) {
    value >>= 1;
    ++bit;
  }
  return bit;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
