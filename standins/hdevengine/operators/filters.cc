// Filter operators a program line can call: smoothing, edges, texture, points and grey-value
// scaling. Each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFilterOperators[] = {
    bind<&H::MeanImage>("mean_image"),
    bind<&H::MedianImage>("median_image"),
    bind<&H::GaussFilter>("gauss_filter"),
    bind<&H::Emphasize>("emphasize"),
    bind<&H::SobelAmp>("sobel_amp"),
    bind<&H::SmoothImage>("smooth_image"),
    bind<&H::BinomialFilter>("binomial_filter"),
    bind<&H::ScaleImageMax>("scale_image_max"),
    bind<&H::MultImage>("mult_image"),
    bind<&H::TextureLaws>("texture_laws"),
    bind<&H::DotsImage>("dots_image"),
    bind<&H::DerivateGauss>("derivate_gauss"),
    bind<&H::LaplaceOfGauss>("laplace_of_gauss"),
    bind<&H::DiffOfGauss>("diff_of_gauss"),
    bind<&H::Laplace>("laplace"),
    bind<&H::ZeroCrossing>("zero_crossing"),
    bind<&H::EdgesImage>("edges_image"),
};

}  // namespace

OperatorGroup filterOperators() {
  return {kFilterOperators, sizeof kFilterOperators / sizeof kFilterOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
