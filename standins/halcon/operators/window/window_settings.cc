// The drawing settings of a window. Each validates its value with the vendor's numbers
// (the value is control parameter 2) before it looks the window up.
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"
#include "windows/window_lists.h"

namespace HalconCpp {
using namespace Standin;

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
  if (!isOneOf(count, kColoredCounts)) fail(op, 1302);
  std::vector<std::string> names = coloredNames(static_cast<int>(count));
  windowTable().with(handle, op, [&](Window& window) {
    window.colored = static_cast<int>(count);
    window.colorNames = names;
  });
}

void SetColor(const HTuple& WindowHandle, const HTuple& Color) {
  ApiScope scope("SetColor");
  logWindowCall("SetColor", WindowHandle, Color);
  const char* op = "set_color";
  const Hlong handle = handleOf(WindowHandle, op);
  // Several colours are used in turn for the objects of one DispObj call.
  if (Color.Length() < 1) fail(op, 1402);
  std::vector<Rgb> colors;
  std::vector<std::string> names;
  for (Hlong i = 0; i < Color.Length(); ++i) {
    if (Color[i].Type() != eElementTypeString) fail(op, 1202);
    Rgb color;
    if (!parseColor(Color[i].S().str(), &color)) fail(op, 1302);
    colors.push_back(color);
    names.push_back(Color[i].S().str());
  }
  windowTable().with(handle, op, [&](Window& window) { setColors(window, colors, names); });
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
  if (width < kMinLineWidth || width > kMaxLineWidth) fail(op, 1302);
  windowTable().with(handle, op,
                     [&](Window& window) { window.lineWidth = static_cast<int>(width); });
}

}  // namespace HalconCpp
