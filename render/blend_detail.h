// What the blend forms share: the per-pixel arithmetic, the test for planes that only the
// reference order handles, and the function attributes that let one file hold code for
// instruction sets the rest of the library may not assume.
#ifndef QUORVEX_RENDER_BLEND_DETAIL_H
#define QUORVEX_RENDER_BLEND_DETAIL_H

#include <cstddef>
#include <cstdint>

#include "render/blend.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define QUORVEX_BLEND_X86 1
#else
#define QUORVEX_BLEND_X86 0
#endif

// GCC and Clang only emit an instruction set's intrinsics inside functions marked for it; the
// 32-bit build must still run on CPUs that lack SSE2. MSVC compiles intrinsics anywhere.
#if defined(__GNUC__) || defined(__clang__)
#define QUORVEX_TARGET(isa) __attribute__((target(isa)))
#else
#define QUORVEX_TARGET(isa)
#endif

namespace quorvex::render::detail {

inline std::uint8_t blendByte(unsigned logo, unsigned window, unsigned alpha) {
  return static_cast<std::uint8_t>((logo * alpha + window * (255u - alpha)) / 256u);
}

// The reference loop over pixels [begin, end): the vector forms finish their tails with it.
void blendPixels(const BlendPlanes& planes, std::size_t begin, std::size_t end);

// True when a window plane overlaps another plane without starting at the same address. The
// vector forms blend a block of pixels one channel at a time, which keeps the reference's
// per-pixel order only when every shared byte sits at the same pixel index in both planes.
bool needsReferenceOrder(const BlendPlanes& planes, std::size_t n);

}  // namespace quorvex::render::detail

#endif  // QUORVEX_RENDER_BLEND_DETAIL_H
