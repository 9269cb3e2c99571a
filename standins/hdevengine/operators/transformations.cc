// 2-D transformation operators a program line can call; each calls the image-processing
// stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kTransformationOperators[] = {
    bind<&H::HomMat2dIdentity>("hom_mat2d_identity"),
    bind<&H::HomMat2dTranslate>("hom_mat2d_translate"),
};

}  // namespace

OperatorGroup transformationOperators() {
  return {kTransformationOperators,
          sizeof kTransformationOperators / sizeof kTransformationOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
