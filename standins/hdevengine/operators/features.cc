// Region and grey-value features, selection and order a program line can call. Each calls the
// image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFeatureOperators[] = {
    bind<&H::SmallestRectangle1>("smallest_rectangle1"),
    bind<&H::SmallestRectangle2>("smallest_rectangle2"),
    bind<&H::SmallestCircle>("smallest_circle"),
    bind<&H::InnerCircle>("inner_circle"),
    bind<&H::EllipticAxis>("elliptic_axis"),
    bind<&H::OrientationRegion>("orientation_region"),
    bind<&H::RegionFeatures>("region_features"),
    bind<&H::Roundness>("roundness"),
    bind<&H::Circularity>("circularity"),
    bind<&H::Compactness>("compactness"),
    bind<&H::Convexity>("convexity"),
    bind<&H::Rectangularity>("rectangularity"),
    bind<&H::Contlength>("contlength"),
    bind<&H::Eccentricity>("eccentricity"),
    bind<&H::EulerNumber>("euler_number"),
    bind<&H::ConnectAndHoles>("connect_and_holes"),
    bind<&H::AreaHoles>("area_holes"),
    bind<&H::DiameterRegion>("diameter_region"),
    bind<&H::MomentsRegion2nd>("moments_region_2nd"),
    bind<&H::MomentsRegion2ndInvar>("moments_region_2nd_invar"),
    bind<&H::MomentsRegion2ndRelInvar>("moments_region_2nd_rel_invar"),
    bind<&H::MomentsRegion3rd>("moments_region_3rd"),
    bind<&H::MomentsRegion3rdInvar>("moments_region_3rd_invar"),
    bind<&H::MomentsRegionCentral>("moments_region_central"),
    bind<&H::MomentsRegionCentralInvar>("moments_region_central_invar"),
    bind<&H::SelectShape>("select_shape"),
    bind<&H::SelectShapeStd>("select_shape_std"),
    bind<&H::SelectShapeProto>("select_shape_proto"),
    bind<&H::RunlengthFeatures>("runlength_features"),
    bind<&H::InnerRectangle1>("inner_rectangle1"),
    bind<&H::HammingDistance>("hamming_distance"),
    bind<&H::HammingDistanceNorm>("hamming_distance_norm"),
    bind<&H::SelectRegionSpatial>("select_region_spatial"),
    bind<&H::SpatialRelation>("spatial_relation"),
    bind<&H::SortRegion>("sort_region"),
    bind<&H::AreaCenterGray>("area_center_gray"),
    bind<&H::EllipticAxisGray>("elliptic_axis_gray"),
    bind<&H::MomentsGrayPlane>("moments_gray_plane"),
    bind<&H::PlaneDeviation>("plane_deviation"),
    bind<&H::EntropyGray>("entropy_gray"),
    bind<&H::FuzzyEntropy>("fuzzy_entropy"),
    bind<&H::GrayFeatures>("gray_features"),
    bind<&H::SelectGray>("select_gray"),
    bind<&H::GrayHistoAbs>("gray_histo_abs"),
    bind<&H::GrayProjections>("gray_projections"),
    bind<&H::FitSurfaceFirstOrder>("fit_surface_first_order"),
    bind<&H::FitSurfaceSecondOrder>("fit_surface_second_order"),
    bind<&H::CoocFeatureImage>("cooc_feature_image"),
    bind<&H::EstimateNoise>("estimate_noise"),
    bind<&H::GrayRangeRect>("gray_range_rect"),
    bind<&H::AutoThreshold>("auto_threshold"),
    bind<&H::GenCoocMatrix>("gen_cooc_matrix"),
    bind<&H::CoocFeatureMatrix>("cooc_feature_matrix"),
    bind<&H::Histo2dim>("histo_2dim"),
};

}  // namespace

OperatorGroup featureOperators() {
  return {kFeatureOperators, sizeof kFeatureOperators / sizeof kFeatureOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
