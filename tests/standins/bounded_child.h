// Runs a piece of a test in a child process whose address space may grow only so far past
// what the test process has mapped: a road that builds a value before checking its bound
// runs out of memory there (bad_alloc, a record of its own) instead of passing, and the
// machine never feels it. Where a child cannot be bounded (Windows, sanitizers that reserve
// terabytes of shadow memory, an emulator) the piece runs in the test process, checking the
// record only.
#ifndef QUORVEX_TESTS_STANDINS_BOUNDED_CHILD_H
#define QUORVEX_TESTS_STANDINS_BOUNDED_CHILD_H

#include <cstdint>
#include <functional>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUORVEX_TEST_NO_RLIMIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUORVEX_TEST_NO_RLIMIT 1
#endif
#endif
#if defined(_WIN32) || !defined(__linux__)
#define QUORVEX_TEST_NO_RLIMIT 1
#endif
// The 32-bit build's tests run under qemu-i386, whose own mappings a limit on the child's
// address space would bound as well.
#if defined(__i386__)
#define QUORVEX_TEST_NO_RLIMIT 1
#endif

#ifndef QUORVEX_TEST_NO_RLIMIT
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#endif

namespace quorvex::test {

// What `body` returned (an error number, 0 for none), run with at most `extraBytes` more
// address space than the process has now; -1 when the child ended otherwise.
inline std::int64_t runBounded(std::uint64_t extraBytes,
                               const std::function<std::int64_t()>& body) {
#ifdef QUORVEX_TEST_NO_RLIMIT
  (void)extraBytes;
  return body();
#else
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    close(channel[0]);
    std::uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto mapped = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    const auto bound = static_cast<rlim_t>(mapped + extraBytes);
    const rlimit limit{bound, bound};
    std::int64_t result = -1;
    if (setrlimit(RLIMIT_AS, &limit) == 0) result = body();
    const ssize_t written = write(channel[1], &result, sizeof result);
    _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
  }
  close(channel[1]);
  std::int64_t result = -1;
  if (read(channel[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) result = -1;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return result;
#endif
}

}  // namespace quorvex::test

#endif
