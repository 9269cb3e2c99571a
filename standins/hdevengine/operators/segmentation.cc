// Thresholds and grey-value statistics a program line can call. Each calls the image-processing
// stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kSegmentationOperators[] = {
    bind<&H::DynThreshold>("dyn_threshold"),
    bind<&H::BackgroundSeg>("background_seg"),
    bind<&H::VarThreshold>("var_threshold"),
    bind<&H::BinaryThreshold>("binary_threshold"),
    bind<&H::MinMaxGray>("min_max_gray"),
    bind<&H::Intensity>("intensity"),
    bind<&H::GrayHisto>("gray_histo"),
    bind<&H::Regiongrowing>("regiongrowing"),
    bind<&H::Watersheds>("watersheds"),
    bind<&H::WatershedsThreshold>("watersheds_threshold"),
    bind<&H::LocalMax>("local_max"),
    bind<&H::LocalMin>("local_min"),
    bind<&H::Plateaus>("plateaus"),
    bind<&H::PlateausCenter>("plateaus_center"),
    bind<&H::Lowlands>("lowlands"),
    bind<&H::LowlandsCenter>("lowlands_center"),
    bind<&H::PartitionRectangle>("partition_rectangle"),
    bind<&H::PartitionDynamic>("partition_dynamic"),
    bind<&H::ExpandRegion>("expand_region"),
    bind<&H::ExpandGray>("expand_gray"),
    bind<&H::ExpandGrayRef>("expand_gray_ref"),
    bind<&H::HistoToThresh>("histo_to_thresh"),
    bind<&H::BinThreshold>("bin_threshold"),
    bind<&H::CharThreshold>("char_threshold"),
    bind<&H::FastThreshold>("fast_threshold"),
    bind<&H::HysteresisThreshold>("hysteresis_threshold"),
    bind<&H::RegiongrowingMean>("regiongrowing_mean"),
    bind<&H::ExpandLine>("expand_line"),
    bind<&H::LocalMaxSubPix>("local_max_sub_pix"),
    bind<&H::LocalMinSubPix>("local_min_sub_pix"),
    bind<&H::SaddlePointsSubPix>("saddle_points_sub_pix"),
    bind<&H::CriticalPointsSubPix>("critical_points_sub_pix"),
};

}  // namespace

OperatorGroup segmentationOperators() {
  return {kSegmentationOperators, sizeof kSegmentationOperators / sizeof kSegmentationOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
