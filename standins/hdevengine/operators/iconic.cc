// Image, region, contour and object operators a program line can call. Each calls the
// image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// Writes into the image in place: every variable sharing it sees the change.

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kIconicOperators[] = {
    bind<&H::GenImageConst>("gen_image_const"),
    bind<&H::ReadImage>("read_image"),
    bind<&H::WriteImage>("write_image"),
    bind<&H::GetImageSize>("get_image_size"),
    bind<&H::CountChannels>("count_channels"),
    bind<&H::AccessChannel>("access_channel"),
    bind<&H::Compose3>("compose3"),
    bind<&H::GetGrayval>("get_grayval"),
    bind<&H::GetGrayvalInterpolated>("get_grayval_interpolated"),
    bind<&H::GetGrayvalContourXld>("get_grayval_contour_xld"),
    bind<&H::TileImages>("tile_images"),
    bind<&H::TileChannels>("tile_channels"),
    bind<&H::TileImagesOffset>("tile_images_offset"),
    bind<&H::SetGrayval>("set_grayval"),
    bind<&H::PaintRegion>("paint_region"),
    bind<&H::OverpaintRegion>("overpaint_region"),
    bind<&H::OverpaintGray>("overpaint_gray"),
    bind<&H::PaintGray>("paint_gray"),
    bind<&H::GenImageGrayRamp>("gen_image_gray_ramp"),
    bind<&H::GenImageSurfaceFirstOrder>("gen_image_surface_first_order"),
    bind<&H::GenImageSurfaceSecondOrder>("gen_image_surface_second_order"),
    bind<&H::GenRectangle1>("gen_rectangle1"),
    bind<&H::GenCircle>("gen_circle"),
    bind<&H::Threshold>("threshold"),
    bind<&H::Connection>("connection"),
    bind<&H::AreaCenter>("area_center"),
    bind<&H::GenContourPolygonXld>("gen_contour_polygon_xld"),
    bind<&H::GenEmptyObj>("gen_empty_obj"),
    bind<&H::ConcatObj>("concat_obj"),
    bind<&H::CountObj>("count_obj"),
    bind<&H::SelectObj>("select_obj"),
    bind<&H::CopyObj>("copy_obj"),
    bind<&H::GetObjClass>("get_obj_class"),
    bind<&H::GetChannelInfo>("get_channel_info"),
    bind<&H::ClearObj>("clear_obj"),
    bind<&H::TestEqualObj>("test_equal_obj"),
    bind<&H::ObjDiff>("obj_diff"),
    bind<&H::ObjToInteger>("obj_to_integer"),
    bind<&H::IntegerToObj>("integer_to_obj"),
    bind<&H::GenImage1>("gen_image1"),
    bind<&H::GenImage3>("gen_image3"),
    bind<&H::GenImage1Extern>("gen_image1_extern"),
    bind<&H::GenImage1Rect>("gen_image1_rect"),
    bind<&H::GenImage3Extern>("gen_image3_extern"),
};

}  // namespace

OperatorGroup iconicOperators() {
  return {kIconicOperators, sizeof kIconicOperators / sizeof kIconicOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
