// Image operators a program line can call: domains, channels, grey-value arithmetic and
// geometry. Each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kImageOperators[] = {
    bind<&H::ReduceDomain>("reduce_domain"),
    bind<&H::GetDomain>("get_domain"),
    bind<&H::CropDomain>("crop_domain"),
    bind<&H::CropDomainRel>("crop_domain_rel"),
    bind<&H::AddChannels>("add_channels"),
    bind<&H::CropPart>("crop_part"),
    bind<&H::ChangeFormat>("change_format"),
    bind<&H::CropRectangle1>("crop_rectangle1"),
    bind<&H::Rgb1ToGray>("rgb1_to_gray"),
    bind<&H::Rgb3ToGray>("rgb3_to_gray"),
    bind<&H::Decompose3>("decompose3"),
    bind<&H::Compose2>("compose2"),
    bind<&H::Compose4>("compose4"),
    bind<&H::Compose5>("compose5"),
    bind<&H::Compose6>("compose6"),
    bind<&H::Compose7>("compose7"),
    bind<&H::Decompose2>("decompose2"),
    bind<&H::Decompose4>("decompose4"),
    bind<&H::Decompose5>("decompose5"),
    bind<&H::Decompose6>("decompose6"),
    bind<&H::Decompose7>("decompose7"),
    bind<&H::AppendChannel>("append_channel"),
    bind<&H::ChannelsToImage>("channels_to_image"),
    bind<&H::ImageToChannels>("image_to_channels"),
    bind<&H::ChangeDomain>("change_domain"),
    bind<&H::Rectangle1Domain>("rectangle1_domain"),
    bind<&H::ConvertImageType>("convert_image_type"),
    bind<&H::ScaleImage>("scale_image"),
    bind<&H::InvertImage>("invert_image"),
    bind<&H::AddImage>("add_image"),
    bind<&H::SubImage>("sub_image"),
    bind<&H::AbsDiffImage>("abs_diff_image"),
    bind<&H::ZoomImageSize>("zoom_image_size"),
    bind<&H::ZoomImageFactor>("zoom_image_factor"),
    bind<&H::MirrorImage>("mirror_image"),
    bind<&H::RotateImage>("rotate_image"),
};

}  // namespace

OperatorGroup imageOperators() {
  return {kImageOperators, sizeof kImageOperators / sizeof kImageOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
