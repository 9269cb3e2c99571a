// Text and font operators a program line can call; each calls the image-processing
// stand-in's function of the same name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void setTposition(const OperatorArgs& a) {
  H::SetTposition(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void getTposition(const OperatorArgs& a) {
  H::GetTposition(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1]);
}
void writeString(const OperatorArgs& a) {
  H::WriteString(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void newLine(const OperatorArgs& a) {
  H::NewLine(*a.ctrlIn[0]);
}
void setFont(const OperatorArgs& a) {
  H::SetFont(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void getFont(const OperatorArgs& a) {
  H::GetFont(*a.ctrlIn[0], a.ctrlOut[0]);
}
void queryFont(const OperatorArgs& a) {
  H::QueryFont(*a.ctrlIn[0], a.ctrlOut[0]);
}
void getStringExtents(const OperatorArgs& a) {
  H::GetStringExtents(*a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2],
                      a.ctrlOut[3]);
}
void getFontExtents(const OperatorArgs& a) {
  H::GetFontExtents(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2], a.ctrlOut[3]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kTextOperators[] = {
    {"set_tposition", 0, 0, 3, 0, setTposition},
    {"get_tposition", 0, 0, 1, 2, getTposition},
    {"write_string", 0, 0, 2, 0, writeString},
    {"new_line", 0, 0, 1, 0, newLine},
    {"set_font", 0, 0, 2, 0, setFont},
    {"get_font", 0, 0, 1, 1, getFont},
    {"query_font", 0, 0, 1, 1, queryFont},
    {"get_string_extents", 0, 0, 2, 4, getStringExtents},
    {"get_font_extents", 0, 0, 1, 4, getFontExtents},
};

}  // namespace

OperatorGroup textOperators() {
  return {kTextOperators, sizeof kTextOperators / sizeof kTextOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
