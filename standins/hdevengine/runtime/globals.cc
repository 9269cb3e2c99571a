#include "runtime/globals.h"

#include <utility>

#include "common/annotated_mutex.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

class GlobalStore {
 public:
  static GlobalStore& instance() {
    static GlobalStore store;
    return store;
  }

  bool copyCtrl(const std::string& name, HTuple* value) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    const auto it = ctrl_.find(name);
    if (it == ctrl_.end()) return false;
    *value = it->second;
    return true;
  }

  void putCtrl(std::map<std::string, HTuple>* values) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    for (auto& [name, value] : *values) ctrl_[name] = std::move(value);
  }

  // Objects share their data: they are exchanged at every call, as they cost nothing to copy.
  void loadIconic(const ProcedureData& procedure, Frame* frame) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    for (const auto& [slot, name] : procedure.globalIconic) {
      const auto it = iconic_.find(name);
      if (it == iconic_.end()) continue;
      frame->iconic[slot] = it->second;
      frame->iconicSet[slot] = 1;
    }
  }

  void storeIconic(const ProcedureData& procedure, const Frame& frame) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
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

CopiedGlobals RunGlobals::take(const ProcedureData& procedure, Frame* frame) {
  CopiedGlobals copied;
  if (!procedure.globalIconic.empty()) GlobalStore::instance().loadIconic(procedure, frame);
  for (const auto& [slot, name] : procedure.globalCtrl) {
    const auto held = ctrl_.find(name);
    if (held != ctrl_.end()) {
      frame->ctrl[slot] = std::move(held->second);
      ctrl_.erase(held);
    } else if (GlobalStore::instance().copyCtrl(name, &frame->ctrl[slot])) {
      copied.elements += frame->ctrl[slot].Length();
      copied.text += static_cast<long long>(textBytes(frame->ctrl[slot]));
    } else {
      continue;
    }
    frame->ctrlSet[slot] = 1;
    frame->knownText[slot].first = -1;
  }
  return copied;
}

void RunGlobals::give(const ProcedureData& procedure, Frame* frame, bool keep) {
  if (!procedure.globalIconic.empty()) GlobalStore::instance().storeIconic(procedure, *frame);
  for (const auto& [slot, name] : procedure.globalCtrl) {
    if (!frame->ctrlSet[slot]) continue;
    if (keep) {
      ctrl_[name] = frame->ctrl[slot];
    } else {
      ctrl_[name] = std::move(frame->ctrl[slot]);
      frame->ctrl[slot] = HTuple();
      frame->ctrlSet[slot] = 0;
    }
  }
}

void RunGlobals::publish() {
  GlobalStore::instance().putCtrl(&ctrl_);
  ctrl_.clear();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
