#include "core/params.h"
#include "operators/transformations/hom_mat2d.h"

namespace HalconCpp {
namespace Standin {

AffineMatrix homMat2dOf(const HTuple& value, const char* op, int n) {
  requireLength(value, 6, op, n);
  AffineMatrix matrix{};
  for (Hlong i = 0; i < 6; ++i) matrix[static_cast<std::size_t>(i)] = numberAt(value, i, op, n);
  return matrix;
}

HTuple tupleOf(const AffineMatrix& matrix) {
  HTuple tuple;
  for (double v : matrix) tuple.Append(HTuple(v));
  return tuple;
}

AffineMatrix composed(const AffineMatrix& l, const AffineMatrix& r) {
  return {l[0] * r[0] + l[1] * r[3], l[0] * r[1] + l[1] * r[4], l[0] * r[2] + l[1] * r[5] + l[2],
          l[3] * r[0] + l[4] * r[3], l[3] * r[1] + l[4] * r[4], l[3] * r[2] + l[4] * r[5] + l[5]};
}

}  // namespace Standin
}  // namespace HalconCpp
