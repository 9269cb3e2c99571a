#include <memory>

#include "api/export.h"
#include "api/handles.h"
#include "display/operator_impl.h"
#include "render/logo_overlay.h"

namespace {

using quorvex::api::Catches;
using quorvex::api::recordFrame;
using quorvex::engine::HDevEngine;
using quorvex::engine::HTuple;

}  // namespace

// The order matters to callers: the logo switch is set even if a later step fails, and the
// system parameters set before a failing step stay set. An instance that a later call
// replaces is not destroyed: the engine may still hold it.
QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hinit(int32_t mode) {
  return recordFrame<Catches::HalconOnly>([&] {
    if (mode == 1) quorvex::render::enableLogo();
    HalconCpp::SetSystem(HTuple("width"), HTuple(512));
    HalconCpp::SetSystem(HTuple("height"), HTuple(512));
    HalconCpp::SetSystem(HTuple("use_window_thread"), HTuple("true"));
    auto instance = std::make_unique<quorvex::display::HDevOperatorImplCppNative>();
    quorvex::display::operatorImpl.store(instance.release());
    HDevEngine().SetHDevOperatorImpl(quorvex::display::operatorImpl.load(), true);
  });
}
