// Error records as callers see them: built from the vendor's exceptions by a failing export,
// read field by field, released by hclearErrorMsg.
#include <gtest/gtest.h>

#include <cstring>

#include "api/record_assertions.h"
#include "api/standin_control.h"
#include "quorvex.h"

namespace quorvex::test {
namespace {

class ErrorRecords : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

TEST_F(ErrorRecords, FailingCreateGivesHalconRecordWithVendorText) {
  injectFault("HTuple", 1302);
  TupleHandle tuple = reinterpret_cast<TupleHandle>(0x1);
  Record record(hcreateTuple(&tuple));

  ASSERT_NE(record, nullptr);
  EXPECT_EQ(tuple, nullptr) << "the out-parameter stays null after a failed create";
  EXPECT_EQ(record->kind, ErrorKindHalcon);
  EXPECT_EQ(record->errorCode, 1302);
  EXPECT_STREQ(record->procName, "HTuple");
  ASSERT_NE(record->message, nullptr);
  EXPECT_NE(std::strstr(record->message, "#1302"), nullptr) << record->message;
  EXPECT_STREQ(record->errorText, "Wrong value of control parameter 2");
  EXPECT_EQ(record->progLineName, nullptr);
  EXPECT_EQ(record->progLineNum, -1);
  EXPECT_EQ(record->reserved, nullptr);
}

TEST_F(ErrorRecords, FailingTextLookupCostsOnlyTheErrorText) {
  injectFault("HTuple", 1302);
  injectFault("GetErrorText", 1301);
  TupleHandle tuple = nullptr;
  Record record(hcreateTuple(&tuple));

  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->errorText, nullptr);
  EXPECT_EQ(record->kind, ErrorKindHalcon);
  EXPECT_EQ(record->errorCode, 1302);
  EXPECT_STREQ(record->procName, "HTuple");
  EXPECT_NE(record->message, nullptr);
  EXPECT_EQ(record->progLineNum, -1);
}

TEST_F(ErrorRecords, NumberWithoutTextLeavesErrorTextNull) {
  injectFault("HTuple", 9999);
  TupleHandle tuple = nullptr;
  Record record(hcreateTuple(&tuple));

  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->errorCode, 9999);
  EXPECT_EQ(record->errorText, nullptr);
  EXPECT_STREQ(record->message, "HALCON error #9999 in operator HTuple");
}

// Every construction the library makes counts, the one inside the error-text lookup too: a
// fault armed twice fails the handle's construction and then the lookup of its text.
TEST_F(ErrorRecords, FaultFiresOnlyAsOftenAsArmed) {
  injectFault("HTuple", 1302, 2);
  {
    TupleHandle tuple = nullptr;
    Record record(hcreateTuple(&tuple));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->errorCode, 1302);
    EXPECT_EQ(record->errorText, nullptr);
  }
  TupleHandle tuple = nullptr;
  EXPECT_OK(hcreateTuple(&tuple));
  EXPECT_NE(tuple, nullptr);
  hfreeTuple(tuple);
}

TEST_F(ErrorRecords, EmptyTextsBecomeEmptyStringsNotNulls) {
  injectFaultWithMessage("HTuple", 1201, "");
  TupleHandle tuple = nullptr;
  Record record(hcreateTuple(&tuple));

  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->procName, nullptr);
  EXPECT_STREQ(record->procName, "");
  ASSERT_NE(record->message, nullptr);
  EXPECT_STREQ(record->message, "");
  EXPECT_STREQ(record->errorText, "Wrong type of control parameter 1");
}

TEST_F(ErrorRecords, RecordsAreIndependentOfEachOther) {
  injectFaultWithMessage("HTuple", 1201, "first");
  TupleHandle tuple = nullptr;
  Record first(hcreateTuple(&tuple));
  injectFaultWithMessage("HTuple", 1202, "second");
  Record second(hcreateTuple(&tuple));

  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_STREQ(first->message, "first");
  EXPECT_STREQ(second->message, "second");
  second.reset();
  EXPECT_STREQ(first->message, "first");
}

TEST_F(ErrorRecords, ClearAcceptsNull) {
  hclearErrorMsg(nullptr);
}

}  // namespace
}  // namespace quorvex::test
