// Collects what the library writes to its two message channels during a test.
#ifndef QUORVEX_TESTS_SUPPORT_MESSAGE_CAPTURE_H
#define QUORVEX_TESTS_SUPPORT_MESSAGE_CAPTURE_H

#include <string>
#include <vector>

#include "common/annotated_mutex.h"
#include "quorvex.h"

namespace quorvex::test {

// Installs capturing callbacks on both channels for its lifetime, then closes them again.
class MessageCapture {
 public:
  MessageCapture() {
    clear();
    hsetStdOutHandler(&captureOut);
    hsetStdErrHandler(&captureErr);
  }
  ~MessageCapture() {
    hsetStdOutHandler(nullptr);
    hsetStdErrHandler(nullptr);
  }

  static std::vector<std::string> out() { return copy(0); }
  static std::vector<std::string> err() { return copy(1); }
  static void clear() {
    common::Lock lock(state().mutex);
    for (auto& lines : state().lines) lines.clear();
  }

  static void QUORVEX_CALL captureOut(const char* text) { append(0, text); }
  static void QUORVEX_CALL captureErr(const char* text) { append(1, text); }

 private:
  struct State {
    common::Mutex mutex;
    std::vector<std::string> lines[2] QUORVEX_GUARDED_BY(mutex);  // standard output, error
  };
  static State& state() {
    static State instance;
    return instance;
  }
  static void append(int channel, const char* text) {
    common::Lock lock(state().mutex);
    state().lines[channel].emplace_back(text);
  }
  static std::vector<std::string> copy(int channel) {
    common::Lock lock(state().mutex);
    return state().lines[channel];
  }
};

}  // namespace quorvex::test

#endif
