// Image acquisition operators a program line can call, through the image-processing
// stand-in's 'File' interface. Devices a program opens are process-wide, as windows are.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void openFramegrabber(const OperatorArgs& a) {
  const auto& in = a.ctrlIn;
  H::OpenFramegrabber(*in[0], *in[1], *in[2], *in[3], *in[4], *in[5], *in[6], *in[7], *in[8],
                      *in[9], *in[10], *in[11], *in[12], *in[13], *in[14], *in[15], a.ctrlOut[0]);
}
void grabImage(const OperatorArgs& a) {
  H::GrabImage(a.iconicOut[0], *a.ctrlIn[0]);
}
void grabImageStart(const OperatorArgs& a) {
  H::GrabImageStart(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void grabImageAsync(const OperatorArgs& a) {
  H::GrabImageAsync(a.iconicOut[0], *a.ctrlIn[0], *a.ctrlIn[1]);
}
void infoFramegrabber(const OperatorArgs& a) {
  H::InfoFramegrabber(*a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0], a.ctrlOut[1]);
}
void setFramegrabberParam(const OperatorArgs& a) {
  H::SetFramegrabberParam(*a.ctrlIn[0], *a.ctrlIn[1], *a.ctrlIn[2]);
}
void getFramegrabberParam(const OperatorArgs& a) {
  H::GetFramegrabberParam(*a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0]);
}
void closeFramegrabber(const OperatorArgs& a) {
  H::CloseFramegrabber(*a.ctrlIn[0]);
}
void closeAllFramegrabbers(const OperatorArgs&) {
  H::CloseAllFramegrabbers();
}

constexpr OperatorSpec kAcquisitionOperators[] = {
    {"open_framegrabber", 0, 0, 16, 1, openFramegrabber},
    {"grab_image", 0, 1, 1, 0, grabImage},
    {"grab_image_start", 0, 0, 2, 0, grabImageStart},
    {"grab_image_async", 0, 1, 2, 0, grabImageAsync},
    {"info_framegrabber", 0, 0, 2, 2, infoFramegrabber},
    {"set_framegrabber_param", 0, 0, 3, 0, setFramegrabberParam},
    {"get_framegrabber_param", 0, 0, 2, 1, getFramegrabberParam},
    {"close_framegrabber", 0, 0, 1, 0, closeFramegrabber},
    {"close_all_framegrabbers", 0, 0, 0, 0, closeAllFramegrabbers},
};

}  // namespace

OperatorGroup acquisitionOperators() {
  return {kAcquisitionOperators, sizeof kAcquisitionOperators / sizeof kAcquisitionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
