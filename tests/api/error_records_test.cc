// Error records as callers see them: built from the vendor's exceptions by a failing export,
// read field by field, released by hclearErrorMsg.
#include <gtest/gtest.h>

#include <string>

#include "api/record_assertions.h"
#include "api/standin_control.h"
#include "quorvex.h"

namespace quorvex::test {
namespace {

class ErrorRecords : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

// Each row: the faults armed before hcreateTuple, and the record it gives. Every construction
// the library makes counts, the one inside the error-text lookup too: a fault armed twice fails
// the handle's construction and then the lookup of its text.
TEST_F(ErrorRecords, FieldsComeFromTheVendorsException) {
  const std::string failed1302 =
      "kind 1, errorCode 1302, procName \"HTuple\", progLineName null, progLineNum -1, message "
      "\"HALCON error #1302: Wrong value of control parameter 2 in operator HTuple\", errorText ";
  const std::pair<void (*)(), std::string> rows[] = {
      {[] { injectFault("HTuple", 1302); }, failed1302 + "\"Wrong value of control parameter 2\""},
      {[] {
         injectFault("HTuple", 1302);
         injectFault("GetErrorText", 1301);
       },
       failed1302 + "null"},
      {[] { injectFault("HTuple", 1302, 2); }, failed1302 + "null"},
      {[] { injectFault("HTuple", 9999); },
       "kind 1, errorCode 9999, procName \"HTuple\", progLineName null, progLineNum -1, message "
       "\"HALCON error #9999 in operator HTuple\", errorText null"},
      {[] { injectFault("HTuple", 1201, 1, ""); },
       "kind 1, errorCode 1201, procName \"\", progLineName null, progLineNum -1, message \"\", "
       "errorText \"Wrong type of control parameter 1\""}};
  for (const auto& [arm, expected] : rows) {
    arm();
    TupleHandle tuple = reinterpret_cast<TupleHandle>(0x1);
    Record record(hcreateTuple(&tuple));
    EXPECT_EQ(tuple, nullptr) << "the out-parameter stays null after a failed create";
    EXPECT_EQ(describe(record.get()), expected);
    EXPECT_TRUE(!record || record->reserved == nullptr);
    clearFaults();
  }
  // The fault armed twice is spent: the next construction succeeds.
  injectFault("HTuple", 1302, 2);
  TupleHandle tuple = nullptr;
  Record spent(hcreateTuple(&tuple));
  EXPECT_OK(hcreateTuple(&tuple));
  EXPECT_NE(tuple, nullptr);
  hfreeTuple(tuple);
}

TEST_F(ErrorRecords, RecordsAreIndependentOfEachOther) {
  injectFault("HTuple", 1201, 1, "first");
  TupleHandle tuple = nullptr;
  Record first(hcreateTuple(&tuple));
  injectFault("HTuple", 1202, 1, "second");
  Record second(hcreateTuple(&tuple));

  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_STREQ(first->message, "first");
  EXPECT_STREQ(second->message, "second");
  second.reset();
  EXPECT_STREQ(first->message, "first");
  hclearErrorMsg(nullptr);  // null is released as nothing
}

}  // namespace
}  // namespace quorvex::test
