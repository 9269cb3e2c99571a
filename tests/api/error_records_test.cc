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

// Each row: the faults armed before hcreateTuple, and the record it gives. Every construction
// the library makes counts, the one inside the error-text lookup too: a fault armed twice fails
// the handle's construction and then the lookup of its text.
TEST_F(ErrorRecords, FieldsComeFromTheVendorsException) {
  struct Row {
    void (*arm)();
    int32_t errorCode;
    const char* procName;
    const char* message;  // the whole message, or with a leading '*' a part of it
    const char* errorText;
  };
  const Row rows[] = {{[] { injectFault("HTuple", 1302); }, 1302, "HTuple", "*#1302",
                       "Wrong value of control parameter 2"},
                      {[] {
                         injectFault("HTuple", 1302);
                         injectFault("GetErrorText", 1301);
                       },
                       1302, "HTuple", "*#1302", nullptr},
                      {[] { injectFault("HTuple", 9999); }, 9999, "HTuple",
                       "HALCON error #9999 in operator HTuple", nullptr},
                      {[] { injectFault("HTuple", 1302, 2); }, 1302, "HTuple", "*#1302", nullptr},
                      {[] { injectFault("HTuple", 1201, 1, ""); }, 1201, "", "",
                       "Wrong type of control parameter 1"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.errorCode);
    row.arm();
    TupleHandle tuple = reinterpret_cast<TupleHandle>(0x1);
    Record record(hcreateTuple(&tuple));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(tuple, nullptr) << "the out-parameter stays null after a failed create";
    EXPECT_EQ(record->kind, ErrorKindHalcon);
    EXPECT_EQ(record->errorCode, row.errorCode);
    ASSERT_NE(record->procName, nullptr);
    EXPECT_STREQ(record->procName, row.procName);
    ASSERT_NE(record->message, nullptr);
    if (row.message[0] == '*') {
      EXPECT_NE(std::strstr(record->message, row.message + 1), nullptr) << record->message;
    } else {
      EXPECT_STREQ(record->message, row.message);
    }
    EXPECT_STREQ(record->errorText, row.errorText);
    EXPECT_EQ(record->progLineName, nullptr);
    EXPECT_EQ(record->progLineNum, -1);
    EXPECT_EQ(record->reserved, nullptr);
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
