// Which blend forms this CPU runs, and the choice among them, made once.
#include <cstddef>

#include "render/blend.h"
#include "render/blend_detail.h"

#if QUORVEX_BLEND_X86 && defined(_MSC_VER)
#include <immintrin.h>
#include <intrin.h>
#endif

namespace quorvex::render {

namespace {

struct CpuFeatures {
  bool sse2 = false;
  bool avx2 = false;
};

// clang-cl takes the MSVC path but, like clang, only reads XCR0 inside code marked for XSAVE.
#if QUORVEX_BLEND_X86 && defined(_MSC_VER) && defined(__clang__)
QUORVEX_TARGET("xsave")
#endif
CpuFeatures detectFeatures() {
  CpuFeatures features;
#if QUORVEX_BLEND_X86 && defined(_MSC_VER)
  int info[4] = {};
  __cpuid(info, 0);
  const int maxLeaf = info[0];
  __cpuid(info, 1);
  features.sse2 = (info[3] & (1 << 26)) != 0;
  // AVX2 also needs the operating system to save the upper register halves (XCR0 bits 1, 2).
  const bool osSavesYmm = (info[2] & (1 << 27)) != 0 && (_xgetbv(0) & 6) == 6;
  if (maxLeaf >= 7 && osSavesYmm) {
    __cpuidex(info, 7, 0);
    features.avx2 = (info[1] & (1 << 5)) != 0;
  }
#elif QUORVEX_BLEND_X86
  // The builtins check the operating system's register support along with the CPU's.
  __builtin_cpu_init();
  features.sse2 = __builtin_cpu_supports("sse2");
  features.avx2 = __builtin_cpu_supports("avx2");
#endif
  return features;
}

const CpuFeatures& cpuFeatures() {
  static const CpuFeatures features = detectFeatures();
  return features;
}

}  // namespace

bool blendSupported(BlendKind kind) {
  switch (kind) {
    case BlendKind::Reference:
      return true;
    case BlendKind::Sse2:
      return cpuFeatures().sse2;
    case BlendKind::Avx2:
      return cpuFeatures().avx2;
  }
  return false;
}

BlendForm blendForm(BlendKind kind) {
  switch (kind) {
    case BlendKind::Reference:
      return &blendReference;
    case BlendKind::Sse2:
      return &blendSse2;
    case BlendKind::Avx2:
      return &blendAvx2;
  }
  return &blendReference;
}

const char* blendName(BlendKind kind) {
  switch (kind) {
    case BlendKind::Reference:
      return "reference";
    case BlendKind::Sse2:
      return "sse2";
    case BlendKind::Avx2:
      return "avx2";
  }
  return "unknown";
}

BlendKind bestBlendKind() {
  static const BlendKind best = [] {
    if (blendSupported(BlendKind::Avx2)) return BlendKind::Avx2;
    if (blendSupported(BlendKind::Sse2)) return BlendKind::Sse2;
    return BlendKind::Reference;
  }();
  return best;
}

BlendForm bestBlend() {
  static const BlendForm best = blendForm(bestBlendKind());
  return best;
}

void blendLogo(const BlendPlanes& planes, std::size_t n) {
  bestBlend()(planes, n);
}

}  // namespace quorvex::render
