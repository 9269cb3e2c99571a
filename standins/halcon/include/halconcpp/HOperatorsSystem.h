#ifndef HALCONCPP_HOPERATORSSYSTEM_H
#define HALCONCPP_HOPERATORSSYSTEM_H

#include "halconcpp/HTuple.h"

namespace HalconCpp {

// One process-wide store of system parameters, safe to use from any thread. "width" and
// "height" start at 512. Names starting with "standin_" are the stand-ins' own controls.
HALCONCPP_API void SetSystem(const HTuple& SystemParameter, const HTuple& Value);
HALCONCPP_API void GetSystem(const HTuple& Query, HTuple* Information);

// The text of an error number. Raises HException for a number it does not know.
HALCONCPP_API void GetErrorText(const HTuple& ErrorCode, HTuple* ErrorText);

// The control modes, kept per thread: names as the 11.0 reference lists them, '~name' turns
// one off, 'all', 'none' and 'default' set them all. An unknown name raises 1301 and
// changes nothing. GetCheck lists every mode, the ones off with '~'. '~give_error' makes
// a program's failing operator lines set its error variable instead of raising (the
// operators called from C++ raise regardless).
HALCONCPP_API void SetCheck(const HTuple& Check);
HALCONCPP_API void GetCheck(HTuple* Check);
// The debugging tool's settings, kept per thread and checked; the stand-in has no
// debugging output, so they change nothing else.
HALCONCPP_API void SetSpy(const HTuple& Class, const HTuple& Value);
HALCONCPP_API void GetSpy(const HTuple& Class, HTuple* Value);
HALCONCPP_API void QuerySpy(HTuple* Classes, HTuple* Values);
// Always raises 10000: the stand-in runs no commands on the host.
HALCONCPP_API void SystemCall(const HTuple& Command);

// The stand-in has no compute device: the list is empty, and deactivating or releasing all
// devices succeeds with nothing to do.
HALCONCPP_API void QueryAvailableComputeDevices(HTuple* DeviceIdentifier);
HALCONCPP_API void DeactivateAllComputeDevices();
HALCONCPP_API void ReleaseAllComputeDevices();

}  // namespace HalconCpp

#endif
