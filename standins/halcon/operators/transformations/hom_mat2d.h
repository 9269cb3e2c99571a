// Homogeneous 2-D matrices as the vendor passes them: a tuple of six reals, the rows
// [a b c] and [d e f] of the 3x3 matrix whose last row [0 0 1] is left out. x is the row
// coordinate and y the column, so that x' = a x + b y + c and y' = d x + e y + f.
#ifndef QUORVEX_STANDINS_HALCON_HOM_MAT2D_H
#define QUORVEX_STANDINS_HALCON_HOM_MAT2D_H

#include <array>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

using AffineMatrix = std::array<double, 6>;

// The matrix of a control input at position n: 1400+n unless six values, 1200+n for a text.
AffineMatrix homMat2dOf(const HTuple& value, const char* op, int n);
HTuple tupleOf(const AffineMatrix& matrix);

// left * right, as 3x3 matrices: `right` acts first.
AffineMatrix composed(const AffineMatrix& left, const AffineMatrix& right);
// `step` about the fixed point (px, py): translate(p) * step * translate(-p).
AffineMatrix about(const AffineMatrix& step, double px, double py);
// The inverse; 9205 (matrix is singular) in `op` when it has none.
AffineMatrix inverted(const AffineMatrix& matrix, const char* op);
// The matrix for pixel coordinates, whose origin is the centre of the first pixel rather than
// its corner: translate(-0.5, -0.5) * matrix * translate(0.5, 0.5).
AffineMatrix pixelMatrix(const AffineMatrix& matrix);

}  // namespace Standin
}  // namespace HalconCpp

#endif
