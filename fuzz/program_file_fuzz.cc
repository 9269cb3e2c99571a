// The program file reader, and a run of whatever it accepts through the C interface.
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::fuzz;
  const std::string path = scratch() + "/fuzzed.hdev";
  writeFile(path, data, size);
  return twice([&] {
    ProgramHandle program = nullptr;
    if (succeeded(hcreateProgram(path.c_str(), &program))) {
      ProgramCallHandle call = nullptr;
      if (succeeded(hcreateProgramCall(program, &call))) succeeded(hprogramcallExecute(call));
      hfreeProgramCall(call);
    } else {
      check(program == nullptr, "a failed create leaves its handle NULL");
    }
    hfreeProgram(program);
  });
}
