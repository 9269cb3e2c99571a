#include "processes.h"

#include <stdexcept>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define popen _popen
#define pclose _pclose
#else
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace quorvex::run {

long currentProcessId() {
#if defined(_WIN32)
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(getpid());
#endif
}

bool stderrIsTerminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

void terminateProcess(long id) {
#if defined(_WIN32)
  if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id))) {
    TerminateProcess(process, 1);
    CloseHandle(process);
  }
#else
  kill(static_cast<pid_t>(id), SIGTERM);
#endif
}

std::string quotedArgument(const std::string& argument) {
#if defined(_WIN32)
  // cmd.exe and the C runtime both take a double-quoted argument whole; names of files
  // cannot hold a double quote there.
  return "\"" + argument + "\"";
#else
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

ChildProcess::ChildProcess(const std::string& command) {
#if defined(_WIN32)
  // cmd.exe /c strips the outer quotes of a line that starts with one.
  output_ = popen(("\"" + command + "\"").c_str(), "r");
#else
  // exec: the worker replaces the shell, so that stopping it is not reported by the shell.
  output_ = popen(("exec " + command).c_str(), "r");
#endif
  if (!output_) throw std::runtime_error("cannot start a worker process: " + command);
}

ChildProcess::~ChildProcess() {
  wait();
}

bool ChildProcess::readLine(std::string& line) {
  line.clear();
  if (!output_) return false;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, output_)) {
    line += buffer;
    if (!line.empty() && line.back() == '\n') {
      line.pop_back();
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
  }
  return !line.empty();
}

int ChildProcess::wait() {
  if (!output_) return 0;
  const int status = pclose(output_);
  output_ = nullptr;
  return status;
}

}  // namespace quorvex::run
