#include "operators/fft/fft_lanes.h"

#include <cmath>

// 64-bit x86 alone: the 32-bit build may round in x87 registers, and the Windows compilers do
// not keep 32-byte values on the stack aligned.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32)
#define QUORVEX_FFT_LANES 1
#include <immintrin.h>
#else
#define QUORVEX_FFT_LANES 0
#endif

namespace HalconCpp {
namespace Standin {

namespace {

using Complex = std::complex<double>;

#if QUORVEX_FFT_LANES

bool hasAvx2() {
  static const bool found = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return found;
}

// One value of the four lines: lanes 0 and 1 in `lo`, 2 and 3 in `hi`, each complex as its
// real and imaginary part side by side.
struct Quad {
  __m256d lo, hi;
};

#define QUORVEX_AVX2 __attribute__((target("avx2"), always_inline)) inline

QUORVEX_AVX2 Quad load(const double* p) {
  return {_mm256_loadu_pd(p), _mm256_loadu_pd(p + 4)};
}
QUORVEX_AVX2 void store(double* p, Quad x) {
  _mm256_storeu_pd(p, x.lo);
  _mm256_storeu_pd(p + 4, x.hi);
}
QUORVEX_AVX2 Quad operator+(Quad x, Quad y) {
  return {_mm256_add_pd(x.lo, y.lo), _mm256_add_pd(x.hi, y.hi)};
}
QUORVEX_AVX2 Quad operator-(Quad x, Quad y) {
  return {_mm256_sub_pd(x.lo, y.lo), _mm256_sub_pd(x.hi, y.hi)};
}
// Each complex times a real factor, part by part, as std::complex does.
QUORVEX_AVX2 Quad scaled(Quad x, double s) {
  const __m256d f = _mm256_set1_pd(s);
  return {_mm256_mul_pd(x.lo, f), _mm256_mul_pd(x.hi, f)};
}
// (re, im) as (im, re).
QUORVEX_AVX2 Quad swapped(Quad x) {
  return {_mm256_permute_pd(x.lo, 5), _mm256_permute_pd(x.hi, 5)};
}
// The sign of the real parts (mask -0.0, 0.0) or of the imaginary parts (0.0, -0.0) turned:
// negation is exact, and x - y is x + (-y) in IEEE arithmetic.
QUORVEX_AVX2 Quad flipped(Quad x, __m256d mask) {
  return {_mm256_xor_pd(x.lo, mask), _mm256_xor_pd(x.hi, mask)};
}
QUORVEX_AVX2 __m256d realSigns() {
  return _mm256_set_pd(0.0, -0.0, 0.0, -0.0);
}
QUORVEX_AVX2 __m256d imagSigns() {
  return _mm256_set_pd(-0.0, 0.0, -0.0, 0.0);
}
// (a + bi)(c + di) as (ac - bd, ad + bc): addsub subtracts in the real lanes and adds in the
// imaginary ones, and a sum does not depend on its order.
QUORVEX_AVX2 Quad times(Quad x, Complex w) {
  const __m256d c = _mm256_set1_pd(w.real()), d = _mm256_set1_pd(w.imag());
  const Quad s = swapped(x);
  return {_mm256_addsub_pd(_mm256_mul_pd(x.lo, c), _mm256_mul_pd(s.lo, d)),
          _mm256_addsub_pd(_mm256_mul_pd(x.hi, c), _mm256_mul_pd(s.hi, d))};
}

constexpr std::size_t kStep = 2 * LaneTransform::kLanes;  // doubles a value of the four lines

struct Lanes {
  const Complex* tw;
  const std::size_t* radix;
  const std::size_t* remainder;
  bool inverse;
};

__attribute__((target("avx2"))) void butterfly2(const Lanes& l, double* f, std::size_t fs,
                                                std::size_t m) {
  for (std::size_t k = 0; k < m; ++k) {
    double* a = f + k * kStep;
    double* b = f + (m + k) * kStep;
    const Quad t = times(load(b), l.tw[k * fs]);
    const Quad x = load(a);
    store(b, x - t);
    store(a, x + t);
  }
}

__attribute__((target("avx2"))) void butterfly3(const Lanes& l, double* f, std::size_t fs,
                                                std::size_t m) {
  const double epi3 = l.tw[fs * m].imag();
  for (std::size_t k = 0; k < m; ++k) {
    double* f0 = f + k * kStep;
    double* f1 = f0 + m * kStep;
    double* f2 = f1 + m * kStep;
    const Quad s1 = times(load(f1), l.tw[k * fs]);
    const Quad s2 = times(load(f2), l.tw[2 * k * fs]);
    const Quad s3 = s1 + s2;
    Quad s0 = s1 - s2;
    const Quad x0 = load(f0);
    const Quad x1 = x0 - scaled(s3, 0.5);
    s0 = scaled(s0, epi3);
    store(f0, x0 + s3);
    const Quad turned = swapped(s0);
    store(f2, x1 + flipped(turned, imagSigns()));
    store(f1, x1 + flipped(turned, realSigns()));
  }
}

__attribute__((target("avx2"))) void butterfly4(const Lanes& l, double* f, std::size_t fs,
                                                std::size_t m) {
  const __m256d quarter = l.inverse ? realSigns() : imagSigns();
  for (std::size_t k = 0; k < m; ++k) {
    double* f0 = f + k * kStep;
    double* f1 = f0 + m * kStep;
    double* f2 = f1 + m * kStep;
    double* f3 = f2 + m * kStep;
    const Quad s0 = times(load(f1), l.tw[k * fs]);
    const Quad s1 = times(load(f2), l.tw[k * fs * 2]);
    const Quad s2 = times(load(f3), l.tw[k * fs * 3]);
    Quad x0 = load(f0);
    const Quad s5 = x0 - s1;
    x0 = x0 + s1;
    const Quad s3 = s0 + s2;
    const Quad s4 = flipped(swapped(s0 - s2), quarter);
    store(f2, x0 - s3);
    store(f0, x0 + s3);
    store(f1, s5 + s4);
    store(f3, s5 - s4);
  }
}

__attribute__((target("avx2"))) void butterfly5(const Lanes& l, double* f, std::size_t fs,
                                                std::size_t m) {
  const Complex ya = l.tw[fs * m], yb = l.tw[fs * 2 * m];
  for (std::size_t u = 0; u < m; ++u) {
    double* f0 = f + u * kStep;
    double* f1 = f0 + m * kStep;
    double* f2 = f1 + m * kStep;
    double* f3 = f2 + m * kStep;
    double* f4 = f3 + m * kStep;
    const Quad s0 = load(f0);
    const Quad s1 = times(load(f1), l.tw[u * fs]);
    const Quad s2 = times(load(f2), l.tw[2 * u * fs]);
    const Quad s3 = times(load(f3), l.tw[3 * u * fs]);
    const Quad s4 = times(load(f4), l.tw[4 * u * fs]);
    const Quad s7 = s1 + s4, s10 = s1 - s4, s8 = s2 + s3, s9 = s2 - s3;
    store(f0, (s0 + s7) + s8);
    const Quad t10 = swapped(s10), t9 = swapped(s9);
    const Quad s5 = s0 + (scaled(s7, ya.real()) + scaled(s8, yb.real()));
    const Quad s6 =
        flipped(scaled(t10, ya.imag()), imagSigns()) + flipped(scaled(t9, yb.imag()), imagSigns());
    store(f1, s5 - s6);
    store(f4, s5 + s6);
    const Quad s11 = s0 + (scaled(s7, yb.real()) + scaled(s8, ya.real()));
    const Quad s12 =
        flipped(scaled(t10, yb.imag()), realSigns()) + flipped(scaled(t9, ya.imag()), imagSigns());
    store(f2, s11 + s12);
    store(f3, s11 - s12);
  }
}

// kissfft's transform(): the p decimated transforms of length m, then their butterflies.
__attribute__((target("avx2"))) void stage(const Lanes& l, const double* in, double* out,
                                           std::size_t s, std::size_t fs, std::size_t inStride) {
  const std::size_t p = l.radix[s], m = l.remainder[s];
  double* const begin = out;
  double* const end = out + p * m * kStep;
  if (m == 1) {
    for (; out != end; out += kStep, in += fs * inStride) store(out, load(in));
  } else {
    for (; out != end; out += m * kStep, in += fs * inStride)
      stage(l, in, out, s + 1, fs * p, inStride);
  }
  switch (p) {
    case 2:
      return butterfly2(l, begin, fs, m);
    case 3:
      return butterfly3(l, begin, fs, m);
    case 4:
      return butterfly4(l, begin, fs, m);
    default:
      return butterfly5(l, begin, fs, m);
  }
}

// (Z(k) + conj Z(-k)) / 2 and (Z(k) - conj Z(-k)) / 2i part by part: with m = conj Z(-k),
// a's is 0.5 (z + m) and b's (0.5 (z - m).im, -0.5 (z - m).re).
__attribute__((target("avx2"))) void splitAvx2(const double* lines, std::size_t width,
                                               std::size_t half, Complex* const* ra,
                                               Complex* const* rb) {
  const __m256d halves = _mm256_set1_pd(0.5), signs = _mm256_set_pd(-0.5, 0.5, -0.5, 0.5);
  for (std::size_t k = 0; k < half; ++k) {
    const Quad z = load(lines + k * kStep);
    const Quad m = flipped(load(lines + (k == 0 ? 0 : width - k) * kStep), imagSigns());
    const Quad sum = z + m, difference = swapped(z - m);
    const __m256d a[] = {_mm256_mul_pd(halves, sum.lo), _mm256_mul_pd(halves, sum.hi)};
    const __m256d b[] = {_mm256_mul_pd(signs, difference.lo), _mm256_mul_pd(signs, difference.hi)};
    for (std::size_t l = 0; l < 2; ++l) {
      double* a0 = reinterpret_cast<double*>(ra[2 * l] + k);
      double* a1 = reinterpret_cast<double*>(ra[2 * l + 1] + k);
      double* b0 = reinterpret_cast<double*>(rb[2 * l] + k);
      double* b1 = reinterpret_cast<double*>(rb[2 * l + 1] + k);
      _mm_storeu_pd(a0, _mm256_castpd256_pd128(a[l]));
      _mm_storeu_pd(a1, _mm256_extractf128_pd(a[l], 1));
      _mm_storeu_pd(b0, _mm256_castpd256_pd128(b[l]));
      _mm_storeu_pd(b1, _mm256_extractf128_pd(b[l], 1));
    }
  }
}

__attribute__((target("avx2"))) std::size_t productAvx2(const float* in, const float* weights,
                                                        bool complexWeights, bool conjugate,
                                                        std::size_t count, double lowest,
                                                        double highest, float* out) {
  const __m256d low = _mm256_set1_pd(lowest), high = _mm256_set1_pd(highest);
  const __m256d turn = conjugate ? imagSigns() : _mm256_setzero_pd();
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256 values = _mm256_loadu_ps(in + 2 * i);
    const Quad a{_mm256_cvtps_pd(_mm256_castps256_ps128(values)),
                 _mm256_cvtps_pd(_mm256_extractf128_ps(values, 1))};
    Quad w;
    if (complexWeights) {
      const __m256 parts = _mm256_loadu_ps(weights + 2 * i);
      w = {_mm256_cvtps_pd(_mm256_castps256_ps128(parts)),
           _mm256_cvtps_pd(_mm256_extractf128_ps(parts, 1))};
    } else {
      // Each real weight as (w, 0).
      const __m256d reals = _mm256_cvtps_pd(_mm_loadu_ps(weights + i));
      const __m256d zero = _mm256_setzero_pd();
      w = {_mm256_unpacklo_pd(_mm256_permute4x64_pd(reals, 0x50), zero),
           _mm256_unpacklo_pd(_mm256_permute4x64_pd(reals, 0xfa), zero)};
    }
    w = flipped(w, turn);
    const Quad s = swapped(a);
    const __m256d lo = _mm256_addsub_pd(_mm256_mul_pd(a.lo, _mm256_movedup_pd(w.lo)),
                                        _mm256_mul_pd(s.lo, _mm256_permute_pd(w.lo, 15)));
    const __m256d hi = _mm256_addsub_pd(_mm256_mul_pd(a.hi, _mm256_movedup_pd(w.hi)),
                                        _mm256_mul_pd(s.hi, _mm256_permute_pd(w.hi, 15)));
    const int nanLo = _mm256_movemask_pd(_mm256_cmp_pd(lo, lo, _CMP_UNORD_Q));
    const int nanHi = _mm256_movemask_pd(_mm256_cmp_pd(hi, hi, _CMP_UNORD_Q));
    const int both = (nanLo & (nanLo >> 1)) | (nanHi & (nanHi >> 1));
    if (both & 5) break;
    // max and min give their second operand when either is NaN: NaN passes through.
    const __m128 first = _mm256_cvtpd_ps(_mm256_min_pd(high, _mm256_max_pd(low, lo)));
    const __m128 second = _mm256_cvtpd_ps(_mm256_min_pd(high, _mm256_max_pd(low, hi)));
    _mm256_storeu_ps(out + 2 * i, _mm256_set_m128(second, first));
  }
  return i;
}

#endif

}  // namespace

bool splitVectors(const Complex* lines, std::size_t width, std::size_t half, Complex* const* ra,
                  Complex* const* rb) {
#if QUORVEX_FFT_LANES
  if (hasAvx2()) {
    splitAvx2(reinterpret_cast<const double*>(lines), width, half, ra, rb);
    return true;
  }
#endif
  static_cast<void>(lines), static_cast<void>(width), static_cast<void>(half);
  static_cast<void>(ra), static_cast<void>(rb);
  return false;
}

std::size_t productVectors(const float* in, const float* weights, bool complexWeights,
                           bool conjugate, std::size_t count, double lowest, double highest,
                           float* out) {
#if QUORVEX_FFT_LANES
  if (hasAvx2()) {
    return productAvx2(in, weights, complexWeights, conjugate, count, lowest, highest, out);
  }
#endif
  static_cast<void>(in), static_cast<void>(weights), static_cast<void>(complexWeights);
  static_cast<void>(conjugate), static_cast<void>(count), static_cast<void>(lowest);
  static_cast<void>(highest), static_cast<void>(out);
  return 0;
}

LaneTransform::LaneTransform(std::size_t n, int sign) : n_(n), inverse_(sign > 0) {
#if QUORVEX_FFT_LANES
  if (n_ < 2 || !hasAvx2()) return;
  // kissfft's factors: fours first, then twos, then odd numbers up.
  std::size_t rest = n_, p = 4;
  do {
    while (rest % p) {
      p = p == 4 ? 2 : p == 2 ? 3 : p + 2;
      if (p * p > rest) p = rest;
    }
    rest /= p;
    radix_.push_back(p);
    remainder_.push_back(rest);
  } while (rest > 1);
  for (const std::size_t r : radix_) {
    if (r > 5) return;
  }
  // kissfft's twiddles, made by the same expression.
  twiddles_.resize(n_);
  const double step = (inverse_ ? 2 : -2) * std::acos(-1.0) / static_cast<double>(n_);
  for (std::size_t i = 0; i < n_; ++i) {
    twiddles_[i] = std::exp(Complex(0, static_cast<double>(i) * step));
  }
  usable_ = true;
#else
  static_cast<void>(inverse_);
#endif
}

void LaneTransform::run(const Complex* in, std::size_t stride, Complex* out) const {
#if QUORVEX_FFT_LANES
  const Lanes lanes{twiddles_.data(), radix_.data(), remainder_.data(), inverse_};
  stage(lanes, reinterpret_cast<const double*>(in), reinterpret_cast<double*>(out), 0, 1,
        2 * stride);
#else
  static_cast<void>(in), static_cast<void>(stride), static_cast<void>(out);
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
