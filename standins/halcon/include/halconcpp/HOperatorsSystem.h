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

}  // namespace HalconCpp

#endif
