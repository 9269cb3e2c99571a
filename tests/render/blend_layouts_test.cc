// The vector blends against the reference in the layouts callers hand them: shared and
// overlapping planes, tails and misaligned planes, and the dispatch. The arithmetic itself is
// checked on known values through the windows that show the logo (tests/display/logo_test).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/blend.h"
#include "render/blend_support.h"

namespace quorvex::test {
namespace {

using render::blendForm;
using render::blendName;
using render::blendReference;

// Runs `kind` and the reference on copies of `in`, with the seven planes chosen by `layout`
// from the copy's buffers (so that planes may coincide or overlap), and compares every buffer.
struct Layout {
  std::string name;
  // Buffer and offset of each of the seven planes: window r, g, b, logo r, g, b, alpha.
  int buffer[7];
  std::size_t offset[7];
};

void expectLayoutMatches(BlendKind kind, const Layout& layout, std::size_t n, std::uint32_t seed) {
  Planes in(n + 64);
  in.randomize(seed);
  auto run = [&](render::BlendForm form) {
    Planes copy = in;
    std::uint8_t* buffers[7] = {copy.window[0].data(), copy.window[1].data(), copy.window[2].data(),
                                copy.logo[0].data(),   copy.logo[1].data(),   copy.logo[2].data(),
                                copy.logo[3].data()};
    std::uint8_t* p[7];
    for (int k = 0; k < 7; ++k) p[k] = buffers[layout.buffer[k]] + layout.offset[k];
    form({p[0], p[1], p[2], p[3], p[4], p[5], p[6]}, n);
    return copy;
  };
  const Planes expected = run(&blendReference);
  const Planes actual = run(blendForm(kind));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(expected.window[c], actual.window[c])
        << blendName(kind) << " " << layout.name << " n=" << n << " window plane " << c;
    EXPECT_EQ(expected.logo[c], actual.logo[c])
        << blendName(kind) << " " << layout.name << " n=" << n << " logo plane " << c;
  }
}

class BlendForms : public testing::TestWithParam<BlendKind> {
 protected:
  void SetUp() override {
    if (!render::blendSupported(GetParam())) GTEST_SKIP() << "not supported by this CPU";
  }
};

// Planes that coincide, or overlap at other offsets so that a block-by-block blend reads bytes
// the reference has not written yet, or has already written, at another pixel.
TEST_P(BlendForms, SharedAndOverlappingPlanesGiveTheReferenceResult) {
  // clang-format off
  const Layout layouts[] = {
      {"distinct", {0, 1, 2, 3, 4, 5, 6}, {}}, {"all three equal", {0, 0, 0, 3, 4, 5, 6}, {}},
      {"green=blue", {0, 1, 1, 3, 4, 5, 6}, {}}, {"red=blue", {0, 1, 0, 3, 4, 5, 6}, {}},
      {"alpha=green window", {0, 1, 2, 3, 4, 5, 1}, {}},
      {"red logo=blue window", {0, 1, 2, 2, 4, 5, 6}, {}},
      {"green one byte past red", {0, 0, 2, 3, 4, 5, 6}, {0, 1, 0, 0, 0, 0, 0}},
      {"red one byte past green", {0, 0, 2, 3, 4, 5, 6}, {1, 0, 0, 0, 0, 0, 0}},
      {"all three staggered", {0, 0, 0, 3, 4, 5, 6}, {0, 5, 40, 0, 0, 0, 0}},
      {"alpha 3 past red window", {0, 1, 2, 3, 4, 5, 0}, {0, 0, 0, 0, 0, 0, 3}},
      {"green logo 2 before green window", {0, 1, 2, 3, 1, 5, 6}, {0, 2, 0, 0, 0, 0, 0}},
  };
  // clang-format on
  for (const Layout& layout : layouts) {
    for (std::size_t n : {std::size_t{1}, std::size_t{31}, std::size_t{999}, std::size_t{1027}}) {
      expectLayoutMatches(GetParam(), layout, n, static_cast<std::uint32_t>(n));
    }
  }
}

// Every tail length up to two vector steps, with the planes misaligned against each other,
// and guard bytes around every plane that no form may touch.
TEST_P(BlendForms, TailsAndAlignmentsLeaveNothingOutsideThePlanes) {
  constexpr std::size_t kGuard = 64;
  constexpr std::uint8_t kGuardByte = 0xA5;
  for (std::size_t n = 0; n <= 64; ++n) {
    for (std::size_t misalign = 0; misalign < 32; misalign += (n < 8 ? 1 : 5)) {
      std::vector<std::uint8_t> buffers[7];
      std::uint8_t* p[7];
      std::vector<std::uint8_t> expected[3];
      std::uint32_t state = static_cast<std::uint32_t>(n * 131 + misalign);
      for (int k = 0; k < 7; ++k) {
        buffers[k].assign(n + 2 * kGuard + 32, kGuardByte);
        // Each plane starts at its own offset from a 32-byte boundary of its buffer.
        const std::size_t offset = (misalign * (k + 1)) % 32;
        p[k] = buffers[k].data() + kGuard + offset;
        for (std::size_t i = 0; i < n; ++i) {
          state = state * 1664525u + 1013904223u;
          p[k][i] = static_cast<std::uint8_t>(state >> 24);
        }
      }
      for (int c = 0; c < 3; ++c) expected[c].assign(p[c], p[c] + n);
      std::vector<std::uint8_t> logoCopy[4];
      for (int k = 3; k < 7; ++k) logoCopy[k - 3].assign(p[k], p[k] + n);
      blendReference(
          {expected[0].data(), expected[1].data(), expected[2].data(), p[3], p[4], p[5], p[6]}, n);
      blendForm(GetParam())({p[0], p[1], p[2], p[3], p[4], p[5], p[6]}, n);
      for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(std::vector<std::uint8_t>(p[c], p[c] + n), expected[c])
            << "n=" << n << " misalign=" << misalign << " channel " << c;
      }
      for (int k = 0; k < 7; ++k) {
        const std::size_t start = static_cast<std::size_t>(p[k] - buffers[k].data());
        for (std::size_t i = 0; i < buffers[k].size(); ++i) {
          if (i >= start && i < start + n) continue;
          ASSERT_EQ(buffers[k][i], kGuardByte) << "n=" << n << " plane " << k << " byte " << i;
        }
        if (k >= 3) {
          ASSERT_EQ(std::vector<std::uint8_t>(p[k], p[k] + n), logoCopy[k - 3]) << "plane " << k;
        }
      }
    }
  }
}

std::string formName(const testing::TestParamInfo<BlendKind>& param) {
  return blendName(param.param);
}

INSTANTIATE_TEST_SUITE_P(, BlendForms, testing::Values(BlendKind::Sse2, BlendKind::Avx2), formName);

TEST(BlendDispatch, PicksTheWidestSupportedForm) {
  EXPECT_TRUE(render::blendSupported(BlendKind::Reference));
  const BlendKind best = render::bestBlendKind();
  EXPECT_TRUE(render::blendSupported(best));
  EXPECT_EQ(render::bestBlend(), blendForm(best));
  if (render::blendSupported(BlendKind::Avx2)) {
    EXPECT_EQ(best, BlendKind::Avx2);
  } else if (render::blendSupported(BlendKind::Sse2)) {
    EXPECT_EQ(best, BlendKind::Sse2);
  } else {
    EXPECT_EQ(best, BlendKind::Reference);
  }
  // The 32-bit build also runs these tests on emulated CPUs and says which form they should
  // end up with (see CMakeLists.txt).
  if (const char* expected = std::getenv("QUORVEX_TEST_BEST_BLEND")) {
    EXPECT_STREQ(blendName(best), expected);
  }
}

}  // namespace
}  // namespace quorvex::test
