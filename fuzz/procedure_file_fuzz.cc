// The procedure file reader, and a run of whatever it accepts through the C interface.
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::fuzz;
  quorvex::fuzz::writeFile(scratch() + "/fuzzed.hdvp", data, size);
  return twice([] {
    succeeded(hunloadAllProcedures());
    ProcedureHandle procedure = nullptr;
    if (succeeded(hcreateProcedure("fuzzed", &procedure))) {
      runProcedure(procedure);
    } else {
      check(procedure == nullptr, "a failed create leaves its handle NULL");
    }
    hfreeProcedure(procedure);
    succeeded(hunloadAllProcedures());
  });
}
