// Projective 2-D matrices: a tuple of nine reals, the 3x3 matrix row by row, x the row
// coordinate and y the column, points as homogeneous vectors (x, y, w).
#ifndef QUORVEX_STANDINS_HALCON_PROJ_HOM_MAT2D_H
#define QUORVEX_STANDINS_HALCON_PROJ_HOM_MAT2D_H

#include <array>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

using ProjMatrix = std::array<double, 9>;

// The matrix of a control input at position n: nine values, or an affine matrix's six with
// the row [0 0 1] added; 1400+n for another count.
ProjMatrix projMatrixOf(const HTuple& value, const char* op, int n);
HTuple projTupleOf(const ProjMatrix& m);
ProjMatrix projComposed(const ProjMatrix& left, const ProjMatrix& right);
// The inverse; 9205 (matrix is singular) in `op` when it has none.
ProjMatrix projInverted(const ProjMatrix& m, const char* op);
// The matrix for pixel coordinates, as affine_trans_pixel uses them:
// translate(-0.5, -0.5) * m * translate(0.5, 0.5).
ProjMatrix projPixelMatrix(const ProjMatrix& m);
// The point (x, y) mapped and divided by its w; false when w is 0 (a point at infinity).
bool projApply(const ProjMatrix& m, double x, double y, double* qx, double* qy);

}  // namespace Standin
}  // namespace HalconCpp

#endif
