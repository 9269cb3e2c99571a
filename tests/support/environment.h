// Setting and clearing one environment variable for the rest of a test process, on POSIX
// and on Windows alike (setenv is POSIX only).
#ifndef QUORVEX_TESTS_SUPPORT_ENVIRONMENT_H
#define QUORVEX_TESTS_SUPPORT_ENVIRONMENT_H

#include <cstdlib>

namespace quorvex::test {

// A null value removes the variable.
inline void setVariable(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

}  // namespace quorvex::test

#endif
