// The drawing settings of a window. Each validates its value with the vendor's numbers
// (the value is control parameter 2) before it looks the window up.
#include <algorithm>
#include <iterator>

#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

template <std::size_t N>
bool isOneOf(const std::string& value, const char* const (&names)[N]) {
  return std::find(std::begin(names), std::end(names), value) != std::end(names);
}

// One string among `names`, else 1402, 1202 or 1302.
template <std::size_t N>
std::string choiceOf(const HTuple& value, const char* const (&names)[N], const char* op) {
  const std::string text = oneString(value, op, 2);
  if (!isOneOf(text, names)) fail(op, 1302);
  return text;
}

constexpr const char* kDrawModes[] = {"fill", "margin"};
constexpr const char* kShapes[] = {"original",   "outer_circle", "inner_circle", "rectangle1",
                                   "rectangle2", "ellipse",      "convex",       "icon"};
constexpr const char* kPaintModes[] = {"default",      "histogram",           "row",
                                       "column",       "contourline",         "3d_plot",
                                       "3D-plot",      "3D-plot_hidden",      "3D-plot_point",
                                       "vector_field", "component_histogram", "line_histogram"};

// The widest line the stand-in draws; wider ones are a wrong value.
constexpr Hlong kMaxLineWidth = 2000;

}  // namespace

void SetDraw(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetDraw");
  logWindowCall("SetDraw", WindowHandle, Mode);
  const char* op = "set_draw";
  const Hlong handle = handleOf(WindowHandle, op);
  const bool fill = choiceOf(Mode, kDrawModes, op) == "fill";
  windowTable().with(handle, op, [&](Window& window) { window.fill = fill; });
}

void SetShape(const HTuple& WindowHandle, const HTuple& Shape) {
  ApiScope scope("SetShape");
  logWindowCall("SetShape", WindowHandle, Shape);
  const char* op = "set_shape";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string shape = choiceOf(Shape, kShapes, op);
  windowTable().with(handle, op, [&](Window& window) { window.shape = shape; });
}

void SetColored(const HTuple& WindowHandle, const HTuple& NumberOfColors) {
  ApiScope scope("SetColored");
  logWindowCall("SetColored", WindowHandle, NumberOfColors);
  const char* op = "set_colored";
  const Hlong handle = handleOf(WindowHandle, op);
  const Hlong count = oneInteger(NumberOfColors, op, 2);
  if (count != 3 && count != 6 && count != 12) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) { window.colored = static_cast<int>(count); });
}

void SetColor(const HTuple& WindowHandle, const HTuple& Color) {
  ApiScope scope("SetColor");
  logWindowCall("SetColor", WindowHandle, Color);
  const char* op = "set_color";
  const Hlong handle = handleOf(WindowHandle, op);
  // Several colours are used in turn for the objects of one DispObj call.
  if (Color.Length() < 1) fail(op, 1402);
  std::vector<Rgb> colors;
  for (Hlong i = 0; i < Color.Length(); ++i) {
    if (Color[i].Type() != eElementTypeString) fail(op, 1202);
    Rgb color;
    if (!parseColor(Color[i].S().str(), &color)) fail(op, 1302);
    colors.push_back(color);
  }
  windowTable().with(handle, op, [&](Window& window) {
    window.colors = colors;
    window.colored = 0;
  });
}

void SetPaint(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetPaint");
  logWindowCall("SetPaint", WindowHandle, Mode);
  const char* op = "set_paint";
  const Hlong handle = handleOf(WindowHandle, op);
  // The first element names the mode; the rest are the mode's own values, kept as given.
  if (Mode.Length() < 1) fail(op, 1402);
  if (Mode[0].Type() != eElementTypeString) fail(op, 1202);
  if (!isOneOf(Mode[0].S().str(), kPaintModes)) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) { window.paint = Mode; });
}

void SetLineWidth(const HTuple& WindowHandle, const HTuple& Width) {
  ApiScope scope("SetLineWidth");
  logWindowCall("SetLineWidth", WindowHandle, Width);
  const char* op = "set_line_width";
  const Hlong handle = handleOf(WindowHandle, op);
  const Hlong width = oneInteger(Width, op, 2);
  if (width < 1 || width > kMaxLineWidth) fail(op, 1302);
  windowTable().with(handle, op,
                     [&](Window& window) { window.lineWidth = static_cast<int>(width); });
}

}  // namespace HalconCpp
