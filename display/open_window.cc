#include "display/fullscreen.h"
#include "display/operator_impl.h"
#include "messages/pending.h"
#include "render/logo_overlay.h"

namespace quorvex::display {

using engine::HException;
using engine::kSuccess;

// Under windowsMutex from the checks to the fullscreen change, so no other operation sees the
// window between its opening and its registration; the settings are replayed after that lock
// is released, under settingsMutex alone. A failed fullscreen change is reported after both.
int HDevOperatorImplCppNative::DevOpenWindow(const HTuple& row, const HTuple& column,
                                             const HTuple& width, const HTuple& height,
                                             const HTuple& background, HTuple* window) {
  try {
    messages::HoldingLock lock(windowsMutex);
    checkSingleValue(row, 3, 1);
    checkSingleValue(column, 3, 2);
    checkSingleValue(width, 3, 3);
    checkSingleValue(height, 3, 4);
    checkSingleValue(background, 4, 5);

    HalconCpp::OpenWindow(row, column, width, height, HTuple(0), HTuple("visible"), HTuple(""),
                          window);
    HalconCpp::SetWindowParam(*window, HTuple("background_color"), background);
    HalconCpp::ClearWindow(*window);
    WindowEntry entry;
    entry.window = *window;
    HalconCpp::GetPart(*window, &entry.row1, &entry.column1, &entry.row2, &entry.column2);
    // Drawn at the requested size, before the window is registered or made fullscreen.
    render::overlayLogo(entry.window);
    windows.push_back(entry);
    if (fullscreenEnabled()) changeWindowFullscreen(entry.window);
  } catch (const HException& e) {
    return static_cast<int>(e.ErrorCode());
  }
  replaySettings(*window);
  return kSuccess;
}

// The remembered colour replays through the operator that set it: an integer through
// SetColored, a colour name through SetColor. A setting the new window refuses is dropped;
// the others still apply.
void HDevOperatorImplCppNative::replaySettings(const HTuple& window) {
  const HTuple newWindow = window;
  messages::HoldingLock lock(settingsMutex);
  std::vector<std::pair<const HTuple*, SettingOperator>> replay = {
      {&draw, HalconCpp::SetDraw},
      {&shape, HalconCpp::SetShape},
      {&lut, HalconCpp::SetLut},
      {&paint, HalconCpp::SetPaint},
      {&lineWidth, HalconCpp::SetLineWidth}};
  const HTuple colorTypes = color.TupleTypeElem();
  if (colorTypes == HTuple(1)) {
    replay.emplace_back(&color, HalconCpp::SetColored);
  } else if (colorTypes == HTuple(4)) {
    replay.emplace_back(&color, HalconCpp::SetColor);
  }
  for (const auto& [value, setting] : replay) {
    try {
      setting(newWindow, *value);
    } catch (const HException&) {
      // Dropped: the window opened, and the remaining settings still apply.
    }
  }
}

}  // namespace quorvex::display
