// Points and pixels through an affine matrix, element by element.
#include "core/params.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

void transformAll(const AffineMatrix& m, const HTuple& xs, const HTuple& ys, HTuple* outX,
                  HTuple* outY, const char* op) {
  requireLength(ys, xs.Length(), op, 3);
  HTuple qx, qy;
  for (Hlong i = 0; i < xs.Length(); ++i) {
    const double x = numberAt(xs, i, op, 2), y = numberAt(ys, i, op, 3);
    qx.Append(HTuple(m[0] * x + m[1] * y + m[2]));
    qy.Append(HTuple(m[3] * x + m[4] * y + m[5]));
  }
  setOutput(outX, qx);
  setOutput(outY, qy);
}

}  // namespace

void AffineTransPoint2d(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py, HTuple* Qx,
                        HTuple* Qy) {
  ApiScope scope("AffineTransPoint2d");
  const char* op = "affine_trans_point_2d";
  transformAll(homMat2dOf(HomMat2D, op, 1), Px, Py, Qx, Qy, op);
}

void AffineTransPixel(const HTuple& HomMat2D, const HTuple& Row, const HTuple& Col,
                      HTuple* RowTrans, HTuple* ColTrans) {
  ApiScope scope("AffineTransPixel");
  const char* op = "affine_trans_pixel";
  transformAll(pixelMatrix(homMat2dOf(HomMat2D, op, 1)), Row, Col, RowTrans, ColTrans, op);
}

}  // namespace HalconCpp
