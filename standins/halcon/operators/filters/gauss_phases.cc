// Lane i of phase s holds column 4 i + s of a block of 64, so a tap at offset q reads phase
// q mod 4 moved by floor(q / 4) lanes: a reach of 9 needs 24 shifted vectors a block instead of
// 63 (every offset from -9 to 72 but the aligned ones), for 16 permutes that turn the block into
// its phases (and the neighbours' edges). Each lane still sums its own pixel's taps from the
// outermost pair in, pair added then multiplied and added, centre last: the floats' bound holds
// as it is, and the pixels are the same. Taken with the rounding below, some 8 % off the whole
// smooth_image 'gauss' 2 (4096x2160, one thread). Every tap from two 256-bit loads instead (a
// third port for the adds, no shifts at all) took a quarter longer: nearly half the loads cross
// a line of the cache.
#include "operators/filters/gauss_phases.h"

#include <utility>

#include "operators/filters/image_kernels.h"
#include "operators/filters/vector_targets.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_KERNELS_AVX2
namespace {

constexpr int kLongestPhaseReach = 15;

// Block b's columns in phases, and the edges of the blocks before and after: prev's lanes
// 12-15 and next's lanes 0-3, the only ones a shift by at most four lanes reaches.
template <int N>
struct Phases {
  __m512 block[N][4];
  __m512 prev[4];
  __m512 next[4];
};

// The four phases of the 64 columns from c: two rounds of permutes.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void phasesOf(const float* c,
                                                                            __m512 (&ph)[4]) {
  alignas(64) static constexpr std::int32_t kEven[16] = {0, 4, 8, 12, 16, 20, 24, 28,
                                                         1, 5, 9, 13, 17, 21, 25, 29};
  alignas(64) static constexpr std::int32_t kOdd[16] = {2, 6, 10, 14, 18, 22, 26, 30,
                                                        3, 7, 11, 15, 19, 23, 27, 31};
  const __m512i even = _mm512_load_si512(kEven), odd = _mm512_load_si512(kOdd);
  const __m512 n0 = _mm512_loadu_ps(c), n1 = _mm512_loadu_ps(c + 16);
  const __m512 n2 = _mm512_loadu_ps(c + 32), n3 = _mm512_loadu_ps(c + 48);
  // Phases 0 and 1 (2 and 3) of the first 32 columns, then of the last 32.
  const __m512 x01 = _mm512_permutex2var_ps(n0, even, n1),
               x23 = _mm512_permutex2var_ps(n0, odd, n1);
  const __m512 y01 = _mm512_permutex2var_ps(n2, even, n3),
               y23 = _mm512_permutex2var_ps(n2, odd, n3);
  const __mmask16 all = 0xffff;
  ph[0] = _mm512_maskz_shuffle_f32x4(all, x01, y01, 0x44);
  ph[1] = _mm512_maskz_shuffle_f32x4(all, x01, y01, 0xee);
  ph[2] = _mm512_maskz_shuffle_f32x4(all, x23, y23, 0x44);
  ph[3] = _mm512_maskz_shuffle_f32x4(all, x23, y23, 0xee);
}

// Columns 4 j + s of the 16 from c, for j = 0 ... 3, in every group of four lanes.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void edgesOf(const float* c,
                                                                           __m512 (&ph)[4]) {
  const __m512 m = _mm512_loadu_ps(c);
  const __m512i spread = _mm512_set_epi32(12, 8, 4, 0, 12, 8, 4, 0, 12, 8, 4, 0, 12, 8, 4, 0);
  const __mmask16 all = 0xffff;
  for (int s = 0; s < 4; ++s) {
    ph[s] = _mm512_maskz_permutexvar_ps(all, _mm512_add_epi32(spread, _mm512_set1_epi32(s)), m);
  }
}

// Lane i: column 64 b + 4 i + Q of the blocks.
template <int Q, int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512 at(const Phases<N>& ph,
                                                                        int b) {
  constexpr int s = (Q % 4 + 4) % 4, d = (Q - s) / 4;
  const __mmask16 all = 0xffff;
  const __m512i here = _mm512_castps_si512(ph.block[b][s]);
  if constexpr (d == 0) {
    return ph.block[b][s];
  } else if constexpr (d > 0) {
    const __m512i after = _mm512_castps_si512(b + 1 < N ? ph.block[b + 1][s] : ph.next[s]);
    return _mm512_castsi512_ps(_mm512_maskz_alignr_epi32(all, after, here, d));
  } else {
    const __m512i before = _mm512_castps_si512(b > 0 ? ph.block[b - 1][s] : ph.prev[s]);
    return _mm512_castsi512_ps(_mm512_maskz_alignr_epi32(all, here, before, 16 + d));
  }
}

// Tap K of phase P of every block.
template <int K, int P, int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void addTap(const Phases<N>& ph,
                                                                          __m512 g,
                                                                          __m512 (&acc)[N][4]) {
  for (int b = 0; b < N; ++b) {
    acc[b][P] = _mm512_fmadd_ps(g, _mm512_add_ps(at<P - K>(ph, b), at<P + K>(ph, b)), acc[b][P]);
  }
}

// Taps K, K - 1, ... 1, from the outermost in.
template <int K, int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void addTaps(const Phases<N>& ph,
                                                                           const float* gf,
                                                                           __m512 (&acc)[N][4]) {
  const __m512 g = _mm512_set1_ps(gf[K]);
  addTap<K, 0>(ph, g, acc);
  addTap<K, 1>(ph, g, acc);
  addTap<K, 2>(ph, g, acc);
  addTap<K, 3>(ph, g, acc);
  if constexpr (K > 1) addTaps<K - 1, N>(ph, gf, acc);
}

// Bit 16 p + i of raw to bit 4 i + p: the phases' lanes back to the columns.
std::uint64_t columnsOf(std::uint64_t raw) {
  std::uint64_t out = 0;
  for (int p = 0; p < 4; ++p) {
    std::uint64_t x = raw >> (16 * p) & 0xffff;
    x = (x | x << 24) & 0x000000ff000000ffULL;
    x = (x | x << 12) & 0x000f000f000f000fULL;
    x = (x | x << 6) & 0x0303030303030303ULL;
    x = (x | x << 3) & 0x1111111111111111ULL;
    out |= x << p;
  }
  return out;
}

// The centre, the rounding and the bytes of block b. Floor by reduce (t less its floor, exact)
// and a conversion rounding down: the same whole and part as flooring, subtracting and
// truncating, in half the operations.
template <int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline std::uint64_t rounded(
    const Phases<N>& ph, const __m512 (&acc)[N][4], int b, __m512 g0, float low, float high,
    std::uint8_t* out) {
  const __mmask16 all = 0xffff;
  std::uint64_t raw = 0;
  __m512i values[4];
  for (int p = 0; p < 4; ++p) {
    const __m512 sum = _mm512_fmadd_ps(g0, ph.block[b][p], acc[b][p]);
    const __m512 t = _mm512_add_ps(sum, _mm512_set1_ps(0.5f));
    const __m512 part = _mm512_maskz_reduce_ps(all, t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    const __mmask16 lanes = _mm512_cmp_ps_mask(part, _mm512_set1_ps(low), _CMP_LT_OQ) |
                            _mm512_cmp_ps_mask(part, _mm512_set1_ps(high), _CMP_GT_OQ);
    raw |= std::uint64_t{lanes} << (16 * p);
    values[p] = _mm512_maskz_cvt_roundps_epi32(all, t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  }
  // The packs saturate to 0 ... 255 as roundedByte does, leaving in each 128-bit lane the
  // bytes of four columns of each phase in turn: a 4 x 4 transpose of bytes within the lane.
  const __m512i words01 = _mm512_maskz_packus_epi32(~__mmask32{0}, values[0], values[1]);
  const __m512i words23 = _mm512_maskz_packus_epi32(~__mmask32{0}, values[2], values[3]);
  const __m512i bytes = _mm512_maskz_packus_epi16(~__mmask64{0}, words01, words23);
  const __m512i turn = _mm512_maskz_broadcast_i32x4(
      all, _mm_set_epi8(15, 11, 7, 3, 14, 10, 6, 2, 13, 9, 5, 1, 12, 8, 4, 0));
  _mm512_storeu_si512(out, _mm512_maskz_shuffle_epi8(~__mmask64{0}, bytes, turn));
  return raw == 0 ? 0 : columnsOf(raw);
}

template <int R, int N>
__attribute__((target(QUORVEX_AVX512))) std::uint64_t phaseRows(const float* col, const float* gf,
                                                                float low, float high,
                                                                std::uint8_t* out,
                                                                std::uint64_t* more) {
  Phases<N> ph;
  for (int b = 0; b < N; ++b) phasesOf(col + 64 * b, ph.block[b]);
  edgesOf(col - 16, ph.prev);
  edgesOf(col + 64 * N, ph.next);
  __m512 acc[N][4];
  for (auto& block : acc) {
    for (__m512& a : block) a = _mm512_setzero_ps();
  }
  addTaps<R, N>(ph, gf, acc);
  const __m512 g0 = _mm512_set1_ps(gf[0]);
  const std::uint64_t unsure = rounded<N>(ph, acc, 0, g0, low, high, out);
  if constexpr (N > 1) *more = rounded<N>(ph, acc, 1, g0, low, high, out + 64);
  (void)more;
  return unsure;
}

template <int N, std::size_t... R>
PhaseRows phaseRowsOf(std::size_t r, std::index_sequence<R...>) {
  PhaseRows chosen = nullptr;
  (void)((r == R + 1 ? (chosen = &phaseRows<int(R) + 1, N>, true) : false) || ...);
  return chosen;
}

}  // namespace

PhaseRows phaseRowsFor(std::size_t r, int blocks) {
  if (!cpuHasAvx512()) return nullptr;
  constexpr auto kReaches = std::make_index_sequence<kLongestPhaseReach>();
  return blocks == 2 ? phaseRowsOf<2>(r, kReaches) : phaseRowsOf<1>(r, kReaches);
}
#else
PhaseRows phaseRowsFor(std::size_t, int) {
  return nullptr;
}
#endif

}  // namespace Standin
}  // namespace HalconCpp
