// Image acquisition operators a program line can call, through the image-processing
// stand-in's 'File' interface. Devices a program opens are process-wide, as windows are.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void openFramegrabber(const OperatorArgs& a) {
  const auto& in = a.ctrlIn;
  H::OpenFramegrabber(*in[0], *in[1], *in[2], *in[3], *in[4], *in[5], *in[6], *in[7], *in[8],
                      *in[9], *in[10], *in[11], *in[12], *in[13], *in[14], *in[15], a.ctrlOut[0]);
}
void closeAllFramegrabbers(const OperatorArgs&) {
  H::CloseAllFramegrabbers();
}

constexpr OperatorSpec kAcquisitionOperators[] = {
    {"open_framegrabber", 0, 0, 16, 1, openFramegrabber},
    bind<&H::GrabImage>("grab_image"),
    bind<&H::GrabImageStart>("grab_image_start"),
    bind<&H::GrabImageAsync>("grab_image_async"),
    bind<&H::GrabData>("grab_data"),
    bind<&H::GrabDataAsync>("grab_data_async"),
    bind<&H::InfoFramegrabber>("info_framegrabber"),
    bind<&H::SetFramegrabberParam>("set_framegrabber_param"),
    bind<&H::GetFramegrabberParam>("get_framegrabber_param"),
    bind<&H::CloseFramegrabber>("close_framegrabber"),
    {"close_all_framegrabbers", 0, 0, 0, 0, closeAllFramegrabbers},
};

}  // namespace

OperatorGroup acquisitionOperators() {
  return {kAcquisitionOperators, sizeof kAcquisitionOperators / sizeof kAcquisitionOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
