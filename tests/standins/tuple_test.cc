// The stand-in tuple and system store as the library relies on them: element-wise arithmetic
// and comparison, the type-code mask of the parameter checks, readable forms and fault
// injection. The size parameters and their errors are read through the library (tests/api),
// the store from several threads by window_thread_test.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using HalconCpp::GetSystem;
using HalconCpp::SetSystem;
using quorvex::test::errorOf;
using quorvex::test::FaultsCleared;
using quorvex::test::Hlong;
using quorvex::test::HTuple;

HTuple list(std::initializer_list<HTuple> items) {
  HTuple result;
  for (const HTuple& item : items) result.Append(item);
  return result;
}

TEST(StandinTuple, OperationsGiveTheVendorsResults) {
  const Hlong max = std::numeric_limits<Hlong>::max();
  const Hlong min = std::numeric_limits<Hlong>::min();
  // clang-format off
  const std::pair<HTuple, const char*> rows[] = {
      {HTuple(2) + HTuple(3), "5"}, {HTuple(2) * HTuple(1.5), "3.0"}, {HTuple(7) / HTuple(2), "3"},
      {HTuple(7) % HTuple(3), "1"}, {HTuple(max) + HTuple(1) == HTuple(min), "1"},
      {HTuple(min) / HTuple(-1) == HTuple(min), "1"}, {HTuple("n=") + HTuple(5), "'n=5'"},
      {HTuple("r") + HTuple(5.0), "'r5.0'"}, {list({1, 2, 3}) + HTuple(10), "[11, 12, 13]"},
      {HTuple(HTuple(5) == HTuple(5.0)), "1"}, {HTuple(HTuple(5) == HTuple("5")), "0"},
      {HTuple(HTuple(-1) < HTuple(0)), "1"}, {HTuple(list({1, 2}) < list({1, 3})), "1"},
      {list({1, "s", 2.0}).TupleTypeElem() & HTuple(3), "[1, 0, 2]"},
      {list({1, 0.1, "a"}), "[1, 0.1, 'a']"}, {HTuple(), "[]"}
  };
  // clang-format on
  for (const auto& [value, expected] : rows) EXPECT_STREQ(value.ToString().Text(), expected);
  const std::pair<std::function<void()>, Hlong> failing[] = {
      {[] {
         (void)(list({1, 2}) + list({1, 2, 3}));
       },
       1401},
      {[] { (void)(HTuple("a") < HTuple(1)); }, HalconCpp::H_ERR_TUPLE_OP_TYPE},
      {[] { (void)(HTuple(1.5) & HTuple(1)); }, HalconCpp::H_ERR_TUPLE_OP_TYPE},
      {[] { (void)HTuple("s")[0].L(); }, HalconCpp::H_ERR_TUPLE_TYPE},
      {[] { (void)HTuple()[0]; }, HalconCpp::H_ERR_TUPLE_INDEX},
      {[] { (void)(HTuple(1) / HTuple(0)); }, HalconCpp::H_ERR_TUPLE_DIV_ZERO}};
  for (const auto& [action, number] : failing) EXPECT_EQ(errorOf(action), number);
  HTuple original = list({1, "two"});
  HTuple copy = original;
  copy.Append(HTuple(3));
  EXPECT_EQ(original.Length(), 2);
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
  EXPECT_EQ(one.Type(), HalconCpp::eElementTypeString);
}

// Each row: the tuple appended to, and the readable form after appending 0, 0.5, 'a' in
// turn nine times (27 elements). Whatever kind comes first, nothing is lost or reordered.
TEST(StandinTuple, RepeatedAppendsOfEveryKindKeepEveryElement) {
  const std::string cycle = "0, 0.5, 'a'";
  std::string nine;
  for (int i = 0; i < 9; ++i) nine += ", " + cycle;
  const std::pair<HTuple, std::string> rows[] = {
      {HTuple(), "[" + nine.substr(2) + "]"}, {HTuple(7), "[7" + nine + "]"},
      {HTuple(7.5), "[7.5" + nine + "]"},     {HTuple("s"), "['s'" + nine + "]"},
      {list({1, 2}), "[1, 2" + nine + "]"},   {list({"s", 2.5}), "['s', 2.5" + nine + "]"}};
  for (const auto& [start, expected] : rows) {
    HTuple values = start;
    for (int i = 0; i < 9; ++i) {
      values.Append(HTuple(0));
      values.Append(HTuple(0.5));
      values.Append(HTuple("a"));
    }
    EXPECT_EQ(values.ToString().Text(), expected);
  }
  // Many more appends after a string: the length and the last elements of each kind.
  HTuple afterString("first");
  for (Hlong i = 0; i < 20000; ++i) afterString.Append(i % 2 ? HTuple(0.5 * i) : HTuple(i));
  EXPECT_EQ(afterString.Length(), 20001);
  EXPECT_EQ(afterString[19999].L(), 19998);
  EXPECT_EQ(afterString[20000].D(), 9999.5);
}

// The engine runs its arithmetic through the compound operators, whose values engine_test
// checks in program lines; a failed one leaves the tuple as it was.
TEST(StandinTuple, AFailedCompoundAssignmentLeavesTheTuple) {
  HTuple kept(1);
  EXPECT_THROW(kept %= HTuple(0), HalconCpp::HException);
  EXPECT_THROW(kept %= HTuple(0.5), HalconCpp::HException);
  EXPECT_EQ(kept[0].L(), 1);
}

TEST(StandinFaults, FireForTheirOperationCountTimesUnlessInside) {
  FaultsCleared cleared;
  SetSystem("standin_fail", list({"GetSystem", 7, 2}));
  HTuple pending, value;
  {
    HalconCpp::Standin::InsideScope inside;
    GetSystem("standin_fail", &pending);
  }
  EXPECT_EQ(pending, list({"GetSystem", 7, 2}));
  EXPECT_EQ(errorOf([&] { GetSystem("width", &value); }), 7);
  EXPECT_EQ(errorOf([&] { GetSystem("width", &value); }), 7);
  EXPECT_EQ(errorOf([&] { GetSystem("width", &value); }), 0);
  SetSystem("standin_fail", list({"HTuple", 77}));
  {
    HalconCpp::Standin::InsideScope inside;
    EXPECT_NO_THROW(HTuple(1));
  }
  EXPECT_EQ(errorOf([] { HTuple(1); }), 77);
  EXPECT_EQ(errorOf([] { SetSystem("standin_fail", list({"HTuple", 1, 0})); }), 1302);
}

}  // namespace
