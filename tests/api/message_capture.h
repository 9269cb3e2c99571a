// Collects what the library writes to its two message channels during a test.
#ifndef QUORVEX_TESTS_API_MESSAGE_CAPTURE_H
#define QUORVEX_TESTS_API_MESSAGE_CAPTURE_H

#include <mutex>
#include <string>
#include <vector>

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

  static std::vector<std::string> out() { return copy(outLines()); }
  static std::vector<std::string> err() { return copy(errLines()); }
  static void clear() {
    std::lock_guard<std::mutex> lock(mutex());
    outLines().clear();
    errLines().clear();
  }

  static void QUORVEX_CALL captureOut(const char* text) { append(outLines(), text); }
  static void QUORVEX_CALL captureErr(const char* text) { append(errLines(), text); }

 private:
  static std::mutex& mutex() {
    static std::mutex m;
    return m;
  }
  static std::vector<std::string>& outLines() {
    static std::vector<std::string> lines;  // guarded by mutex()
    return lines;
  }
  static std::vector<std::string>& errLines() {
    static std::vector<std::string> lines;  // guarded by mutex()
    return lines;
  }
  static void append(std::vector<std::string>& lines, const char* text) {
    std::lock_guard<std::mutex> lock(mutex());
    lines.emplace_back(text);
  }
  static std::vector<std::string> copy(const std::vector<std::string>& lines) {
    std::lock_guard<std::mutex> lock(mutex());
    return lines;
  }
};

}  // namespace quorvex::test

#endif
