// Region operators a program line can call: creation, access, set operations and
// transformations.
// Each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kRegionOperators[] = {
    bind<&H::GenEmptyRegion>("gen_empty_region"),
    bind<&H::GenRectangle2>("gen_rectangle2"),
    bind<&H::GenEllipse>("gen_ellipse"),
    bind<&H::GenRegionLine>("gen_region_line"),
    bind<&H::GenRegionPoints>("gen_region_points"),
    bind<&H::GenRegionPolygon>("gen_region_polygon"),
    bind<&H::GenRegionPolygonFilled>("gen_region_polygon_filled"),
    bind<&H::RegionToBin>("region_to_bin"),
    bind<&H::RegionToMean>("region_to_mean"),
    bind<&H::GetRegionPoints>("get_region_points"),
    bind<&H::GetRegionRuns>("get_region_runs"),
    bind<&H::GetRegionContour>("get_region_contour"),
    bind<&H::GetRegionPolygon>("get_region_polygon"),
    bind<&H::GetRegionChain>("get_region_chain"),
    bind<&H::GetRegionConvex>("get_region_convex"),
    bind<&H::RegionToLabel>("region_to_label"),
    bind<&H::GenRegionRuns>("gen_region_runs"),
    bind<&H::EliminateRuns>("eliminate_runs"),
    bind<&H::RunlengthDistribution>("runlength_distribution"),
    bind<&H::GenGridRegion>("gen_grid_region"),
    bind<&H::GenCheckerRegion>("gen_checker_region"),
    bind<&H::SelectRegionPoint>("select_region_point"),
    bind<&H::GetRegionIndex>("get_region_index"),
    bind<&H::Intersection>("intersection"),
    bind<&H::Union1>("union1"),
    bind<&H::Union2>("union2"),
    bind<&H::Difference>("difference"),
    bind<&H::Complement>("complement"),
    bind<&H::FillUp>("fill_up"),
    bind<&H::FillUpShape>("fill_up_shape"),
    bind<&H::ShapeTrans>("shape_trans"),
    bind<&H::MoveRegion>("move_region"),
    bind<&H::TransposeRegion>("transpose_region"),
    bind<&H::MirrorRegion>("mirror_region"),
    bind<&H::ZoomRegion>("zoom_region"),
    bind<&H::ClipRegion>("clip_region"),
    bind<&H::ClipRegionRel>("clip_region_rel"),
    bind<&H::TestRegionPoint>("test_region_point"),
    bind<&H::TestEqualRegion>("test_equal_region"),
    bind<&H::SymmDifference>("symm_difference"),
    bind<&H::TestSubsetRegion>("test_subset_region"),
    bind<&H::DistanceTransform>("distance_transform"),
    bind<&H::LabelToRegion>("label_to_region"),
};

}  // namespace

OperatorGroup regionOperators() {
  return {kRegionOperators, sizeof kRegionOperators / sizeof kRegionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
