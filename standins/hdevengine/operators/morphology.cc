// Morphology operators a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kMorphologyOperators[] = {
    bind<&H::DilationCircle>("dilation_circle"),
    bind<&H::ErosionCircle>("erosion_circle"),
    bind<&H::OpeningCircle>("opening_circle"),
    bind<&H::ClosingCircle>("closing_circle"),
    bind<&H::DilationRectangle1>("dilation_rectangle1"),
    bind<&H::ErosionRectangle1>("erosion_rectangle1"),
    bind<&H::OpeningRectangle1>("opening_rectangle1"),
    bind<&H::ClosingRectangle1>("closing_rectangle1"),
    bind<&H::Dilation1>("dilation1"),
    bind<&H::Erosion1>("erosion1"),
    bind<&H::Dilation2>("dilation2"),
    bind<&H::Erosion2>("erosion2"),
    bind<&H::MinkowskiAdd1>("minkowski_add1"),
    bind<&H::MinkowskiSub1>("minkowski_sub1"),
    bind<&H::Opening>("opening"),
    bind<&H::Closing>("closing"),
    bind<&H::TopHat>("top_hat"),
    bind<&H::BottomHat>("bottom_hat"),
    bind<&H::HitOrMiss>("hit_or_miss"),
    bind<&H::Boundary>("boundary"),
    bind<&H::MinkowskiAdd2>("minkowski_add2"),
    bind<&H::MinkowskiSub2>("minkowski_sub2"),
    bind<&H::MorphHat>("morph_hat"),
    bind<&H::OpeningSeg>("opening_seg"),
    bind<&H::MorphSkeleton>("morph_skeleton"),
    bind<&H::Thinning>("thinning"),
    bind<&H::Thickening>("thickening"),
    bind<&H::GolayElements>("golay_elements"),
    bind<&H::HitOrMissGolay>("hit_or_miss_golay"),
    bind<&H::ThinningGolay>("thinning_golay"),
    bind<&H::ThickeningGolay>("thickening_golay"),
    bind<&H::DilationGolay>("dilation_golay"),
    bind<&H::ErosionGolay>("erosion_golay"),
    bind<&H::OpeningGolay>("opening_golay"),
    bind<&H::ClosingGolay>("closing_golay"),
    bind<&H::Skeleton>("skeleton"),
    bind<&H::JunctionsSkeleton>("junctions_skeleton"),
    bind<&H::Pruning>("pruning"),
    bind<&H::GrayErosionRect>("gray_erosion_rect"),
    bind<&H::GrayDilationRect>("gray_dilation_rect"),
    bind<&H::GrayOpeningRect>("gray_opening_rect"),
    bind<&H::GrayClosingRect>("gray_closing_rect"),
    bind<&H::GrayErosionShape>("gray_erosion_shape"),
    bind<&H::GrayDilationShape>("gray_dilation_shape"),
    bind<&H::GrayOpeningShape>("gray_opening_shape"),
    bind<&H::GrayClosingShape>("gray_closing_shape"),
    bind<&H::GenDiscSe>("gen_disc_se"),
    bind<&H::GrayErosion>("gray_erosion"),
    bind<&H::GrayDilation>("gray_dilation"),
    bind<&H::GrayOpening>("gray_opening"),
    bind<&H::GrayClosing>("gray_closing"),
    bind<&H::GrayTophat>("gray_tophat"),
    bind<&H::GrayBothat>("gray_bothat"),
};

}  // namespace

OperatorGroup morphologyOperators() {
  return {kMorphologyOperators, sizeof kMorphologyOperators / sizeof kMorphologyOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
