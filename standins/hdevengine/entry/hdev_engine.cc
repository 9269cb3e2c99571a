// HDevEngine: a facade; every instance reaches the one EngineState of the process.
#include "entry/engine_entry.h"
#include "hdevengine/HDevEngineCpp.h"
#include "runtime/engine_errors.h"
#include "runtime/engine_state.h"

namespace HDevEngineCpp {
namespace {

const char* attributeName(const char* name) {
  if (!name)
    throw Standin::engineError(Standin::kErrUnknownAttribute, ExceptionAttribute, "no name");
  return name;
}

}  // namespace

HDevEngine::HDevEngine() {
  Standin::EngineEntry entry("HDevEngine");
}

HDevEngine::~HDevEngine() = default;

void HDevEngine::SetHDevOperatorImpl(HDevOperatorImplCpp* impl, bool) {
  Standin::EngineEntry entry("HDevEngine::SetHDevOperatorImpl");
  // Whatever the caller asks for, the engine keeps every implementation for good.
  Standin::EngineState::instance().setOperatorImpl(impl);
}

void HDevEngine::SetEngineAttribute(const char* name, const HTuple& value) {
  Standin::EngineEntry entry("HDevEngine::SetEngineAttribute");
  Standin::EngineState::instance().setAttribute(attributeName(name), value);
}

HTuple HDevEngine::GetEngineAttribute(const char* name) const {
  Standin::EngineEntry entry("HDevEngine::GetEngineAttribute");
  return Standin::EngineState::instance().attribute(attributeName(name));
}

void HDevEngine::SetProcedurePath(const char* path) {
  Standin::EngineEntry entry("HDevEngine::SetProcedurePath");
  Standin::EngineState::instance().setProcedurePath(path ? path : "");
}

void HDevEngine::AddProcedurePath(const char* path) {
  Standin::EngineEntry entry("HDevEngine::AddProcedurePath");
  Standin::EngineState::instance().addProcedurePath(path ? path : "");
}

void HDevEngine::UnloadAllProcedures() {
  Standin::EngineEntry entry("HDevEngine::UnloadAllProcedures");
  Standin::EngineState::instance().unloadAllProcedures();
}

}  // namespace HDevEngineCpp
