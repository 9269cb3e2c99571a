// Lane i of phase s holds column 4 i + s of a block of 64, so a tap at offset q reads phase
// q mod 4 moved by floor(q / 4) lanes: a reach of 9 needs 18 shifted vectors a block instead of
// 63 (every offset from -9 to 72 but the aligned ones), for 8 permutes that turn the block into
// its phases. Each lane still sums its own pixel's taps from the outermost pair in, pair added
// then multiplied and added, centre last: the floats' bound holds as it is, and the pixels are
// the same. With the rounding below, some 8 % off the whole smooth_image 'gauss' 2 (4096x2160,
// one thread). Every tap from two 256-bit loads instead (a third port for the adds, no shifts
// at all) took a quarter longer: nearly half the loads cross a line of the cache. One block at
// a time (four chains of multiply-adds) was slower than two.
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

// N blocks' columns in phases, and the blocks before and after them (of the one before only
// lanes 12-15 are read, of the one after only lanes 0-3: a shift by at most four lanes).
template <int N>
struct Phases {
  __m512 prev[4], block[N][4], next[4];
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

// Tap K of phase P of every block: two blocks' chains of multiply-adds interleave.
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

// The centre, the rounding and the bytes of the block. Floor by reduce (t less its floor,
// exact) and a conversion rounding down: the same whole and part as flooring, subtracting and
// truncating, in half the operations. The part compared as whole numbers: for floats not
// below +0 the order of their bits is theirs, so that part < low or part > high is one
// unsigned comparison of part - low with high - low.
template <int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline std::uint64_t rounded(
    const Phases<N>& ph, const __m512 (&acc)[N][4], int b, __m512 g0, float low, float high,
    std::uint8_t* out) {
  const __mmask16 all = 0xffff;
  const __m512i from = _mm512_castps_si512(_mm512_set1_ps(low));
  const __m512i span = _mm512_sub_epi32(_mm512_castps_si512(_mm512_set1_ps(high)), from);
  std::uint64_t raw = 0;
  __m512i values[4];
  for (int p = 0; p < 4; ++p) {
    const __m512 sum = _mm512_fmadd_ps(g0, ph.block[b][p], acc[b][p]);
    const __m512 t = _mm512_add_ps(sum, _mm512_set1_ps(0.5f));
    const __m512 part = _mm512_maskz_reduce_ps(all, t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    const __mmask16 lanes =
        _mm512_cmpgt_epu32_mask(_mm512_sub_epi32(_mm512_castps_si512(part), from), span);
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

// N blocks of the row from col[x], their edges in ph.
template <int R, int N>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void blocks(const Phases<N>& ph,
                                                                          const float* gf,
                                                                          float low, float high,
                                                                          std::uint8_t* out,
                                                                          std::uint64_t* unsure) {
  __m512 acc[N][4];
  for (auto& block : acc) {
    for (__m512& a : block) a = _mm512_setzero_ps();
  }
  addTaps<R, N>(ph, gf, acc);
  const __m512 g0 = _mm512_set1_ps(gf[0]);
  for (int b = 0; b < N; ++b) unsure[b] = rounded<N>(ph, acc, b, g0, low, high, out + 64 * b);
}

// Two blocks at a time along the row, each block's phases made once (as the next ones', then
// the current ones', then the previous ones'), the last block alone.
template <int R>
__attribute__((target(QUORVEX_AVX512))) std::size_t phaseRow(const float* col, std::size_t x,
                                                             std::size_t end, const float* gf,
                                                             float low, float high,
                                                             std::uint8_t* out,
                                                             std::uint64_t* unsure) {
  if (x + 64 > end) return x;
  Phases<2> two;
  edgesOf(col + x - 16, two.prev);
  phasesOf(col + x, two.block[0]);
  for (; x + 128 <= end; x += 128, unsure += 2) {
    phasesOf(col + x + 64, two.block[1]);
    if (x + 192 <= end) {
      phasesOf(col + x + 128, two.next);
    } else {
      edgesOf(col + x + 128, two.next);
    }
    blocks<R, 2>(two, gf, low, high, out + x, unsure);
    for (int s = 0; s < 4; ++s) {
      two.prev[s] = two.block[1][s];
      two.block[0][s] = two.next[s];
    }
  }
  if (x + 64 <= end) {
    Phases<1> one;
    for (int s = 0; s < 4; ++s) {
      one.prev[s] = two.prev[s];
      one.block[0][s] = two.block[0][s];
    }
    edgesOf(col + x + 64, one.next);
    blocks<R, 1>(one, gf, low, high, out + x, unsure);
    x += 64;
  }
  return x;
}

template <std::size_t... R>
PhaseRow phaseRowOf(std::size_t r, std::index_sequence<R...>) {
  PhaseRow chosen = nullptr;
  (void)((r == R + 1 ? (chosen = &phaseRow<int(R) + 1>, true) : false) || ...);
  return chosen;
}

}  // namespace

PhaseRow phaseRowFor(std::size_t r) {
  if (!cpuHasAvx512()) return nullptr;
  return phaseRowOf(r, std::make_index_sequence<kLongestPhaseReach>());
}
#else
PhaseRow phaseRowFor(std::size_t) {
  return nullptr;
}
#endif

}  // namespace Standin
}  // namespace HalconCpp
