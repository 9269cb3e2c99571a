// Message channels, the verbosity switch and the low-level error handler.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "display/fullscreen.h"
#include "display/operator_impl.h"
#include "engine/vendor.h"
#include "messages/channels.h"
#include "messages/low_level_error.h"
#include "messages/pending.h"
#include "support/message_capture.h"
#include "support/standin_control.h"

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

// Messages sent under a library lock wait for its release, in the order of sending across
// both channels; a low-level error's handler has returned 2 by then.
TEST_F(Messages, UnderALockTheyWaitForItsRelease) {
  common::Mutex mutex;
  {
    messages::HoldingLock lock(mutex);
    EXPECT_EQ(messages::onLowLevelError("first"), 2);
    messages::writeStdOut("second");
    messages::writeStdErr("third");
    EXPECT_TRUE(MessageCapture::err().empty() && MessageCapture::out().empty());
  }
  EXPECT_EQ(MessageCapture::err(), (Lines{"low level error: first", "third"}));
  EXPECT_EQ(MessageCapture::out(), Lines{"second"});
}

// A window opened on a thread that never enters an export: its message reaches the callback
// on that thread, before the opening returns.
TEST_F(Messages, AThreadOfItsOwnGetsItsMessageBeforeTheOperationReturns) {
  static std::thread::id receiver;
  static bool returned;
  receiver = std::thread::id();
  returned = false;
  hsetStdErrHandler([](const char* text) {
    receiver = std::this_thread::get_id();
    EXPECT_FALSE(returned) << text;
  });
  setControl("standin_null_os_handle", HTuple("true"));
  display::setFullscreen(true);
  std::thread::id opener;
  std::thread thread([&] {
    opener = std::this_thread::get_id();
    display::HDevOperatorImplCppNative impl;
    HTuple window;
    EXPECT_EQ(impl.DevOpenWindow(0, 0, 64, 64, "black", &window), 2);
    returned = true;
    impl.DevCloseWindow();
  });
  thread.join();
  display::setFullscreen(false);
  setControl("standin_null_os_handle", HTuple("false"));
  EXPECT_EQ(receiver, opener);
}

// A callback's exception goes no further than its delivery, from a function without a frame
// too.
TEST_F(Messages, AThrowingCallbackStopsAtItsDelivery) {
  hsetStdErrHandler([](const char*) { throw std::runtime_error("callback failed"); });
  injectFault("SetSystem", 1301);
  EXPECT_EQ(hsetVerbosity(1), nullptr);
  EXPECT_TRUE(messages::verbose());
}

TEST(MessageAssembly, IntegersInPlainDecimalTextsUnchanged) {
  EXPECT_EQ(messages::assemble("error ", -1405, " at ", 7u, " in ", std::string("x")),
            "error -1405 at 7 in x");
}

}  // namespace
}  // namespace quorvex::test
