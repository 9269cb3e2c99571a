// The Huffman stage of deflatePicture: code lengths fitted to the counts, then deflate's
// canonical codes for them.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "codecs/png_deflate.h"

namespace HalconCpp {
namespace Standin {

void codeLengths(std::uint32_t* counts, int symbols, int maxBits, std::uint8_t* lengths) {
  std::fill(lengths, lengths + symbols, std::uint8_t{0});
  std::vector<int> used;
  for (int s = 0; s < symbols; ++s) {
    if (counts[s]) used.push_back(s);
  }
  while (used.size() < 2) {
    const int partner = used.empty() || used[0] != 0 ? 0 : 1;
    counts[partner] = 1;
    used.insert(std::lower_bound(used.begin(), used.end(), partner), partner);
  }
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return counts[a] < counts[b]; });

  // Two queues: leaves in ascending count, inner nodes made in ascending weight.
  const std::size_t leaves = used.size();
  std::vector<std::uint64_t> weight(2 * leaves - 1);
  std::vector<std::size_t> parent(2 * leaves - 1);
  for (std::size_t i = 0; i < leaves; ++i) weight[i] = counts[used[i]];
  std::size_t nextLeaf = 0, nextInner = leaves;
  const auto takeLightest = [&](std::size_t made) {
    if (nextLeaf < leaves && (nextInner == made || weight[nextLeaf] <= weight[nextInner])) {
      return nextLeaf++;
    }
    return nextInner++;
  };
  for (std::size_t made = leaves; made < 2 * leaves - 1; ++made) {
    const std::size_t a = takeLightest(made), b = takeLightest(made);
    weight[made] = weight[a] + weight[b];
    parent[a] = parent[b] = made;
  }
  std::vector<std::size_t> depth(2 * leaves - 1, 0);
  std::vector<std::size_t> perDepth(leaves + 1, 0);
  for (std::size_t node = 2 * leaves - 1; node-- > 0;) {
    if (node != 2 * leaves - 2) depth[node] = depth[parent[node]] + 1;
    if (node < leaves) ++perDepth[depth[node]];
  }
  // Too deep: move two deepest siblings up, in place of a shallower leaf that gets children.
  for (std::size_t bits = perDepth.size() - 1; bits > static_cast<std::size_t>(maxBits); --bits) {
    while (perDepth[bits] > 0) {
      std::size_t shallower = bits - 2;
      while (perDepth[shallower] == 0) --shallower;
      perDepth[bits] -= 2;
      perDepth[bits - 1] += 1;
      perDepth[shallower + 1] += 2;
      perDepth[shallower] -= 1;
    }
  }
  // The most frequent symbols get the shortest codes.
  std::size_t rank = leaves;
  for (std::size_t bits = 1; bits < perDepth.size(); ++bits) {
    for (std::size_t k = 0; k < perDepth[bits]; ++k) {
      lengths[used[--rank]] = static_cast<std::uint8_t>(bits);
    }
  }
}

void canonicalCodes(const std::uint8_t* lengths, int symbols, std::uint16_t* codes) {
  std::uint16_t perLength[kDeflateMaxCodeBits + 1] = {};
  for (int s = 0; s < symbols; ++s) ++perLength[lengths[s]];
  perLength[0] = 0;
  std::uint16_t next[kDeflateMaxCodeBits + 2] = {};
  for (int bits = 1; bits <= kDeflateMaxCodeBits; ++bits) {
    next[bits + 1] = static_cast<std::uint16_t>((next[bits] + perLength[bits]) << 1);
  }
  for (int s = 0; s < symbols; ++s) {
    const int bits = lengths[s];
    if (bits == 0) continue;
    std::uint32_t code = next[bits]++, reversed = 0;
    for (int b = 0; b < bits; ++b) reversed |= ((code >> b) & 1u) << (bits - 1 - b);
    codes[s] = static_cast<std::uint16_t>(reversed);
  }
}

}  // namespace Standin
}  // namespace HalconCpp
