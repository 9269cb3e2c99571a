// Region features, selection and order a program line can call. Each calls the image-processing
// stand-in's function of the same name.
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
    bind<&H::SelectShape>("select_shape"),
    bind<&H::SelectShapeStd>("select_shape_std"),
    bind<&H::SortRegion>("sort_region"),
};

}  // namespace

OperatorGroup featureOperators() {
  return {kFeatureOperators, sizeof kFeatureOperators / sizeof kFeatureOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
