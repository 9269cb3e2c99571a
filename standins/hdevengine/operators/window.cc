// Graphics window operators a program line can call. Each calls the image-processing
// stand-in's function of the same name; windows a program opens are process-wide, as the
// vendor's are.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kWindowOperators[] = {
    bind<&H::OpenWindow>("open_window"),
    bind<&H::CloseWindow>("close_window"),
    bind<&H::ClearWindow>("clear_window"),
    bind<&H::DispObj>("disp_obj"),
    bind<&H::SetColor>("set_color"),
    bind<&H::SetColored>("set_colored"),
    bind<&H::SetDraw>("set_draw"),
    bind<&H::SetLineWidth>("set_line_width"),
    bind<&H::SetShape>("set_shape"),
    bind<&H::SetLut>("set_lut"),
    bind<&H::GetLut>("get_lut"),
    bind<&H::QueryLut>("query_lut"),
    bind<&H::WriteLut>("write_lut"),
    bind<&H::DispLut>("disp_lut"),
    bind<&H::SetLutStyle>("set_lut_style"),
    bind<&H::GetLutStyle>("get_lut_style"),
    bind<&H::SetFixedLut>("set_fixed_lut"),
    bind<&H::GetFixedLut>("get_fixed_lut"),
    bind<&H::SetTshape>("set_tshape"),
    bind<&H::GetTshape>("get_tshape"),
    bind<&H::QueryTshape>("query_tshape"),
    bind<&H::SetMshape>("set_mshape"),
    bind<&H::GetMshape>("get_mshape"),
    bind<&H::QueryMshape>("query_mshape"),
    bind<&H::SetPaint>("set_paint"),
    bind<&H::GetPart>("get_part"),
    bind<&H::SetPart>("set_part"),
    bind<&H::GetWindowExtents>("get_window_extents"),
    bind<&H::SetWindowExtents>("set_window_extents"),
    bind<&H::GetOsWindowHandle>("get_os_window_handle"),
    bind<&H::SetWindowParam>("set_window_param"),
    bind<&H::DumpWindowImage>("dump_window_image"),
    bind<&H::DumpWindow>("dump_window"),
    bind<&H::GetMposition>("get_mposition"),
    bind<&H::GetMpositionSubPix>("get_mposition_sub_pix"),
    bind<&H::GetMbutton>("get_mbutton"),
    bind<&H::GetMbuttonSubPix>("get_mbutton_sub_pix"),
    bind<&H::ReadChar>("read_char"),
    bind<&H::ReadString>("read_string"),
    bind<&H::GetShape>("get_shape"),
    bind<&H::GetPaint>("get_paint"),
    bind<&H::GetColor>("get_color"),
    bind<&H::SetGray>("set_gray"),
    bind<&H::SetPixel>("set_pixel"),
    bind<&H::GetPixel>("get_pixel"),
    bind<&H::SetHsi>("set_hsi"),
    bind<&H::GetHsi>("get_hsi"),
    bind<&H::SetLineStyle>("set_line_style"),
    bind<&H::GetLineStyle>("get_line_style"),
    bind<&H::SetInsert>("set_insert"),
    bind<&H::GetInsert>("get_insert"),
    bind<&H::SetFix>("set_fix"),
    bind<&H::GetFix>("get_fix"),
    bind<&H::SetComprise>("set_comprise"),
    bind<&H::GetComprise>("get_comprise"),
    bind<&H::SetPartStyle>("set_part_style"),
    bind<&H::GetPartStyle>("get_part_style"),
    bind<&H::SetLineApprox>("set_line_approx"),
    bind<&H::GetLineApprox>("get_line_approx"),
    bind<&H::SetIcon>("set_icon"),
    bind<&H::GetIcon>("get_icon"),
    bind<&H::QueryColor>("query_color"),
    bind<&H::QueryAllColors>("query_all_colors"),
    bind<&H::QueryPaint>("query_paint"),
    bind<&H::QueryShape>("query_shape"),
    bind<&H::QueryInsert>("query_insert"),
    bind<&H::QueryLineWidth>("query_line_width"),
    bind<&H::QueryColored>("query_colored"),
    bind<&H::QueryGray>("query_gray"),
    bind<&H::QueryWindowType>("query_window_type"),
    bind<&H::SetWindowType>("set_window_type"),
    bind<&H::GetWindowType>("get_window_type"),
    bind<&H::SetWindowAttr>("set_window_attr"),
    bind<&H::GetWindowAttr>("get_window_attr"),
    bind<&H::ClearRectangle>("clear_rectangle"),
    bind<&H::CopyRectangle>("copy_rectangle"),
    bind<&H::MoveRectangle>("move_rectangle"),
};

}  // namespace

OperatorGroup windowOperators() {
  return {kWindowOperators, sizeof kWindowOperators / sizeof kWindowOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
