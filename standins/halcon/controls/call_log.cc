// The "standin_call_log" control: set_system ('standin_call_log', 'start'|'stop'|'clear');
// get_system gives one entry per window operation called while recording, in call order,
// e.g. "SetColor(3600, 'green')". Control parameters appear as HTuple::ToString shows them,
// iconic ones as their classes in angle brackets ("<region, region>").
#include <atomic>
#include <deque>

#include "common/annotated_mutex.h"
#include "core/iconic.h"
#include "standin/controls.h"
#include "windows/window.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr std::size_t kMaxEntries = 100000;  // beyond, the oldest entries are dropped

class CallLog {
 public:
  std::atomic<bool> recording{false};

  void add(const std::string& entry) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    entries_.push_back(entry);
    if (entries_.size() > kMaxEntries) entries_.pop_front();
  }
  void clear() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    entries_.clear();
  }
  std::deque<std::string> entries() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    return entries_;
  }

 private:
  quorvex::common::Mutex mutex_;
  std::deque<std::string> entries_ QUORVEX_GUARDED_BY(mutex_);
};

CallLog& callLog() {
  static CallLog* log = new CallLog;  // outlives every static destructor
  return *log;
}

void setCallLog(const HTuple& value) {
  const std::string command = oneString(value, "set_system", 2);
  if (command == "start") {
    callLog().recording.store(true);
  } else if (command == "stop") {
    callLog().recording.store(false);
  } else if (command == "clear") {
    callLog().clear();
  } else {
    fail("set_system", 1302);
  }
}

HTuple getCallLog() {
  HTuple result;
  for (const std::string& entry : callLog().entries()) result.Append(HTuple(entry.c_str()));
  return result;
}

const bool callLogRegistered = [] {
  registerControl("standin_call_log", &setCallLog, &getCallLog);
  return true;
}();

}  // namespace

bool callLogRecording() {
  return callLog().recording.load();
}

void logCall(const std::string& entry) {
  callLog().add(entry);
}

std::string argText(const HTuple& value) {
  return value.ToString().str();
}

std::string argText(const HObject& value) {
  if (!value.IsInitialized()) return "<uninitialized>";
  std::string text = "<";
  for (std::size_t i = 0; i < value.Items().size(); ++i) {
    text += (i ? ", " : "") + std::string(value.Items()[i]->className());
  }
  return text + ">";
}

}  // namespace Standin
}  // namespace HalconCpp
