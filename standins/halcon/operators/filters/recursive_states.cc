// smooth_image's first pass in AVX-512: down the columns from the bottom and from the top, the
// recursion's states kept where the blocks of rows and the bands of the second pass start
// from them (recursive_blocks.h).
#include <algorithm>
#include <vector>

#include "core/threads.h"
#include "operators/filters/recursive_vectors.h"

#if QUORVEX_RECURSIVE_BLOCKS

namespace HalconCpp {
namespace Standin {

using namespace wide;

// The first pass takes 64 columns a strip: a strip's lines of the image, a row apart, fall into
// so few sets of the cache for a width of a power of two that they are gone before the next
// strip would read them again, and four chains of sums a step keep the processor busier.
constexpr std::size_t kStateVectors = 4;

bool recursiveWideEnabled() {
  return vectorPathsEnabled() && cpuHasAvx512();
}

namespace {

// The places where the first pass keeps its states, by block (-1 elsewhere): the backward sums
// at the block's end, the forward sums just before its start (recursive_blocks.h).
struct KeptAt {
  std::vector<std::int32_t> blockEnd, blockStart;
};

// A strip's sums between chunks of places, in memory that needs no alignment: the vectors of
// `State` one after the other.
template <typename State>
QUORVEX_WIDE void saveState(const State& state, float* to) {
  const auto* v = reinterpret_cast<const __m512*>(&state);
  for (std::size_t n = 0; n < sizeof(State) / sizeof(__m512); ++n) {
    _mm512_storeu_ps(to + n * kWidth, v[n]);
  }
}

template <typename State>
QUORVEX_WIDE State savedState(const float* from) {
  State state;
  auto* v = reinterpret_cast<__m512*>(&state);
  for (std::size_t n = 0; n < sizeof(State) / sizeof(__m512); ++n) {
    v[n] = _mm512_loadu_ps(from + n * kWidth);
  }
  return state;
}

using StateBackward = BackwardOf<kStateVectors>;
using StateForward = ForwardOf<kStateVectors>;
constexpr std::size_t kBackwardFloats = sizeof(StateBackward) / sizeof(float);
constexpr std::size_t kForwardFloats = sizeof(StateForward) / sizeof(float);

// The first pass over places [top, bottom) of one strip, upwards from the backward sums saved
// at `state`, keeping the states at the met blocks' ends.
template <bool Whole>
QUORVEX_WIDE void backwardRows(const Lines& j, RecursivePlan& plan, const Coefficients& k,
                               const KeptAt& at, const StripOf<kStateVectors, Whole>& s,
                               std::size_t low, std::size_t top, std::size_t bottom, float* state,
                               Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  StateBackward back = savedState<StateBackward>(state);
  for (std::size_t i = bottom; i-- > top;) {
    prefetchAhead(j, i, ahead);
    __m512 before[kStateVectors], cur[kStateVectors];
    std::copy(back.a1, back.a1 + kStateVectors, before);
    backwardAt(j, k, s, i, &back, cur);
    if (plan.backwardSums) keep(cur, s, plan.backwardSums + (i - low) * w);
    if (at.blockEnd[i] >= 0) {
      float* kept = plan.backward + 2 * w * static_cast<std::size_t>(at.blockEnd[i]);
      keep(cur, s, kept);
      keep(before, s, kept + w);
    }
  }
  saveState(back, state);
}

// The same downwards over places [top, bottom) from the forward sums saved at `state`,
// keeping the states before the bands' starts.
template <bool Whole>
QUORVEX_WIDE void forwardRows(const Lines& j, RecursivePlan& plan, const Coefficients& k,
                              const KeptAt& at, const StripOf<kStateVectors, Whole>& s,
                              std::size_t top, std::size_t bottom, float* state, Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  StateForward f = savedState<StateForward>(state);
  for (std::size_t i = top; i < bottom; ++i) {
    prefetchAhead(j, i, ahead);
    __m512 previous[kStateVectors], cur[kStateVectors];
    std::copy(f.p1, f.p1 + kStateVectors, previous);
    forwardAt(j, k, s, i, &f, cur);
    if (plan.forwardSums) keep(cur, s, plan.forwardSums + i * w);
    if (at.blockStart[i] >= 0) {
      float* kept = plan.forward + 2 * w * static_cast<std::size_t>(at.blockStart[i]);
      keep(cur, s, kept);
      keep(previous, s, kept + w);
    }
  }
  saveState(f, state);
}

// Each strip's sums a chunk of places at a time, across all strips before the next chunk:
// down one strip alone every place would be a new page of the image, and the pages of the
// whole height are more than the processor keeps translated at once.
constexpr std::size_t kChunk = 32;
constexpr auto kChunkPlaces = static_cast<std::ptrdiff_t>(kChunk);

}  // namespace

__attribute__((target(QUORVEX_AVX512))) void keepStatesWide(const RecursiveJob& j,
                                                            RecursivePlan& plan, std::size_t x0,
                                                            std::size_t x1, int sweeps) {
  const Coefficients k = coefficientsOf(*j.c);
  const Lines lines = linesOf(j);
  const std::size_t m = lines.m;
  const std::size_t bands = plan.starts.size() - 1;
  KeptAt at{std::vector<std::int32_t>(m, -1), std::vector<std::int32_t>(m, -1)};
  // The upward band takes the backward sums at its last block's end, and the forward sums at
  // each of its met blocks' starts; the bands below it take them as the first band alone
  // would.
  const std::int32_t downward = plan.upward ? plan.starts[1] : 0;
  const auto endOf = [&](std::int32_t b) { return placeOf(j, plan.rowOf(b + 1)); };
  const auto beforeStartOf = [&](std::int32_t b) { return placeOf(j, plan.rowOf(b)) - 1; };
  for (std::int32_t b = 0; b < plan.blocks; ++b) {
    if (!plan.met[static_cast<std::size_t>(b)]) continue;
    if (b >= downward) {
      at.blockEnd[endOf(b)] = b;
    } else {
      at.blockStart[beforeStartOf(b)] = b;
    }
  }
  if (plan.upward) at.blockEnd[endOf(downward - 1)] = downward - 1;
  for (std::size_t band = 1; band < bands; ++band) {
    at.blockStart[beforeStartOf(plan.starts[band])] = plan.starts[band];
  }
  std::size_t low = plan.backwardSums ? plan.backwardSumsFrom : backwardLow(j, plan);
  if (!(sweeps & kBackwardSweep)) low = m;
  const std::size_t last = sweeps & kForwardSweep ? forwardEnd(j, plan) : 0;
  constexpr std::size_t kStrip = kStateVectors * kWidth;
  const std::size_t strips = (x1 - x0 + kStrip - 1) / kStrip;
  std::vector<float> states(strips * std::max(kBackwardFloats, kForwardFloats));
  for (std::size_t t = 0; t < strips; ++t) {
    StateBackward back;
    for (std::size_t v = 0; v < kStateVectors; ++v) back.a1[v] = back.a2[v] = k.zero;
    startBackward(lines, k, stripAt<kStateVectors, false>(x0 + t * kStrip, x1), m - 1, &back);
    saveState(back, states.data() + t * kBackwardFloats);
  }
  for (std::size_t bottom = m; bottom > low;) {
    const std::size_t top = bottom - std::min(kChunk, bottom - low);
    for (std::size_t t = 0; t < strips; ++t) {
      const std::size_t s0 = x0 + t * kStrip;
      float* state = states.data() + t * kBackwardFloats;
      const Ahead ahead = t + 1 < strips ? Ahead{s0 + kStrip, 0} : Ahead{x0, -kChunkPlaces};
      if (s0 + kStrip <= x1) {
        backwardRows(lines, plan, k, at, stripAt<kStateVectors, true>(s0, x1), low, top, bottom,
                     state, ahead);
      } else {
        backwardRows(lines, plan, k, at, stripAt<kStateVectors, false>(s0, x1), low, top, bottom,
                     state, ahead);
      }
    }
    bottom = top;
  }
  std::fill(states.begin(), states.end(), 0.0f);
  for (std::size_t top = 0; top < last;) {
    const std::size_t bottom = top + std::min(kChunk, last - top);
    for (std::size_t t = 0; t < strips; ++t) {
      const std::size_t s0 = x0 + t * kStrip;
      float* state = states.data() + t * kForwardFloats;
      const Ahead ahead = t + 1 < strips ? Ahead{s0 + kStrip, 0} : Ahead{x0, kChunkPlaces};
      if (s0 + kStrip <= x1) {
        forwardRows(lines, plan, k, at, stripAt<kStateVectors, true>(s0, x1), top, bottom, state,
                    ahead);
      } else {
        forwardRows(lines, plan, k, at, stripAt<kStateVectors, false>(s0, x1), top, bottom, state,
                    ahead);
      }
    }
    top = bottom;
  }
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
