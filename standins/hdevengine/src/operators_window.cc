// Graphics window operators a program line can call. Each calls the image-processing
// stand-in's function of the same name; windows a program opens are process-wide, as the
// vendor's are.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void openWindow(const OperatorArgs& a) {
  H::OpenWindow(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4], *a.ctrlIn[5],
                *a.ctrlIn[6], a.ctrlOut[0]);
}
void closeWindow(const OperatorArgs& a) {
  H::CloseWindow(*a.ctrlIn[0]);
}
void clearWindow(const OperatorArgs& a) {
  H::ClearWindow(*a.ctrlIn[0]);
}
void dispObj(const OperatorArgs& a) {
  H::DispObj(*a.iconicIn[0], *a.ctrlIn[0]);
}
void setColor(const OperatorArgs& a) {
  H::SetColor(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void setColored(const OperatorArgs& a) {
  H::SetColored(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void setDraw(const OperatorArgs& a) {
  H::SetDraw(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void setLineWidth(const OperatorArgs& a) {
  H::SetLineWidth(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void getPart(const OperatorArgs& a) {
  H::GetPart(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2], a.ctrlOut[3]);
}
void setPart(const OperatorArgs& a) {
  H::SetPart(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4]);
}
void getWindowExtents(const OperatorArgs& a) {
  H::GetWindowExtents(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2], a.ctrlOut[3]);
}
void setWindowExtents(const OperatorArgs& a) {
  H::SetWindowExtents(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3], *a.ctrlIn[4]);
}
void getOsWindowHandle(const OperatorArgs& a) {
  H::GetOsWindowHandle(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1]);
}
void setWindowParam(const OperatorArgs& a) {
  H::SetWindowParam(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void dumpWindowImage(const OperatorArgs& a) {
  H::DumpWindowImage(a.iconicOut[0], *a.ctrlIn[0]);
}
void dumpWindow(const OperatorArgs& a) {
  H::DumpWindow(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kWindowOperators[] = {
    {"open_window", 0, 0, 7, 1, openWindow},
    {"close_window", 0, 0, 1, 0, closeWindow},
    {"clear_window", 0, 0, 1, 0, clearWindow},
    {"disp_obj", 1, 0, 1, 0, dispObj},
    {"set_color", 0, 0, 2, 0, setColor},
    {"set_colored", 0, 0, 2, 0, setColored},
    {"set_draw", 0, 0, 2, 0, setDraw},
    {"set_line_width", 0, 0, 2, 0, setLineWidth},
    {"get_part", 0, 0, 1, 4, getPart},
    {"set_part", 0, 0, 5, 0, setPart},
    {"get_window_extents", 0, 0, 1, 4, getWindowExtents},
    {"set_window_extents", 0, 0, 5, 0, setWindowExtents},
    {"get_os_window_handle", 0, 0, 1, 2, getOsWindowHandle},
    {"set_window_param", 0, 0, 3, 0, setWindowParam},
    {"dump_window_image", 0, 1, 1, 0, dumpWindowImage},
    {"dump_window", 0, 0, 3, 0, dumpWindow},
};

}  // namespace

OperatorGroup windowOperators() {
  return {kWindowOperators, sizeof kWindowOperators / sizeof kWindowOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
