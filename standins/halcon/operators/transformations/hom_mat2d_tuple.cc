#include <cmath>

#include "core/number_arrays.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {
const bool homMat2dTupleRegistered = [] {
  registerErrorText(H_ERR_MATRIX_SING, "Matrix is singular");
  return true;
}();
}  // namespace

AffineMatrix homMat2dOf(const HTuple& value, const char* op, int n) {
  return numbersOf<6>(value, op, n);
}

HTuple tupleOf(const AffineMatrix& matrix) {
  return tupleOfNumbers(matrix);
}

AffineMatrix composed(const AffineMatrix& l, const AffineMatrix& r) {
  return {l[0] * r[0] + l[1] * r[3], l[0] * r[1] + l[1] * r[4], l[0] * r[2] + l[1] * r[5] + l[2],
          l[3] * r[0] + l[4] * r[3], l[3] * r[1] + l[4] * r[4], l[3] * r[2] + l[4] * r[5] + l[5]};
}

AffineMatrix about(const AffineMatrix& step, double px, double py) {
  return composed(composed({1, 0, px, 0, 1, py}, step), {1, 0, -px, 0, 1, -py});
}

AffineMatrix inverted(const AffineMatrix& m, const char* op) {
  const double det = m[0] * m[4] - m[1] * m[3];
  if (det == 0 || !std::isfinite(det)) fail(op, H_ERR_MATRIX_SING);
  const double a = m[4] / det, b = -m[1] / det, d = -m[3] / det, e = m[0] / det;
  return {a, b, -(a * m[2] + b * m[5]), d, e, -(d * m[2] + e * m[5])};
}

AffineMatrix pixelMatrix(const AffineMatrix& matrix) {
  return composed(composed({1, 0, -0.5, 0, 1, -0.5}, matrix), {1, 0, 0.5, 0, 1, 0.5});
}

}  // namespace Standin
}  // namespace HalconCpp
