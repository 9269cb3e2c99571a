// The first statement of every public engine constructor and method: a call from outside
// the stand-ins meets a fault armed for its name (standin_fail), then the rest of the call
// runs inside, so that the engine's own work neither fires nor consumes a fault.
#ifndef QUORVEX_STANDINS_HDEVENGINE_ENGINE_ENTRY_H
#define QUORVEX_STANDINS_HDEVENGINE_ENGINE_ENTRY_H

#include "standin/controls.h"

namespace HDevEngineCpp {
namespace Standin {

// Raises HDevEngineException for a fault pending for `name`, when called from outside.
void checkEntryFault(const char* name);

// Raises the engine's "not loaded" error for a program or procedure object that holds none.
[[noreturn]] void notLoaded(const char* what);

class EngineEntry {
 public:
  explicit EngineEntry(const char* name) : check_(name) {}
  EngineEntry(const EngineEntry&) = delete;
  EngineEntry& operator=(const EngineEntry&) = delete;

 private:
  // Declared first: the fault check must see the caller's depth, before inside_ counts.
  struct Check {
    explicit Check(const char* name) { checkEntryFault(name); }
  } check_;
  HalconCpp::Standin::InsideScope inside_;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
