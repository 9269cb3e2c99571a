// The stand-in tuple behaves as the vendor's does where the library and programs rely on it.
#include <gtest/gtest.h>

#include <limits>

#include "halconcpp/HalconCpp.h"

namespace {

using HalconCpp::eElementTypeDouble;
using HalconCpp::eElementTypeLong;
using HalconCpp::eElementTypeString;
using HalconCpp::HException;
using HalconCpp::Hlong;
using HalconCpp::HTuple;

HTuple list(std::initializer_list<HTuple> items) {
  HTuple result;
  for (const HTuple& item : items) result.Append(item);
  return result;
}

Hlong errorOf(void (*action)()) {
  try {
    action();
  } catch (const HException& e) {
    return e.ErrorCode();
  }
  return 0;
}

TEST(StandinTuple, ArithmeticKeepsIntegersAndPromotesReals) {
  HTuple sum = HTuple(2) + HTuple(3);
  EXPECT_EQ(sum[0].Type(), eElementTypeLong);
  EXPECT_EQ(sum[0].L(), 5);
  HTuple mixed = HTuple(2) * HTuple(1.5);
  EXPECT_EQ(mixed[0].Type(), eElementTypeDouble);
  EXPECT_EQ(mixed[0].D(), 3.0);
  EXPECT_EQ((HTuple(7) / HTuple(2))[0].L(), 3) << "integer division truncates";
  EXPECT_EQ((HTuple(7) % HTuple(3))[0].L(), 1);
  EXPECT_EQ((-HTuple(4))[0].L(), -4);
}

TEST(StandinTuple, IntegersWrapAroundInsteadOfOverflowing) {
  const Hlong max = std::numeric_limits<Hlong>::max();
  const Hlong min = std::numeric_limits<Hlong>::min();
  EXPECT_EQ((HTuple(max) + HTuple(1))[0].L(), min);
  EXPECT_EQ((HTuple(min) - HTuple(1))[0].L(), max);
  EXPECT_EQ((HTuple(min) / HTuple(-1))[0].L(), min);
  EXPECT_EQ((HTuple(min) % HTuple(-1))[0].L(), 0);
  EXPECT_EQ((-HTuple(min))[0].L(), min);
}

TEST(StandinTuple, StringOperandConcatenates) {
  EXPECT_STREQ((HTuple("a") + HTuple("b"))[0].C(), "ab");
  EXPECT_STREQ((HTuple("n=") + HTuple(5))[0].C(), "n=5");
  EXPECT_STREQ((HTuple(2.5) + HTuple("x"))[0].C(), "2.5x");
  EXPECT_STREQ((HTuple("r") + HTuple(5.0))[0].C(), "r5.0");
}

TEST(StandinTuple, OneElementOperandIsRepeated) {
  HTuple result = list({1, 2, 3}) + HTuple(10);
  ASSERT_EQ(result.Length(), 3);
  EXPECT_EQ(result, list({11, 12, 13}));
  EXPECT_EQ(errorOf([] { (void)(list({1, 2}) + list({1, 2, 3})); }), 1401);
}

TEST(StandinTuple, ComparisonIsByValue) {
  EXPECT_TRUE(HTuple(5) == HTuple(5.0));
  EXPECT_FALSE(HTuple(5) == HTuple("5"));
  EXPECT_TRUE(list({1, 2}) != list({1, 2, 3}));
  EXPECT_TRUE(HTuple(-1) < 0);
  EXPECT_TRUE(HTuple(0.5) > 0);
  EXPECT_TRUE(list({1, 2}) < list({1, 3}));
  EXPECT_EQ(errorOf([] { (void)(HTuple("a") < HTuple(1)); }), HalconCpp::H_ERR_TUPLE_OP_TYPE);
}

TEST(StandinTuple, BitwiseAndOfTypeCodes) {
  HTuple types = list({1, "s", 2.0}).TupleTypeElem();
  EXPECT_EQ(types, list({1, 4, 2}));
  EXPECT_EQ(types & HTuple(3), list({1, 0, 2}));
  EXPECT_EQ(errorOf([] { (void)(HTuple(1.5) & HTuple(1)); }), HalconCpp::H_ERR_TUPLE_OP_TYPE);
}

TEST(StandinTuple, WrongKindAndIndexRaiseInsteadOfMisbehaving) {
  EXPECT_EQ(errorOf([] { (void)HTuple("s")[0].L(); }), HalconCpp::H_ERR_TUPLE_TYPE);
  EXPECT_EQ(errorOf([] { (void)HTuple(1)[0].S(); }), HalconCpp::H_ERR_TUPLE_TYPE);
  EXPECT_EQ(errorOf([] { (void)HTuple(1)[1]; }), HalconCpp::H_ERR_TUPLE_INDEX);
  EXPECT_EQ(errorOf([] { (void)HTuple()[0]; }), HalconCpp::H_ERR_TUPLE_INDEX);
  EXPECT_EQ(errorOf([] { (void)(HTuple(1) / HTuple(0)); }), HalconCpp::H_ERR_TUPLE_DIV_ZERO);
}

TEST(StandinTuple, CopiesAndClonesAreIndependent) {
  HTuple original = list({1, "two"});
  HTuple copy = original;
  HTuple clone = original.Clone();
  copy.Append(HTuple(3));
  clone[0] = HTuple(9);
  EXPECT_EQ(original, list({1, "two"}));
  EXPECT_EQ(copy.Length(), 3);
  EXPECT_EQ(clone[0].L(), 9);
}

// Integers and reals are stored as arrays of their kind until another kind joins them.
TEST(StandinTuple, ElementsKeepTheirKindWhenKindsMix) {
  HTuple numbers = list({1, 2, 3});
  numbers[1] = HTuple(2.5);
  numbers[2] = HTuple("s");
  EXPECT_STREQ(numbers.ToString().Text(), "[1, 2.5, 's']");
  HTuple reals = list({1.5, 2.5});
  reals.Append(list({3, 4}));
  EXPECT_EQ(reals.TupleTypeElem(), list({2, 2, 1, 1}));
  HTuple twice = list({1, 2});
  twice.Append(twice);
  EXPECT_EQ(twice, list({1, 2, 1, 2}));
  HTuple one(7);
  one[0] = HTuple("x");
  EXPECT_EQ(one.Type(), eElementTypeString);
}

TEST(StandinTuple, CompoundAssignmentIsTheBinaryOperator) {
  HTuple value(7);
  value /= HTuple(2);
  EXPECT_STREQ(value.ToString().Text(), "3");
  value += HTuple(0.5);
  EXPECT_STREQ(value.ToString().Text(), "3.5");
  value *= list({2, 4});
  EXPECT_STREQ(value.ToString().Text(), "[7.0, 14.0]");
  HTuple text("n=");
  text += HTuple(5);
  EXPECT_STREQ(text.ToString().Text(), "'n=5'");
  HTuple kept(1);
  EXPECT_THROW(kept %= HTuple(0), HException);
  EXPECT_THROW(kept %= HTuple(0.5), HException);
  EXPECT_EQ(kept[0].L(), 1) << "a failed operation leaves the tuple as it was";
}

TEST(StandinTuple, ToStringReadsLikeTheVendorsDisplay) {
  EXPECT_STREQ(HTuple(3).ToString().Text(), "3");
  EXPECT_STREQ(HTuple(2.5).ToString().Text(), "2.5");
  EXPECT_STREQ(HTuple(4.0).ToString().Text(), "4.0");
  EXPECT_STREQ(HTuple("w").ToString().Text(), "'w'");
  EXPECT_STREQ(HTuple().ToString().Text(), "[]");
  EXPECT_STREQ(list({1, 0.1, "a"}).ToString().Text(), "[1, 0.1, 'a']");
}

TEST(StandinTuple, TypeSummarisesElements) {
  EXPECT_EQ(HTuple().Type(), HalconCpp::eElementTypeUndef);
  EXPECT_EQ(list({1, 2}).Type(), eElementTypeLong);
  EXPECT_EQ(list({1, "x"}).Type(), HalconCpp::eElementTypeMixed);
  EXPECT_EQ(HTuple("x").Type(), eElementTypeString);
}

}  // namespace
