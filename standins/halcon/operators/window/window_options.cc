// The window settings that only draw differently (line style, insert mode, comprise) or are
// kept to be read back (fix, part style, line approximation, icon), the colours given as
// grey values, packed pixels or HSI, and the settings' getters. Each setter checks its value
// (control parameter 2 on) before it looks the window up, as the neighbouring setters do.
#include <string>
#include <vector>

#include "core/image.h"
#include "core/region.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/draw.h"
#include "windows/window.h"
#include "windows/window_lists.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Runs `read(window)` on the window of control parameter 1.
template <typename Read>
void readWindow(const HTuple& windowHandle, const char* op, Read&& read) {
  windowTable().with(handleOf(windowHandle, op), op, std::forward<Read>(read));
}

// Sets one string setting among `names` after checking it.
template <std::size_t N>
void setChoice(const HTuple& windowHandle, const HTuple& mode, const char* const (&names)[N],
               std::string Window::*setting, const char* op) {
  const Hlong handle = handleOf(windowHandle, op);
  const std::string value = choiceOf(mode, names, op);
  windowTable().with(handle, op, [&](Window& window) { window.*setting = value; });
}

void getString(const HTuple& windowHandle, HTuple* out, std::string Window::*setting,
               const char* op) {
  std::string value;
  readWindow(windowHandle, op, [&](Window& window) { value = window.*setting; });
  setOutput(out, HTuple(value.c_str()));
}

// The integers of control parameter n, each within [low, high] (else 130n); at least one.
std::vector<Hlong> integersIn(const HTuple& value, Hlong low, Hlong high, const char* op, int n) {
  if (value.Length() < 1) fail(op, 1400 + n);
  std::vector<Hlong> values;
  for (Hlong i = 0; i < value.Length(); ++i) {
    const Hlong v = integerAt(value, i, op, n);
    if (v < low || v > high) fail(op, 1300 + n);
    values.push_back(v);
  }
  return values;
}

void setColorsOf(const HTuple& windowHandle, const std::vector<Rgb>& colors, const char* op) {
  const Hlong handle = handleOf(windowHandle, op);
  std::vector<std::string> names;
  for (const Rgb& color : colors) names.push_back(hexName(color));
  windowTable().with(handle, op, [&](Window& window) { setColors(window, colors, names); });
}

// Converts colours between RGB and HSI bytes exactly as trans_to_rgb and trans_from_rgb
// convert byte images with 'hsi', through one-row images of the values.
void convertHsi(const std::vector<Hlong> (&in)[3], std::vector<Hlong> (&out)[3], bool toRgb) {
  const auto count = static_cast<Hlong>(in[0].size());
  HTuple rows, cols;
  for (Hlong i = 0; i < count; ++i) {
    rows.Append(HTuple(Hlong{0}));
    cols.Append(HTuple(i));
  }
  HObject images[3], converted[3];
  for (int c = 0; c < 3; ++c) {
    GenImageConst(&images[c], "byte", count, 1);
    HTuple values;
    for (Hlong v : in[c]) values.Append(HTuple(v));
    SetGrayval(images[c], rows, cols, values);
  }
  if (toRgb) {
    TransToRgb(images[0], images[1], images[2], &converted[0], &converted[1], &converted[2], "hsi");
  } else {
    TransFromRgb(images[0], images[1], images[2], &converted[0], &converted[1], &converted[2],
                 "hsi");
  }
  for (int c = 0; c < 3; ++c) {
    HTuple values;
    GetGrayval(converted[c], rows, cols, &values);
    out[c].clear();
    for (Hlong i = 0; i < values.Length(); ++i) out[c].push_back(values[i].L());
  }
}

}  // namespace

void SetLineStyle(const HTuple& WindowHandle, const HTuple& Style) {
  ApiScope scope("SetLineStyle");
  logWindowCall("SetLineStyle", WindowHandle, Style);
  const char* op = "set_line_style";
  const Hlong handle = handleOf(WindowHandle, op);
  // Pairs of a drawn and a skipped length, up to five of them; none draws solid lines.
  const auto count = static_cast<std::size_t>(Style.Length());
  if (count % 2 != 0 || count > kMaxLineStyleValues) fail(op, 1402);
  std::vector<Hlong> style;
  for (Hlong i = 0; i < Style.Length(); ++i) {
    const Hlong length = integerAt(Style, i, op, 2);
    if (length < 1 || length > kMaxLineWidth * 100) fail(op, 1302);
    style.push_back(length);
  }
  windowTable().with(handle, op, [&](Window& window) { window.lineStyle = style; });
}

void GetLineStyle(const HTuple& WindowHandle, HTuple* Style) {
  ApiScope scope("GetLineStyle");
  logWindowCall("GetLineStyle", WindowHandle);
  HTuple style;
  readWindow(WindowHandle, "get_line_style", [&](Window& window) {
    for (Hlong length : window.lineStyle) style.Append(HTuple(length));
  });
  setOutput(Style, style);
}

void SetInsert(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetInsert");
  logWindowCall("SetInsert", WindowHandle, Mode);
  setChoice(WindowHandle, Mode, kInsertModes, &Window::insert, "set_insert");
}

void GetInsert(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetInsert");
  logWindowCall("GetInsert", WindowHandle);
  getString(WindowHandle, Mode, &Window::insert, "get_insert");
}

void SetFix(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetFix");
  logWindowCall("SetFix", WindowHandle, Mode);
  setChoice(WindowHandle, Mode, kFixModes, &Window::fix, "set_fix");
}

void GetFix(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetFix");
  logWindowCall("GetFix", WindowHandle);
  getString(WindowHandle, Mode, &Window::fix, "get_fix");
}

void SetComprise(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetComprise");
  logWindowCall("SetComprise", WindowHandle, Mode);
  setChoice(WindowHandle, Mode, kCompriseModes, &Window::comprise, "set_comprise");
}

void GetComprise(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetComprise");
  logWindowCall("GetComprise", WindowHandle);
  getString(WindowHandle, Mode, &Window::comprise, "get_comprise");
}

void GetShape(const HTuple& WindowHandle, HTuple* DisplayShape) {
  ApiScope scope("GetShape");
  logWindowCall("GetShape", WindowHandle);
  getString(WindowHandle, DisplayShape, &Window::shape, "get_shape");
}

void GetPaint(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetPaint");
  logWindowCall("GetPaint", WindowHandle);
  HTuple paint;
  readWindow(WindowHandle, "get_paint", [&](Window& window) { paint = window.paint; });
  setOutput(Mode, paint);
}

void SetPartStyle(const HTuple& WindowHandle, const HTuple& Style) {
  ApiScope scope("SetPartStyle");
  logWindowCall("SetPartStyle", WindowHandle, Style);
  const char* op = "set_part_style";
  const Hlong handle = handleOf(WindowHandle, op);
  const Hlong style = oneInteger(Style, op, 2);
  if (!isOneOf(style, kPartStyles)) fail(op, 1302);
  windowTable().with(handle, op,
                     [&](Window& window) { window.partStyle = static_cast<int>(style); });
}

void GetPartStyle(const HTuple& WindowHandle, HTuple* Style) {
  ApiScope scope("GetPartStyle");
  logWindowCall("GetPartStyle", WindowHandle);
  Hlong style = 0;
  readWindow(WindowHandle, "get_part_style", [&](Window& window) { style = window.partStyle; });
  setOutput(Style, HTuple(style));
}

void SetLineApprox(const HTuple& WindowHandle, const HTuple& Approximation) {
  ApiScope scope("SetLineApprox");
  logWindowCall("SetLineApprox", WindowHandle, Approximation);
  const char* op = "set_line_approx";
  const Hlong handle = handleOf(WindowHandle, op);
  const Hlong approximation = oneInteger(Approximation, op, 2);
  if (approximation < 0 || approximation > kMaxLineWidth) fail(op, 1302);
  windowTable().with(handle, op,
                     [&](Window& window) { window.lineApprox = static_cast<int>(approximation); });
}

void GetLineApprox(const HTuple& WindowHandle, HTuple* Approximation) {
  ApiScope scope("GetLineApprox");
  logWindowCall("GetLineApprox", WindowHandle);
  Hlong approximation = 0;
  readWindow(WindowHandle, "get_line_approx",
             [&](Window& window) { approximation = window.lineApprox; });
  setOutput(Approximation, HTuple(approximation));
}

void SetIcon(const HObject& Icon, const HTuple& WindowHandle) {
  ApiScope scope("SetIcon");
  logWindowCall("SetIcon", Icon, WindowHandle);
  const char* op = "set_icon";
  if (objectCount(Icon, op, 1) != 1) fail(op, 1501);
  const Runs icon = *regionsOf(Icon, op, 1).front();
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) { window.icon = icon; });
}

void GetIcon(HObject* Icon, const HTuple& WindowHandle) {
  ApiScope scope("GetIcon");
  logWindowCall("GetIcon", WindowHandle);
  Runs icon;
  readWindow(WindowHandle, "get_icon", [&](Window& window) { icon = window.icon; });
  setOutput(Icon, objectOf({makeRegion(std::move(icon))}));
}

void GetColor(const HTuple& WindowHandle, HTuple* Colors) {
  ApiScope scope("GetColor");
  logWindowCall("GetColor", WindowHandle);
  HTuple colors;
  readWindow(WindowHandle, "get_color", [&](Window& window) {
    for (const std::string& name : window.colorNames) colors.Append(HTuple(name.c_str()));
  });
  setOutput(Colors, colors);
}

void SetGray(const HTuple& WindowHandle, const HTuple& GrayValues) {
  ApiScope scope("SetGray");
  logWindowCall("SetGray", WindowHandle, GrayValues);
  const char* op = "set_gray";
  handleOf(WindowHandle, op);
  std::vector<Rgb> colors;
  for (Hlong gray : integersIn(GrayValues, 0, 255, op, 2)) {
    const auto g = static_cast<std::uint8_t>(gray);
    colors.push_back(Rgb{g, g, g});
  }
  setColorsOf(WindowHandle, colors, op);
}

void SetPixel(const HTuple& WindowHandle, const HTuple& Pixel) {
  ApiScope scope("SetPixel");
  logWindowCall("SetPixel", WindowHandle, Pixel);
  const char* op = "set_pixel";
  handleOf(WindowHandle, op);
  std::vector<Rgb> colors;
  for (Hlong pixel : integersIn(Pixel, 0, 0xFFFFFF, op, 2)) {
    colors.push_back(Rgb{static_cast<std::uint8_t>(pixel >> 16),
                         static_cast<std::uint8_t>((pixel >> 8) & 0xFF),
                         static_cast<std::uint8_t>(pixel & 0xFF)});
  }
  setColorsOf(WindowHandle, colors, op);
}

void GetPixel(const HTuple& WindowHandle, HTuple* Pixel) {
  ApiScope scope("GetPixel");
  logWindowCall("GetPixel", WindowHandle);
  std::vector<Rgb> colors;
  readWindow(WindowHandle, "get_pixel", [&](Window& window) { colors = drawingColors(window); });
  HTuple pixels;
  for (const Rgb& c : colors) pixels.Append(HTuple(Hlong{c.red} << 16 | c.green << 8 | c.blue));
  setOutput(Pixel, pixels);
}

void SetHsi(const HTuple& WindowHandle, const HTuple& Hue, const HTuple& Saturation,
            const HTuple& Intensity) {
  ApiScope scope("SetHsi");
  logWindowCall("SetHsi", WindowHandle, Hue, Saturation, Intensity);
  const char* op = "set_hsi";
  handleOf(WindowHandle, op);
  std::vector<Hlong> hsi[3] = {integersIn(Hue, 0, 255, op, 2), {}, {}};
  requireLength(Saturation, Hue.Length(), op, 3);
  requireLength(Intensity, Hue.Length(), op, 4);
  hsi[1] = integersIn(Saturation, 0, 255, op, 3);
  hsi[2] = integersIn(Intensity, 0, 255, op, 4);
  std::vector<Hlong> rgb[3];
  convertHsi(hsi, rgb, true);
  std::vector<Rgb> colors;
  for (std::size_t i = 0; i < rgb[0].size(); ++i) {
    colors.push_back(Rgb{static_cast<std::uint8_t>(rgb[0][i]), static_cast<std::uint8_t>(rgb[1][i]),
                         static_cast<std::uint8_t>(rgb[2][i])});
  }
  setColorsOf(WindowHandle, colors, op);
}

void GetHsi(const HTuple& WindowHandle, HTuple* Hue, HTuple* Saturation, HTuple* Intensity) {
  ApiScope scope("GetHsi");
  logWindowCall("GetHsi", WindowHandle);
  std::vector<Rgb> colors;
  readWindow(WindowHandle, "get_hsi", [&](Window& window) { colors = drawingColors(window); });
  std::vector<Hlong> rgb[3], hsi[3];
  for (const Rgb& c : colors) {
    rgb[0].push_back(c.red);
    rgb[1].push_back(c.green);
    rgb[2].push_back(c.blue);
  }
  convertHsi(rgb, hsi, false);
  HTuple out[3];
  for (int c = 0; c < 3; ++c) {
    for (Hlong v : hsi[c]) out[c].Append(HTuple(v));
  }
  setOutput(Hue, out[0]);
  setOutput(Saturation, out[1]);
  setOutput(Intensity, out[2]);
}

}  // namespace HalconCpp
