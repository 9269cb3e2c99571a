#include <map>
#include <string>
#include <utility>

#include "common/annotated_mutex.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace {

struct Control {
  Standin::ControlSetter set = nullptr;
  Standin::ControlGetter get = nullptr;
};

class SystemStore {
 public:
  SystemStore() {
    Standin::InsideScope inside;
    values_["use_window_thread"] = HTuple("false");
    controls_["standin_fail"] = Control{&Standin::armFaults, &Standin::pendingFaults};
    controls_["standin_fail_nth"] = Control{&Standin::armNthFault, &Standin::pendingFaults};
    controls_["standin_fail_seen"] =
        Control{&Standin::clearSeenOperations, &Standin::seenOperations};
  }

  void addControl(const std::string& name, Control control) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    controls_[name] = control;
  }

  // Controls run outside the lock: they may set other parameters themselves.
  bool findControl(const std::string& name, Control* control) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    auto it = controls_.find(name);
    if (it == controls_.end()) return false;
    *control = it->second;
    return true;
  }

  void set(const std::string& name, const HTuple& value) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    values_[name] = value;
  }

  bool get(const std::string& name, HTuple* value) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    auto it = values_.find(name);
    if (it == values_.end()) return false;
    *value = it->second;
    return true;
  }

 private:
  quorvex::common::Mutex mutex_;
  std::map<std::string, HTuple> values_ QUORVEX_GUARDED_BY(mutex_);
  std::map<std::string, Control> controls_ QUORVEX_GUARDED_BY(mutex_);
};

SystemStore& store() {
  static SystemStore* instance = new SystemStore;  // outlives every static destructor
  return *instance;
}

std::string parameterName(const HTuple& name, const char* procName) {
  if (name.Length() != 1) throw HException::ForOperator(procName, 1401);
  if (name[0].Type() != eElementTypeString) throw HException::ForOperator(procName, 1201);
  return name[0].S().str();
}

void checkBoolean(const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeString) throw HException::ForOperator("set_system", 1202);
  const std::string text = value[0].S().str();
  if (text != "true" && text != "false") throw HException::ForOperator("set_system", 1302);
}

const std::string kLivePrefix = "standin_live_";

}  // namespace

void SetSystem(const HTuple& SystemParameter, const HTuple& Value) {
  Standin::ApiScope scope("SetSystem");
  const std::string name = parameterName(SystemParameter, "set_system");
  Control control;
  if (store().findControl(name, &control)) {
    if (!control.set) throw HException::ForOperator("set_system", 1301);
    control.set(Value);
    return;
  }
  if (name.compare(0, kLivePrefix.size(), kLivePrefix) == 0) {
    throw HException::ForOperator("set_system", 1301);
  }
  if (name == "use_window_thread") checkBoolean(Value);
  store().set(name, Value);
}

void GetSystem(const HTuple& Query, HTuple* Information) {
  Standin::ApiScope scope("GetSystem");
  const std::string name = parameterName(Query, "get_system");
  HTuple result;
  Control control;
  if (store().findControl(name, &control) && control.get) {
    result = control.get();
  } else if (name.compare(0, kLivePrefix.size(), kLivePrefix) == 0 &&
             Standin::liveCount(name.substr(kLivePrefix.size())) >= 0) {
    result = HTuple(Standin::liveCount(name.substr(kLivePrefix.size())));
  } else if (!store().get(name, &result)) {
    throw HException::ForOperator("get_system", 1301);
  }
  *Information = std::move(result);
}

namespace Standin {
void registerControl(const char* name, ControlSetter set, ControlGetter get) {
  store().addControl(name, Control{set, get});
}
}  // namespace Standin

}  // namespace HalconCpp
