// System operators a program line can call: set_system, get_system, the error handling
// operators, system_call (refused), the compute-device list, wait_seconds and tuple_length.
#include <chrono>
#include <cmath>
#include <thread>

#include "operators/binding.h"
#include "operators/table.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::HException;
using HalconCpp::HTuple;

void setSystem(const OperatorArgs& args) {
  HalconCpp::SetSystem(*args.ctrlIn[0], *args.ctrlIn[1]);
}

void getSystem(const OperatorArgs& args) {
  HalconCpp::GetSystem(*args.ctrlIn[0], args.ctrlOut[0]);
}

// The image-processing library has no operator for it; it only waits.
void waitSeconds(const OperatorArgs& args) {
  const HTuple& seconds = *args.ctrlIn[0];
  if (seconds.Length() != 1) throw HException::ForOperator("wait_seconds", 1401);
  if (seconds[0].Type() == HalconCpp::eElementTypeString) {
    throw HException::ForOperator("wait_seconds", 1201);
  }
  const double value = seconds[0].D();
  // The upper bound keeps the conversion to the clock's integer ticks in range.
  if (!std::isfinite(value) || value < 0 || value > 1e6)
    throw HException::ForOperator("wait_seconds", 1301);
  // A wait is work the run's budget pays for, before it starts.
  spendWait(value);
  std::this_thread::sleep_for(std::chrono::duration<double>(value));
}

void tupleLength(const OperatorArgs& args) {
  HalconCpp::TupleLength(*args.ctrlIn[0], args.ctrlOut[0]);
}

constexpr OperatorSpec kSystemOperators[] = {
    {"set_system", 0, 0, 2, 0, setSystem},
    {"get_system", 0, 0, 1, 1, getSystem},
    bind<&HalconCpp::GetErrorText>("get_error_text"),
    bind<&HalconCpp::SetCheck>("set_check"),
    bind<&HalconCpp::GetCheck>("get_check"),
    bind<&HalconCpp::SetSpy>("set_spy"),
    bind<&HalconCpp::GetSpy>("get_spy"),
    bind<&HalconCpp::QuerySpy>("query_spy"),
    bind<&HalconCpp::SystemCall>("system_call"),
    bind<&HalconCpp::QueryAvailableComputeDevices>("query_available_compute_devices"),
    bind<&HalconCpp::DeactivateAllComputeDevices>("deactivate_all_compute_devices"),
    bind<&HalconCpp::ReleaseAllComputeDevices>("release_all_compute_devices"),
    {"wait_seconds", 0, 0, 1, 0, waitSeconds},
    {"tuple_length", 0, 0, 1, 1, tupleLength},
};

}  // namespace

OperatorGroup systemOperators() {
  return {kSystemOperators, sizeof kSystemOperators / sizeof kSystemOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
