// Operators that draw shapes into a window or read its drawing settings; each calls the
// image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kDrawingOperators[] = {
    bind<&H::DispRectangle1>("disp_rectangle1"),
    bind<&H::DispRectangle2>("disp_rectangle2"),
    bind<&H::DispCircle>("disp_circle"),
    bind<&H::DispLine>("disp_line"),
    bind<&H::DispCross>("disp_cross"),
    bind<&H::DispArrow>("disp_arrow"),
    bind<&H::DispRegion>("disp_region"),
    bind<&H::DispEllipse>("disp_ellipse"),
    bind<&H::DispArc>("disp_arc"),
    bind<&H::DispPolygon>("disp_polygon"),
    bind<&H::DispImage>("disp_image"),
    bind<&H::DispColor>("disp_color"),
    bind<&H::DispChannel>("disp_channel"),
    bind<&H::GetDraw>("get_draw"),
    bind<&H::GetLineWidth>("get_line_width"),
    bind<&H::SetRgb>("set_rgb"),
    bind<&H::GetRgb>("get_rgb"),
};

}  // namespace

OperatorGroup drawingOperators() {
  return {kDrawingOperators, sizeof kDrawingOperators / sizeof kDrawingOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
