// The one engine of the process behind every HDevEngine facade: procedure paths, attributes,
// the display implementation and the cache of loaded external procedures. Thread-safe; its
// lock is only ever held for a moment, never while a program runs or a display
// implementation is called.
#ifndef QUORVEX_STANDINS_HDEVENGINE_ENGINE_STATE_H
#define QUORVEX_STANDINS_HDEVENGINE_ENGINE_STATE_H

#include <atomic>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/annotated_mutex.h"
#include "files/procedure_data.h"
#include "hdevengine/HDevEngineCpp.h"

namespace HDevEngineCpp {
namespace Standin {

constexpr int kDefaultCallDepthLimit = 200;
constexpr Hlong kMaxCallDepthLimit = 1000000;
// Lines one Execute may run before it fails: no input runs forever.
constexpr Hlong kDefaultStepLimit = 100000000;
// The most elements one value may hold ("value_limit"): room for the ten-million-element
// tuples a loop may collect, yet far from exhausting memory.
constexpr Hlong kDefaultValueLimit = Hlong{1} << 24;
// The most text bytes one value may hold ("text_limit"): 16 MiB, a large file's text.
constexpr Hlong kDefaultTextLimit = Hlong{1} << 24;

// What a load needs, taken at its start so that it sees one consistent engine.
struct LoadSettings {
  std::vector<std::string> paths;
  bool ignoreInvalidLines = false;
  bool ignoreUnresolved = false;
  std::shared_ptr<ProcedureCache> cache;
};

class EngineState {
 public:
  static EngineState& instance();

  // Attributes: "ignore_invalid_lines", "ignore_unresolved_procedures" ('true'/'false' or
  // 1/0), "call_depth_limit", "step_limit", "value_limit" and "text_limit" (positive integers).
  // Throw HDevEngineException for an unknown name or a wrong value.
  void setAttribute(const std::string& name, const HTuple& value);
  HTuple attribute(const std::string& name) const;

  // A path may list several folders separated by ';' (also ':' outside Windows).
  void setProcedurePath(const std::string& path);
  void addProcedurePath(const std::string& path);

  // Keeps `impl` alive for good and makes it the one used; null means no display.
  void setOperatorImpl(HDevOperatorImplCpp* impl);
  HDevOperatorImplCpp* operatorImpl() const;

  int callDepthLimit() const;
  Hlong stepLimit() const;
  // Read by every tuple-building expression: an atomic, not the mutex.
  Hlong valueLimit() const { return valueLimit_.load(std::memory_order_relaxed); }
  Hlong textLimit() const { return textLimit_.load(std::memory_order_relaxed); }
  LoadSettings loadSettings() const;
  void unloadAllProcedures();

  // Loads run one at a time, so that two of them never read the same new procedure twice.
  quorvex::common::Mutex& loadMutex() { return loadMutex_; }

 private:
  EngineState();
  void appendFolders(const std::vector<std::string>& folders) QUORVEX_REQUIRES(mutex_);

  mutable quorvex::common::Mutex mutex_;
  std::vector<std::string> paths_ QUORVEX_GUARDED_BY(mutex_);
  std::unordered_set<std::string> knownPaths_ QUORVEX_GUARDED_BY(mutex_);  // paths_, for lookup
  bool ignoreInvalidLines_ QUORVEX_GUARDED_BY(mutex_) = false;
  bool ignoreUnresolved_ QUORVEX_GUARDED_BY(mutex_) = false;
  int callDepthLimit_ QUORVEX_GUARDED_BY(mutex_) = kDefaultCallDepthLimit;
  Hlong stepLimit_ QUORVEX_GUARDED_BY(mutex_) = kDefaultStepLimit;
  std::atomic<Hlong> valueLimit_{kDefaultValueLimit};
  std::atomic<Hlong> textLimit_{kDefaultTextLimit};
  HDevOperatorImplCpp* impl_ QUORVEX_GUARDED_BY(mutex_) = nullptr;
  std::vector<HDevOperatorImplCpp*> keptImpls_ QUORVEX_GUARDED_BY(mutex_);  // never deleted
  std::shared_ptr<ProcedureCache> cache_ QUORVEX_GUARDED_BY(mutex_);
  quorvex::common::Mutex loadMutex_;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
