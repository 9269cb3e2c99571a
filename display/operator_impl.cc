#include "display/operator_impl.h"

#include <algorithm>

#include "messages/pending.h"
#include "render/display_objects.h"
#include "render/logo_overlay.h"

namespace quorvex::display {

using engine::HException;
using engine::kSuccess;

std::atomic<HDevOperatorImplCppNative*> operatorImpl{nullptr};

namespace {

int errorNumberOf(const HException& e) {
  return static_cast<int>(e.ErrorCode());
}

}  // namespace

HDevOperatorImplCppNative::HDevOperatorImplCppNative()
    : color(12),
      draw("fill"),
      shape("original"),
      lut("default"),
      paint("default"),
      lineWidth(1),
      uncheckedTypeMask(2048) {
  render::buildLogo();
}

HDevOperatorImplCppNative::~HDevOperatorImplCppNative() = default;

void HDevOperatorImplCppNative::checkSingleValue(const HTuple& tuple, int typeMask, int n) {
  if (tuple.Length() != 1) throw HException("", 1400 + n);
  if ((tuple.TupleTypeElem() & HTuple(typeMask)) == HTuple(0)) throw HException("", 1200 + n);
}

std::vector<WindowEntry> HDevOperatorImplCppNative::registeredWindows() {
  messages::HoldingLock lock(windowsMutex);
  return windows;
}

// Displaying with no open window is a silent no-op: nothing is drawn and no window opens.
int HDevOperatorImplCppNative::DevDisplay(const HObject& object) {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return kSuccess;
    WindowEntry& active = windows.back();
    render::displayObjects(object, active.window,
                           {active.row1, active.column1, active.row2, active.column2});
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

int HDevOperatorImplCppNative::DevClearWindow() {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return kSuccess;
    const HTuple& active = windows.back().window;
    HalconCpp::ClearWindow(active);
    render::overlayLogo(active);
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

int HDevOperatorImplCppNative::DevCloseWindow() {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return kSuccess;
    HalconCpp::CloseWindow(windows.back().window);
    windows.pop_back();
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

// A handle that is not registered is no error: the active window stays as it was.
int HDevOperatorImplCppNative::DevSetWindow(const HTuple& window) {
  try {
    messages::HoldingLock lock(windowsMutex);
    checkSingleValue(window, 1, 1);
    auto match = std::find_if(windows.begin(), windows.end(),
                              [&](const WindowEntry& entry) { return entry.window == window; });
    if (match != windows.end()) std::rotate(match, match + 1, windows.end());
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

int HDevOperatorImplCppNative::DevGetWindow(HTuple* window) {
  messages::HoldingLock lock(windowsMutex);
  if (window) *window = windows.empty() ? HTuple(-1) : windows.back().window;
  return kSuccess;
}

// A negative value keeps that extent as it is; the current extents are read only then.
int HDevOperatorImplCppNative::DevSetWindowExtents(const HTuple& row, const HTuple& column,
                                                   const HTuple& width, const HTuple& height) {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return kSuccess;
    const HTuple& active = windows.back().window;
    HTuple extents[4] = {row, column, width, height};
    const auto negative = [&](const HTuple& value) { return value < HTuple(0); };
    if (std::any_of(std::begin(extents), std::end(extents), negative)) {
      HTuple current[4];
      HalconCpp::GetWindowExtents(active, &current[0], &current[1], &current[2], &current[3]);
      for (int i = 0; i < 4; ++i) {
        if (negative(extents[i])) extents[i] = current[i];
      }
    }
    HalconCpp::SetWindowExtents(active, extents[0], extents[1], extents[2], extents[3]);
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

int HDevOperatorImplCppNative::DevSetPart(const HTuple& row1, const HTuple& column1,
                                          const HTuple& row2, const HTuple& column2) {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return kSuccess;
    checkSingleValue(row1, 3, 1);
    checkSingleValue(column1, 3, 2);
    checkSingleValue(row2, 3, 3);
    checkSingleValue(column2, 3, 4);
    WindowEntry& active = windows.back();
    HalconCpp::SetPart(active.window, row1, column1, row2, column2);
    active.row1 = row1;
    active.column1 = column1;
    active.row2 = row2;
    active.column2 = column2;
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

// The common body of the seven setting operations: check the value (before any lock, so a
// wrong value is reported even with no window open), apply it to the active window, and only
// then remember it for the windows opened later.
int HDevOperatorImplCppNative::forwardSetting(SettingOperator setting, const HTuple& value,
                                              int typeMask, Remembered remembered) {
  try {
    if (typeMask != uncheckedTypeMask) checkSingleValue(value, typeMask, 1);
    {
      messages::HoldingLock lock(windowsMutex);
      if (windows.empty()) return kSuccess;
      setting(windows.back().window, value);
    }
    messages::HoldingLock lock(settingsMutex);
    this->*remembered = value;
    return kSuccess;
  } catch (const HException& e) {
    return errorNumberOf(e);
  }
}

int HDevOperatorImplCppNative::DevSetDraw(const HTuple& value) {
  return forwardSetting(HalconCpp::SetDraw, value, 4, &Self::draw);
}

int HDevOperatorImplCppNative::DevSetShape(const HTuple& value) {
  return forwardSetting(HalconCpp::SetShape, value, 4, &Self::shape);
}

int HDevOperatorImplCppNative::DevSetColored(const HTuple& value) {
  return forwardSetting(HalconCpp::SetColored, value, 1, &Self::color);
}

int HDevOperatorImplCppNative::DevSetColor(const HTuple& value) {
  return forwardSetting(HalconCpp::SetColor, value, 4, &Self::color);
}

int HDevOperatorImplCppNative::DevSetLut(const HTuple& value) {
  return forwardSetting(HalconCpp::SetLut, value, 4, &Self::lut);
}

int HDevOperatorImplCppNative::DevSetPaint(const HTuple& value) {
  return forwardSetting(HalconCpp::SetPaint, value, uncheckedTypeMask, &Self::paint);
}

int HDevOperatorImplCppNative::DevSetLineWidth(const HTuple& value) {
  return forwardSetting(HalconCpp::SetLineWidth, value, 1, &Self::lineWidth);
}

}  // namespace quorvex::display
