// Assertions on the library's error records. A failing check prints the record's own
// fields, so a broken test says what the library reported.
#ifndef QUORVEX_TESTS_SUPPORT_RECORD_ASSERTIONS_H
#define QUORVEX_TESTS_SUPPORT_RECORD_ASSERTIONS_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "quorvex.h"

namespace quorvex::test {

struct RecordDeleter {
  void operator()(ErrorMsg* record) const { hclearErrorMsg(record); }
};
// Owns a record for the length of a test.
using Record = std::unique_ptr<ErrorMsg, RecordDeleter>;

inline std::string describe(const ErrorMsg* record) {
  if (!record) return "no error";
  auto text = [](const char* s) { return s ? "\"" + std::string(s) + "\"" : std::string("null"); };
  return "kind " + std::to_string(record->kind) + ", errorCode " +
         std::to_string(record->errorCode) + ", procName " + text(record->procName) +
         ", progLineName " + text(record->progLineName) + ", progLineNum " +
         std::to_string(record->progLineNum) + ", message " + text(record->message) +
         ", errorText " + text(record->errorText);
}

inline ::testing::AssertionResult succeeded(ErrorMsg* result) {
  Record record(result);
  if (!record) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the library reported: " << describe(record.get());
}

// A failure of `kind` and `errorCode` (any code when it is -1); releases the record.
inline ::testing::AssertionResult failedWith(ErrorMsg* result, int32_t kind, int32_t errorCode) {
  Record record(result);
  if (record && record->kind == kind && (errorCode == -1 || record->errorCode == errorCode)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "the library reported: " << describe(record.get());
}

}  // namespace quorvex::test

// Checks that an export returning an ErrorMsg* succeeded; releases the record otherwise.
#define EXPECT_OK(call) EXPECT_TRUE(::quorvex::test::succeeded(call))
#define ASSERT_OK(call) ASSERT_TRUE(::quorvex::test::succeeded(call))
#define EXPECT_FAILS(call, kind, errorCode) \
  EXPECT_TRUE(::quorvex::test::failedWith(call, kind, errorCode))

#endif
