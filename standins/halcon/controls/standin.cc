#include <atomic>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/annotated_mutex.h"
#include "core/live_count.h"
#include "halconcpp/HTuple.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {
namespace {

// Every public call reads and writes the thread's bookkeeping, so it lives in the static TLS
// block: a plain load, where the default model for a library that may be loaded at run time
// would call __tls_get_addr each time. These few bytes fit the room the loader keeps for such
// libraries.
#if defined(__ELF__)
#define STANDIN_FAST_TLS __attribute__((tls_model("initial-exec")))
#else
#define STANDIN_FAST_TLS
#endif

thread_local int insideDepth STANDIN_FAST_TLS = 0;

struct PendingFault {
  Fault fault;
  Hlong remaining;
  Hlong skip = 0;  // calls that pass before the fault fires
};

class FaultTable {
 public:
  void arm(const std::string& operation, const Fault& fault, Hlong count, Hlong skip = 0)
      QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    faults_[operation] = PendingFault{fault, count, skip};
    armed_.store(true, std::memory_order_release);
  }

  void clear() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    faults_.clear();
    armed_.store(false, std::memory_order_release);
  }

  bool take(const char* operation, Fault* fault) QUORVEX_EXCLUDES(mutex_) {
    // Every public call checks; the flag keeps the unarmed case free of the lock.
    if (!armed_.load(std::memory_order_acquire)) return false;
    quorvex::common::Lock lock(mutex_);
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

  HTuple seen() QUORVEX_EXCLUDES(mutex_) {
    InsideScope inside;
    quorvex::common::Lock lock(mutex_);
    HTuple result;
    for (const auto& operation : seen_) result.Append(HTuple(operation.c_str()));
    return result;
  }
  void clearSeen() QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    seen_.clear();
  }

  HTuple pending() QUORVEX_EXCLUDES(mutex_) {
    InsideScope inside;
    quorvex::common::Lock lock(mutex_);
    HTuple result;
    for (const auto& [operation, pending] : faults_) {
      result.Append(HTuple(operation.c_str()));
      result.Append(HTuple(pending.fault.errorCode));
      result.Append(HTuple(pending.remaining));
    }
    return result;
  }

 private:
  quorvex::common::Mutex mutex_;
  std::map<std::string, PendingFault> faults_ QUORVEX_GUARDED_BY(mutex_);
  std::set<std::string> seen_ QUORVEX_GUARDED_BY(mutex_);
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
static_assert(kLiveTuples == 0, "live_count.h names the kinds by their index here");

int liveIndex(const char* kind) {
  for (int i = 0; i < kLiveKindCount; ++i) {
    if (std::strcmp(kLiveKinds[i], kind) == 0) return i;
  }
  return -1;
}

// Each thread counts in a block of its own, so that creating and destroying objects (tuples
// above all) writes no memory that other threads share; a count is the sum over all blocks.
// A finished thread leaves its block, counts and all, to the next thread that starts.
struct LiveBlock {
  std::atomic<long> counts[kLiveKindCount] = {};
};

struct LiveBlocks {
  quorvex::common::Mutex mutex;
  std::vector<LiveBlock*> all QUORVEX_GUARDED_BY(mutex);  // never freed
  std::vector<LiveBlock*> free QUORVEX_GUARDED_BY(mutex);
  std::atomic<long> late[kLiveKindCount] = {};  // counted by threads past their block's end
};

LiveBlocks& liveBlocks() {
  static LiveBlocks* blocks = new LiveBlocks;  // outlives every static destructor
  return *blocks;
}

thread_local LiveBlock* threadBlock STANDIN_FAST_TLS = nullptr;
thread_local bool threadEnded STANDIN_FAST_TLS = false;

struct BlockReturn {
  ~BlockReturn() {
    LiveBlocks& blocks = liveBlocks();
    quorvex::common::Lock lock(blocks.mutex);
    blocks.free.push_back(threadBlock);
    threadBlock = nullptr;
    threadEnded = true;
  }
};

LiveBlock* acquireBlock() {
  if (threadEnded) return nullptr;
  static thread_local BlockReturn giveBack;  // hands the block on when the thread ends
  (void)&giveBack;
  LiveBlocks& blocks = liveBlocks();
  quorvex::common::Lock lock(blocks.mutex);
  if (blocks.free.empty()) {
    blocks.all.push_back(new LiveBlock);
    threadBlock = blocks.all.back();
  } else {
    threadBlock = blocks.free.back();
    blocks.free.pop_back();
  }
  return threadBlock;
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

namespace {
thread_local const char* enteredOperation STANDIN_FAST_TLS = nullptr;
}  // namespace

ApiScope::ApiScope(const char* operation) : outer_(enteredOperation) {
  // inside_ already counts this scope: depth 1 means the caller was outside.
  if (insideDepth == 1) raiseFaultIfPending(operation);
  // The outermost operation names the errors: the engine enters its operators from its
  // own inside scope.
  if (!enteredOperation) enteredOperation = operation;
}

ApiScope::~ApiScope() {
  enteredOperation = outer_;
}

const char* currentOperation() {
  return enteredOperation;
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

void countLiveKind(int kind, int delta) {
  LiveBlock* block = threadBlock;
  if (!block && !(block = acquireBlock())) {
    liveBlocks().late[kind].fetch_add(delta, std::memory_order_relaxed);
    return;
  }
  // Only this thread writes the block: a plain read and write, atomic for the readers.
  std::atomic<long>& count = block->counts[kind];
  count.store(count.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
}

void countLive(const char* kind, int delta) {
  const int index = liveIndex(kind);
  if (index >= 0) countLiveKind(index, delta);
}

Hlong liveCount(const std::string& kind) {
  const int index = liveIndex(kind.c_str());
  if (index < 0) return -1;
  LiveBlocks& blocks = liveBlocks();
  quorvex::common::Lock lock(blocks.mutex);
  long total = blocks.late[index].load(std::memory_order_relaxed);
  for (const LiveBlock* block : blocks.all)
    total += block->counts[index].load(std::memory_order_relaxed);
  return total;
}

}  // namespace Standin
}  // namespace HalconCpp
