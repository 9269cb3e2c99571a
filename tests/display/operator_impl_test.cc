// The display-operator class driven directly, as the engine drives it: what the registry
// remembers, and the cases no program can observe.
#include <gtest/gtest.h>

#include "display/operator_impl.h"
#include "engine/vendor.h"
#include "quorvex.h"
#include "support/record_assertions.h"

namespace quorvex::test {
namespace {

using display::HDevOperatorImplCppNative;
using engine::HObject;
using engine::HTuple;

constexpr int kSuccess = 2;

HObject imageOf(int width, int height) {
  HObject image;
  HalconCpp::GenImageConst(&image, "byte", width, height);
  return image;
}

bool isReal(const HTuple& value) {
  return value.Length() == 1 && value[0].Type() == 2;
}

class OperatorImpl : public ::testing::Test {
 protected:
  HTuple open(int width, int height) {
    HTuple window;
    EXPECT_EQ(impl.DevOpenWindow(0, 0, width, height, "black", &window), kSuccess);
    return window;
  }
  void TearDown() override {
    while (!impl.registeredWindows().empty()) impl.DevCloseWindow();
  }
  HDevOperatorImplCppNative impl;
};

// No window: -1, and nothing written to null. A new entry holds the part read right after
// opening; a fitted one is remembered as reals.
TEST_F(OperatorImpl, NewEntryHoldsThePartReadAndAFittedOneReals) {
  HTuple none;
  EXPECT_EQ(impl.DevGetWindow(nullptr), kSuccess) << "null: nothing written";
  EXPECT_EQ(impl.DevGetWindow(&none), kSuccess);
  EXPECT_EQ(none, HTuple(-1));
  const HTuple window = open(512, 512);
  const auto entries = impl.registeredWindows();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].window, window);
  EXPECT_EQ(entries[0].row2, HTuple(511));
  EXPECT_EQ(entries[0].column2, HTuple(511));
  ASSERT_EQ(impl.DevDisplay(imageOf(640, 480)), kSuccess);
  const auto entry = impl.registeredWindows().back();
  EXPECT_TRUE(isReal(entry.row1) && isReal(entry.column1) && isReal(entry.row2) &&
              isReal(entry.column2));
  EXPECT_EQ(entry.row2, HTuple(479.0));
  EXPECT_EQ(entry.column2, HTuple(639.0));
}

TEST_F(OperatorImpl, FullImagePartSetBehindTheBackIsKeptButNotRemembered) {
  const HTuple window = open(512, 512);
  HalconCpp::SetPart(window, 0, 0, 479, 639);
  ASSERT_EQ(impl.DevDisplay(imageOf(640, 480)), kSuccess);
  const auto entry = impl.registeredWindows().back();
  EXPECT_EQ(entry.row2, HTuple(511)) << "the remembered part stays as it was";
  HTuple row1, column1, row2, column2;
  HalconCpp::GetPart(window, &row1, &column1, &row2, &column2);
  EXPECT_EQ(row2, HTuple(479));
  EXPECT_EQ(column2, HTuple(639));
}

TEST_F(OperatorImpl, DevSetPartStoresItsArgumentsUnchanged) {
  open(512, 512);
  ASSERT_EQ(impl.DevSetPart(0, 0.5, 479, 639), kSuccess);
  const auto entry = impl.registeredWindows().back();
  EXPECT_TRUE(isReal(entry.column1));
  EXPECT_EQ(entry.column1, HTuple(0.5));
  EXPECT_EQ(impl.DevSetPart(0, 0, "x", 639), 1203);
  EXPECT_EQ(impl.registeredWindows().back().column1, HTuple(0.5)) << "unchanged after a refusal";
}

TEST(OperatorImplLifetime, DestroyingTheInstanceClosesNoWindow) {
  HTuple window;
  {
    HDevOperatorImplCppNative impl;
    ASSERT_EQ(impl.DevOpenWindow(0, 0, 64, 64, "black", &window), kSuccess);
  }
  HTuple width, height, row, column;
  EXPECT_NO_THROW(HalconCpp::GetWindowExtents(window, &row, &column, &width, &height));
  EXPECT_EQ(width, HTuple(64));
  HalconCpp::CloseWindow(window);
}

}  // namespace
}  // namespace quorvex::test
