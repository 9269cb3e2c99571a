#include "operators/display.h"

#include "operators/binding.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using Impl = HDevOperatorImplCpp;

// A row of an operation of the display implementation: its counts read off the member's
// parameters, as bind does for the vendor's functions.
template <auto kMember>
constexpr DisplayOperator bindDisplay(const char* hdevelopName) {
  using Shape = typename binding::Binder<kMember>::Shape;
  static_assert(Shape::count(binding::kIconicOut) == 0, "display operators have no iconic output");
  return {hdevelopName, Shape::count(binding::kIconicIn), Shape::count(binding::kCtrlIn),
          Shape::count(binding::kCtrlOut), &binding::Binder<kMember>::call};
}

// An operator the engine accepts and does nothing for: there is no member to read counts from.
constexpr DisplayOperator ignored(const char* hdevelopName, int iconicIn, int ctrlIn, int ctrlOut) {
  return {hdevelopName, iconicIn, ctrlIn, ctrlOut, nullptr};
}

constexpr DisplayOperator kDisplayOperators[] = {
    bindDisplay<&Impl::DevOpenWindow>("dev_open_window"),
    bindDisplay<&Impl::DevCloseWindow>("dev_close_window"),
    bindDisplay<&Impl::DevClearWindow>("dev_clear_window"),
    bindDisplay<&Impl::DevSetWindow>("dev_set_window"),
    bindDisplay<&Impl::DevGetWindow>("dev_get_window"),
    bindDisplay<&Impl::DevDisplay>("dev_display"),
    bindDisplay<&Impl::DevSetWindowExtents>("dev_set_window_extents"),
    bindDisplay<&Impl::DevSetDraw>("dev_set_draw"),
    bindDisplay<&Impl::DevSetShape>("dev_set_shape"),
    bindDisplay<&Impl::DevSetColored>("dev_set_colored"),
    bindDisplay<&Impl::DevSetColor>("dev_set_color"),
    bindDisplay<&Impl::DevSetLut>("dev_set_lut"),
    bindDisplay<&Impl::DevSetPaint>("dev_set_paint"),
    bindDisplay<&Impl::DevSetPart>("dev_set_part"),
    bindDisplay<&Impl::DevSetLineWidth>("dev_set_line_width"),
    ignored("dev_update_off", 0, 0, 0),
    ignored("dev_update_on", 0, 0, 0),
    ignored("dev_update_pc", 0, 1, 0),
    ignored("dev_update_var", 0, 1, 0),
    ignored("dev_update_time", 0, 1, 0),
    ignored("dev_update_window", 0, 1, 0),
    // Tools of HDevelop's own user interface, which a program run by the engine has not.
    ignored("dev_inspect_ctrl", 0, 1, 0),
    ignored("dev_close_inspect_ctrl", 0, 1, 0),
    ignored("dev_map_par", 0, 0, 0),
    ignored("dev_unmap_par", 0, 0, 0),
    ignored("dev_map_var", 0, 0, 0),
    ignored("dev_unmap_var", 0, 0, 0),
    ignored("dev_map_prog", 0, 0, 0),
    ignored("dev_unmap_prog", 0, 0, 0),
    ignored("dev_clear_obj", 1, 0, 0),
    ignored("dev_set_preferences", 0, 2, 0),
    ignored("dev_get_preferences", 0, 1, 1),
};

constexpr int kCount = sizeof kDisplayOperators / sizeof kDisplayOperators[0];

}  // namespace

int findDisplayOperator(const std::string& name) {
  for (int i = 0; i < kCount; ++i) {
    if (name == kDisplayOperators[i].name) return i;
  }
  return -1;
}

const DisplayOperator& displayOperator(int index) {
  return kDisplayOperators[index];
}

int displayOperatorCount() {
  return kCount;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
