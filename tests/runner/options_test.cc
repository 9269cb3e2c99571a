// The runner's command line and the way it reads and prints values.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "options.h"
#include "rows.h"
#include "support/decimal_comma.h"
#include "values.h"

namespace quorvex::run {
namespace {

Options parse(std::initializer_list<std::string> arguments) {
  return parseOptions(arguments);
}

TEST(RunnerValues, NumbersStringsAndLists) {
  EXPECT_EQ(parseValues("2"), (Values{2}));
  EXPECT_EQ(parseValues("-7"), (Values{-7}));
  EXPECT_EQ(parseValues("2.5"), (Values{2.5}));
  EXPECT_EQ(parseValues("1e3"), (Values{1000.0}));
  EXPECT_EQ(parseValues("abc"), (Values{std::string("abc")}));
  EXPECT_EQ(parseValues("'42'"), (Values{std::string("42")})) << "quotes keep a number a string";
  EXPECT_EQ(parseValues("[1, 2.5, 'a, b', c]"),
            (Values{1, 2.5, std::string("a, b"), std::string("c")}));
  EXPECT_EQ(parseValues("[]"), Values{});
  EXPECT_EQ(parseValues(""), (Values{std::string()}));
}

TEST(RunnerValues, MalformedInputIsRefused) {
  EXPECT_THROW(parseValues("[1, 2"), std::invalid_argument);
  EXPECT_THROW(parseValues("'open"), std::invalid_argument);
  EXPECT_THROW(parseValues("[1, 'open]"), std::invalid_argument);
  EXPECT_THROW(parseValues("2147483648"), std::invalid_argument);
  EXPECT_EQ(parseValues("-2147483648"), (Values{INT32_MIN}));
}

TEST(RunnerValues, ReadableAndJsonForms) {
  EXPECT_EQ(readableText({5}), "5");
  EXPECT_EQ(readableText({std::string("ab")}), "ab");
  EXPECT_EQ(readableText({3.0}), "3.0");
  EXPECT_EQ(readableText({1, 0.5, std::string("x")}), "[1, 0.5, 'x']");
  EXPECT_EQ(readableText({}), "[]");
  EXPECT_EQ(jsonArray({1, 0.5, std::string("q\"\n")}), "[1, 0.5, \"q\\\"\\n\"]");
  EXPECT_EQ(jsonString(std::string("\x01")), "\"\\u0001\"");
}

// Each row: a value as given on the command line, and its readable and JSON forms, the same
// under a decimal-comma locale as everywhere.
TEST(RunnerValues, TheHostsLocaleChangesNoNumber) {
  const test::DecimalCommaLocale locale;
  if (locale.name.empty()) GTEST_SKIP() << test::kNoDecimalCommaLocale;
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {"2.5", "2.5", "[2.5]"},           {"+0.125", "0.125", "[0.125]"},
      {"-1e-3", "-0.001", "[-0.001]"},   {"[1.5, 2]", "[1.5, 2]", "[1.5, 2]"},
      {"4.0", "4.0", "[4.0]"},           {"1e-400", "0.0", "[0.0]"},
      {"1e400", "1e400", "[\"1e400\"]"}, {"2,5", "2,5", "[\"2,5\"]"}};
  for (const auto& [given, readable, json] : rows) {
    const Values values = parseValues(given);
    EXPECT_EQ(readableText(values), readable) << given;
    EXPECT_EQ(jsonArray(values), json) << given;
  }
  EXPECT_EQ(successRow("a.png", 1.25, {}).cells[2].text, "1.2500") << "the time column";
}

TEST(RunnerOptions, ProcedureWithInputsMergedByName) {
  const Options options = parse({"--procedure", "add", "--path", "/p", "--in", "A=2", "--in", "B=3",
                                 "--in", "A=[4, 5]", "--json", "--logo"});
  EXPECT_EQ(options.procedure, "add");
  EXPECT_EQ(options.paths, std::vector<std::string>{"/p"});
  ASSERT_EQ(options.inputs.size(), 2u);
  EXPECT_EQ(options.inputs[0].first, "A");
  EXPECT_EQ(options.inputs[0].second, (Values{2, 4, 5}));
  EXPECT_EQ(options.inputs[1].second, (Values{3}));
  EXPECT_TRUE(options.json);
  EXPECT_TRUE(options.logo);
  EXPECT_FALSE(options.fullscreen);
}

TEST(RunnerOptions, ProgramAndSwitches) {
  const Options options = parse({"--fullscreen", "main.hdev", "--verbose", "--default-window",
                                 "--attribute", "call_depth_limit=50", "--snapshots", "out"});
  EXPECT_EQ(options.program, "main.hdev");
  EXPECT_TRUE(options.fullscreen && options.verbose && options.defaultWindow);
  ASSERT_EQ(options.attributes.size(), 1u);
  EXPECT_EQ(options.attributes[0].second, (Values{50}));
  EXPECT_EQ(options.snapshots, "out");
}

}  // namespace
}  // namespace quorvex::run
