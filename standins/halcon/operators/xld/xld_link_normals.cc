#include "operators/xld/xld_link_normals.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "core/numbers.h"

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
  for (std::size_t i = 0; i < n; ++i) {
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
