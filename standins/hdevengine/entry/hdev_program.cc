// HDevProgram and HDevProgramCall.
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
using Standin::ProgramData;

const char* checkedFileName(const char* fileName) {
  if (!fileName || !*fileName) {
    throw Standin::engineError(Standin::kErrFileNotFound, ExceptionFile, "no file name given");
  }
  return fileName;
}

// A variable of the program's main procedure after Execute. Unknown names and variables
// without a value are errors; neither reads as an empty value.
template <typename Value, typename Read>
Value readVariable(CallData& call, const char* name, bool iconic, Read read) {
  const Standin::ProcedureData& main = *call.procedure;
  const std::string variable = name ? name : "";
  const int slot = iconic ? main.iconicSlot(variable) : main.ctrlSlot(variable);
  if (slot < 0) {
    throw Standin::engineError(
        Standin::kErrUnknownVariable, ExceptionParameter,
        std::string(iconic ? "no iconic variable '" : "no control variable '") + variable +
            "' in the program");
  }
  quorvex::common::Lock lock(call.mutex);
  if (!call.variables) {
    throw Standin::engineError(Standin::kErrUnsetVariable, ExceptionParameter,
                               variable + ": the program has not run");
  }
  const Standin::Frame& frame = *call.variables;
  if (!(iconic ? frame.iconicSet[slot] : frame.ctrlSet[slot])) {
    throw Standin::engineError(Standin::kErrUnsetVariable, ExceptionParameter, variable);
  }
  return read(frame, slot);
}

}  // namespace

HDevProgram::HDevProgram() {
  Standin::EngineEntry entry("HDevProgram");
  countLive("programs", 1);
}

HDevProgram::HDevProgram(const char* file_name) {
  Standin::EngineEntry entry("HDevProgram");
  data_ = Standin::loadProgram(checkedFileName(file_name));
  countLive("programs", 1);
}

HDevProgram::HDevProgram(const HDevProgram& other) : data_(other.data_) {
  countLive("programs", 1);
}

HDevProgram& HDevProgram::operator=(const HDevProgram& other) {
  data_ = other.data_;
  return *this;
}

HDevProgram::~HDevProgram() {
  countLive("programs", -1);
}

void HDevProgram::LoadProgram(const char* file_name) {
  Standin::EngineEntry entry("HDevProgram::LoadProgram");
  data_ = Standin::loadProgram(checkedFileName(file_name));
}

bool HDevProgram::IsLoaded() const {
  Standin::EngineEntry entry("HDevProgram::IsLoaded");
  return data_ != nullptr;
}

const char* HDevProgram::GetName() const {
  Standin::EngineEntry entry("HDevProgram::GetName");
  return data_ ? data_->name.c_str() : "";
}

HDevProgramCall HDevProgram::CreateCall() const {
  Standin::EngineEntry entry("HDevProgram::CreateCall");
  return HDevProgramCall(*this);
}

HDevProgramCall::HDevProgramCall() {
  Standin::EngineEntry entry("HDevProgramCall");
  countLive("program_calls", 1);
}

HDevProgramCall::HDevProgramCall(const HDevProgram& program) {
  Standin::EngineEntry entry("HDevProgramCall");
  const std::shared_ptr<ProgramData>& data = program.Data();
  if (!data) notLoaded("a call needs a loaded program");
  // The main procedure, sharing the program's lifetime.
  std::shared_ptr<Standin::ProcedureData> main(data, data->main);
  data_ = std::make_shared<CallData>(std::move(main));
  countLive("program_calls", 1);
}

HDevProgramCall::HDevProgramCall(const HDevProgramCall& other) : data_(other.data_) {
  countLive("program_calls", 1);
}

HDevProgramCall& HDevProgramCall::operator=(const HDevProgramCall& other) {
  data_ = other.data_;
  return *this;
}

HDevProgramCall::~HDevProgramCall() {
  countLive("program_calls", -1);
}

void HDevProgramCall::Execute() {
  Standin::EngineEntry entry("HDevProgramCall::Execute");
  if (!data_) notLoaded("the program call has no program");
  auto frame = std::make_unique<Standin::Frame>(*data_->procedure);
  // The variables stay readable after a failure too: they show how far the program got.
  try {
    Standin::runProcedure(*data_->procedure, frame.get());
  } catch (...) {
    quorvex::common::Lock lock(data_->mutex);
    data_->variables = std::move(frame);
    throw;
  }
  quorvex::common::Lock lock(data_->mutex);
  data_->variables = std::move(frame);
}

HTuple HDevProgramCall::GetCtrlVarTuple(const char* var_name) const {
  Standin::EngineEntry entry("HDevProgramCall::GetCtrlVarTuple");
  if (!data_) notLoaded("the program call has no program");
  return readVariable<HTuple>(*data_, var_name, false, [](const Standin::Frame& frame, int slot) {
    return frame.ctrl[slot];
  });
}

HObject HDevProgramCall::GetIconicVarObject(const char* var_name) const {
  Standin::EngineEntry entry("HDevProgramCall::GetIconicVarObject");
  if (!data_) notLoaded("the program call has no program");
  return readVariable<HObject>(*data_, var_name, true, [](const Standin::Frame& frame, int slot) {
    return frame.iconic[slot];
  });
}

}  // namespace HDevEngineCpp
