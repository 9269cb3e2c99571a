// The exported-call frame, driven directly: which exceptions become which records, and that
// nothing escapes.
#include <gtest/gtest.h>

#include <new>

#include "api/call_frame.h"
#include "support/record_assertions.h"

namespace quorvex::test {
namespace {

using api::Catches;
using api::recordFrame;
using engine::HDevEngineException;
using engine::HException;

// Each row: what the body throws, and the record the frame makes of it. The records of the
// vendor's engine errors and of other exceptions are checked through the exports that make
// them (tests/api, tests/display).
TEST(CallFrame, EachExceptionBecomesItsRecord) {
  const std::pair<void (*)(), const char*> rows[] = {
      {[] { throw HException("set_part", "bad part", 1402); },
       "kind 1, errorCode 1402, procName \"set_part\", progLineName null, progLineNum -1, "
       "message \"bad part\", errorText \"Wrong number of values of control parameter 2\""},
      {[] { throw 42; },
       "kind 0, errorCode -1, procName null, progLineName null, progLineNum -1, "
       "message \"unexpected failure: unknown exception\", errorText null"}};
  for (const auto& [body, expected] : rows) {
    Record record(recordFrame(body));
    EXPECT_EQ(describe(record.get()), expected);
    EXPECT_TRUE(!record || record->reserved == nullptr);
  }
  // An engine exception where the export catches the vendor's only.
  Record outside(recordFrame<Catches::HalconOnly>([] { throw HDevEngineException("no engine"); }));
  EXPECT_EQ(describe(outside.get()),
            "kind 0, errorCode -1, procName null, progLineName null, progLineNum -1, "
            "message \"unexpected failure: engine error: no engine\", errorText null");
}

TEST(CallFrame, ExhaustedMemoryGivesTheStaticRecordThatClearLeavesAlone) {
  ErrorMsg* record = recordFrame([] { throw std::bad_alloc(); });
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindMessage);
  EXPECT_NE(record->message, nullptr);
  hclearErrorMsg(record);
  EXPECT_EQ(recordFrame([] { throw std::bad_alloc(); }), record);
}

TEST(CallFrame, ValueFrameGivesFallbackOnAnyException) {
  EXPECT_EQ(api::valueFrame<int>(-7, []() -> int { throw HException("x", 1); }), -7);
  EXPECT_EQ(api::valueFrame<int>(-7, [] { return 3; }), 3);
}

TEST(ErrorText, FillErrorTextIgnoresNullRecord) {
  api::fillErrorText(1201, nullptr);
}

}  // namespace
}  // namespace quorvex::test
