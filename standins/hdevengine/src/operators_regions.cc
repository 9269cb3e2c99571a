// Region operators a program line can call: creation, set operations, transformations,
// features and selection. Each calls the image-processing stand-in's function of the same
// name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void genEmptyRegion(const OperatorArgs& a) {
  H::GenEmptyRegion(a.iconicOut[0]);
}
void genRectangle2(const OperatorArgs& a) {
  H::GenRectangle2(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3],
                   *a.ctrlIn[4]);
}
void genEllipse(const OperatorArgs& a) {
  H::GenEllipse(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3],
                *a.ctrlIn[4]);
}
void genRegionLine(const OperatorArgs& a) {
  H::GenRegionLine(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3]);
}
void genRegionPoints(const OperatorArgs& a) {
  H::GenRegionPoints(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void regionToBin(const OperatorArgs& a) {
  H::RegionToBin(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2],
                 *a.ctrlIn[3]);
}
void intersection(const OperatorArgs& a) {
  H::Intersection(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0]);
}
void union1(const OperatorArgs& a) {
  H::Union1(*a.iconicIn[0], a.iconicOut[0]);
}
void union2(const OperatorArgs& a) {
  H::Union2(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0]);
}
void difference(const OperatorArgs& a) {
  H::Difference(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0]);
}
void complement(const OperatorArgs& a) {
  H::Complement(*a.iconicIn[0], a.iconicOut[0]);
}
void fillUp(const OperatorArgs& a) {
  H::FillUp(*a.iconicIn[0], a.iconicOut[0]);
}
void fillUpShape(const OperatorArgs& a) {
  H::FillUpShape(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void shapeTrans(const OperatorArgs& a) {
  H::ShapeTrans(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void smallestRectangle1(const OperatorArgs& a) {
  H::SmallestRectangle1(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2], a.ctrlOut[3]);
}
void smallestRectangle2(const OperatorArgs& a) {
  H::SmallestRectangle2(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2], a.ctrlOut[3],
                        a.ctrlOut[4]);
}
void smallestCircle(const OperatorArgs& a) {
  H::SmallestCircle(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2]);
}
void innerCircle(const OperatorArgs& a) {
  H::InnerCircle(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2]);
}
void ellipticAxis(const OperatorArgs& a) {
  H::EllipticAxis(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2]);
}
void orientationRegion(const OperatorArgs& a) {
  H::OrientationRegion(*a.iconicIn[0], a.ctrlOut[0]);
}
void regionFeatures(const OperatorArgs& a) {
  H::RegionFeatures(*a.iconicIn[0], *a.ctrlIn[0], a.ctrlOut[0]);
}
void selectShape(const OperatorArgs& a) {
  H::SelectShape(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2],
                 *a.ctrlIn[3]);
}
void selectShapeStd(const OperatorArgs& a) {
  H::SelectShapeStd(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void sortRegion(const OperatorArgs& a) {
  H::SortRegion(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kRegionOperators[] = {
    {"gen_empty_region", 0, 1, 0, 0, genEmptyRegion},
    {"gen_rectangle2", 0, 1, 5, 0, genRectangle2},
    {"gen_ellipse", 0, 1, 5, 0, genEllipse},
    {"gen_region_line", 0, 1, 4, 0, genRegionLine},
    {"gen_region_points", 0, 1, 2, 0, genRegionPoints},
    {"region_to_bin", 1, 1, 4, 0, regionToBin},
    {"intersection", 2, 1, 0, 0, intersection},
    {"union1", 1, 1, 0, 0, union1},
    {"union2", 2, 1, 0, 0, union2},
    {"difference", 2, 1, 0, 0, difference},
    {"complement", 1, 1, 0, 0, complement},
    {"fill_up", 1, 1, 0, 0, fillUp},
    {"fill_up_shape", 1, 1, 3, 0, fillUpShape},
    {"shape_trans", 1, 1, 1, 0, shapeTrans},
    {"smallest_rectangle1", 1, 0, 0, 4, smallestRectangle1},
    {"smallest_rectangle2", 1, 0, 0, 5, smallestRectangle2},
    {"smallest_circle", 1, 0, 0, 3, smallestCircle},
    {"inner_circle", 1, 0, 0, 3, innerCircle},
    {"elliptic_axis", 1, 0, 0, 3, ellipticAxis},
    {"orientation_region", 1, 0, 0, 1, orientationRegion},
    {"region_features", 1, 0, 1, 1, regionFeatures},
    {"select_shape", 1, 1, 4, 0, selectShape},
    {"select_shape_std", 1, 1, 2, 0, selectShapeStd},
    {"sort_region", 1, 1, 3, 0, sortRegion},
};

}  // namespace

OperatorGroup regionOperators() {
  return {kRegionOperators, sizeof kRegionOperators / sizeof kRegionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
