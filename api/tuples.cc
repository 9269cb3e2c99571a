#include <cstdlib>
#include <memory>

#include "api/call_frame.h"
#include "api/export.h"
#include "api/handles.h"

namespace {

using quorvex::engine::Hlong;
using quorvex::engine::HString;
using quorvex::engine::HTuple;

HTuple& tupleOf(TupleHandle handle) {
  return *reinterpret_cast<HTuple*>(handle);
}

}  // namespace

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateTuple(TupleHandle* tuple) {
  return quorvex::api::createHandle("hcreateTuple", tuple, "tuple", {},
                                    [] { return std::make_unique<HTuple>(); });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleDouble(TupleHandle tuple, double value) {
  if (!tuple) return;
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(value)); });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleLong(TupleHandle tuple, int32_t value) {
  if (!tuple) return;
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(static_cast<Hlong>(value))); });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleString(TupleHandle tuple, const char* value) {
  if (!tuple || !value) return;
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(value)); });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleLength(TupleHandle tuple) {
  if (!tuple) return 0;
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple).Length()); });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleElemType(TupleHandle tuple, int32_t index) {
  if (!tuple) return 0;
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple)[static_cast<Hlong>(index)].Type()); });
}

QUORVEX_EXPORT double QUORVEX_CALL hgetTupleElemDouble(TupleHandle tuple, int32_t index) {
  if (!tuple) return 0.0;
  return quorvex::api::valueFrame<double>(0.0, [&] {
    // The engine's own accessor converts an integer element; the library converts nothing.
    return tupleOf(tuple)[static_cast<Hlong>(index)].D();
  });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleElemLong(TupleHandle tuple, int32_t index) {
  if (!tuple) return 0;
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple)[static_cast<Hlong>(index)].L()); });
}

QUORVEX_EXPORT char* QUORVEX_CALL hgetTupleElemString_TO_BE_FREED(TupleHandle tuple,
                                                                  int32_t index) {
  if (!tuple) return nullptr;
  return quorvex::api::valueFrame<char*>(nullptr, [&] {
    const HString text = tupleOf(tuple)[static_cast<Hlong>(index)].S();
    return quorvex::api::copyText(text.Text(), text.Length());
  });
}

QUORVEX_EXPORT void QUORVEX_CALL hfreeTupleElemString(char* text) {
  std::free(text);
}

// Tuples, programs and program calls all begin with a virtual destructor, so one entry point
// releases any of the three: the delete dispatches through the object's own vtable to its
// own destructor. The vendor's classes are laid out so; the pointer's static type is only
// the door in, which is why the vptr check of the undefined-behaviour sanitizer is off here.
#if defined(__clang__) || defined(__GNUC__)
#define QUORVEX_NO_VPTR_CHECK __attribute__((no_sanitize("vptr")))
#else
#define QUORVEX_NO_VPTR_CHECK
#endif

QUORVEX_EXPORT QUORVEX_NO_VPTR_CHECK void QUORVEX_CALL hfreeTuple(TupleHandle tuple) {
  delete reinterpret_cast<HTuple*>(tuple);
}
QUORVEX_ALIAS(void QUORVEX_CALL hfreeProgram(ProgramHandle program), hfreeTuple)
QUORVEX_ALIAS(void QUORVEX_CALL hfreeProgramCall(ProgramCallHandle call), hfreeTuple)
