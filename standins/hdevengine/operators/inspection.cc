// Variation models a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kInspectionOperators[] = {
    bind<&H::CreateVariationModel>("create_variation_model"),
    bind<&H::TrainVariationModel>("train_variation_model"),
    bind<&H::PrepareVariationModel>("prepare_variation_model"),
    bind<&H::PrepareDirectVariationModel>("prepare_direct_variation_model"),
    bind<&H::CompareVariationModel>("compare_variation_model"),
    bind<&H::CompareExtVariationModel>("compare_ext_variation_model"),
    bind<&H::GetVariationModel>("get_variation_model"),
    bind<&H::GetThreshImagesVariationModel>("get_thresh_images_variation_model"),
    bind<&H::ClearTrainDataVariationModel>("clear_train_data_variation_model"),
    bind<&H::ClearVariationModel>("clear_variation_model"),
    bind<&H::ClearAllVariationModels>("clear_all_variation_models"),
    bind<&H::WriteVariationModel>("write_variation_model"),
    bind<&H::ReadVariationModel>("read_variation_model"),
    bind<&H::SerializeVariationModel>("serialize_variation_model"),
    bind<&H::DeserializeVariationModel>("deserialize_variation_model"),
};

}  // namespace

OperatorGroup inspectionOperators() {
  return {kInspectionOperators, sizeof kInspectionOperators / sizeof kInspectionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
