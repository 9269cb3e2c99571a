// The exported-call frame, driven directly: which exceptions become which records, and that
// nothing escapes.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "api/call_frame.h"
#include "api/record_assertions.h"

namespace quorvex::test {
namespace {

using api::Catches;
using api::recordFrame;
using engine::HDevEngineException;
using engine::HException;

TEST(CallFrame, CompletedBodyReturnsNull) {
  bool ran = false;
  EXPECT_EQ(recordFrame([&] { ran = true; }), nullptr);
  EXPECT_TRUE(ran);
}

TEST(CallFrame, HExceptionBecomesKindOne) {
  Record record(recordFrame([] { throw HException("set_part", "bad part", 1402); }));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindHalcon);
  EXPECT_STREQ(record->procName, "set_part");
  EXPECT_STREQ(record->message, "bad part");
  EXPECT_EQ(record->errorCode, 1402);
  EXPECT_STREQ(record->errorText, "Wrong number of values of control parameter 2");
  EXPECT_EQ(record->progLineName, nullptr);
  EXPECT_EQ(record->progLineNum, -1);
}

TEST(CallFrame, EngineExceptionBecomesKindTwoWithItsPlace) {
  Record record(recordFrame([] {
    throw HDevEngineException("line failed", HDevEngineCpp::ExceptionRuntime, "measure", 3,
                              "get_system", 1301);
  }));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindEngine);
  EXPECT_STREQ(record->procName, "measure");
  EXPECT_STREQ(record->progLineName, "get_system");
  EXPECT_EQ(record->progLineNum, 3);
  EXPECT_EQ(record->errorCode, 1301);
  EXPECT_STREQ(record->message, "line failed");
  EXPECT_STREQ(record->errorText, "Wrong value of control parameter 1");
  EXPECT_EQ(record->reserved, nullptr);
}

TEST(CallFrame, EngineExceptionOutsideTheCatchListBecomesKindZero) {
  Record record(recordFrame<Catches::HalconOnly>([] { throw HDevEngineException("no engine"); }));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindMessage);
  EXPECT_STREQ(record->message, "unexpected failure: engine error: no engine");
  EXPECT_EQ(record->errorCode, -1);
  EXPECT_EQ(record->errorText, nullptr);
}

TEST(CallFrame, OtherExceptionsBecomeKindZeroWithWhatEscaped) {
  Record standard(recordFrame([] { throw std::runtime_error("lock failed"); }));
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(standard->kind, ErrorKindMessage);
  EXPECT_STREQ(standard->message, "unexpected failure: lock failed");

  Record foreign(recordFrame([] { throw 42; }));
  ASSERT_NE(foreign, nullptr);
  EXPECT_STREQ(foreign->message, "unexpected failure: unknown exception");
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

TEST(ErrorText, TextRecordHasOnlyItsMessage) {
  Record record(api::errorFromText("StartDebugServer is not available in HALCON 11.0"));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindMessage);
  EXPECT_EQ(record->procName, nullptr);
  EXPECT_EQ(record->progLineName, nullptr);
  EXPECT_EQ(record->errorCode, -1);
  EXPECT_EQ(record->progLineNum, -1);
  EXPECT_STREQ(record->message, "StartDebugServer is not available in HALCON 11.0");
  EXPECT_EQ(record->errorText, nullptr);
  EXPECT_EQ(record->reserved, nullptr);
}

TEST(ErrorText, FillErrorTextIgnoresNullRecord) {
  api::fillErrorText(1201, nullptr);
}

}  // namespace
}  // namespace quorvex::test
