#include "codecs/png_deflate.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(QUORVEX_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#endif

namespace HalconCpp {
namespace Standin {
namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kMaxDistance = 32768;
constexpr int kEndOfBlock = 256;
constexpr int kLitLenSymbols = 286;
constexpr int kDistanceSymbols = 30;
constexpr int kCodeLengthSymbols = 19;
// The literal/length codes stop one bit short of deflate's 15, so that four literals fit
// between two flushes of the bit buffer (7 + 4 * 14 bits).
constexpr int kMaxLitLenBits = 14;
constexpr int kMaxCodeLengthBits = 7;
// The literals' code is shaped by a sample: the first kSampleTaken bytes of every kSampleSpan,
// an eighth of the counting. Runs, not single bytes: a picture's fine periodic patterns
// would alias with a stride.
constexpr std::size_t kSampleSpan = 256;
constexpr std::size_t kSampleTaken = 32;

// Deflate's length symbols 257..285 and distance symbols 0..29: first value and extra bits.
constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the code-length alphabet's own lengths.
constexpr std::uint8_t kCodeLengthOrder[kCodeLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                               11, 4,  12, 3, 13, 2, 14, 1, 15};

// The length symbol (less 257) of each match length 3..258.
const std::array<std::uint8_t, kMaxMatch + 1> kLengthSymbol = [] {
  std::array<std::uint8_t, kMaxMatch + 1> symbols{};
  std::uint8_t symbol = 0;
  for (std::size_t length = kMinMatch; length <= kMaxMatch; ++length) {
    while (symbol < 28 && kLengthBase[symbol + 1] <= length) ++symbol;
    symbols[length] = symbol;
  }
  return symbols;
}();

int distanceSymbol(std::size_t distance) {
  int symbol = kDistanceSymbols - 1;
  while (kDistanceBase[symbol] > distance) --symbol;
  return symbol;
}

std::uint32_t adler32Of(const std::uint8_t* data, std::size_t size) {
#if defined(QUORVEX_HAVE_LIBDEFLATE)
  return libdeflate_adler32(1, data, size);
#else
  std::uint32_t a = 1, b = 0;
  while (size > 0) {
    const std::size_t block = std::min<std::size_t>(size, 5552);  // no overflow before the modulo
    for (std::size_t i = 0; i < block; ++i) b += a += data[i];
    a %= 65521;
    b %= 65521;
    data += block;
    size -= block;
  }
  return b << 16 | a;
#endif
}

void store64(std::uint8_t* p, std::uint64_t value) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memcpy(p, &value, sizeof value);
#else
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
#endif
}

// Two literals' codes by one lookup, for pictures whose literals are nearly all among a few
// dozen values: a window shows a camera image's noise and a few overlay colours. Each of the
// kPairIds - 1 most frequent literals gets an id; the last id stands for all others, whose
// pairs are marked kOther and coded one by one.
constexpr std::size_t kPairIds = 64;
constexpr std::uint64_t kOther = std::uint64_t{1} << 63;

class PairCodes {
 public:
  // False when the literals without an id are too common (over 1 in 64) for pairs to pay.
  // `codes` holds each literal's code in its low 16 bits, its length above them.
  bool build(const std::uint32_t* weights, const std::uint32_t* codes,
             std::vector<std::uint64_t>* table) {
    std::uint8_t byWeight[256];
    for (int literal = 0; literal < 256; ++literal) {
      byWeight[literal] = static_cast<std::uint8_t>(literal);
    }
    std::partial_sort(byWeight, byWeight + kPairIds - 1, byWeight + 256,
                      [&](std::uint8_t a, std::uint8_t b) { return weights[a] > weights[b]; });
    std::uint64_t total = 0, named = 0;
    for (int literal = 0; literal < 256; ++literal) total += weights[literal];
    std::uint32_t literalOf[kPairIds];
    std::fill(firstId_, firstId_ + 256, static_cast<std::uint16_t>((kPairIds - 1) * kPairIds));
    std::fill(secondId_, secondId_ + 256, static_cast<std::uint8_t>(kPairIds - 1));
    for (std::size_t id = 0; id + 1 < kPairIds; ++id) {
      const std::uint8_t literal = byWeight[id];
      named += weights[literal];
      literalOf[id] = literal;
      firstId_[literal] = static_cast<std::uint16_t>(id * kPairIds);
      secondId_[literal] = static_cast<std::uint8_t>(id);
    }
    if ((total - named) * 64 > total) return false;
    table->resize(kPairIds * kPairIds);
    for (std::size_t a = 0; a < kPairIds; ++a) {
      for (std::size_t b = 0; b < kPairIds; ++b) {
        std::uint64_t entry = kOther;
        if (a + 1 < kPairIds && b + 1 < kPairIds) {
          const std::uint32_t first = codes[literalOf[a]], second = codes[literalOf[b]];
          const std::uint32_t firstBits = first >> 16;
          entry = (first & 0xFFFF) | std::uint64_t{second & 0xFFFF} << firstBits |
                  std::uint64_t{firstBits + (second >> 16)} << 32;
        }
        (*table)[a * kPairIds + b] = entry;
      }
    }
    pairs_ = table->data();
    return true;
  }
  // The tables' addresses, for loops to keep in registers: the bit writer's byte stores may
  // alias anything, members would be loaded again after each one.
  struct View {
    const std::uint16_t* firstId;
    const std::uint8_t* secondId;
    const std::uint64_t* pairs;
    // The two literals' codes in the low 32 bits and their length above, or kOther.
    std::uint64_t of(std::uint8_t first, std::uint8_t second) const {
      return pairs[firstId[first] | secondId[second]];
    }
  };
  View view() const { return {firstId_, secondId_, pairs_}; }

 private:
  std::uint16_t firstId_[256];
  std::uint8_t secondId_[256];
  const std::uint64_t* pairs_ = nullptr;
};

// Collects up to 56 bits between flushes, which store eight bytes at once: the buffer it
// writes to has eight bytes to spare.
class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) {}
  void put(std::uint32_t value, int bits) {
    buffer_ |= static_cast<std::uint64_t>(value) << count_;
    count_ += bits;
  }
  void flush() { flushState(out_, buffer_, count_); }
  // The codes of a run of literals, four between flushes (at most 14 bits each). With pair
  // codes, two literals cost one lookup where both have pair ids. The state lives in locals
  // meanwhile: byte stores may alias anything, members would be reloaded after each one.
  // `codes` holds each literal's code in its low 16 bits, its length above them.
  template <bool kPaired>
  void literals(const std::uint8_t* bytes, std::size_t size, const std::uint32_t* codes,
                const PairCodes::View& pairs) {
    std::uint8_t* out = out_;
    std::uint64_t buffer = buffer_;
    int count = count_;
    const auto put = [&](std::uint8_t literal) {
      const std::uint32_t code = codes[literal];
      buffer |= static_cast<std::uint64_t>(code & 0xFFFF) << count;
      count += static_cast<int>(code >> 16);
    };
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
      std::uint64_t first = kOther, second = kOther;
      if constexpr (kPaired) {
        first = pairs.of(bytes[i], bytes[i + 1]);
        second = pairs.of(bytes[i + 2], bytes[i + 3]);
      }
      if ((first | second) & kOther) {
        for (std::size_t k = i; k < i + 4; ++k) put(bytes[k]);
      } else {
        const auto firstBits = static_cast<int>(first >> 32);
        buffer |= ((first & 0xFFFFFFFF) | (second & 0xFFFFFFFF) << firstBits) << count;
        count += firstBits + static_cast<int>(second >> 32);
      }
      flushState(out, buffer, count);
    }
    for (; i < size; ++i) {
      put(bytes[i]);
      flushState(out, buffer, count);
    }
    out_ = out;
    buffer_ = buffer;
    count_ = count;
  }
  std::uint8_t* finish() {
    flush();
    if (count_ > 0) *out_++ = static_cast<std::uint8_t>(buffer_);
    return out_;
  }

 private:
  static void flushState(std::uint8_t*& out, std::uint64_t& buffer, int& count) {
    store64(out, buffer);
    out += count >> 3;  // count stays below 64 between flushes: at most seven bytes
    buffer >>= count & ~7;
    count &= 7;
  }

  std::uint8_t* out_;
  std::uint64_t buffer_ = 0;
  int count_ = 0;
};

bool sameThree(const std::uint8_t* a, const std::uint8_t* b) {
  return ((a[0] ^ b[0]) | (a[1] ^ b[1]) | (a[2] ^ b[2])) == 0;
}

std::size_t matchLength(const std::uint8_t* here, const std::uint8_t* earlier, std::size_t limit) {
  std::size_t length = kMinMatch;
  while (length < limit && here[length] == earlier[length]) ++length;
  return length;
}

#if defined(QUORVEX_PNG_SSE2)
constexpr std::size_t kScanned = 14;    // positions one scan decides
constexpr std::size_t kScanBytes = 16;  // bytes it reads from its first position

// How many of the kScanned bytes from `at` come before the first match of three at either
// distance (kScanned: none starts there). Reads kScanBytes from `at` and one before it.
std::size_t bytesBeforeMatch(const std::uint8_t* at, std::size_t row, bool rowReachable) {
  const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const auto startsFrom = [&here](const std::uint8_t* earlier) {
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(earlier));
    const auto same = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, before)));
    return same & same >> 1 & same >> 2;
  };
  std::uint32_t starts = startsFrom(at - 1);
  if (rowReachable) starts |= startsFrom(at - row);
  starts &= (1u << kScanned) - 1;
  return starts ? static_cast<std::size_t>(lowestSetBit(starts)) : kScanned;
}
#else
constexpr std::size_t kScanned = 6;
constexpr std::size_t kScanBytes = 8;

// 0x80 in every byte of `value` that is zero, nothing elsewhere.
std::uint64_t zeroBytes(std::uint64_t value) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  return ~(((value & kLow7) + kLow7) | value | kLow7);
}

// As above, a word at a time.
std::size_t bytesBeforeMatch(const std::uint8_t* at, std::size_t row, bool rowReachable) {
  const std::uint64_t here = load64(at);
  std::uint64_t same = zeroBytes(here ^ load64(at - 1));
  std::uint64_t starts = same & same >> 8 & same >> 16;
  if (rowReachable) {
    same = zeroBytes(here ^ load64(at - row));
    starts |= same & same >> 8 & same >> 16;
  }
  starts &= 0x0000FFFFFFFFFFFFull;
  return starts ? static_cast<std::size_t>(lowestSetBit(starts) >> 3) : kScanned;
}
#endif

// Calls take(first, end) for each sampled stretch of the bytes from..to.
template <class Take>
void forSampled(std::size_t from, std::size_t to, const Take& take) {
  while (from < to) {
    const std::size_t span = from / kSampleSpan * kSampleSpan;
    if (from < span + kSampleTaken) take(from, std::min(to, span + kSampleTaken));
    from = span + kSampleSpan;
  }
}

// Greedy matches at the two distances a picture repeats itself at; every byte not in a match
// is a literal. `litLenCounts` holds the sampled bytes' counts: the sampled bytes matches
// cover are taken off, the matches' own symbols counted.
void findMatches(const std::uint8_t* bytes, std::size_t size, std::size_t row,
                 std::uint32_t* litLenCounts, std::uint32_t* distanceCounts, int rowDistanceSymbol,
                 std::vector<DeflateMatch>* found) {
  std::vector<DeflateMatch>& matches = *found;
  matches.clear();
  const std::size_t firstFromRow = row <= kMaxDistance ? row : size;
  std::size_t i = 1;
  while (i < size) {
    if (i + kScanBytes <= size) {
      const std::size_t plain = bytesBeforeMatch(bytes + i, row, i >= firstFromRow);
      i += plain;
      if (plain == kScanned) continue;  // the common case on camera images
    }
    if (i + kMinMatch > size) break;
    const bool left = sameThree(bytes + i, bytes + i - 1);
    const bool above = i >= firstFromRow && sameThree(bytes + i, bytes + i - row);
    if (!left && !above) {
      ++i;
      continue;
    }
    const std::size_t limit = std::min(kMaxMatch, size - i);
    const std::size_t fromLeft = left ? matchLength(bytes + i, bytes + i - 1, limit) : 0;
    const std::size_t fromAbove = above ? matchLength(bytes + i, bytes + i - row, limit) : 0;
    const bool fromRow = fromAbove > fromLeft;
    const std::size_t length = fromRow ? fromAbove : fromLeft;
    matches.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(length), fromRow});
    ++litLenCounts[257 + kLengthSymbol[length]];
    ++distanceCounts[fromRow ? rowDistanceSymbol : 0];
    forSampled(i, i + length, [&](std::size_t first, std::size_t end) {
      for (std::size_t k = first; k < end; ++k) --litLenCounts[bytes[k]];
    });
    i += length;
  }
  ++litLenCounts[kEndOfBlock];
}

}  // namespace

std::uint32_t crc32Of(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
#if defined(QUORVEX_HAVE_LIBDEFLATE)
  return libdeflate_crc32(crc, data, size);
#else
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
#endif
}

std::size_t deflatePicture(const std::uint8_t* bytes, std::size_t size, std::size_t row,
                           const bool* mayOccur, DeflateScratch* scratch, std::uint8_t* out) {
  std::uint32_t litLenCounts[kLitLenSymbols] = {};
  forSampled(0, size, [&](std::size_t first, std::size_t end) {
    for (std::size_t k = first; k < end; ++k) ++litLenCounts[bytes[k]];
  });
  std::uint32_t distanceCounts[kDistanceSymbols] = {};
  const std::size_t rowDistance = std::min(row, kMaxDistance);
  const int rowSymbol = distanceSymbol(rowDistance);
  findMatches(bytes, size, row, litLenCounts, distanceCounts, rowSymbol, &scratch->matches);
  // Sampled literals to the scale of the other symbols; every byte value that may occur keeps
  // a code, as the sample may have missed some.
  for (int literal = 0; literal < 256; ++literal) {
    litLenCounts[literal] *= kSampleSpan / kSampleTaken;
    if (!mayOccur || mayOccur[literal]) ++litLenCounts[literal];
  }
  const std::vector<DeflateMatch>& matches = scratch->matches;

  std::uint8_t lengths[kLitLenSymbols + kDistanceSymbols];
  std::uint8_t* const distanceLengths = lengths + kLitLenSymbols;
  codeLengths(litLenCounts, kLitLenSymbols, kMaxLitLenBits, lengths);
  codeLengths(distanceCounts, kDistanceSymbols, kDeflateMaxCodeBits, distanceLengths);
  std::uint16_t litLenCodes[kLitLenSymbols] = {}, distanceCodes[kDistanceSymbols] = {};
  canonicalCodes(lengths, kLitLenSymbols, litLenCodes);
  canonicalCodes(distanceLengths, kDistanceSymbols, distanceCodes);

  int litLenUsed = kLitLenSymbols, distanceUsed = kDistanceSymbols;
  while (litLenUsed > 257 && lengths[litLenUsed - 1] == 0) --litLenUsed;
  while (distanceUsed > 1 && distanceLengths[distanceUsed - 1] == 0) --distanceUsed;
  // The lengths go out as plain code-length symbols 0..15, without run-length codes: a few
  // hundred bytes more at most, for a header that cannot go wrong.
  std::vector<std::uint8_t> sequence(lengths, lengths + litLenUsed);
  sequence.insert(sequence.end(), distanceLengths, distanceLengths + distanceUsed);
  std::uint32_t codeLengthCounts[kCodeLengthSymbols] = {};
  for (std::uint8_t length : sequence) ++codeLengthCounts[length];
  std::uint8_t codeLengthLengths[kCodeLengthSymbols];
  std::uint16_t codeLengthCodes[kCodeLengthSymbols] = {};
  codeLengths(codeLengthCounts, kCodeLengthSymbols, kMaxCodeLengthBits, codeLengthLengths);
  canonicalCodes(codeLengthLengths, kCodeLengthSymbols, codeLengthCodes);
  int orderUsed = kCodeLengthSymbols;
  while (orderUsed > 4 && codeLengthLengths[kCodeLengthOrder[orderUsed - 1]] == 0) --orderUsed;

  // A literal takes at most 14 bits, a match of three bytes or more at most 48, the header
  // under 400 bytes; flushes store eight bytes.
  out[0] = 0x78;  // deflate, 32 KiB window
  out[1] = 0x01;  // fastest compression; 0x7801 is a multiple of 31 as the header requires
  BitWriter bits(out + 2);
  bits.put(1, 1);  // the final block
  bits.put(2, 2);  // dynamic Huffman codes
  bits.put(static_cast<std::uint32_t>(litLenUsed - 257), 5);
  bits.put(static_cast<std::uint32_t>(distanceUsed - 1), 5);
  bits.put(static_cast<std::uint32_t>(orderUsed - 4), 4);
  bits.flush();
  for (int k = 0; k < orderUsed; ++k) {
    bits.put(codeLengthLengths[kCodeLengthOrder[k]], 3);
    bits.flush();
  }
  for (std::uint8_t length : sequence) {
    bits.put(codeLengthCodes[length], codeLengthLengths[length]);
    bits.flush();
  }

  std::uint32_t literalCodes[256];
  for (int literal = 0; literal < 256; ++literal) {
    literalCodes[literal] = litLenCodes[literal] | std::uint32_t{lengths[literal]} << 16;
  }
  PairCodes pairs;
  const bool paired = pairs.build(litLenCounts, literalCodes, &scratch->pairCodes);
  const PairCodes::View pairView = pairs.view();
  const auto literals = [&](std::size_t from, std::size_t to) {
    if (paired) {
      bits.literals<true>(bytes + from, to - from, literalCodes, pairView);
    } else {
      bits.literals<false>(bytes + from, to - from, literalCodes, pairView);
    }
  };
  const int rowExtraBits = kDistanceExtra[rowSymbol];
  const auto rowExtra = static_cast<std::uint32_t>(rowDistance - kDistanceBase[rowSymbol]);
  std::size_t next = 0;
  for (const DeflateMatch& match : matches) {
    literals(next, match.position);
    const int symbol = kLengthSymbol[match.length];
    bits.put(litLenCodes[257 + symbol], lengths[257 + symbol]);
    bits.put(static_cast<std::uint32_t>(match.length - kLengthBase[symbol]), kLengthExtra[symbol]);
    bits.flush();
    if (match.fromRow) {
      bits.put(distanceCodes[rowSymbol], distanceLengths[rowSymbol]);
      bits.put(rowExtra, rowExtraBits);
    } else {
      bits.put(distanceCodes[0], distanceLengths[0]);
    }
    bits.flush();
    next = match.position + match.length;
  }
  literals(next, size);
  bits.put(litLenCodes[kEndOfBlock], lengths[kEndOfBlock]);
  std::uint8_t* end = bits.finish();
  const std::uint32_t adler = adler32Of(bytes, size);
  for (int shift = 24; shift >= 0; shift -= 8) *end++ = static_cast<std::uint8_t>(adler >> shift);
  return static_cast<std::size_t>(end - out);
}

}  // namespace Standin
}  // namespace HalconCpp
