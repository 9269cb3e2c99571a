#include <memory>

#include "api/export.h"
#include "api/handles.h"

namespace {

using quorvex::api::nullArgument;
using quorvex::api::objectOf;
using quorvex::api::recordFrame;
using quorvex::engine::HDevProcedure;
using quorvex::engine::HDevProcedureCall;
using quorvex::engine::HTuple;

HDevProcedure& procedureOf(ProcedureHandle handle) {
  return objectOf<HDevProcedure>(handle);
}
HDevProcedureCall& callOf(ProcedureCallHandle handle) {
  return objectOf<HDevProcedureCall>(handle);
}

// The queries write their out-parameter only as the last step of success.
template <typename Query>
ErrorMsg* storeCount(const char* exportName, ProcedureHandle procedure, int32_t* count,
                     Query query) {
  if (ErrorMsg* error = nullArgument(exportName, {{"procedure", procedure}, {"count", count}})) {
    return error;
  }
  return recordFrame([&] {
    const int value = (procedureOf(procedure).*query)();
    *count = static_cast<int32_t>(value);
  });
}

template <typename Query>
ErrorMsg* storeName(const char* exportName, ProcedureHandle procedure, int32_t index,
                    const char** paramName, Query query) {
  if (ErrorMsg* error =
          nullArgument(exportName, {{"procedure", procedure}, {"paramName", paramName}})) {
    return error;
  }
  return recordFrame([&] {
    const char* name = (procedureOf(procedure).*query)(static_cast<int>(index));
    *paramName = name;
  });
}

}  // namespace

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateProcedure(const char* name,
                                                       ProcedureHandle* procedure) {
  return quorvex::api::createHandle("hcreateProcedure", procedure, "procedure", {{"name", name}},
                                    [&] { return std::make_unique<HDevProcedure>(name); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hcreateProcedureCall(ProcedureHandle procedure,
                                                           ProcedureCallHandle* call) {
  return quorvex::api::createHandle(
      "hcreateProcedureCall", call, "call", {{"procedure", procedure}},
      [&] { return std::make_unique<HDevProcedureCall>(procedureOf(procedure)); });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedurecallSetInputCtrlParamTuple(ProcedureCallHandle call,
                                                                           int32_t index,
                                                                           TupleHandle tuple) {
  if (ErrorMsg* error = nullArgument("hprocedurecallSetInputCtrlParamTuple",
                                     {{"call", call}, {"tuple", tuple}})) {
    return error;
  }
  return recordFrame([&] {
    callOf(call).SetInputCtrlParamTuple(static_cast<int>(index), objectOf<HTuple>(tuple));
  });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedurecallExecute(ProcedureCallHandle call) {
  if (ErrorMsg* error = nullArgument("hprocedurecallExecute", {{"call", call}})) return error;
  return recordFrame([&] { callOf(call).Execute(); });
}

// The handle gets a deep copy, independent of the call: changing or releasing it leaves the
// call's output and every other copy alone.
QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL
hprocedurecallGetOutputCtrlParamTuple(ProcedureCallHandle call, int32_t index, TupleHandle* tuple) {
  if (ErrorMsg* error = nullArgument("hprocedurecallGetOutputCtrlParamTuple",
                                     {{"call", call}, {"tuple", tuple}})) {
    return error;
  }
  return recordFrame([&] {
    auto copy = std::make_unique<HTuple>(
        callOf(call).GetOutputCtrlParamTuple(static_cast<int>(index)).Clone());
    *tuple = reinterpret_cast<TupleHandle>(copy.release());
  });
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetInputCtrlParamCount(ProcedureHandle procedure,
                                                                       int32_t* count) {
  return storeCount("hprocedureGetInputCtrlParamCount", procedure, count,
                    &HDevProcedure::GetInputCtrlParamCount);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetInputIconicParamCount(ProcedureHandle procedure,
                                                                         int32_t* count) {
  return storeCount("hprocedureGetInputIconicParamCount", procedure, count,
                    &HDevProcedure::GetInputIconicParamCount);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetOutputCtrlParamCount(ProcedureHandle procedure,
                                                                        int32_t* count) {
  return storeCount("hprocedureGetOutputCtrlParamCount", procedure, count,
                    &HDevProcedure::GetOutputCtrlParamCount);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetOutputIconicParamCount(ProcedureHandle procedure,
                                                                          int32_t* count) {
  return storeCount("hprocedureGetOutputIconicParamCount", procedure, count,
                    &HDevProcedure::GetOutputIconicParamCount);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetInputCtrlParamName(ProcedureHandle procedure,
                                                                      int32_t index,
                                                                      const char** paramName) {
  return storeName("hprocedureGetInputCtrlParamName", procedure, index, paramName,
                   &HDevProcedure::GetInputCtrlParamName);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetInputIconicParamName(ProcedureHandle procedure,
                                                                        int32_t index,
                                                                        const char** paramName) {
  return storeName("hprocedureGetInputIconicParamName", procedure, index, paramName,
                   &HDevProcedure::GetInputIconicParamName);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetOutputCtrlParamName(ProcedureHandle procedure,
                                                                       int32_t index,
                                                                       const char** paramName) {
  return storeName("hprocedureGetOutputCtrlParamName", procedure, index, paramName,
                   &HDevProcedure::GetOutputCtrlParamName);
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hprocedureGetOutputIconicParamName(ProcedureHandle procedure,
                                                                         int32_t index,
                                                                         const char** paramName) {
  return storeName("hprocedureGetOutputIconicParamName", procedure, index, paramName,
                   &HDevProcedure::GetOutputIconicParamName);
}

// Neither the procedure nor the index is consulted: every parameter has dimension 0.
QUORVEX_EXPORT int32_t QUORVEX_CALL hprocedureGetInputCtrlParamDimension(ProcedureHandle, int32_t,
                                                                         int32_t* dimension) {
  if (dimension) *dimension = 0;
  return 0;
}
QUORVEX_ALIAS(int32_t QUORVEX_CALL hprocedureGetInputIconicParamDimension(ProcedureHandle procedure,
                                                                          int32_t index,
                                                                          int32_t* dimension),
              hprocedureGetInputCtrlParamDimension)
QUORVEX_ALIAS(int32_t QUORVEX_CALL hprocedureGetOutputCtrlParamDimension(ProcedureHandle procedure,
                                                                         int32_t index,
                                                                         int32_t* dimension),
              hprocedureGetInputCtrlParamDimension)
QUORVEX_ALIAS(int32_t QUORVEX_CALL hprocedureGetOutputIconicParamDimension(
                  ProcedureHandle procedure, int32_t index, int32_t* dimension),
              hprocedureGetInputCtrlParamDimension)

QUORVEX_EXPORT void QUORVEX_CALL hfreeProcedure(ProcedureHandle procedure) {
  delete reinterpret_cast<HDevProcedure*>(procedure);
}

QUORVEX_EXPORT void QUORVEX_CALL hfreeProcedureCall(ProcedureCallHandle call) {
  delete reinterpret_cast<HDevProcedureCall*>(call);
}
