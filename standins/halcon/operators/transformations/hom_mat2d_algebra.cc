// Homogeneous 2-D matrices combined, inverted and taken apart, and rigid and similarity
// transformations fitted to points.
#include <cmath>

#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The least-squares fit q = s R p + t over point pairs, s fixed to 1 when `scaled` is false.
AffineMatrix fitted(const HTuple& px, const HTuple& py, const HTuple& qx, const HTuple& qy,
                    bool scaled, const char* op) {
  const Hlong n = px.Length();
  if (n < 2) fail(op, 1401);
  requireLength(py, n, op, 2);
  requireLength(qx, n, op, 3);
  requireLength(qy, n, op, 4);
  double mpx = 0, mpy = 0, mqx = 0, mqy = 0;
  for (Hlong i = 0; i < n; ++i) {
    mpx += numberAt(px, i, op, 1), mpy += numberAt(py, i, op, 2);
    mqx += numberAt(qx, i, op, 3), mqy += numberAt(qy, i, op, 4);
  }
  mpx /= double(n), mpy /= double(n), mqx /= double(n), mqy /= double(n);
  double dot = 0, cross = 0, spread = 0;
  for (Hlong i = 0; i < n; ++i) {
    const double ax = numberAt(px, i, op, 1) - mpx, ay = numberAt(py, i, op, 2) - mpy;
    const double bx = numberAt(qx, i, op, 3) - mqx, by = numberAt(qy, i, op, 4) - mqy;
    dot += ax * bx + ay * by;
    cross += ax * by - ay * bx;
    spread += ax * ax + ay * ay;
  }
  if (spread == 0) fail(op, H_ERR_MATRIX_SING);
  const double phi = std::atan2(cross, dot);
  const double s = scaled ? std::hypot(dot, cross) / spread : 1.0;
  const double a = s * std::cos(phi), b = s * std::sin(phi);
  return {a, -b, mqx - (a * mpx - b * mpy), b, a, mqy - (b * mpx + a * mpy)};
}

}  // namespace

void HomMat2dCompose(const HTuple& HomMat2DLeft, const HTuple& HomMat2DRight,
                     HTuple* HomMat2DCompose) {
  ApiScope scope("HomMat2dCompose");
  const char* op = "hom_mat2d_compose";
  const AffineMatrix left = homMat2dOf(HomMat2DLeft, op, 1);
  setOutput(HomMat2DCompose, tupleOf(composed(left, homMat2dOf(HomMat2DRight, op, 2))));
}

void HomMat2dInvert(const HTuple& HomMat2D, HTuple* HomMat2DInvert) {
  ApiScope scope("HomMat2dInvert");
  const char* op = "hom_mat2d_invert";
  setOutput(HomMat2DInvert, tupleOf(inverted(homMat2dOf(HomMat2D, op, 1), op)));
}

void HomMat2dTranspose(const HTuple& HomMat2D, HTuple* HomMat2DTranspose) {
  ApiScope scope("HomMat2dTranspose");
  const AffineMatrix m = homMat2dOf(HomMat2D, "hom_mat2d_transpose", 1);
  // The transpose is no longer affine: all nine values.
  HTuple result;
  for (double v : {m[0], m[3], 0.0, m[1], m[4], 0.0, m[2], m[5], 1.0}) result.Append(HTuple(v));
  setOutput(HomMat2DTranspose, result);
}

void HomMat2dDeterminant(const HTuple& HomMat2D, HTuple* Determinant) {
  ApiScope scope("HomMat2dDeterminant");
  const AffineMatrix m = homMat2dOf(HomMat2D, "hom_mat2d_determinant", 1);
  setOutput(Determinant, HTuple(m[0] * m[4] - m[1] * m[3]));
}

// HomMat2D = translate(Tx, Ty) * rotate(Phi) * slant(Theta, 'y') * scale(Sx, Sy), that is
// [Sx cos Phi, -Sy sin(Phi + Theta), Tx, Sx sin Phi, Sy cos(Phi + Theta), Ty].
void HomMat2dToAffinePar(const HTuple& HomMat2D, HTuple* Sx, HTuple* Sy, HTuple* Phi, HTuple* Theta,
                         HTuple* Tx, HTuple* Ty) {
  ApiScope scope("HomMat2dToAffinePar");
  const AffineMatrix m = homMat2dOf(HomMat2D, "hom_mat2d_to_affine_par", 1);
  const double sx = std::hypot(m[0], m[3]);
  // A reflection shows as a negative Sy.
  const double sy = (m[0] * m[4] - m[1] * m[3] < 0 ? -1 : 1) * std::hypot(m[1], m[4]);
  const double phi = std::atan2(m[3], m[0]);
  double theta = sy == 0 ? 0 : std::atan2(-m[1] / sy, m[4] / sy) - phi;
  if (theta > kPi) theta -= 2 * kPi;
  if (theta <= -kPi) theta += 2 * kPi;
  setOutput(Sx, HTuple(sx));
  setOutput(Sy, HTuple(sy));
  setOutput(Phi, HTuple(phi));
  setOutput(Theta, HTuple(theta));
  setOutput(Tx, HTuple(m[2]));
  setOutput(Ty, HTuple(m[5]));
}

void VectorAngleToRigid(const HTuple& Row1, const HTuple& Column1, const HTuple& Angle1,
                        const HTuple& Row2, const HTuple& Column2, const HTuple& Angle2,
                        HTuple* HomMat2D) {
  ApiScope scope("VectorAngleToRigid");
  const char* op = "vector_angle_to_rigid";
  const double r1 = oneNumber(Row1, op, 1), c1 = oneNumber(Column1, op, 2);
  const double a1 = oneNumber(Angle1, op, 3), r2 = oneNumber(Row2, op, 4);
  const double c2 = oneNumber(Column2, op, 5), a2 = oneNumber(Angle2, op, 6);
  const double c = std::cos(a2 - a1), s = std::sin(a2 - a1);
  // Turned about (Row1, Column1), then moved onto (Row2, Column2).
  setOutput(HomMat2D, tupleOf({c, -s, r2 - (c * r1 - s * c1), s, c, c2 - (s * r1 + c * c1)}));
}

void VectorToRigid(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                   HTuple* HomMat2D) {
  ApiScope scope("VectorToRigid");
  setOutput(HomMat2D, tupleOf(fitted(Px, Py, Qx, Qy, false, "vector_to_rigid")));
}

void VectorToSimilarity(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                        HTuple* HomMat2D) {
  ApiScope scope("VectorToSimilarity");
  setOutput(HomMat2D, tupleOf(fitted(Px, Py, Qx, Qy, true, "vector_to_similarity")));
}

}  // namespace HalconCpp
