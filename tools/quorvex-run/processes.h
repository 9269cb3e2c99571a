// The few process services a batch needs, over POSIX or Windows: this process's id, whether
// stderr is a terminal, and worker processes whose standard output is read line by line.
#ifndef QUORVEX_TOOLS_RUN_PROCESSES_H
#define QUORVEX_TOOLS_RUN_PROCESSES_H

#include <cstdio>
#include <string>

namespace quorvex::run {

long currentProcessId();
bool stderrIsTerminal();
void terminateProcess(long id);

// An argument quoted for the command interpreter that starts worker processes.
std::string quotedArgument(const std::string& argument);

// A command run through the command interpreter, its standard output read by this process.
class ChildProcess {
 public:
  // Raises std::runtime_error when the command cannot be started.
  explicit ChildProcess(const std::string& command);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line without its end; false once the output has ended.
  bool readLine(std::string& line);
  // Waits for the process to end; its exit status.
  int wait();

 private:
  std::FILE* output_ = nullptr;
};

}  // namespace quorvex::run

#endif
