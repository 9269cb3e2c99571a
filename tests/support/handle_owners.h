// Owners that release the library's handles when a test ends, through its own functions.
#ifndef QUORVEX_TESTS_SUPPORT_HANDLE_OWNERS_H
#define QUORVEX_TESTS_SUPPORT_HANDLE_OWNERS_H

#include <memory>
#include <string>
#include <vector>

#include "quorvex.h"

namespace quorvex::test {

template <typename Handle, void (*Release)(Handle)>
struct Releaser {
  void operator()(std::remove_pointer_t<Handle>* handle) const { Release(handle); }
};

using Tuple = std::unique_ptr<QuorvexTuple, Releaser<TupleHandle, hfreeTuple>>;
using Program = std::unique_ptr<QuorvexProgram, Releaser<ProgramHandle, hfreeProgram>>;
using ProgramCall =
    std::unique_ptr<QuorvexProgramCall, Releaser<ProgramCallHandle, hfreeProgramCall>>;
using Procedure = std::unique_ptr<QuorvexProcedure, Releaser<ProcedureHandle, hfreeProcedure>>;
using ProcedureCall =
    std::unique_ptr<QuorvexProcedureCall, Releaser<ProcedureCallHandle, hfreeProcedureCall>>;

// A new tuple holding the given integers.
inline Tuple longs(std::initializer_list<int32_t> values) {
  TupleHandle handle = nullptr;
  hclearErrorMsg(hcreateTuple(&handle));
  for (int32_t value : values) happendTupleLong(handle, value);
  return Tuple(handle);
}

inline Tuple strings(std::initializer_list<const char*> values) {
  TupleHandle handle = nullptr;
  hclearErrorMsg(hcreateTuple(&handle));
  for (const char* value : values) happendTupleString(handle, value);
  return Tuple(handle);
}

inline std::string stringAt(TupleHandle tuple, int32_t index) {
  char* text = hgetTupleElemString_TO_BE_FREED(tuple, index);
  std::string copy = text ? text : "<null>";
  hfreeTupleElemString(text);
  return copy;
}

}  // namespace quorvex::test

#endif
