// The blend forms on full-HD and 4K planes, against a floor kernel that moves the same bytes
// (reads seven planes, writes three) and does next to nothing with them. Throughput counts
// 10 bytes a pixel for every kernel, so the figures compare directly.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <random>

#include "render/blend.h"
#include "render/blend_detail.h"

#if QUORVEX_BLEND_X86
#include <immintrin.h>
#endif

namespace {

using quorvex::render::BlendKind;
using quorvex::render::BlendPlanes;

constexpr std::int64_t kBytesPerPixel = 10;  // 7 planes read, 3 written

// Seven planes, each on its own 64-byte boundary as an image library allocates them.
class Frame {
 public:
  explicit Frame(std::size_t n) : n_(n) {
    std::mt19937 random(1);
    for (auto& plane : planes_) {
      plane = static_cast<std::uint8_t*>(::operator new (n, std::align_val_t{64}));
      for (std::size_t i = 0; i < n; ++i) plane[i] = static_cast<std::uint8_t>(random());
    }
  }
  ~Frame() {
    for (auto* plane : planes_) ::operator delete (plane, std::align_val_t{64});
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  BlendPlanes planes() const {
    return {planes_[0], planes_[1], planes_[2], planes_[3], planes_[4], planes_[5], planes_[6]};
  }
  std::size_t size() const { return n_; }

 private:
  std::size_t n_;
  std::uint8_t* planes_[7] = {};
};

std::size_t pixels(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0) * state.range(1));
}

void finish(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pixels(state)) *
                          kBytesPerPixel);
}

void blend(benchmark::State& state, BlendKind kind) {
  if (!quorvex::render::blendSupported(kind)) {
    state.SkipWithError("not supported by this CPU");
    return;
  }
  Frame frame(pixels(state));
  const auto form = quorvex::render::blendForm(kind);
  for (auto _ : state) {
    form(frame.planes(), frame.size());
    benchmark::ClobberMemory();
  }
  finish(state);
}

void blendBest(benchmark::State& state) {
  Frame frame(pixels(state));
  state.SetLabel(quorvex::render::blendName(quorvex::render::bestBlendKind()));
  for (auto _ : state) {
    quorvex::render::blendLogo(frame.planes(), frame.size());
    benchmark::ClobberMemory();
  }
  finish(state);
}

// The floor: every window byte becomes itself xor its logo byte xor alpha. That loads the
// seven planes and stores the three in the blend's order, and the xor keeps the compiler from
// dropping any of it; there is nothing cheaper that touches the same bytes.
#if QUORVEX_BLEND_X86
inline __m256i* at(std::uint8_t* plane, std::size_t i) {
  return reinterpret_cast<__m256i*>(plane + i);
}
inline const __m256i* at(const std::uint8_t* plane, std::size_t i) {
  return reinterpret_cast<const __m256i*>(plane + i);
}

QUORVEX_TARGET("avx2")
inline void floorChannel(std::uint8_t* window, const std::uint8_t* logo, __m256i alpha,
                         std::size_t i) {
  const __m256i mixed = _mm256_xor_si256(_mm256_load_si256(at(logo, i)), alpha);
  _mm256_store_si256(at(window, i), _mm256_xor_si256(_mm256_load_si256(at(window, i)), mixed));
}

QUORVEX_TARGET("avx2")
void floorAvx2(const BlendPlanes& p, std::size_t n) {
  // Locals: stores through byte pointers would otherwise make the compiler reload them.
  std::uint8_t* const r = p.red;
  std::uint8_t* const g = p.green;
  std::uint8_t* const b = p.blue;
  const std::uint8_t* const lr = p.logoRed;
  const std::uint8_t* const lg = p.logoGreen;
  const std::uint8_t* const lb = p.logoBlue;
  const std::uint8_t* const alpha = p.alpha;
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i a = _mm256_load_si256(at(alpha, i));
    const __m256i wr = _mm256_load_si256(at(r, i));
    const __m256i wg = _mm256_load_si256(at(g, i));
    const __m256i wb = _mm256_load_si256(at(b, i));
    const __m256i mr = _mm256_xor_si256(_mm256_load_si256(at(lr, i)), a);
    const __m256i mg = _mm256_xor_si256(_mm256_load_si256(at(lg, i)), a);
    const __m256i mb = _mm256_xor_si256(_mm256_load_si256(at(lb, i)), a);
    _mm256_store_si256(at(r, i), _mm256_xor_si256(wr, mr));
    _mm256_store_si256(at(g, i), _mm256_xor_si256(wg, mg));
    _mm256_store_si256(at(b, i), _mm256_xor_si256(wb, mb));
  }
  for (; i < n; ++i) {
    r[i] ^= lr[i] ^ alpha[i];
    g[i] ^= lg[i] ^ alpha[i];
    b[i] ^= lb[i] ^ alpha[i];
  }
}
#endif

void memoryFloor(benchmark::State& state) {
#if QUORVEX_BLEND_X86
  if (!quorvex::render::blendSupported(BlendKind::Avx2)) {
    state.SkipWithError("the floor kernel needs AVX2");
    return;
  }
  Frame frame(pixels(state));
  for (auto _ : state) {
    floorAvx2(frame.planes(), frame.size());
    benchmark::ClobberMemory();
  }
  finish(state);
#else
  state.SkipWithError("the floor kernel needs x86");
#endif
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->ArgNames({"w", "h"});
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(memoryFloor)->Apply(sizes);
BENCHMARK_CAPTURE(blend, reference, BlendKind::Reference)->Apply(sizes);
BENCHMARK_CAPTURE(blend, sse2, BlendKind::Sse2)->Apply(sizes);
BENCHMARK_CAPTURE(blend, avx2, BlendKind::Avx2)->Apply(sizes);
BENCHMARK(blendBest)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
