#include "operators/transformations/proj_hom_mat2d.h"

#include <cmath>

#include "core/number_arrays.h"
#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

ProjMatrix projMatrixOf(const HTuple& value, const char* op, int n) {
  const Hlong count = value.Length();
  if (count != 6 && count != 9) requireLength(value, 9, op, n);
  ProjMatrix m{0, 0, 0, 0, 0, 0, 0, 0, 1};
  for (Hlong i = 0; i < count; ++i) m[static_cast<std::size_t>(i)] = numberAt(value, i, op, n);
  return m;
}

HTuple projTupleOf(const ProjMatrix& m) {
  return tupleOfNumbers(m);
}

ProjMatrix projComposed(const ProjMatrix& l, const ProjMatrix& r) {
  ProjMatrix out{};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) {
      double sum = 0;
      for (std::size_t k = 0; k < 3; ++k) sum += l[i * 3 + k] * r[k * 3 + j];
      out[i * 3 + j] = sum;
    }
  }
  return out;
}

ProjMatrix projInverted(const ProjMatrix& m, const char* op) {
  const ProjMatrix c{
      m[4] * m[8] - m[5] * m[7], m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
      m[5] * m[6] - m[3] * m[8], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
      m[3] * m[7] - m[4] * m[6], m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
  const double det = m[0] * c[0] + m[1] * c[3] + m[2] * c[6];
  if (det == 0 || !std::isfinite(det)) fail(op, H_ERR_MATRIX_SING);
  ProjMatrix out{};
  for (std::size_t i = 0; i < 9; ++i) out[i] = c[i] / det;
  return out;
}

ProjMatrix projPixelMatrix(const ProjMatrix& m) {
  return projComposed(projComposed({1, 0, -0.5, 0, 1, -0.5, 0, 0, 1}, m),
                      {1, 0, 0.5, 0, 1, 0.5, 0, 0, 1});
}

bool projApply(const ProjMatrix& m, double x, double y, double* qx, double* qy) {
  const double w = m[6] * x + m[7] * y + m[8];
  if (w == 0 || !std::isfinite(w)) return false;
  *qx = (m[0] * x + m[1] * y + m[2]) / w;
  *qy = (m[3] * x + m[4] * y + m[5]) / w;
  return true;
}

}  // namespace Standin
}  // namespace HalconCpp
