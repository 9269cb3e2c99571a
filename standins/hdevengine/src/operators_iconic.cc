// Image, region, contour and object operators a program line can call. Each calls the
// image-processing stand-in's function of the same name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void genImageConst(const OperatorArgs& a) {
  H::GenImageConst(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void readImage(const OperatorArgs& a) {
  H::ReadImage(a.iconicOut[0], *a.ctrlIn[0]);
}
void writeImage(const OperatorArgs& a) {
  H::WriteImage(*a.iconicIn[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void getImageSize(const OperatorArgs& a) {
  H::GetImageSize(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1]);
}
void countChannels(const OperatorArgs& a) {
  H::CountChannels(*a.iconicIn[0], a.ctrlOut[0]);
}
void accessChannel(const OperatorArgs& a) {
  H::AccessChannel(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void compose3(const OperatorArgs& a) {
  H::Compose3(*a.iconicIn[0], *a.iconicIn[1], *a.iconicIn[2], a.iconicOut[0]);
}
void getGrayval(const OperatorArgs& a) {
  H::GetGrayval(*a.iconicIn[0], *a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0]);
}
// Writes into the image in place: every variable sharing it sees the change.
void setGrayval(const OperatorArgs& a) {
  H::SetGrayval(*a.iconicIn[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void paintRegion(const OperatorArgs& a) {
  H::PaintRegion(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void genRectangle1(const OperatorArgs& a) {
  H::GenRectangle1(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2], *a.ctrlIn[3]);
}
void genCircle(const OperatorArgs& a) {
  H::GenCircle(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void threshold(const OperatorArgs& a) {
  H::Threshold(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void connection(const OperatorArgs& a) {
  H::Connection(*a.iconicIn[0], a.iconicOut[0]);
}
void areaCenter(const OperatorArgs& a) {
  H::AreaCenter(*a.iconicIn[0], a.ctrlOut[0], a.ctrlOut[1], a.ctrlOut[2]);
}
void genContourPolygonXld(const OperatorArgs& a) {
  H::GenContourPolygonXld(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void genEmptyObj(const OperatorArgs& a) {
  H::GenEmptyObj(a.iconicOut[0]);
}
void concatObj(const OperatorArgs& a) {
  H::ConcatObj(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0]);
}
void countObj(const OperatorArgs& a) {
  H::CountObj(*a.iconicIn[0], a.ctrlOut[0]);
}
void selectObj(const OperatorArgs& a) {
  H::SelectObj(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void getObjClass(const OperatorArgs& a) {
  H::GetObjClass(*a.iconicIn[0], a.ctrlOut[0]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kIconicOperators[] = {
    {"gen_image_const", 0, 1, 3, 0, genImageConst},
    {"read_image", 0, 1, 1, 0, readImage},
    {"write_image", 1, 0, 3, 0, writeImage},
    {"get_image_size", 1, 0, 0, 2, getImageSize},
    {"count_channels", 1, 0, 0, 1, countChannels},
    {"access_channel", 1, 1, 1, 0, accessChannel},
    {"compose3", 3, 1, 0, 0, compose3},
    {"get_grayval", 1, 0, 2, 1, getGrayval},
    {"set_grayval", 1, 0, 3, 0, setGrayval},
    {"paint_region", 2, 1, 2, 0, paintRegion},
    {"gen_rectangle1", 0, 1, 4, 0, genRectangle1},
    {"gen_circle", 0, 1, 3, 0, genCircle},
    {"threshold", 1, 1, 2, 0, threshold},
    {"connection", 1, 1, 0, 0, connection},
    {"area_center", 1, 0, 0, 3, areaCenter},
    {"gen_contour_polygon_xld", 0, 1, 2, 0, genContourPolygonXld},
    {"gen_empty_obj", 0, 1, 0, 0, genEmptyObj},
    {"concat_obj", 2, 1, 0, 0, concatObj},
    {"count_obj", 1, 0, 0, 1, countObj},
    {"select_obj", 1, 1, 1, 0, selectObj},
    {"get_obj_class", 1, 0, 0, 1, getObjClass},
};

}  // namespace

OperatorGroup iconicOperators() {
  return {kIconicOperators, sizeof kIconicOperators / sizeof kIconicOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
