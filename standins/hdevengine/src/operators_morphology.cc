// Morphology operators a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void dilationCircle(const OperatorArgs& a) {
  H::DilationCircle(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void erosionCircle(const OperatorArgs& a) {
  H::ErosionCircle(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void openingCircle(const OperatorArgs& a) {
  H::OpeningCircle(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void closingCircle(const OperatorArgs& a) {
  H::ClosingCircle(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void dilationRectangle1(const OperatorArgs& a) {
  H::DilationRectangle1(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void erosionRectangle1(const OperatorArgs& a) {
  H::ErosionRectangle1(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void openingRectangle1(const OperatorArgs& a) {
  H::OpeningRectangle1(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void closingRectangle1(const OperatorArgs& a) {
  H::ClosingRectangle1(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kMorphologyOperators[] = {
    {"dilation_circle", 1, 1, 1, 0, dilationCircle},
    {"erosion_circle", 1, 1, 1, 0, erosionCircle},
    {"opening_circle", 1, 1, 1, 0, openingCircle},
    {"closing_circle", 1, 1, 1, 0, closingCircle},
    {"dilation_rectangle1", 1, 1, 2, 0, dilationRectangle1},
    {"erosion_rectangle1", 1, 1, 2, 0, erosionRectangle1},
    {"opening_rectangle1", 1, 1, 2, 0, openingRectangle1},
    {"closing_rectangle1", 1, 1, 2, 0, closingRectangle1},
};

}  // namespace

OperatorGroup morphologyOperators() {
  return {kMorphologyOperators, sizeof kMorphologyOperators / sizeof kMorphologyOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
