// The display operators the engine calls while a program runs: the registry of the windows
// the library opened, the active window, and six remembered display settings that every new
// window starts with.
#ifndef QUORVEX_DISPLAY_OPERATOR_IMPL_H
#define QUORVEX_DISPLAY_OPERATOR_IMPL_H

#include <atomic>
#include <utility>
#include <vector>

#include "common/annotated_mutex.h"
#include "engine/vendor.h"

namespace quorvex::display {

using engine::HObject;
using engine::HTuple;

// One registered window and the image part last set on it through the library. The entry
// refers to the window; dropping it never closes the window.
struct WindowEntry {
  HTuple window;
  HTuple row1;
  HTuple column1;
  HTuple row2;
  HTuple column2;
};

// The signature of the vendor's setting operators (SetDraw and its like): window, value.
using SettingOperator = void (*)(const HTuple& window, const HTuple& value);

class HDevOperatorImplCppNative : public engine::HDevOperatorImplCpp {
 public:
  HDevOperatorImplCppNative();
  // Closes no window and draws nothing: windows still open stay open.
  ~HDevOperatorImplCppNative() override;

  int DevClearWindow() override;
  int DevCloseWindow() override;
  int DevSetWindow(const HTuple& window) override;
  int DevGetWindow(HTuple* window) override;
  int DevDisplay(const HObject& object) override;
  int DevSetWindowExtents(const HTuple& row, const HTuple& column, const HTuple& width,
                          const HTuple& height) override;
  int DevSetDraw(const HTuple& value) override;
  int DevSetShape(const HTuple& value) override;
  int DevSetColored(const HTuple& value) override;
  int DevSetColor(const HTuple& value) override;
  int DevSetLut(const HTuple& value) override;
  int DevSetPaint(const HTuple& value) override;
  int DevSetPart(const HTuple& row1, const HTuple& column1, const HTuple& row2,
                 const HTuple& column2) override;
  int DevSetLineWidth(const HTuple& value) override;
  int DevOpenWindow(const HTuple& row, const HTuple& column, const HTuple& width,
                    const HTuple& height, const HTuple& background, HTuple* window) override;

  // Raises HException 1400 + n unless `tuple` holds exactly one element, and 1200 + n
  // unless that element's type code is in `typeMask` (1 integer, 2 real, 4 string).
  static void checkSingleValue(const HTuple& tuple, int typeMask, int n);

  // A copy of the registry, oldest activation first; for tests.
  std::vector<WindowEntry> registeredWindows() QUORVEX_EXCLUDES(windowsMutex);

 private:
  // The remembered setting a setting operation updates, as &Self::draw.
  using Self = HDevOperatorImplCppNative;
  using Remembered = HTuple Self::*;

  int forwardSetting(SettingOperator setting, const HTuple& value, int typeMask,
                     Remembered remembered) QUORVEX_EXCLUDES(windowsMutex, settingsMutex);
  void replaySettings(const HTuple& window) QUORVEX_EXCLUDES(windowsMutex, settingsMutex);

  // Declared in this order, so constructed in it and destroyed in reverse. The guards name
  // mutexes declared after the members they guard; clang reads the attributes late.
  // The registry in activation order: the last entry is the active window.
  std::vector<WindowEntry> windows QUORVEX_GUARDED_BY(windowsMutex);
  // Serialises all window work, the calls into the vendor's window operators included.
  // Never held together with settingsMutex. Both are taken through messages::HoldingLock, so
  // no message callback runs while either is held.
  common::Mutex windowsMutex;
  // An integer (colored) or a colour name.
  HTuple color QUORVEX_GUARDED_BY(settingsMutex);
  HTuple draw QUORVEX_GUARDED_BY(settingsMutex);
  HTuple shape QUORVEX_GUARDED_BY(settingsMutex);
  HTuple lut QUORVEX_GUARDED_BY(settingsMutex);
  HTuple paint QUORVEX_GUARDED_BY(settingsMutex);
  HTuple lineWidth QUORVEX_GUARDED_BY(settingsMutex);
  common::Mutex settingsMutex;
  // The type mask at which forwardSetting makes no check: DevSetPaint takes any tuple.
  const int uncheckedTypeMask;
};

// The single instance hinit creates; null before. The library never destroys an instance.
extern std::atomic<HDevOperatorImplCppNative*> operatorImpl;

}  // namespace quorvex::display

#endif
