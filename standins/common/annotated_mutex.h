// The stand-ins' own copy, shared by both libraries (they link nothing of the quorvex
// library): a mutex and its scoped lock that clang's thread-safety analysis understands
// (-Wthread-safety): members say which mutex guards them, functions which mutex they need or
// must not hold, and the compiler checks every access. libstdc++'s std::mutex carries no such
// annotations, hence this thin wrapper. Other compilers see plain std::mutex behaviour and
// macros that expand to nothing.
#ifndef QUORVEX_STANDINS_ANNOTATED_MUTEX_H
#define QUORVEX_STANDINS_ANNOTATED_MUTEX_H

#include <mutex>

#if defined(__clang__)
#define STANDIN_TSA(x) __attribute__((x))
#else
#define STANDIN_TSA(x)
#endif

#define STANDIN_CAPABILITY(name) STANDIN_TSA(capability(name))
#define STANDIN_SCOPED_CAPABILITY STANDIN_TSA(scoped_lockable)
#define STANDIN_GUARDED_BY(mutex) STANDIN_TSA(guarded_by(mutex))
#define STANDIN_REQUIRES(...) STANDIN_TSA(requires_capability(__VA_ARGS__))
#define STANDIN_EXCLUDES(...) STANDIN_TSA(locks_excluded(__VA_ARGS__))
#define STANDIN_ACQUIRE(...) STANDIN_TSA(acquire_capability(__VA_ARGS__))
#define STANDIN_RELEASE(...) STANDIN_TSA(release_capability(__VA_ARGS__))

namespace standin {

class STANDIN_CAPABILITY("mutex") Mutex {
 public:
  void lock() STANDIN_ACQUIRE() { mutex_.lock(); }
  void unlock() STANDIN_RELEASE() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

// Holds the mutex for its scope, as std::lock_guard does.
class STANDIN_SCOPED_CAPABILITY Lock {
 public:
  explicit Lock(Mutex& mutex) STANDIN_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~Lock() STANDIN_RELEASE() { mutex_.unlock(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  Mutex& mutex_;
};

}  // namespace standin

#endif
