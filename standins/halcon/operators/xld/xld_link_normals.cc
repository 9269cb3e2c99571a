#include "operators/xld/xld_link_normals.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "core/numbers.h"
#include "core/threads.h"
#include "operators/filters/image_kernels.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

std::ptrdiff_t indexOf(const std::vector<std::string>& names, const char* name) {
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : found - names.begin();
}

// Whether the normal at angle theta points to the left of the tangent (tr, tc): the sign of
// cos(theta) tc - sin(theta) tr as the library's cos and sin give it. Most normals lie far from
// the tangent: their side is decided by series for cos and sin within 2e-7 of the library's, an
// error that with the roundings' stays far within the margin; only a normal within the margin of
// the tangent, or an angle beyond (-pi, pi], waits on the library.
bool turnsLeft(double theta, double tr, double tc) {
  if (std::fabs(theta) <= 3.2) {
    // Half the angle, within pi/2 in magnitude: sin to x^11, cos to x^12, each within 1e-7; the
    // factorials' ratios as products by their reciprocals, which a division would wait on.
    const double x = 0.5 * theta, x2 = x * x;
    const double s =
        x *
        (1 - x2 * (1.0 / 6) *
                 (1 - x2 * (1.0 / 20) *
                          (1 - x2 * (1.0 / 42) * (1 - x2 * (1.0 / 72) * (1 - x2 * (1.0 / 110))))));
    const double c =
        1 - x2 * 0.5 *
                (1 - x2 * (1.0 / 12) *
                         (1 - x2 * (1.0 / 30) *
                                  (1 - x2 * (1.0 / 56) *
                                           (1 - x2 * (1.0 / 90) * (1 - x2 * (1.0 / 132))))));
    const double side = (c * c - s * s) * tc - 2 * s * c * tr;
    const double margin = 1e-5 * (std::fabs(tc) + std::fabs(tr));
    if (std::fabs(side) > margin) return side < 0;
  }
  return std::cos(theta) * tc - std::sin(theta) * tr < 0;
}

#if QUORVEX_KERNELS_AVX2
// A term of turnsLeft's series: 1 - x2 * reciprocal * inner.
__attribute__((target(QUORVEX_AVX512))) inline __m512d term(__m512d inner, __m512d x2,
                                                            double reciprocal) {
  return _mm512_sub_pd(_mm512_set1_pd(1.0),
                       _mm512_mul_pd(_mm512_mul_pd(x2, _mm512_set1_pd(reciprocal)), inner));
}

// turnsLeft of eight normals at once, points 1 ... of a contour whose neighbours lie on either
// side in its lists: each lane's side by the same series, or by turnsLeft itself where the series
// leaves it undecided. A lane's decision stands as the library's whatever the series' roundings,
// being made only with the margin to spare; the turned angles are the scalar sums.
__attribute__((target(QUORVEX_AVX512))) std::size_t orientInVectors(const ContourObject& contour,
                                                                    std::size_t end, double* angle,
                                                                    unsigned* turned) {
  const __mmask8 all = 0xff;
  const __m512d one = _mm512_set1_pd(1.0), half = _mm512_set1_pd(0.5);
  const __m512d pi = _mm512_set1_pd(kPi), twoPi = _mm512_set1_pd(2 * kPi);
  const __m512d signless = _mm512_castsi512_pd(_mm512_set1_epi64(0x7fffffffffffffff));
  std::size_t i = 1;
  for (; i + 8 <= end; i += 8) {
    const __m512d theta = _mm512_loadu_pd(angle + i);
    const __m512d tr = _mm512_sub_pd(_mm512_loadu_pd(contour.rows.data() + i + 1),
                                     _mm512_loadu_pd(contour.rows.data() + i - 1));
    const __m512d tc = _mm512_sub_pd(_mm512_loadu_pd(contour.cols.data() + i + 1),
                                     _mm512_loadu_pd(contour.cols.data() + i - 1));
    const __m512d x = _mm512_mul_pd(half, theta), x2 = _mm512_mul_pd(x, x);
    __m512d si = term(one, x2, 1.0 / 110);
    si = term(si, x2, 1.0 / 72), si = term(si, x2, 1.0 / 42), si = term(si, x2, 1.0 / 20);
    const __m512d sn = _mm512_mul_pd(x, term(si, x2, 1.0 / 6));
    __m512d co = term(one, x2, 1.0 / 132);
    co = term(co, x2, 1.0 / 90), co = term(co, x2, 1.0 / 56), co = term(co, x2, 1.0 / 30);
    co = term(co, x2, 1.0 / 12);
    const __m512d cs = _mm512_sub_pd(one, _mm512_mul_pd(_mm512_mul_pd(x2, half), co));
    const __m512d side = _mm512_sub_pd(
        _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(cs, cs), _mm512_mul_pd(sn, sn)), tc),
        _mm512_mul_pd(_mm512_mul_pd(_mm512_mul_pd(_mm512_set1_pd(2.0), sn), cs), tr));
    const __m512d margin =
        _mm512_mul_pd(_mm512_set1_pd(1e-5),
                      _mm512_add_pd(_mm512_and_pd(tc, signless), _mm512_and_pd(tr, signless)));
    const __mmask8 near =
        _mm512_cmp_pd_mask(_mm512_and_pd(theta, signless), _mm512_set1_pd(3.2), _CMP_LE_OQ);
    const __mmask8 decided =
        _mm512_mask_cmp_pd_mask(near, _mm512_and_pd(side, signless), margin, _CMP_GT_OQ);
    __mmask8 left = _mm512_mask_cmp_pd_mask(decided, side, _mm512_setzero_pd(), _CMP_LT_OQ);
    for (unsigned m = static_cast<__mmask8>(~decided); m != 0; m &= m - 1) {
      const auto lane = static_cast<unsigned>(__builtin_ctz(m));
      const std::size_t k = i + lane;
      const double r = contour.rows[k + 1] - contour.rows[k - 1];
      const double c = contour.cols[k + 1] - contour.cols[k - 1];
      if (turnsLeft(angle[k], r, c)) left = static_cast<__mmask8>(left | (1u << lane));
    }
    __m512d out = _mm512_mask_add_pd(theta, left, theta, pi);
    out = _mm512_mask_sub_pd(out, _mm512_cmp_pd_mask(out, pi, _CMP_GT_OQ), out, twoPi);
    _mm512_mask_storeu_pd(angle + i, all, out);
    turned[(i - 1) / 8] = left;
  }
  return i;
}
#endif

// 'angle' arrives as the normal's line (either way along it, in (-pi, pi]) and leaves pointing to
// the right of the way the contour runs, as the contours' readers expect: the side a positive
// distance of gen_parallel_contour_xld goes to and 'width_right' is measured on. The widths arrive
// measured against and along the normal as it arrived, so a turned normal swaps them.
}  // namespace

void orientNormals(const ContourObject& contour, const std::vector<std::string>& names,
                   std::vector<std::vector<double>>& values) {
  const std::ptrdiff_t angle = indexOf(names, "angle");
  if (angle < 0) return;
  const std::ptrdiff_t left = indexOf(names, "width_left"), right = indexOf(names, "width_right");
  const std::size_t n = contour.size();
  const bool closed = n > 2 && contour.rows.front() == contour.rows.back() &&
                      contour.cols.front() == contour.cols.back();
  const std::size_t ring = closed ? n - 1 : n;
  double* const angles = values[static_cast<std::size_t>(angle)].data();
  // Points 1 ... ring - 2 have their neighbours on either side in the lists: eight at a time.
  std::size_t done = 0;
#if QUORVEX_KERNELS_AVX2
  if (ring >= 10 && vectorPathsEnabled() && cpuHasAvx512()) {
    std::vector<unsigned> turned((ring - 2) / 8 + 1);
    done = orientInVectors(contour, ring - 1, angles, turned.data());
    if (left >= 0 && right >= 0) {
      for (std::size_t i = 1; i < done; ++i) {
        if ((turned[(i - 1) / 8] >> ((i - 1) % 8) & 1) == 0) continue;
        std::swap(values[static_cast<std::size_t>(left)][i],
                  values[static_cast<std::size_t>(right)][i]);
      }
    }
  }
#endif
  for (std::size_t i = 0; i < n; ++i) {
    if (i >= 1 && i < done) continue;
    // The point's place on the ring (a closed contour's last is its first) and its two sides.
    const std::size_t at = i == ring ? 0 : i;
    const std::size_t before = at > 0 ? at - 1 : (closed ? ring - 1 : 0);
    const std::size_t after = at + 1 < ring ? at + 1 : (closed ? 0 : n - 1);
    const double tr = contour.rows[after] - contour.rows[before];
    const double tc = contour.cols[after] - contour.cols[before];
    double& theta = values[static_cast<std::size_t>(angle)][i];
    // The normal is (cos theta, sin theta) in (row, column); right of (tr, tc) is (tc, -tr).
    if (turnsLeft(theta, tr, tc)) {
      theta += kPi;
      if (left >= 0 && right >= 0) {
        std::swap(values[static_cast<std::size_t>(left)][i],
                  values[static_cast<std::size_t>(right)][i]);
      }
    }
    if (theta > kPi) theta -= 2 * kPi;
  }
}

}  // namespace Standin
}  // namespace HalconCpp
