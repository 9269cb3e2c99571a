// Blending the logo tile into a window image, plane by plane. One reference loop defines the
// result byte for byte; the vectorised forms reproduce it exactly and the dispatcher picks the
// fastest one this CPU runs.
#ifndef QUORVEX_RENDER_BLEND_H
#define QUORVEX_RENDER_BLEND_H

#include <cstddef>
#include <cstdint>

namespace quorvex::render {

// The window planes are blended in place. Two or all three of them may be one and the same
// plane (a one-channel image shown in three channels): pixel by pixel, green then reads the
// red result and blue the green result, exactly as in the reference loop.
struct BlendPlanes {
  std::uint8_t* red;
  std::uint8_t* green;
  std::uint8_t* blue;
  const std::uint8_t* logoRed;
  const std::uint8_t* logoGreen;
  const std::uint8_t* logoBlue;
  const std::uint8_t* alpha;
};

using BlendForm = void (*)(const BlendPlanes& planes, std::size_t n);

// For each pixel in increasing order, red, green, blue in turn:
//   window = (logo * alpha + window * (255 - alpha)) / 256
// The divisor is 256, so even alpha 255 leaves the logo one step darker (255 becomes 254).
void blendReference(const BlendPlanes& planes, std::size_t n);

// The vectorised forms. Call one only when blendSupported() says this CPU runs it. Planes that
// overlap without being equal are handed to the reference loop, whose order they depend on.
void blendSse2(const BlendPlanes& planes, std::size_t n);
void blendAvx2(const BlendPlanes& planes, std::size_t n);

enum class BlendKind { Reference, Sse2, Avx2 };

bool blendSupported(BlendKind kind);
BlendForm blendForm(BlendKind kind);
const char* blendName(BlendKind kind);

// The fastest supported form, chosen on first use from the CPU's features and kept.
BlendKind bestBlendKind();
BlendForm bestBlend();

// Blends through bestBlend().
void blendLogo(const BlendPlanes& planes, std::size_t n);

}  // namespace quorvex::render

#endif  // QUORVEX_RENDER_BLEND_H
