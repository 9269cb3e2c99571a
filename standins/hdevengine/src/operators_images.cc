// Image operators a program line can call: domains, channels, grey-value arithmetic,
// filters, thresholds, statistics and geometry. Each calls the image-processing stand-in's
// function of the same name.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void reduceDomain(const OperatorArgs& a) {
  H::ReduceDomain(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0]);
}
void getDomain(const OperatorArgs& a) {
  H::GetDomain(*a.iconicIn[0], a.iconicOut[0]);
}
void cropDomain(const OperatorArgs& a) {
  H::CropDomain(*a.iconicIn[0], a.iconicOut[0]);
}
void cropPart(const OperatorArgs& a) {
  H::CropPart(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2],
              *a.ctrlIn[3]);
}
void cropRectangle1(const OperatorArgs& a) {
  H::CropRectangle1(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2],
                    *a.ctrlIn[3]);
}
void rgb1ToGray(const OperatorArgs& a) {
  H::Rgb1ToGray(*a.iconicIn[0], a.iconicOut[0]);
}
void rgb3ToGray(const OperatorArgs& a) {
  H::Rgb3ToGray(*a.iconicIn[0], *a.iconicIn[1], *a.iconicIn[2], a.iconicOut[0]);
}
void decompose3(const OperatorArgs& a) {
  H::Decompose3(*a.iconicIn[0], a.iconicOut[0], a.iconicOut[1], a.iconicOut[2]);
}
void convertImageType(const OperatorArgs& a) {
  H::ConvertImageType(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void scaleImage(const OperatorArgs& a) {
  H::ScaleImage(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void invertImage(const OperatorArgs& a) {
  H::InvertImage(*a.iconicIn[0], a.iconicOut[0]);
}
void addImage(const OperatorArgs& a) {
  H::AddImage(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void subImage(const OperatorArgs& a) {
  H::SubImage(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void absDiffImage(const OperatorArgs& a) {
  H::AbsDiffImage(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0], *a.ctrlIn[0]);
}
void meanImage(const OperatorArgs& a) {
  H::MeanImage(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void medianImage(const OperatorArgs& a) {
  H::MedianImage(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void gaussFilter(const OperatorArgs& a) {
  H::GaussFilter(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void emphasize(const OperatorArgs& a) {
  H::Emphasize(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void sobelAmp(const OperatorArgs& a) {
  H::SobelAmp(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void dynThreshold(const OperatorArgs& a) {
  H::DynThreshold(*a.iconicIn[0], *a.iconicIn[1], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void varThreshold(const OperatorArgs& a) {
  H::VarThreshold(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2],
                  *a.ctrlIn[3], *a.ctrlIn[4]);
}
void binaryThreshold(const OperatorArgs& a) {
  H::BinaryThreshold(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0]);
}
void minMaxGray(const OperatorArgs& a) {
  H::MinMaxGray(*a.iconicIn[0], *a.iconicIn[1], *a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1],
                a.ctrlOut[2]);
}
void intensity(const OperatorArgs& a) {
  H::Intensity(*a.iconicIn[0], *a.iconicIn[1], a.ctrlOut[0], a.ctrlOut[1]);
}
void grayHisto(const OperatorArgs& a) {
  H::GrayHisto(*a.iconicIn[0], *a.iconicIn[1], a.ctrlOut[0], a.ctrlOut[1]);
}
void zoomImageSize(const OperatorArgs& a) {
  H::ZoomImageSize(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void zoomImageFactor(const OperatorArgs& a) {
  H::ZoomImageFactor(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void mirrorImage(const OperatorArgs& a) {
  H::MirrorImage(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0]);
}
void rotateImage(const OperatorArgs& a) {
  H::RotateImage(*a.iconicIn[0], a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}

// name, iconic inputs, iconic outputs, control inputs, control outputs, function
constexpr OperatorSpec kImageOperators[] = {
    {"reduce_domain", 2, 1, 0, 0, reduceDomain},
    {"get_domain", 1, 1, 0, 0, getDomain},
    {"crop_domain", 1, 1, 0, 0, cropDomain},
    {"crop_part", 1, 1, 4, 0, cropPart},
    {"crop_rectangle1", 1, 1, 4, 0, cropRectangle1},
    {"rgb1_to_gray", 1, 1, 0, 0, rgb1ToGray},
    {"rgb3_to_gray", 3, 1, 0, 0, rgb3ToGray},
    {"decompose3", 1, 3, 0, 0, decompose3},
    {"convert_image_type", 1, 1, 1, 0, convertImageType},
    {"scale_image", 1, 1, 2, 0, scaleImage},
    {"invert_image", 1, 1, 0, 0, invertImage},
    {"add_image", 2, 1, 2, 0, addImage},
    {"sub_image", 2, 1, 2, 0, subImage},
    {"abs_diff_image", 2, 1, 1, 0, absDiffImage},
    {"mean_image", 1, 1, 2, 0, meanImage},
    {"median_image", 1, 1, 3, 0, medianImage},
    {"gauss_filter", 1, 1, 1, 0, gaussFilter},
    {"emphasize", 1, 1, 3, 0, emphasize},
    {"sobel_amp", 1, 1, 2, 0, sobelAmp},
    {"dyn_threshold", 2, 1, 2, 0, dynThreshold},
    {"var_threshold", 1, 1, 5, 0, varThreshold},
    {"binary_threshold", 1, 1, 2, 1, binaryThreshold},
    {"min_max_gray", 2, 0, 1, 3, minMaxGray},
    {"intensity", 2, 0, 0, 2, intensity},
    {"gray_histo", 2, 0, 0, 2, grayHisto},
    {"zoom_image_size", 1, 1, 3, 0, zoomImageSize},
    {"zoom_image_factor", 1, 1, 3, 0, zoomImageFactor},
    {"mirror_image", 1, 1, 1, 0, mirrorImage},
    {"rotate_image", 1, 1, 2, 0, rotateImage},
};

}  // namespace

OperatorGroup imageOperators() {
  return {kImageOperators, sizeof kImageOperators / sizeof kImageOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
