// Scripts the stand-in vendor libraries from a test: faults to inject and monitors to read.
#ifndef QUORVEX_TESTS_SUPPORT_STANDIN_CONTROL_H
#define QUORVEX_TESTS_SUPPORT_STANDIN_CONTROL_H

#include <string>

#include "halconcpp/HalconCpp.h"
#include "standin/controls.h"

namespace quorvex::test {

// Sets or reads a stand-in control as the stand-ins' own work, so that a fault armed for
// SetSystem or GetSystem is not spent by it. (A value built by the caller is the caller's.)
inline void setControl(const char* name, const HalconCpp::HTuple& value) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::SetSystem(name, value);
}

inline HalconCpp::HTuple control(const char* name) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HTuple value;
  HalconCpp::GetSystem(name, &value);
  return value;
}

// Makes the next `count` calls of a stand-in operation fail with `errorCode`, and with
// `message` as the exception's whole text (no operator name) when one is given.
inline void injectFault(const char* operation, long errorCode, long count = 1,
                        const char* message = nullptr) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HTuple value(operation);
  value.Append(HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(errorCode)));
  value.Append(HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(count)));
  if (message) value.Append(HalconCpp::HTuple(message));
  HalconCpp::SetSystem("standin_fail", value);
}

inline void clearFaults() {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::SetSystem("standin_fail", HalconCpp::HTuple());
}

// Clears every pending fault when a test ends, whatever it left behind.
struct FaultsCleared {
  ~FaultsCleared() { clearFaults(); }
};

inline long liveCount(const std::string& kind) {
  return control(("standin_live_" + kind).c_str())[0].L();
}

// Closes every native window the stand-in still has open, registered with the library or not:
// a window whose opening failed after it existed stays open, by design.
inline void closeNativeWindows() {
  HalconCpp::Standin::InsideScope inside;
  const HalconCpp::HTuple open = control("standin_native_windows");
  for (HalconCpp::Hlong i = 0; i + 8 < open.Length(); i += 9) HalconCpp::CloseWindow(open[i]);
}

}  // namespace quorvex::test

#endif
