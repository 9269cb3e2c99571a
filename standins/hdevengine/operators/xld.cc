// XLD contour operators a program line can call. Each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kXldOperators[] = {
    bind<&H::GenCircleContourXld>("gen_circle_contour_xld"),
    bind<&H::GenEllipseContourXld>("gen_ellipse_contour_xld"),
    bind<&H::GenRectangle2ContourXld>("gen_rectangle2_contour_xld"),
    bind<&H::GenContourRegionXld>("gen_contour_region_xld"),
    bind<&H::GenRegionContourXld>("gen_region_contour_xld"),
    bind<&H::AffineTransContourXld>("affine_trans_contour_xld"),
    bind<&H::GetContourXld>("get_contour_xld"),
    bind<&H::ContourPointNumXld>("contour_point_num_xld"),
    bind<&H::GetContourAttribXld>("get_contour_attrib_xld"),
    bind<&H::QueryContourAttribsXld>("query_contour_attribs_xld"),
    bind<&H::TestClosedXld>("test_closed_xld"),
    bind<&H::LengthXld>("length_xld"),
    bind<&H::AreaCenterXld>("area_center_xld"),
    bind<&H::SmallestRectangle1Xld>("smallest_rectangle1_xld"),
    bind<&H::SmallestRectangle2Xld>("smallest_rectangle2_xld"),
    bind<&H::SelectShapeXld>("select_shape_xld"),
    bind<&H::AreaCenterPointsXld>("area_center_points_xld"),
    bind<&H::SmallestCircleXld>("smallest_circle_xld"),
    bind<&H::EllipticAxisXld>("elliptic_axis_xld"),
    bind<&H::EllipticAxisPointsXld>("elliptic_axis_points_xld"),
    bind<&H::OrientationXld>("orientation_xld"),
    bind<&H::OrientationPointsXld>("orientation_points_xld"),
    bind<&H::CircularityXld>("circularity_xld"),
    bind<&H::CompactnessXld>("compactness_xld"),
    bind<&H::ConvexityXld>("convexity_xld"),
    bind<&H::RectangularityXld>("rectangularity_xld"),
    bind<&H::DiameterXld>("diameter_xld"),
    bind<&H::EccentricityXld>("eccentricity_xld"),
    bind<&H::EccentricityPointsXld>("eccentricity_points_xld"),
    bind<&H::MomentsXld>("moments_xld"),
    bind<&H::MomentsPointsXld>("moments_points_xld"),
    bind<&H::MomentsAnyXld>("moments_any_xld"),
    bind<&H::MomentsAnyPointsXld>("moments_any_points_xld"),
    bind<&H::TestSelfIntersectionXld>("test_self_intersection_xld"),
    bind<&H::ShapeTransXld>("shape_trans_xld"),
    bind<&H::FitLineContourXld>("fit_line_contour_xld"),
    bind<&H::FitCircleContourXld>("fit_circle_contour_xld"),
    bind<&H::FitEllipseContourXld>("fit_ellipse_contour_xld"),
    bind<&H::FitRectangle2ContourXld>("fit_rectangle2_contour_xld"),
    bind<&H::DistEllipseContourXld>("dist_ellipse_contour_xld"),
    bind<&H::DistEllipseContourPointsXld>("dist_ellipse_contour_points_xld"),
    bind<&H::DistRectangle2ContourPointsXld>("dist_rectangle2_contour_points_xld"),
    bind<&H::SmoothContoursXld>("smooth_contours_xld"),
    bind<&H::UnionAdjacentContoursXld>("union_adjacent_contours_xld"),
    bind<&H::SegmentContoursXld>("segment_contours_xld"),
    bind<&H::CloseContoursXld>("close_contours_xld"),
    bind<&H::GenCrossContourXld>("gen_cross_contour_xld"),
    bind<&H::SelectContoursXld>("select_contours_xld"),
    bind<&H::GetContourGlobalAttribXld>("get_contour_global_attrib_xld"),
    bind<&H::QueryContourGlobalAttribsXld>("query_contour_global_attribs_xld"),
    bind<&H::EdgesSubPix>("edges_sub_pix"),
    bind<&H::LinesGauss>("lines_gauss"),
    bind<&H::LinesFacet>("lines_facet"),
    bind<&H::ThresholdSubPix>("threshold_sub_pix"),
    bind<&H::ZeroCrossingSubPix>("zero_crossing_sub_pix"),
    bind<&H::DispXld>("disp_xld"),
    bind<&H::GenPolygonsXld>("gen_polygons_xld"),
    bind<&H::GetPolygonXld>("get_polygon_xld"),
    bind<&H::GetLinesXld>("get_lines_xld"),
    bind<&H::SplitContoursXld>("split_contours_xld"),
    bind<&H::AffineTransPolygonXld>("affine_trans_polygon_xld"),
    bind<&H::GenRegionPolygonXld>("gen_region_polygon_xld"),
    bind<&H::PaintXld>("paint_xld"),
    bind<&H::CropContoursXld>("crop_contours_xld"),
    bind<&H::ClipContoursXld>("clip_contours_xld"),
    bind<&H::ClipEndPointsContoursXld>("clip_end_points_contours_xld"),
    bind<&H::SortContoursXld>("sort_contours_xld"),
    bind<&H::RegressContoursXld>("regress_contours_xld"),
    bind<&H::GetRegressParamsXld>("get_regress_params_xld"),
    bind<&H::GetContourAngleXld>("get_contour_angle_xld"),
    bind<&H::DistanceContoursXld>("distance_contours_xld"),
    bind<&H::UnionStraightContoursXld>("union_straight_contours_xld"),
    bind<&H::IntersectionClosedContoursXld>("intersection_closed_contours_xld"),
    bind<&H::Union2ClosedContoursXld>("union2_closed_contours_xld"),
    bind<&H::DifferenceClosedContoursXld>("difference_closed_contours_xld"),
    bind<&H::SymmDifferenceClosedContoursXld>("symm_difference_closed_contours_xld"),
    bind<&H::IntersectionClosedPolygonsXld>("intersection_closed_polygons_xld"),
    bind<&H::Union2ClosedPolygonsXld>("union2_closed_polygons_xld"),
    bind<&H::DifferenceClosedPolygonsXld>("difference_closed_polygons_xld"),
    bind<&H::SymmDifferenceClosedPolygonsXld>("symm_difference_closed_polygons_xld"),
    bind<&H::GenParallelContourXld>("gen_parallel_contour_xld"),
};

}  // namespace

OperatorGroup xldOperators() {
  return {kXldOperators, sizeof kXldOperators / sizeof kXldOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
