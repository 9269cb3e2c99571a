// Helpers shared by the blend tests: owned planes, random content, the forms this CPU runs.
#ifndef QUORVEX_TESTS_RENDER_BLEND_SUPPORT_H
#define QUORVEX_TESTS_RENDER_BLEND_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "render/blend.h"

namespace quorvex::render {

// Names the form in test parameters and messages instead of its bytes.
inline void PrintTo(BlendKind kind, std::ostream* out) {
  *out << blendName(kind);
}

}  // namespace quorvex::render

namespace quorvex::test {

using render::BlendKind;
using render::BlendPlanes;

inline std::vector<BlendKind> supportedVectorForms() {
  std::vector<BlendKind> kinds;
  for (BlendKind kind : {BlendKind::Sse2, BlendKind::Avx2}) {
    if (render::blendSupported(kind)) kinds.push_back(kind);
  }
  return kinds;
}

// The seven planes of one blend, each in its own buffer.
struct Planes {
  explicit Planes(std::size_t n) : window(3, std::vector<std::uint8_t>(n)), logo(4, window[0]) {}

  // The window planes and alpha get independent random bytes; alpha is biased towards 0 and
  // 255, which real logos are full of.
  void randomize(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto* set : {&window, &logo}) {
      for (auto& plane : *set) {
        for (auto& v : plane) v = static_cast<std::uint8_t>(byte(random));
      }
    }
    for (auto& v : logo[3]) {
      const int pick = byte(random);
      if (pick < 64) v = 0;
      if (pick >= 192) v = 255;
    }
  }

  BlendPlanes planes() {
    return {window[0].data(), window[1].data(), window[2].data(), logo[0].data(),
            logo[1].data(),   logo[2].data(),   logo[3].data()};
  }

  std::vector<std::vector<std::uint8_t>> window;  // red, green, blue
  std::vector<std::vector<std::uint8_t>> logo;    // red, green, blue, alpha
};

}  // namespace quorvex::test

#endif  // QUORVEX_TESTS_RENDER_BLEND_SUPPORT_H
