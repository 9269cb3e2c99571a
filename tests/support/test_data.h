// Where the tests' programs and procedures live, and making the procedures findable.
#ifndef QUORVEX_TESTS_SUPPORT_TEST_DATA_H
#define QUORVEX_TESTS_SUPPORT_TEST_DATA_H

#include <cstdlib>
#include <string>

#include "support/record_assertions.h"

namespace quorvex::test {

inline std::string testData(const std::string& relative) {
  const char* root = std::getenv("QUORVEX_TEST_DATA");
  return std::string(root ? root : "tests/data") + "/" + relative;
}

// Adds the tests' procedure folder to the engine's paths, once per process.
inline void useTestProcedures() {
  static const bool added = [] {
    EXPECT_OK(haddProcedurePath(testData("procedures").c_str()));
    return true;
  }();
  (void)added;
}

}  // namespace quorvex::test

#endif
