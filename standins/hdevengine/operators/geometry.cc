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
