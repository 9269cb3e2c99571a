// Point and line geometry a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kGeometryOperators[] = {
    bind<&H::DistancePp>("distance_pp"),
    bind<&H::DistancePl>("distance_pl"),
    bind<&H::DistancePs>("distance_ps"),
    bind<&H::DistanceSl>("distance_sl"),
    bind<&H::DistanceSs>("distance_ss"),
    bind<&H::DistancePr>("distance_pr"),
    bind<&H::DistanceLr>("distance_lr"),
    bind<&H::DistanceSr>("distance_sr"),
    bind<&H::DistanceRrMin>("distance_rr_min"),
    bind<&H::DistanceRrMinDil>("distance_rr_min_dil"),
    bind<&H::DistancePc>("distance_pc"),
    bind<&H::DistanceLc>("distance_lc"),
    bind<&H::DistanceSc>("distance_sc"),
    bind<&H::DistanceCc>("distance_cc"),
    bind<&H::DistanceCcMin>("distance_cc_min"),
    bind<&H::LineOrientation>("line_orientation"),
    bind<&H::LinePosition>("line_position"),
    bind<&H::ProjectionPl>("projection_pl"),
    bind<&H::AngleLx>("angle_lx"),
    bind<&H::AngleLl>("angle_ll"),
    bind<&H::IntersectionLines>("intersection_lines"),
    bind<&H::GetPointsEllipse>("get_points_ellipse"),
};

}  // namespace

OperatorGroup geometryOperators() {
  return {kGeometryOperators, sizeof kGeometryOperators / sizeof kGeometryOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
