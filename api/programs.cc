#include <memory>

#include "api/export.h"
#include "api/handles.h"

namespace {

using quorvex::api::objectOf;
using quorvex::engine::HDevProgram;
using quorvex::engine::HDevProgramCall;

}  // namespace

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateProgram(const char* file, ProgramHandle* program) {
  return quorvex::api::createHandle("hcreateProgram", program, "program", {{"file", file}},
                                    [&] { return std::make_unique<HDevProgram>(file); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateProgramCall(ProgramHandle program,
                                                         ProgramCallHandle* call) {
  return quorvex::api::createHandle(
      "hcreateProgramCall", call, "call", {{"program", program}},
      [&] { return std::make_unique<HDevProgramCall>(objectOf<HDevProgram>(program)); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprogramcallExecute(ProgramCallHandle call) {
  if (ErrorMsg* error = quorvex::api::nullArgument("hprogramcallExecute", {{"call", call}})) {
    return error;
  }
  return quorvex::api::recordFrame([&] { objectOf<HDevProgramCall>(call).Execute(); });
}
