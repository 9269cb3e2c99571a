// Tool operators a program line can call (the 1-D functions, the Hough transform and lines); each
// calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kToolOperators[] = {
    bind<&H::CreateFunct1dArray>("create_funct_1d_array"),
    bind<&H::CreateFunct1dPairs>("create_funct_1d_pairs"),
    bind<&H::Funct1dToPairs>("funct_1d_to_pairs"),
    bind<&H::GetPairFunct1d>("get_pair_funct_1d"),
    bind<&H::GetYValueFunct1d>("get_y_value_funct_1d"),
    bind<&H::NumPointsFunct1d>("num_points_funct_1d"),
    bind<&H::XRangeFunct1d>("x_range_funct_1d"),
    bind<&H::YRangeFunct1d>("y_range_funct_1d"),
    bind<&H::ScaleYFunct1d>("scale_y_funct_1d"),
    bind<&H::NegateFunct1d>("negate_funct_1d"),
    bind<&H::AbsFunct1d>("abs_funct_1d"),
    bind<&H::TransformFunct1d>("transform_funct_1d"),
    bind<&H::SampleFunct1d>("sample_funct_1d"),
    bind<&H::InvertFunct1d>("invert_funct_1d"),
    bind<&H::ComposeFunct1d>("compose_funct_1d"),
    bind<&H::DerivateFunct1d>("derivate_funct_1d"),
    bind<&H::IntegrateFunct1d>("integrate_funct_1d"),
    bind<&H::ZeroCrossingsFunct1d>("zero_crossings_funct_1d"),
    bind<&H::LocalMinMaxFunct1d>("local_min_max_funct_1d"),
    bind<&H::SmoothFunct1dMean>("smooth_funct_1d_mean"),
    bind<&H::SmoothFunct1dGauss>("smooth_funct_1d_gauss"),
    bind<&H::WriteFunct1d>("write_funct_1d"),
    bind<&H::ReadFunct1d>("read_funct_1d"),
    // The Hough transform.
    bind<&H::HoughLineTrans>("hough_line_trans"),
    bind<&H::HoughLines>("hough_lines"),
    bind<&H::HoughLineTransDir>("hough_line_trans_dir"),
    bind<&H::HoughLinesDir>("hough_lines_dir"),
    bind<&H::HoughCircleTrans>("hough_circle_trans"),
    bind<&H::HoughCircles>("hough_circles"),
    bind<&H::SelectMatchingLines>("select_matching_lines"),
    // Lines by their end points.
    bind<&H::SelectLines>("select_lines"),
    bind<&H::PartitionLines>("partition_lines"),
    bind<&H::SelectLinesLongest>("select_lines_longest"),
    bind<&H::IntersectionLl>("intersection_ll"),
};

}  // namespace

OperatorGroup toolOperators() {
  return {kToolOperators, sizeof kToolOperators / sizeof kToolOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
