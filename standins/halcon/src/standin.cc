#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "halconcpp/HStandin.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {
namespace {

thread_local int insideDepth = 0;

struct PendingFault {
  Fault fault;
  Hlong remaining;
  Hlong skip = 0;  // calls that pass before the fault fires
};

class FaultTable {
 public:
  void arm(const std::string& operation, const Fault& fault, Hlong count, Hlong skip = 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_[operation] = PendingFault{fault, count, skip};
    armed_.store(true, std::memory_order_release);
  }

  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
    armed_.store(false, std::memory_order_release);
  }

  bool take(const char* operation, Fault* fault) {
    // Every public call checks; the flag keeps the unarmed case free of the lock.
    if (!armed_.load(std::memory_order_acquire)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.insert(operation);
    auto it = faults_.find(operation);
    if (it == faults_.end()) return false;
    if (it->second.skip > 0) {
      --it->second.skip;
      return false;
    }
    *fault = it->second.fault;
    if (--it->second.remaining <= 0) faults_.erase(it);
    if (faults_.empty()) armed_.store(false, std::memory_order_release);
    return true;
  }

  HTuple seen() {
    InsideScope inside;
    std::lock_guard<std::mutex> lock(mutex_);
    HTuple result;
    for (const auto& operation : seen_) result.Append(HTuple(operation.c_str()));
    return result;
  }
  void clearSeen() {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
  }

  HTuple pending() {
    InsideScope inside;
    std::lock_guard<std::mutex> lock(mutex_);
    HTuple result;
    for (const auto& [operation, pending] : faults_) {
      result.Append(HTuple(operation.c_str()));
      result.Append(HTuple(pending.fault.errorCode));
      result.Append(HTuple(pending.remaining));
    }
    return result;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, PendingFault> faults_;  // guarded by mutex_
  std::set<std::string> seen_;                  // guarded by mutex_
  std::atomic<bool> armed_{false};
};

FaultTable& faultTable() {
  static FaultTable* table = new FaultTable;  // outlives every static destructor
  return *table;
}

// The monitored kinds; a fixed list keeps counting lock-free.
constexpr const char* kLiveKinds[] = {"tuples",     "objects",         "programs", "program_calls",
                                      "procedures", "procedure_calls", "windows"};
constexpr int kLiveKindCount = sizeof kLiveKinds / sizeof kLiveKinds[0];
std::atomic<long> liveCounts[kLiveKindCount];

int liveIndex(const char* kind) {
  for (int i = 0; i < kLiveKindCount; ++i) {
    if (std::strcmp(kLiveKinds[i], kind) == 0) return i;
  }
  return -1;
}

}  // namespace

InsideScope::InsideScope() {
  ++insideDepth;
}
InsideScope::~InsideScope() {
  --insideDepth;
}

OutsideScope::OutsideScope() : savedDepth_(insideDepth) {
  insideDepth = 0;
}
OutsideScope::~OutsideScope() {
  insideDepth = savedDepth_;
}

bool calledFromOutside() {
  return insideDepth == 0;
}

bool takeFault(const char* operation, Fault* fault) {
  return faultTable().take(operation, fault);
}

void raiseFault(const char* operation, const Fault& fault) {
  if (fault.hasMessage) throw HException(fault.message.c_str(), fault.errorCode);
  throw HException::ForOperator(operation, fault.errorCode);
}

void raiseFaultIfPending(const char* operation) {
  Fault fault;
  if (takeFault(operation, &fault)) raiseFault(operation, fault);
}

ApiScope::ApiScope(const char* operation) {
  // inside_ already counts this scope: depth 1 means the caller was outside.
  if (insideDepth == 1) raiseFaultIfPending(operation);
}

void armFaults(const HTuple& value) {
  InsideScope inside;
  if (value.Length() == 0) {
    faultTable().clear();
    return;
  }
  const Hlong length = value.Length();
  if (length < 2 || length > 4) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeString || value[1].Type() != eElementTypeLong ||
      (length >= 3 && value[2].Type() != eElementTypeLong) ||
      (length == 4 && value[3].Type() != eElementTypeString)) {
    throw HException::ForOperator("set_system", 1202);
  }
  const Hlong count = length >= 3 ? value[2].L() : 1;
  if (count < 1) throw HException::ForOperator("set_system", 1302);
  Fault fault;
  fault.errorCode = value[1].L();
  if (length == 4) {
    fault.hasMessage = true;
    fault.message = value[3].S().str();
  }
  faultTable().arm(value[0].S().str(), fault, count);
}

void armNthFault(const HTuple& value) {
  InsideScope inside;
  if (value.Length() != 3) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeString || value[1].Type() != eElementTypeLong ||
      value[2].Type() != eElementTypeLong) {
    throw HException::ForOperator("set_system", 1202);
  }
  if (value[2].L() < 1) throw HException::ForOperator("set_system", 1302);
  Fault fault;
  fault.errorCode = value[1].L();
  faultTable().arm(value[0].S().str(), fault, 1, value[2].L() - 1);
}

void clearSeenOperations(const HTuple&) {
  faultTable().clearSeen();
}

HTuple seenOperations() {
  return faultTable().seen();
}

HTuple pendingFaults() {
  return faultTable().pending();
}

void countLive(const char* kind, int delta) {
  const int index = liveIndex(kind);
  if (index >= 0) liveCounts[index].fetch_add(delta, std::memory_order_relaxed);
}

Hlong liveCount(const std::string& kind) {
  const int index = liveIndex(kind.c_str());
  return index < 0 ? -1 : liveCounts[index].load(std::memory_order_relaxed);
}

}  // namespace Standin
}  // namespace HalconCpp
