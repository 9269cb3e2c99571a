// Filter operators a program line can call: smoothing and edges. Each calls the image-processing
// stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFilterOperators[] = {
    bind<&H::MeanImage>("mean_image"),     bind<&H::MedianImage>("median_image"),
    bind<&H::GaussFilter>("gauss_filter"), bind<&H::Emphasize>("emphasize"),
    bind<&H::SobelAmp>("sobel_amp"),
};

}  // namespace

OperatorGroup filterOperators() {
  return {kFilterOperators, sizeof kFilterOperators / sizeof kFilterOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
