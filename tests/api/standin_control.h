// Scripts the stand-in vendor libraries from a test: faults to inject and monitors to read.
#ifndef QUORVEX_TESTS_API_STANDIN_CONTROL_H
#define QUORVEX_TESTS_API_STANDIN_CONTROL_H

#include <string>

#include "halconcpp/HStandin.h"
#include "halconcpp/HalconCpp.h"

namespace quorvex::test {

// Makes the next `count` calls of a stand-in operation fail with `errorCode`.
inline void injectFault(const char* operation, long errorCode, long count = 1) {
  // Built as the stand-ins' own work, so that an "HTuple" fault armed before is not spent.
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HTuple value(operation);
  value.Append(HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(errorCode)));
  value.Append(HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(count)));
  HalconCpp::SetSystem("standin_fail", value);
}

// The same with the message the raised exception carries instead of the usual one, and no
// operator name.
inline void injectFaultWithMessage(const char* operation, long errorCode, const char* message) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HTuple value(operation);
  value.Append(HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(errorCode)));
  value.Append(HalconCpp::HTuple(1));
  value.Append(HalconCpp::HTuple(message));
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
  HalconCpp::HTuple count;
  HalconCpp::GetSystem(("standin_live_" + kind).c_str(), &count);
  return count[0].L();
}

// Closes every native window the stand-in still has open, registered with the library or not:
// a window whose opening failed after it existed stays open, by design.
inline void closeNativeWindows() {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HTuple open;
  HalconCpp::GetSystem("standin_native_windows", &open);
  for (HalconCpp::Hlong i = 0; i + 8 < open.Length(); i += 9) HalconCpp::CloseWindow(open[i]);
}

}  // namespace quorvex::test

#endif
