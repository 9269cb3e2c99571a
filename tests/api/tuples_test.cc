// Tuple handles through the exported interface: creation, appending each element kind,
// reading elements back, caller-owned texts, and the limits of the accessors.
#include <gtest/gtest.h>

#include <cstring>

#include "quorvex.h"
#include "support/record_assertions.h"
#include "support/standin_control.h"

namespace quorvex::test {
namespace {

class Tuples : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_OK(hcreateTuple(&tuple)); }
  void TearDown() override { hfreeTuple(tuple); }
  TupleHandle tuple = nullptr;
};

// Every element reads back with its kind and value; numbers convert the vendor's way, and
// texts come back byte for byte in copies of exactly their length plus one.
TEST_F(Tuples, AppendedElementsKeepOrderKindAndValue) {
  EXPECT_EQ(hgetTupleLength(tuple), 0);
  const char bytes[] = "\xe4\xf6\xfc \x01\x7f";
  const char* const texts[] = {"abc", "", bytes};
  happendTupleLong(tuple, -42);
  happendTupleDouble(tuple, -3.75);
  happendTupleLong(tuple, INT32_MIN);
  happendTupleLong(tuple, INT32_MAX);
  for (const char* text : texts) happendTupleString(tuple, text);

  ASSERT_EQ(hgetTupleLength(tuple), 7);
  const int types[] = {TupleElemLong,   TupleElemDouble, TupleElemLong,  TupleElemLong,
                       TupleElemString, TupleElemString, TupleElemString};
  for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(hgetTupleElemType(tuple, i), types[i]) << i;
  EXPECT_EQ(hgetTupleElemLong(tuple, 0), -42);
  EXPECT_EQ(hgetTupleElemDouble(tuple, 0), -42.0);
  EXPECT_EQ(hgetTupleElemDouble(tuple, 1), -3.75);
  EXPECT_EQ(hgetTupleElemLong(tuple, 1), -3) << "a real read as an integer truncates";
  EXPECT_EQ(hgetTupleElemLong(tuple, 2), INT32_MIN);
  EXPECT_EQ(hgetTupleElemLong(tuple, 3), INT32_MAX);
  for (int32_t i = 0; i < 3; ++i) {
    char* copy = hgetTupleElemString_TO_BE_FREED(tuple, 4 + i);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, texts[i], std::strlen(texts[i]) + 1), 0) << i;
    hfreeTupleElemString(copy);
  }
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
  hfreeTuple(nullptr);  // null is released as nothing
  hfreeTupleElemString(nullptr);
}

}  // namespace
}  // namespace quorvex::test
