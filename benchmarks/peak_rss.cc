// Runs a command and prints its peak resident set size as a last line, "peak-rss-kib: N".
// A child of a large process (a Python script) would report its parent's size: Linux keeps the
// high-water mark of the memory the child had before exec. Started from this small program,
// the command's figure is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: peak_rss COMMAND [ARGUMENT...]\n");
    return 2;
  }
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return 127;
  std::fflush(stdout);
  std::printf("peak-rss-kib: %ld\n", usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}
