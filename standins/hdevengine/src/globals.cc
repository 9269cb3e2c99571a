#include "globals.h"

#include <map>
#include <string>

#include "common/annotated_mutex.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

class GlobalStore {
 public:
  static GlobalStore& instance() {
    static GlobalStore store;
    return store;
  }

  void load(const ProcedureData& procedure, Frame* frame) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    for (const auto& [slot, name] : procedure.globalCtrl) {
      const auto it = ctrl_.find(name);
      if (it == ctrl_.end()) continue;
      frame->ctrl[slot] = it->second;
      frame->ctrlSet[slot] = 1;
      frame->knownText[slot].first = -1;
    }
    for (const auto& [slot, name] : procedure.globalIconic) {
      const auto it = iconic_.find(name);
      if (it == iconic_.end()) continue;
      frame->iconic[slot] = it->second;
      frame->iconicSet[slot] = 1;
    }
  }

  void store(const ProcedureData& procedure, const Frame& frame) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    for (const auto& [slot, name] : procedure.globalCtrl) {
      if (frame.ctrlSet[slot]) ctrl_[name] = frame.ctrl[slot];
    }
    for (const auto& [slot, name] : procedure.globalIconic) {
      if (frame.iconicSet[slot]) iconic_[name] = frame.iconic[slot];
    }
  }

 private:
  quorvex::common::Mutex mutex_;
  std::map<std::string, HTuple> ctrl_ QUORVEX_GUARDED_BY(mutex_);
  std::map<std::string, HObject> iconic_ QUORVEX_GUARDED_BY(mutex_);
};

}  // namespace

void loadGlobals(const ProcedureData& procedure, Frame* frame) {
  if (procedure.globalCtrl.empty() && procedure.globalIconic.empty()) return;
  GlobalStore::instance().load(procedure, frame);
}

void storeGlobals(const ProcedureData& procedure, const Frame& frame) {
  if (procedure.globalCtrl.empty() && procedure.globalIconic.empty()) return;
  GlobalStore::instance().store(procedure, frame);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
