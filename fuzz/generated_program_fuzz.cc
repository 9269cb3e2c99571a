// Procedures and programs generated from the fuzzer's bytes (program_generator.h): a main
// procedure and a procedure it calls, external files or one program with a local procedure,
// loaded and run through the C interface under the harnesses' low bounds.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "generated_files.h"
#include "harness.h"

namespace {

// With QUORVEX_FUZZ_VERBOSE set, the generated files and why they did not load or run: how
// a finding is read, and the generator's own mistakes show up while it is being changed.
bool verbose() {
  static const bool set = std::getenv("QUORVEX_FUZZ_VERBOSE") != nullptr;
  return set;
}

bool reported(const char* what, ErrorMsg* record) {
  if (record && verbose()) {
    std::fprintf(stderr, "%s: %s (line %d)\n", what, record->message ? record->message : "?",
                 static_cast<int>(record->progLineNum));
  }
  return quorvex::fuzz::succeeded(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::fuzz;
  const std::string& folder = scratch();
  Choices choices(data, size);
  const GeneratedFiles files = writeGeneratedFiles(folder, choices);
  if (verbose()) std::fprintf(stderr, "%s", files.text.c_str());
  const bool asProgram = files.asProgram;
  return twice([&] {
    succeeded(hunloadAllProcedures());
    if (asProgram) {
      ProgramHandle program = nullptr;
      if (reported("load", hcreateProgram((folder + "/generated.hdev").c_str(), &program))) {
        ProgramCallHandle call = nullptr;
        if (succeeded(hcreateProgramCall(program, &call)))
          reported("run", hprogramcallExecute(call));
        hfreeProgramCall(call);
      } else {
        check(program == nullptr, "a failed create leaves its handle NULL");
      }
      hfreeProgram(program);
    } else {
      ProcedureHandle procedure = nullptr;
      if (reported("load", hcreateProcedure("generated", &procedure))) {
        runProcedure(procedure);
      } else {
        check(procedure == nullptr, "a failed create leaves its handle NULL");
      }
      hfreeProcedure(procedure);
    }
    succeeded(hunloadAllProcedures());
  });
}
