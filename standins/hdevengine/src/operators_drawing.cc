// Operators that draw shapes into a window or read its drawing settings; each calls the
// image-processing stand-in's function of the same name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void dispRectangle1(const OperatorArgs& a) {
  H::DispRectangle1(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4]);
}
void dispRectangle2(const OperatorArgs& a) {
  H::DispRectangle2(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4],
                    *a.ctrlIn[5]);
}
void dispCircle(const OperatorArgs& a) {
  H::DispCircle(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3]);
}
void dispLine(const OperatorArgs& a) {
  H::DispLine(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4]);
}
void dispCross(const OperatorArgs& a) {
  H::DispCross(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4]);
}
void dispArrow(const OperatorArgs& a) {
  H::DispArrow(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4], *a.ctrlIn[5]);
}
void dispRegion(const OperatorArgs& a) {
  H::DispRegion(*a.iconicIn[0], *a.ctrlIn[0]);
}
void getDraw(const OperatorArgs& a) {
  H::GetDraw(*a.ctrlIn[0], a.ctrlOut[0]);
}
void getLineWidth(const OperatorArgs& a) {
  H::GetLineWidth(*a.ctrlIn[0], a.ctrlOut[0]);
}
void setRgb(const OperatorArgs& a) {
  H::SetRgb(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3]);
}
void getRgb(const OperatorArgs& a) {
  H::GetRgb(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kDrawingOperators[] = {
    {"disp_rectangle1", 0, 0, 5, 0, dispRectangle1},
    {"disp_rectangle2", 0, 0, 6, 0, dispRectangle2},
    {"disp_circle", 0, 0, 4, 0, dispCircle},
    {"disp_line", 0, 0, 5, 0, dispLine},
    {"disp_cross", 0, 0, 5, 0, dispCross},
    {"disp_arrow", 0, 0, 6, 0, dispArrow},
    {"disp_region", 1, 0, 1, 0, dispRegion},
    {"get_draw", 0, 0, 1, 1, getDraw},
    {"get_line_width", 0, 0, 1, 1, getLineWidth},
    {"set_rgb", 0, 0, 4, 0, setRgb},
    {"get_rgb", 0, 0, 1, 3, getRgb},
};

}  // namespace

OperatorGroup drawingOperators() {
  return {kDrawingOperators, sizeof kDrawingOperators / sizeof kDrawingOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
