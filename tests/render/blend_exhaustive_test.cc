// Every vector form against the reference over every (logo, window, alpha) byte triple. Planes
// shared between channels are checked on random content in blend_layouts_test.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/blend.h"
#include "render/blend_support.h"

namespace quorvex::test {
namespace {

constexpr std::size_t kChunk = 1 << 16;

std::size_t firstMismatch(const std::vector<std::uint8_t>& expected,
                          const std::vector<std::uint8_t>& actual) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] != actual[i]) return i;
  }
  return expected.size();
}

// Chunk c, pixel i: the red channel blends logo i >> 8 over window i & 255 with alpha
// (i + c) & 255. Over the 256 chunks each pixel index meets every alpha, so every triple is
// blended; alpha still differs from lane to lane, as a mixed-up lane would show. Green and
// blue see the same pairs in other arrangements.
void fillChunk(Planes& in, unsigned chunk) {
  for (std::size_t i = 0; i < kChunk; ++i) {
    const auto high = static_cast<std::uint8_t>(i >> 8);
    const auto low = static_cast<std::uint8_t>(i);
    in.logo[0][i] = high;
    in.window[0][i] = low;
    in.logo[1][i] = low;
    in.window[1][i] = high;
    in.logo[2][i] = static_cast<std::uint8_t>(high ^ low);
    in.window[2][i] = low;
    in.logo[3][i] = static_cast<std::uint8_t>(i + chunk);
  }
}

TEST(BlendExhaustive, EveryTripleMatchesTheReferenceWithDistinctPlanes) {
  const auto forms = supportedVectorForms();
  if (forms.empty()) GTEST_SKIP() << "this CPU runs no vector form";
  Planes input(kChunk);
  for (unsigned chunk = 0; chunk < 256; ++chunk) {
    fillChunk(input, chunk);
    Planes expected = input;
    render::blendReference(expected.planes(), kChunk);
    for (BlendKind kind : forms) {
      Planes actual = input;
      render::blendForm(kind)(actual.planes(), kChunk);
      for (int c = 0; c < 3; ++c) {
        if (expected.window[c] == actual.window[c]) continue;
        const std::size_t at = firstMismatch(expected.window[c], actual.window[c]);
        FAIL() << render::blendName(kind) << " channel " << c << " chunk " << chunk << " pixel "
               << at << ": logo " << int{input.logo[c][at]} << ", window "
               << int{input.window[c][at]} << ", alpha " << int{input.logo[3][at]};
      }
    }
  }
}

}  // namespace
}  // namespace quorvex::test
