#include "operators/display.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using Objects = std::vector<HObject>;
using Tuples = std::vector<HTuple>;
using Impl = HDevOperatorImplCpp;

constexpr DisplayOperator kDisplayOperators[] = {
    {"dev_open_window", 0, 5, 1,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples* out) {
       return impl.DevOpenWindow(in[0], in[1], in[2], in[3], in[4], &(*out)[0]);
     }},
    {"dev_close_window", 0, 0, 0,
     [](Impl& impl, const Objects&, const Tuples&, Tuples*) { return impl.DevCloseWindow(); }},
    {"dev_clear_window", 0, 0, 0,
     [](Impl& impl, const Objects&, const Tuples&, Tuples*) { return impl.DevClearWindow(); }},
    {"dev_set_window", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) {
       return impl.DevSetWindow(in[0]);
     }},
    {"dev_get_window", 0, 0, 1,
     [](Impl& impl, const Objects&, const Tuples&, Tuples* out) {
       return impl.DevGetWindow(&(*out)[0]);
     }},
    {"dev_display", 1, 0, 0,
     [](Impl& impl, const Objects& objects, const Tuples&, Tuples*) {
       return impl.DevDisplay(objects[0]);
     }},
    {"dev_set_window_extents", 0, 4, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) {
       return impl.DevSetWindowExtents(in[0], in[1], in[2], in[3]);
     }},
    {"dev_set_draw", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) { return impl.DevSetDraw(in[0]); }},
    {"dev_set_shape", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) { return impl.DevSetShape(in[0]); }},
    {"dev_set_colored", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) {
       return impl.DevSetColored(in[0]);
     }},
    {"dev_set_color", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) { return impl.DevSetColor(in[0]); }},
    {"dev_set_lut", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) { return impl.DevSetLut(in[0]); }},
    {"dev_set_paint", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) { return impl.DevSetPaint(in[0]); }},
    {"dev_set_part", 0, 4, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) {
       return impl.DevSetPart(in[0], in[1], in[2], in[3]);
     }},
    {"dev_set_line_width", 0, 1, 0,
     [](Impl& impl, const Objects&, const Tuples& in, Tuples*) {
       return impl.DevSetLineWidth(in[0]);
     }},
    {"dev_update_off", 0, 0, 0, nullptr},
    {"dev_update_pc", 0, 1, 0, nullptr},
    {"dev_update_var", 0, 1, 0, nullptr},
    {"dev_update_time", 0, 1, 0, nullptr},
    {"dev_update_window", 0, 1, 0, nullptr},
    // Tools of HDevelop's own user interface, which a program run by the engine has not.
    {"dev_inspect_ctrl", 0, 1, 0, nullptr},
    {"dev_close_inspect_ctrl", 0, 1, 0, nullptr},
    {"dev_map_par", 0, 0, 0, nullptr},
    {"dev_unmap_par", 0, 0, 0, nullptr},
    {"dev_map_var", 0, 0, 0, nullptr},
    {"dev_unmap_var", 0, 0, 0, nullptr},
    {"dev_map_prog", 0, 0, 0, nullptr},
    {"dev_unmap_prog", 0, 0, 0, nullptr},
    {"dev_clear_obj", 1, 0, 0, nullptr},
    {"dev_set_preferences", 0, 2, 0, nullptr},
    {"dev_get_preferences", 0, 1, 1, nullptr},
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
