// Tuple handles through the exported interface: creation, appending each element kind,
// reading elements back, caller-owned texts, and the limits of the accessors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "api/record_assertions.h"
#include "api/standin_control.h"
#include "quorvex.h"

namespace quorvex::test {
namespace {

class Tuples : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_OK(hcreateTuple(&tuple)); }
  void TearDown() override { hfreeTuple(tuple); }
  TupleHandle tuple = nullptr;
};

TEST_F(Tuples, NewTupleIsEmpty) {
  EXPECT_EQ(hgetTupleLength(tuple), 0);
}

TEST_F(Tuples, AppendedElementsKeepOrderKindAndValue) {
  happendTupleLong(tuple, -42);
  happendTupleDouble(tuple, 2.5);
  happendTupleString(tuple, "abc");

  ASSERT_EQ(hgetTupleLength(tuple), 3);
  EXPECT_EQ(hgetTupleElemType(tuple, 0), TupleElemLong);
  EXPECT_EQ(hgetTupleElemType(tuple, 1), TupleElemDouble);
  EXPECT_EQ(hgetTupleElemType(tuple, 2), TupleElemString);
  EXPECT_EQ(hgetTupleElemLong(tuple, 0), -42);
  EXPECT_EQ(hgetTupleElemDouble(tuple, 1), 2.5);
  char* text = hgetTupleElemString_TO_BE_FREED(tuple, 2);
  EXPECT_STREQ(text, "abc");
  hfreeTupleElemString(text);
}

TEST_F(Tuples, ExtremeIntegersRoundTrip) {
  happendTupleLong(tuple, INT32_MIN);
  happendTupleLong(tuple, INT32_MAX);
  EXPECT_EQ(hgetTupleElemLong(tuple, 0), INT32_MIN);
  EXPECT_EQ(hgetTupleElemLong(tuple, 1), INT32_MAX);
}

TEST_F(Tuples, StringCopyIsExactlyLengthPlusOne) {
  happendTupleString(tuple, "xyz");
  happendTupleString(tuple, "");

  char* three = hgetTupleElemString_TO_BE_FREED(tuple, 0);
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(std::memcmp(three, "xyz", 4), 0);
  char* empty = hgetTupleElemString_TO_BE_FREED(tuple, 1);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty[0], '\0');
  hfreeTupleElemString(three);
  hfreeTupleElemString(empty);
}

TEST_F(Tuples, TextsAreCopiedByteForByte) {
  const char bytes[] = "\xe4\xf6\xfc \x01\x7f";
  happendTupleString(tuple, bytes);
  char* copy = hgetTupleElemString_TO_BE_FREED(tuple, 0);
  EXPECT_EQ(std::strcmp(copy, bytes), 0);
  hfreeTupleElemString(copy);
}

TEST_F(Tuples, NumbersConvertTheVendorsWay) {
  happendTupleLong(tuple, 7);
  happendTupleDouble(tuple, -3.75);
  EXPECT_EQ(hgetTupleElemDouble(tuple, 0), 7.0);
  EXPECT_EQ(hgetTupleElemLong(tuple, 1), -3) << "a real read as an integer truncates";
}

TEST_F(Tuples, AccessorsOutsideTheirLimitsReturnNeutralValues) {
  happendTupleString(tuple, "text");
  EXPECT_EQ(hgetTupleElemType(tuple, 1), 0);
  EXPECT_EQ(hgetTupleElemType(tuple, -1), 0);
  EXPECT_EQ(hgetTupleElemLong(tuple, 0), 0);
  EXPECT_EQ(hgetTupleElemDouble(tuple, 0), 0.0);
  EXPECT_EQ(hgetTupleElemString_TO_BE_FREED(tuple, 5), nullptr);
  happendTupleLong(tuple, 1);
  EXPECT_EQ(hgetTupleElemString_TO_BE_FREED(tuple, 1), nullptr);
  EXPECT_EQ(hgetTupleLength(tuple), 2);
}

TEST_F(Tuples, ReleaseFunctionsAcceptNull) {
  hfreeTuple(nullptr);
  hfreeTupleElemString(nullptr);
}

TEST(TupleOwnership, CreatedTuplesAreReleased) {
  const long before = liveCount("tuples");
  for (int i = 0; i < 100; ++i) {
    TupleHandle tuple = nullptr;
    ASSERT_OK(hcreateTuple(&tuple));
    happendTupleString(tuple, "payload");
    happendTupleLong(tuple, i);
    hfreeTuple(tuple);
  }
  EXPECT_EQ(liveCount("tuples"), before);
}

}  // namespace
}  // namespace quorvex::test
