// Homogeneous 2-D matrices built up step by step: each operator puts one transformation
// before the given matrix (in the fixed frame) or, for the _local ones, after it (in the frame
// the matrix describes).
#include <cmath>
#include <string>

#include "core/params.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void HomMat2dIdentity(HTuple* HomMat2DIdentity) {
  ApiScope scope("HomMat2dIdentity");
  setOutput(HomMat2DIdentity, tupleOf({1, 0, 0, 0, 1, 0}));
}

void HomMat2dTranslate(const HTuple& HomMat2D, const HTuple& Tx, const HTuple& Ty,
                       HTuple* HomMat2DTranslate) {
  ApiScope scope("HomMat2dTranslate");
  const char* op = "hom_mat2d_translate";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step{1, 0, oneNumber(Tx, op, 2), 0, 1, oneNumber(Ty, op, 3)};
  setOutput(HomMat2DTranslate, tupleOf(composed(step, matrix)));
}

namespace {

AffineMatrix rotation(double phi) {
  const double c = std::cos(phi), s = std::sin(phi);
  return {c, -s, 0, s, c, 0};
}

// A slant along the x axis turns the y axis towards x by Theta; along y, the x axis towards y.
AffineMatrix slant(double theta, const HTuple& axis, const char* op) {
  const std::string name = oneString(axis, op, 3);
  const double c = std::cos(theta), s = std::sin(theta);
  if (name == "x") return {c, 0, 0, s, 1, 0};
  if (name == "y") return {1, -s, 0, 0, c, 0};
  fail(op, 1303);
}

}  // namespace

void HomMat2dTranslateLocal(const HTuple& HomMat2D, const HTuple& Tx, const HTuple& Ty,
                            HTuple* HomMat2DTranslate) {
  ApiScope scope("HomMat2dTranslateLocal");
  const char* op = "hom_mat2d_translate_local";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step{1, 0, oneNumber(Tx, op, 2), 0, 1, oneNumber(Ty, op, 3)};
  setOutput(HomMat2DTranslate, tupleOf(composed(matrix, step)));
}

void HomMat2dRotate(const HTuple& HomMat2D, const HTuple& Phi, const HTuple& Px, const HTuple& Py,
                    HTuple* HomMat2DRotate) {
  ApiScope scope("HomMat2dRotate");
  const char* op = "hom_mat2d_rotate";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step = rotation(oneNumber(Phi, op, 2));
  setOutput(HomMat2DRotate,
            tupleOf(composed(about(step, oneNumber(Px, op, 3), oneNumber(Py, op, 4)), matrix)));
}

void HomMat2dRotateLocal(const HTuple& HomMat2D, const HTuple& Phi, HTuple* HomMat2DRotate) {
  ApiScope scope("HomMat2dRotateLocal");
  const char* op = "hom_mat2d_rotate_local";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  setOutput(HomMat2DRotate, tupleOf(composed(matrix, rotation(oneNumber(Phi, op, 2)))));
}

void HomMat2dScale(const HTuple& HomMat2D, const HTuple& Sx, const HTuple& Sy, const HTuple& Px,
                   const HTuple& Py, HTuple* HomMat2DScale) {
  ApiScope scope("HomMat2dScale");
  const char* op = "hom_mat2d_scale";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step{oneNumber(Sx, op, 2), 0, 0, 0, oneNumber(Sy, op, 3), 0};
  setOutput(HomMat2DScale,
            tupleOf(composed(about(step, oneNumber(Px, op, 4), oneNumber(Py, op, 5)), matrix)));
}

void HomMat2dScaleLocal(const HTuple& HomMat2D, const HTuple& Sx, const HTuple& Sy,
                        HTuple* HomMat2DScale) {
  ApiScope scope("HomMat2dScaleLocal");
  const char* op = "hom_mat2d_scale_local";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step{oneNumber(Sx, op, 2), 0, 0, 0, oneNumber(Sy, op, 3), 0};
  setOutput(HomMat2DScale, tupleOf(composed(matrix, step)));
}

void HomMat2dSlant(const HTuple& HomMat2D, const HTuple& Theta, const HTuple& Axis,
                   const HTuple& Px, const HTuple& Py, HTuple* HomMat2DSlant) {
  ApiScope scope("HomMat2dSlant");
  const char* op = "hom_mat2d_slant";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step = slant(oneNumber(Theta, op, 2), Axis, op);
  setOutput(HomMat2DSlant,
            tupleOf(composed(about(step, oneNumber(Px, op, 4), oneNumber(Py, op, 5)), matrix)));
}

void HomMat2dSlantLocal(const HTuple& HomMat2D, const HTuple& Theta, const HTuple& Axis,
                        HTuple* HomMat2DSlant) {
  ApiScope scope("HomMat2dSlantLocal");
  const char* op = "hom_mat2d_slant_local";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  setOutput(HomMat2DSlant, tupleOf(composed(matrix, slant(oneNumber(Theta, op, 2), Axis, op))));
}

namespace {

// The reflection about the axis through the origin along (x, y); no axis when both are 0,
// which raises 1300 + n, n the position of x.
AffineMatrix reflection(double x, double y, const char* op, int n) {
  const double norm2 = x * x + y * y;
  if (!(norm2 > 0)) fail(op, 1300 + n);
  return {(x * x - y * y) / norm2, 2 * x * y / norm2,       0,
          2 * x * y / norm2,       (y * y - x * x) / norm2, 0};
}

}  // namespace

void HomMat2dReflect(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py, const HTuple& Qx,
                     const HTuple& Qy, HTuple* HomMat2DReflect) {
  ApiScope scope("HomMat2dReflect");
  const char* op = "hom_mat2d_reflect";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const double px = oneNumber(Px, op, 2), py = oneNumber(Py, op, 3);
  const double qx = oneNumber(Qx, op, 4), qy = oneNumber(Qy, op, 5);
  setOutput(HomMat2DReflect,
            tupleOf(composed(about(reflection(qx - px, qy - py, op, 4), px, py), matrix)));
}

void HomMat2dReflectLocal(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py,
                          HTuple* HomMat2DReflect) {
  ApiScope scope("HomMat2dReflectLocal");
  const char* op = "hom_mat2d_reflect_local";
  const AffineMatrix matrix = homMat2dOf(HomMat2D, op, 1);
  const AffineMatrix step = reflection(oneNumber(Px, op, 2), oneNumber(Py, op, 3), op, 2);
  setOutput(HomMat2DReflect, tupleOf(composed(matrix, step)));
}

}  // namespace HalconCpp
