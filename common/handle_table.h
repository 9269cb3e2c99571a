// Objects behind integer handles, as the vendor's operators hand them out (windows, open files,
// image acquisition devices): handles count up from a first value and are never reused, and
// every access runs under the table's one lock, so that an operation on one handle and the
// closing of it from another thread never overlap.
#ifndef QUORVEX_COMMON_HANDLE_TABLE_H
#define QUORVEX_COMMON_HANDLE_TABLE_H

#include <cstddef>
#include <map>
#include <utility>

#include "common/annotated_mutex.h"

namespace quorvex {
namespace common {

template <typename Handle, typename Value>
class HandleTable {
 public:
  explicit HandleTable(Handle first = 1) : next_(first) {}

  // Adds `value` under the next handle. `admit(handle, value, count)` runs under the lock first
  // with the number of open handles; it may refuse by throwing, which takes no handle.
  template <typename Admit>
  Handle add(Value value, Admit&& admit) QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    std::forward<Admit>(admit)(next_, value, values_.size());
    const Handle handle = next_++;
    values_.emplace(handle, std::move(value));
    return handle;
  }
  Handle add(Value value) QUORVEX_EXCLUDES(mutex_) {
    return add(std::move(value), [](Handle, const Value&, std::size_t) {});
  }

  // False when the handle is not open.
  bool remove(Handle handle) QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    return values_.erase(handle) != 0;
  }

  void clear() QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    values_.clear();
  }

  // Runs fn(Value&) under the lock. For a handle that is not open it calls missing(), which
  // raises the caller's own error.
  template <typename Missing, typename Fn>
  decltype(auto) with(Handle handle, Missing&& missing, Fn&& fn) QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    const auto it = values_.find(handle);
    if (it == values_.end()) {
      std::forward<Missing>(missing)();
      throw MissingDidNotRaise{};
    }
    return std::forward<Fn>(fn)(it->second);
  }

  // Runs fn(Value&) under the lock on each open value in the order of their handles; a
  // predicate form stops at the first value for which fn returns true and says whether any did.
  template <typename Fn>
  void forEach(Fn&& fn) QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    for (auto& entry : values_) fn(entry.second);
  }
  template <typename Fn>
  bool any(Fn&& fn) QUORVEX_EXCLUDES(mutex_) {
    Lock lock(mutex_);
    for (auto& entry : values_) {
      if (fn(entry.second)) return true;
    }
    return false;
  }

 private:
  struct MissingDidNotRaise {};

  Mutex mutex_;
  std::map<Handle, Value> values_ QUORVEX_GUARDED_BY(mutex_);
  Handle next_ QUORVEX_GUARDED_BY(mutex_);
};

}  // namespace common
}  // namespace quorvex

#endif
