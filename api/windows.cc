#include "api/call_frame.h"
#include "api/export.h"
#include "display/default_window.h"
#include "display/fullscreen.h"

QUORVEX_EXPORT int32_t QUORVEX_CALL hsetFullscreen(int32_t enable) {
  quorvex::display::setFullscreen(enable != 0);
  return 0;
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hopenDefaultWindow(void) {
  quorvex::display::HDevOperatorImplCppNative* impl = quorvex::display::operatorImpl.load();
  if (!impl) {
    return quorvex::api::errorFromText(
        "hopenDefaultWindow needs hinit first: no display operators exist yet");
  }
  return quorvex::api::recordFrame<quorvex::api::Catches::HalconOnly>(
      [impl] { quorvex::display::openDefaultWindow(*impl); });
}
