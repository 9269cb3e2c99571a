// The one place where the library reaches the vendor's image-processing and HDevelop engine
// libraries. Everything else includes this header instead of the vendor's, so that building
// against the real libraries or against the stand-ins changes nothing in the library. The
// calls made through it, from api/, display/, render/ and messages/, are listed in
// engine/vendor_calls.txt: the list a build against the real libraries must satisfy.
#ifndef QUORVEX_ENGINE_VENDOR_H
#define QUORVEX_ENGINE_VENDOR_H

#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"

namespace quorvex::engine {

using HalconCpp::HException;
using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HString;
using HalconCpp::HTuple;
using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevEngineException;
using HDevEngineCpp::HDevOperatorImplCpp;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;
using HDevEngineCpp::HDevProgram;
using HDevEngineCpp::HDevProgramCall;

// The vendor's success code of an operator.
constexpr int kSuccess = 2;

}  // namespace quorvex::engine

#endif
