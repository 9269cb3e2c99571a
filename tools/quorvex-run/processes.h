// The few process services a batch needs, over POSIX or Windows: this process's id, whether
// stderr is a terminal, and worker processes that are handed their input through a pipe and
// whose standard output is read line by line.
#ifndef QUORVEX_TOOLS_RUN_PROCESSES_H
#define QUORVEX_TOOLS_RUN_PROCESSES_H

#include <cstdio>
#include <string>
#include <vector>

namespace quorvex::run {

long currentProcessId();
bool stderrIsTerminal();
void terminateProcess(long id);

// An argument quoted for a Windows command line, as the C runtime splits it.
std::string quotedArgument(const std::string& argument);

// This process's standard input, whole, read as bytes.
std::string readStandardInput();

// `program` started with `arguments`, no command interpreter between. Its standard input is
// a pipe from this process that carries `input` and then ends, so that nothing the process
// is told passes through a file others could reach; its standard error is this process's.
class ChildProcess {
 public:
  // Raises std::runtime_error when the process cannot be started.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& input);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line without its end; false once the output has ended.
  bool readLine(std::string& line);
  // Waits for the process to end; its exit status (128 + the signal that ended it).
  int wait();

 private:
  std::FILE* output_ = nullptr;
  long id_ = 0;
#ifdef _WIN32
  void* process_ = nullptr;  // the process's handle
#endif
};

}  // namespace quorvex::run

#endif
