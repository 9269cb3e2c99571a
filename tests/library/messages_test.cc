// Message channels, the verbosity switch and the low-level error handler.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "api/message_capture.h"
#include "api/standin_control.h"
#include "engine/vendor.h"
#include "messages/channels.h"
#include "messages/low_level_error.h"

namespace quorvex::test {
namespace {

using engine::Hlong;
using engine::HTuple;
using Lines = std::vector<std::string>;

HTuple lowErrorSetting() {
  HTuple value;
  HalconCpp::GetSystem("do_low_error", &value);
  return value;
}

class Messages : public ::testing::Test {
 protected:
  void TearDown() override { hsetVerbosity(0); }
  MessageCapture capture;
  FaultsCleared faultsCleared;
};

TEST_F(Messages, LowLevelErrorsGoToStandardErrorWithTheirPrefix) {
  EXPECT_EQ(messages::onLowLevelError("disk full"), 2);
  EXPECT_EQ(messages::onLowLevelError(""), 2);
  EXPECT_EQ(messages::onLowLevelError("two\nlines\n"), 2);
  EXPECT_EQ(MessageCapture::err(), (Lines{"low level error: disk full",
                                          "low level error: ", "low level error: two\nlines\n"}))
      << "texts pass unchanged, without added line ends";
  EXPECT_TRUE(MessageCapture::out().empty());
}

// The setters have nothing to report: they return null whatever they are given.
TEST_F(Messages, ClosedChannelDropsAndLowLevelHandlerStillSucceeds) {
  EXPECT_EQ(hsetStdErrHandler(nullptr), nullptr);
  EXPECT_EQ(messages::onLowLevelError("lost"), 2);
  EXPECT_EQ(hsetStdErrHandler(&MessageCapture::captureErr), nullptr);
  EXPECT_EQ(hsetStdOutHandler(nullptr), nullptr);
  messages::writeStdErr("back");
  EXPECT_EQ(MessageCapture::err(), (Lines{"back"}));
}

TEST_F(Messages, AnyNonZeroVerbosityInstallsTheHandlerAndZeroKeepsIt) {
  const auto address =
      static_cast<Hlong>(reinterpret_cast<std::intptr_t>(&messages::onLowLevelError));
  HTuple expected("callback");
  expected.Append(HTuple(address));
  for (int verbosity : {1, 5, -1}) {
    HalconCpp::SetSystem("do_low_error", HTuple("false"));
    EXPECT_EQ(hsetVerbosity(verbosity), nullptr);
    EXPECT_TRUE(messages::verbose()) << verbosity;
    EXPECT_EQ(lowErrorSetting(), expected) << verbosity;
  }
  EXPECT_EQ(hsetVerbosity(0), nullptr);
  EXPECT_FALSE(messages::verbose());
  EXPECT_EQ(lowErrorSetting(), expected) << "switching off keeps the handler installed";
  EXPECT_TRUE(MessageCapture::err().empty());
}

TEST_F(Messages, FailedInstallIsReportedAndVerbosityStaysOn) {
  injectFault("SetSystem", 1301);
  EXPECT_EQ(hsetVerbosity(1), nullptr);
  EXPECT_TRUE(messages::verbose());
  EXPECT_EQ(MessageCapture::err(), (Lines{"could not set \"do_low_error\" handler"}));
}

TEST(MessageAssembly, IntegersInPlainDecimalTextsUnchanged) {
  EXPECT_EQ(messages::assemble("error ", -1405, " at ", 7u, " in ", std::string("x")),
            "error -1405 at 7 in x");
}

}  // namespace
}  // namespace quorvex::test
