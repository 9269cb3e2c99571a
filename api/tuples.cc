#include <cstdlib>
#include <memory>

#include "api/call_frame.h"
#include "api/export.h"

namespace {

using quorvex::engine::Hlong;
using quorvex::engine::HString;
using quorvex::engine::HTuple;

HTuple& tupleOf(TupleHandle handle) {
  return *reinterpret_cast<HTuple*>(handle);
}

}  // namespace

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateTuple(TupleHandle* tuple) {
  *tuple = nullptr;
  return quorvex::api::recordFrame([&] {
    // Should construction raise, the memory is released again and *tuple stays null.
    auto created = std::make_unique<HTuple>();
    *tuple = reinterpret_cast<TupleHandle>(created.release());
  });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleDouble(TupleHandle tuple, double value) {
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(value)); });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleLong(TupleHandle tuple, int32_t value) {
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(static_cast<Hlong>(value))); });
}

QUORVEX_EXPORT void QUORVEX_CALL happendTupleString(TupleHandle tuple, const char* value) {
  quorvex::api::voidFrame([&] { tupleOf(tuple).Append(HTuple(value)); });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleLength(TupleHandle tuple) {
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple).Length()); });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleElemType(TupleHandle tuple, int32_t index) {
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple)[static_cast<Hlong>(index)].Type()); });
}

QUORVEX_EXPORT double QUORVEX_CALL hgetTupleElemDouble(TupleHandle tuple, int32_t index) {
  return quorvex::api::valueFrame<double>(
      0.0, [&] { return tupleOf(tuple)[static_cast<Hlong>(index)].D(); });
}

QUORVEX_EXPORT int32_t QUORVEX_CALL hgetTupleElemLong(TupleHandle tuple, int32_t index) {
  return quorvex::api::valueFrame<int32_t>(
      0, [&] { return static_cast<int32_t>(tupleOf(tuple)[static_cast<Hlong>(index)].L()); });
}

QUORVEX_EXPORT char* QUORVEX_CALL hgetTupleElemString_TO_BE_FREED(TupleHandle tuple,
                                                                  int32_t index) {
  return quorvex::api::valueFrame<char*>(nullptr, [&] {
    const HString text = tupleOf(tuple)[static_cast<Hlong>(index)].S();
    return quorvex::api::copyText(text.Text(), text.Length());
  });
}

QUORVEX_EXPORT void QUORVEX_CALL hfreeTupleElemString(char* text) {
  std::free(text);
}

// Tuples, programs and program calls all start with a virtual destructor, so one entry point
// releases any of the three: the delete dispatches to the object's own destructor.
QUORVEX_EXPORT void QUORVEX_CALL hfreeTuple(TupleHandle tuple) {
  delete reinterpret_cast<HTuple*>(tuple);
}
