// HDevProcedure and HDevProcedureCall.
#include <utility>

#include "entry/engine_entry.h"
#include "files/loader.h"
#include "hdevengine/HDevEngineCpp.h"
#include "runtime/engine_errors.h"
#include "runtime/interpreter.h"

namespace HDevEngineCpp {
namespace {

using HalconCpp::Standin::countLive;
using Standin::CallData;
using Standin::notLoaded;
using Standin::ParamGroup;
using Standin::ProcedureData;

constexpr const char* kGroupNames[Standin::kGroupCount] = {"iconic input", "iconic output",
                                                           "control input", "control output"};

const char* checkedName(const char* name) {
  if (!name || !*name) {
    throw Standin::engineError(Standin::kErrProcedureNotFound, ExceptionFile,
                               "no procedure name given");
  }
  return name;
}

const ProcedureData& loaded(const std::shared_ptr<ProcedureData>& data) {
  if (!data) notLoaded("the procedure object holds no procedure");
  return *data;
}

CallData& loaded(const std::shared_ptr<CallData>& data) {
  if (!data) notLoaded("the procedure call has no procedure");
  return *data;
}

Standin::ErrorPlace placeOf(const ProcedureData& procedure) {
  Standin::ErrorPlace place;
  place.procedure = procedure.name;
  return place;
}

// The position within the group of a parameter given by index, counting from 1.
std::size_t byIndex(const ProcedureData& procedure, ParamGroup group, int index) {
  const std::size_t count = procedure.params[group].size();
  if (index < 1 || static_cast<std::size_t>(index) > count) {
    throw Standin::engineError(Standin::kErrParameterIndex, ExceptionParameter, placeOf(procedure),
                               std::string(kGroupNames[group]) + " parameter " +
                                   std::to_string(index) + " of " + std::to_string(count));
  }
  return static_cast<std::size_t>(index - 1);
}

std::size_t byName(const ProcedureData& procedure, ParamGroup group, const char* name) {
  const std::string wanted = name ? name : "";
  const std::vector<std::string>& names = procedure.params[group];
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == wanted) return i;
  }
  throw Standin::engineError(
      Standin::kErrParameterName, ExceptionParameter, placeOf(procedure),
      std::string("no ") + kGroupNames[group] + " parameter '" + wanted + "'");
}

int countOf(const std::shared_ptr<ProcedureData>& data, ParamGroup group) {
  return static_cast<int>(loaded(data).params[group].size());
}

const char* nameOf(const std::shared_ptr<ProcedureData>& data, ParamGroup group, int index) {
  const ProcedureData& procedure = loaded(data);
  return procedure.params[group][byIndex(procedure, group, index)].c_str();
}

void setCtrl(CallData& call, std::size_t position, const HTuple& tuple) {
  quorvex::common::Lock lock(call.mutex);
  call.ctrlIn[position] = tuple;
  call.ctrlInSet[position] = 1;
}

void setIconic(CallData& call, std::size_t position, const HObject& object) {
  quorvex::common::Lock lock(call.mutex);
  call.iconicIn[position] = object;
  call.iconicInSet[position] = 1;
}

HTuple ctrlOutput(CallData& call, std::size_t position) {
  quorvex::common::Lock lock(call.mutex);
  return call.ctrlOut[position];
}

HObject iconicOutput(CallData& call, std::size_t position) {
  quorvex::common::Lock lock(call.mutex);
  return call.iconicOut[position];
}

}  // namespace

HDevProcedure::HDevProcedure() {
  Standin::EngineEntry entry("HDevProcedure");
  countLive("procedures", 1);
}

HDevProcedure::HDevProcedure(const char* proc_name) {
  Standin::EngineEntry entry("HDevProcedure");
  data_ = Standin::loadExternalProcedure(checkedName(proc_name));
  countLive("procedures", 1);
}

HDevProcedure::HDevProcedure(const HDevProgram& program, const char* proc_name) {
  Standin::EngineEntry entry("HDevProcedure");
  if (!program.Data()) notLoaded("a local procedure needs a loaded program");
  data_ = Standin::localProcedure(program.Data(), checkedName(proc_name));
  countLive("procedures", 1);
}

HDevProcedure::HDevProcedure(const HDevProcedure& other) : data_(other.data_) {
  countLive("procedures", 1);
}

HDevProcedure& HDevProcedure::operator=(const HDevProcedure& other) {
  data_ = other.data_;
  return *this;
}

HDevProcedure::~HDevProcedure() {
  countLive("procedures", -1);
}

void HDevProcedure::LoadProcedure(const char* proc_name) {
  Standin::EngineEntry entry("HDevProcedure::LoadProcedure");
  data_ = Standin::loadExternalProcedure(checkedName(proc_name));
}

bool HDevProcedure::IsLoaded() const {
  Standin::EngineEntry entry("HDevProcedure::IsLoaded");
  return data_ != nullptr;
}

const char* HDevProcedure::GetName() const {
  Standin::EngineEntry entry("HDevProcedure::GetName");
  return data_ ? data_->name.c_str() : "";
}

HDevProcedureCall HDevProcedure::CreateCall() const {
  Standin::EngineEntry entry("HDevProcedure::CreateCall");
  return HDevProcedureCall(*this);
}

int HDevProcedure::GetInputIconicParamCount() const {
  Standin::EngineEntry entry("HDevProcedure::GetInputIconicParamCount");
  return countOf(data_, Standin::kIconicIn);
}

int HDevProcedure::GetOutputIconicParamCount() const {
  Standin::EngineEntry entry("HDevProcedure::GetOutputIconicParamCount");
  return countOf(data_, Standin::kIconicOut);
}

int HDevProcedure::GetInputCtrlParamCount() const {
  Standin::EngineEntry entry("HDevProcedure::GetInputCtrlParamCount");
  return countOf(data_, Standin::kCtrlIn);
}

int HDevProcedure::GetOutputCtrlParamCount() const {
  Standin::EngineEntry entry("HDevProcedure::GetOutputCtrlParamCount");
  return countOf(data_, Standin::kCtrlOut);
}

const char* HDevProcedure::GetInputIconicParamName(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedure::GetInputIconicParamName");
  return nameOf(data_, Standin::kIconicIn, par_idx);
}

const char* HDevProcedure::GetOutputIconicParamName(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedure::GetOutputIconicParamName");
  return nameOf(data_, Standin::kIconicOut, par_idx);
}

const char* HDevProcedure::GetInputCtrlParamName(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedure::GetInputCtrlParamName");
  return nameOf(data_, Standin::kCtrlIn, par_idx);
}

const char* HDevProcedure::GetOutputCtrlParamName(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedure::GetOutputCtrlParamName");
  return nameOf(data_, Standin::kCtrlOut, par_idx);
}

HDevProcedureCall::HDevProcedureCall() {
  Standin::EngineEntry entry("HDevProcedureCall");
  countLive("procedure_calls", 1);
}

HDevProcedureCall::HDevProcedureCall(const HDevProcedure& procedure) {
  Standin::EngineEntry entry("HDevProcedureCall");
  loaded(procedure.Data());
  data_ = std::make_shared<CallData>(procedure.Data());
  countLive("procedure_calls", 1);
}

HDevProcedureCall::HDevProcedureCall(const HDevProcedureCall& other) : data_(other.data_) {
  countLive("procedure_calls", 1);
}

HDevProcedureCall& HDevProcedureCall::operator=(const HDevProcedureCall& other) {
  data_ = other.data_;
  return *this;
}

HDevProcedureCall::~HDevProcedureCall() {
  countLive("procedure_calls", -1);
}

void HDevProcedureCall::SetInputIconicParamObject(int par_idx, const HObject& obj) {
  Standin::EngineEntry entry("HDevProcedureCall::SetInputIconicParamObject");
  CallData& call = loaded(data_);
  setIconic(call, byIndex(*call.procedure, Standin::kIconicIn, par_idx), obj);
}

void HDevProcedureCall::SetInputIconicParamObject(const char* par_name, const HObject& obj) {
  Standin::EngineEntry entry("HDevProcedureCall::SetInputIconicParamObject");
  CallData& call = loaded(data_);
  setIconic(call, byName(*call.procedure, Standin::kIconicIn, par_name), obj);
}

void HDevProcedureCall::SetInputCtrlParamTuple(int par_idx, const HTuple& tuple) {
  Standin::EngineEntry entry("HDevProcedureCall::SetInputCtrlParamTuple");
  CallData& call = loaded(data_);
  setCtrl(call, byIndex(*call.procedure, Standin::kCtrlIn, par_idx), tuple);
}

void HDevProcedureCall::SetInputCtrlParamTuple(const char* par_name, const HTuple& tuple) {
  Standin::EngineEntry entry("HDevProcedureCall::SetInputCtrlParamTuple");
  CallData& call = loaded(data_);
  setCtrl(call, byName(*call.procedure, Standin::kCtrlIn, par_name), tuple);
}

void HDevProcedureCall::Execute() {
  Standin::EngineEntry entry("HDevProcedureCall::Execute");
  CallData& call = loaded(data_);
  const ProcedureData& procedure = *call.procedure;
  Standin::Frame frame(procedure);
  {
    quorvex::common::Lock lock(call.mutex);
    for (std::size_t i = 0; i < call.ctrlIn.size(); ++i) {
      if (!call.ctrlInSet[i]) {
        throw Standin::engineError(Standin::kErrInputNotSet, ExceptionParameter, placeOf(procedure),
                                   procedure.params[Standin::kCtrlIn][i]);
      }
      const int slot = procedure.paramSlots[Standin::kCtrlIn][i];
      frame.ctrl[slot] = call.ctrlIn[i];
      frame.ctrlSet[slot] = 1;
    }
    for (std::size_t i = 0; i < call.iconicIn.size(); ++i) {
      if (!call.iconicInSet[i]) {
        throw Standin::engineError(Standin::kErrInputNotSet, ExceptionParameter, placeOf(procedure),
                                   procedure.params[Standin::kIconicIn][i]);
      }
      const int slot = procedure.paramSlots[Standin::kIconicIn][i];
      frame.iconic[slot] = call.iconicIn[i];
      frame.iconicSet[slot] = 1;
    }
    // A failed run leaves no outputs of an earlier one behind.
    for (HTuple& output : call.ctrlOut) output = HTuple();
    for (HObject& output : call.iconicOut) output = HObject();
  }
  Standin::runProcedure(procedure, &frame);
  quorvex::common::Lock lock(call.mutex);
  for (std::size_t i = 0; i < call.ctrlOut.size(); ++i) {
    const int slot = procedure.paramSlots[Standin::kCtrlOut][i];
    if (frame.ctrlSet[slot]) call.ctrlOut[i] = std::move(frame.ctrl[slot]);
  }
  for (std::size_t i = 0; i < call.iconicOut.size(); ++i) {
    const int slot = procedure.paramSlots[Standin::kIconicOut][i];
    if (frame.iconicSet[slot]) call.iconicOut[i] = std::move(frame.iconic[slot]);
  }
}

HObject HDevProcedureCall::GetOutputIconicParamObject(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedureCall::GetOutputIconicParamObject");
  CallData& call = loaded(data_);
  return iconicOutput(call, byIndex(*call.procedure, Standin::kIconicOut, par_idx));
}

HObject HDevProcedureCall::GetOutputIconicParamObject(const char* par_name) const {
  Standin::EngineEntry entry("HDevProcedureCall::GetOutputIconicParamObject");
  CallData& call = loaded(data_);
  return iconicOutput(call, byName(*call.procedure, Standin::kIconicOut, par_name));
}

HTuple HDevProcedureCall::GetOutputCtrlParamTuple(int par_idx) const {
  Standin::EngineEntry entry("HDevProcedureCall::GetOutputCtrlParamTuple");
  CallData& call = loaded(data_);
  return ctrlOutput(call, byIndex(*call.procedure, Standin::kCtrlOut, par_idx));
}

HTuple HDevProcedureCall::GetOutputCtrlParamTuple(const char* par_name) const {
  Standin::EngineEntry entry("HDevProcedureCall::GetOutputCtrlParamTuple");
  CallData& call = loaded(data_);
  return ctrlOutput(call, byName(*call.procedure, Standin::kCtrlOut, par_name));
}

}  // namespace HDevEngineCpp
