// Shared by the fuzz harnesses: one-time setup of the library and the stand-ins, a scratch
// folder, and the live-object monitors that every input must leave as it found them.
#ifndef QUORVEX_FUZZ_HARNESS_H
#define QUORVEX_FUZZ_HARNESS_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "quorvex.h"
#include "support/procedure_file.h"
#include "support/standin_control.h"
#include "support/temp_folder.h"

namespace quorvex::fuzz {

// hinit once, a procedure folder of the process's own, and a step limit low enough that a
// looping input fails in milliseconds.
inline const std::string& scratch() {
  static const std::string folder = [] {
    const std::string made = quorvex::test::makeTempFolder("quorvex_fuzz_");
    if (made.empty()) std::abort();
    hclearErrorMsg(hinit(0));
    hclearErrorMsg(haddProcedurePath(made.c_str()));
    hclearErrorMsg(hsetEngineAttributeInt("step_limit", 20000));
    hclearErrorMsg(hsetEngineAttributeInt("value_limit", 1 << 18));
    // A run may leave windows open and registered, by design; this closes them again.
    quorvex::test::writeProcedureFile(made, "quorvex_close_all", {},
                                      {"dev_get_window (W)", "while (W # -1)",
                                       "dev_close_window ()", "dev_get_window (W)", "endwhile"});
    return made;
  }();
  return folder;
}

inline void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The engine objects and tuples alive; windows a run opened are closed first, since a
// program may leave them open on purpose.
inline long liveObjects() {
  ProcedureHandle closeAll = nullptr;
  ProcedureCallHandle call = nullptr;
  hclearErrorMsg(hcreateProcedure("quorvex_close_all", &closeAll));
  if (closeAll) hclearErrorMsg(hcreateProcedureCall(closeAll, &call));
  if (call) hclearErrorMsg(hprocedurecallExecute(call));
  hfreeProcedureCall(call);
  hfreeProcedure(closeAll);
  quorvex::test::closeNativeWindows();
  long count = 0;
  for (const char* kind :
       {"tuples", "programs", "program_calls", "procedures", "procedure_calls"}) {
    count += quorvex::test::liveCount(kind);
  }
  return count;
}

// A finding: the fuzzer records the input that led here.
inline void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// A record must be well formed; released here. True when there was none.
inline bool succeeded(ErrorMsg* record) {
  if (!record) return true;
  check(record->kind >= 0 && record->kind <= 2, "record kind");
  check(record->message != nullptr, "record message");
  hclearErrorMsg(record);
  return false;
}

// Runs one input twice: the first run may fill lazy caches, so only the second shows whether
// the input leaks.
template <typename Run>
int twice(Run run) {
  run();
  const long after = liveObjects();
  run();
  check(liveObjects() == after, "every object released");
  return 0;
}

// Runs a call with small integer inputs and reads every output back.
inline void runProcedure(ProcedureHandle procedure) {
  int32_t inputs = 0, outputs = 0;
  if (!succeeded(hprocedureGetInputCtrlParamCount(procedure, &inputs)) ||
      !succeeded(hprocedureGetOutputCtrlParamCount(procedure, &outputs))) {
    return;
  }
  ProcedureCallHandle call = nullptr;
  if (!succeeded(hcreateProcedureCall(procedure, &call))) return;
  for (int32_t i = 1; i <= inputs && i <= 8; ++i) {
    TupleHandle value = nullptr;
    if (succeeded(hcreateTuple(&value))) {
      happendTupleLong(value, i);
      succeeded(hprocedurecallSetInputCtrlParamTuple(call, i, value));
    }
    hfreeTuple(value);
  }
  if (succeeded(hprocedurecallExecute(call))) {
    for (int32_t i = 1; i <= outputs && i <= 8; ++i) {
      TupleHandle value = nullptr;
      if (succeeded(hprocedurecallGetOutputCtrlParamTuple(call, i, &value))) {
        for (int32_t e = 0; e < hgetTupleLength(value) && e < 16; ++e) {
          if (hgetTupleElemType(value, e) == TupleElemString) {
            hfreeTupleElemString(hgetTupleElemString_TO_BE_FREED(value, e));
          }
        }
      }
      hfreeTuple(value);
    }
  }
  hfreeProcedureCall(call);
}

}  // namespace quorvex::fuzz

#endif
