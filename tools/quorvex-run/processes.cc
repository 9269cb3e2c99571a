#include "processes.h"

#include <algorithm>
#include <stdexcept>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
extern char** environ;
#endif

namespace quorvex::run {
namespace {

#if !defined(_WIN32)
std::runtime_error startFailure(const std::string& program, int error) {
  return std::runtime_error("cannot start a worker process " + program + ": " +
                            std::strerror(error));
}

// Writes all of `input`; a worker that ended early makes this false, never a SIGPIPE that
// would end the runner: the signal is held back for this thread and taken back if raised.
bool writeAll(int fd, const std::string& input) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  sigset_t pending;
  sigpending(&pending);
  const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
  std::size_t done = 0;
  bool broken = false;
  while (done < input.size()) {
    const ssize_t wrote = ::write(fd, input.data() + done, input.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      broken = errno == EPIPE;
      break;
    }
    done += static_cast<std::size_t>(wrote);
  }
  if (broken && !alreadyPending) {
    const timespec now{0, 0};
    sigtimedwait(&pipeSignal, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return done == input.size();
}

void closeOnExec(int fd) {
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
}
#endif

}  // namespace

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
  // The C runtime takes a double-quoted argument whole; names of files cannot hold a double
  // quote on Windows.
  return "\"" + argument + "\"";
}

std::string readStandardInput() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::string input;
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
    input.append(buffer, got);
  }
  return input;
}

#if defined(_WIN32)
ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& input) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
  HANDLE error = nullptr;
  const auto closeAll = [&] {
    for (HANDLE handle : {inRead, inWrite, outRead, outWrite, error}) {
      if (handle) CloseHandle(handle);
    }
  };
  // Only the child's ends are inherited; the runner's own ends stay with the runner.
  if (!CreatePipe(&inRead, &inWrite, &inherited, 0) ||
      !CreatePipe(&outRead, &outWrite, &inherited, 0) ||
      !SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0) ||
      !SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0) ||
      !DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_ERROR_HANDLE), GetCurrentProcess(),
                       &error, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
    error = nullptr;
    closeAll();
    throw std::runtime_error("cannot start a worker process: error " +
                             std::to_string(GetLastError()));
  }
  std::string line = quotedArgument(program);
  for (const auto& argument : arguments) line += " " + quotedArgument(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = error;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started)) {
    const DWORD code = GetLastError();
    closeAll();
    throw std::runtime_error("cannot start a worker process " + program + ": error " +
                             std::to_string(code));
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  id_ = static_cast<long>(started.dwProcessId);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  CloseHandle(error);
  for (std::size_t done = 0; done < input.size();) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(input.size() - done, 1 << 20));
    if (!WriteFile(inWrite, input.data() + done, chunk, &wrote, nullptr) || wrote == 0) break;
    done += wrote;
  }
  CloseHandle(inWrite);  // the input ends here
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(outRead), _O_RDONLY | _O_BINARY);
  output_ = fd >= 0 ? _fdopen(fd, "rb") : nullptr;
  if (!output_) CloseHandle(outRead);
}

int ChildProcess::wait() {
  if (output_) {
    std::fclose(output_);
    output_ = nullptr;
  }
  if (!process_) return 0;
  WaitForSingleObject(process_, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  CloseHandle(process_);
  process_ = nullptr;
  return static_cast<int>(code);
}
#else
ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& input) {
  int in[2], out[2];
  if (pipe(in) != 0) throw startFailure(program, errno);
  if (pipe(out) != 0) {
    const int error = errno;
    close(in[0]);
    close(in[1]);
    throw startFailure(program, error);
  }
  // Every end is closed in a child that is started later: a worker's input must end when
  // the runner closes it, not when the last worker ends.
  for (int fd : {in[0], in[1], out[0], out[1]}) closeOnExec(fd);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  if (error != 0) {
    close(in[1]);
    close(out[0]);
    throw startFailure(program, error);
  }
  id_ = static_cast<long>(pid);
  writeAll(in[1], input);  // a worker that ended early is reported by its missing rows
  close(in[1]);
  output_ = fdopen(out[0], "r");
  if (!output_) close(out[0]);
}

int ChildProcess::wait() {
  if (output_) {
    std::fclose(output_);
    output_ = nullptr;
  }
  if (!id_) return 0;
  int status = 0;
  while (waitpid(static_cast<pid_t>(id_), &status, 0) < 0 && errno == EINTR) {
  }
  id_ = 0;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : status;
}
#endif

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

}  // namespace quorvex::run
