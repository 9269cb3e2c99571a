#include <memory>

#include "api/export.h"
#include "api/handles.h"

namespace {

using quorvex::api::Catches;
using quorvex::api::nullArgument;
using quorvex::api::recordFrame;
using quorvex::engine::HDevEngine;
using quorvex::engine::Hlong;
using quorvex::engine::HTuple;

}  // namespace

// Every engine call goes to a fresh facade: the engine's state is process-wide, and keeping
// no facade between calls keeps the library free of engine state of its own.

QUORVEX_EXPORT int32_t QUORVEX_CALL hprepareShutdown(void) {
  return 0;
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hsetEngineAttribute(const char* name, const char* value) {
  if (ErrorMsg* error = nullArgument("hsetEngineAttribute", {{"name", name}, {"value", value}})) {
    return error;
  }
  return recordFrame([&] { HDevEngine().SetEngineAttribute(name, HTuple(value)); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hsetEngineAttributeInt(const char* name, int32_t value) {
  if (ErrorMsg* error = nullArgument("hsetEngineAttributeInt", {{"name", name}})) return error;
  return recordFrame(
      [&] { HDevEngine().SetEngineAttribute(name, HTuple(static_cast<Hlong>(value))); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL haddProcedurePath(const char* path) {
  if (ErrorMsg* error = nullArgument("haddProcedurePath", {{"path", path}})) return error;
  return recordFrame([&] { HDevEngine().AddProcedurePath(path); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hunloadAllProcedures(void) {
  return recordFrame<Catches::HalconOnly>([] { HDevEngine().UnloadAllProcedures(); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hgetsystem(const char* query, TupleHandle* tuple) {
  if (ErrorMsg* error = nullArgument("hgetsystem", {{"query", query}, {"tuple", tuple}})) {
    return error;
  }
  return recordFrame([&] {
    HTuple value;
    HalconCpp::GetSystem(HTuple(query), &value);
    auto handle = std::make_unique<HTuple>(value);
    *tuple = reinterpret_cast<TupleHandle>(handle.release());
  });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hstartDebugServer(void) {
  return quorvex::api::errorFromText("StartDebugServer is not available in HALCON 11.0");
}
QUORVEX_ALIAS(ErrorMsg* QUORVEX_CALL hstopDebugServer(void), hstartDebugServer)
