// Homogeneous 2-D matrices built up step by step: each operator puts one transformation
// before the given matrix (in the fixed frame) or, for the _local ones, after it (in the frame
// the matrix describes).
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

}  // namespace HalconCpp
