// A mutex and its scoped lock that clang's thread-safety analysis understands, for the library,
// the stand-ins and the runner alike
// (-Wthread-safety): members say which mutex guards them, functions which mutex they need or
// must not hold, and the compiler checks every access. libstdc++'s std::mutex carries no such
// annotations, hence this thin wrapper. Other compilers see plain std::mutex behaviour and
// macros that expand to nothing.
#ifndef QUORVEX_COMMON_ANNOTATED_MUTEX_H
#define QUORVEX_COMMON_ANNOTATED_MUTEX_H

#include <mutex>

#if defined(__clang__)
#define QUORVEX_TSA(x) __attribute__((x))
#else
#define QUORVEX_TSA(x)
#endif

#define QUORVEX_CAPABILITY(name) QUORVEX_TSA(capability(name))
#define QUORVEX_SCOPED_CAPABILITY QUORVEX_TSA(scoped_lockable)
#define QUORVEX_GUARDED_BY(mutex) QUORVEX_TSA(guarded_by(mutex))
#define QUORVEX_REQUIRES(...) QUORVEX_TSA(requires_capability(__VA_ARGS__))
#define QUORVEX_EXCLUDES(...) QUORVEX_TSA(locks_excluded(__VA_ARGS__))
#define QUORVEX_ACQUIRE(...) QUORVEX_TSA(acquire_capability(__VA_ARGS__))
#define QUORVEX_RELEASE(...) QUORVEX_TSA(release_capability(__VA_ARGS__))

namespace quorvex::common {

class QUORVEX_CAPABILITY("mutex") Mutex {
 public:
  void lock() QUORVEX_ACQUIRE() { mutex_.lock(); }
  void unlock() QUORVEX_RELEASE() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

// Holds the mutex for its scope, as std::lock_guard does.
class QUORVEX_SCOPED_CAPABILITY Lock {
 public:
  explicit Lock(Mutex& mutex) QUORVEX_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~Lock() QUORVEX_RELEASE() { mutex_.unlock(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  Mutex& mutex_;
};

}  // namespace quorvex::common

#endif
