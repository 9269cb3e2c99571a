// System / Compute Devices: the stand-in computes on the processor only, so it offers no
// OpenCL device. A program asks which devices exist and takes the processor path when there
// are none, as it does on a machine without a supported GPU; the operators that need a device
// identifier or handle stay unimplemented, since no valid one can exist.
#include "core/params.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void QueryAvailableComputeDevices(HTuple* DeviceIdentifier) {
  ApiScope scope("QueryAvailableComputeDevices");
  setOutput(DeviceIdentifier, HTuple());
}

// With no device open or active, both have nothing to do and succeed.
void DeactivateAllComputeDevices() {
  ApiScope scope("DeactivateAllComputeDevices");
}

void ReleaseAllComputeDevices() {
  ApiScope scope("ReleaseAllComputeDevices");
}

}  // namespace HalconCpp
