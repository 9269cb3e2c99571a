// A host that switches the C library to a decimal-comma locale before hinit, as GUI toolkits
// do, gets the same numbers and texts as any other: reals read, computed, printed and
// reported with a decimal point. This program sets the locale before anything else runs.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "quorvex.h"
#include "support/decimal_comma.h"
#include "support/record_assertions.h"
#include "support/snippet.h"
#include "support/standin_control.h"

namespace quorvex::test {
namespace {

class DecimalComma : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    locale = useDecimalCommaLocale();
    if (!locale.empty()) {
      EXPECT_OK(hinit(0));
    }
  }
  static void TearDownTestSuite() { std::setlocale(LC_ALL, "C"); }
  void SetUp() override {
    if (locale.empty()) {
      GTEST_SKIP() << kNoDecimalCommaLocale;
    }
  }
  static std::string locale;
};

std::string DecimalComma::locale;

// Each row: an expression, and the double it gives (bit for bit: the values are exact).
TEST_F(DecimalComma, RealsReadAndComputeAsEverywhere) {
  const std::pair<std::string, double> rows[] = {{"2.5", 2.5},
                                                 {"0.5 * 3", 1.5},
                                                 {"number('2.5')", 2.5},

                                                 {"2.5e2 / 4", 62.5}};
  for (const auto& [expression, expected] : rows) {
    const Snippet snippet = Snippet::ran({"R := " + expression}, {"R"});
    const Tuple value = snippet.value("R");
    ASSERT_EQ(hgetTupleElemType(value.get(), 0), TupleElemDouble) << expression;
    EXPECT_EQ(hgetTupleElemDouble(value.get(), 0), expected) << expression;
  }
}

// Each row: an expression, and the text it gives.
TEST_F(DecimalComma, RealsPrintWithADecimalPoint) {
  const std::pair<std::string, std::string> rows[] = {{"'x' + 2.5", "x2.5"},
                                                      {"'x' + 5.0", "x5.0"},
                                                      {"'' + (0.1 + 0.2)", "0.30000000000000004"},
                                                      {"'v' + -0.125", "v-0.125"},
                                                      {"'' + 1.5e20", "1.5e+20"},
                                                      {"2.5 + 'x'", "2.5x"},
                                                      {"'' + 2.0e-7", "2e-07"},
                                                      {"2.5$'.1f'", "2.5"}};
  for (const auto& [expression, expected] : rows) {
    const Snippet snippet = Snippet::ran({"R := " + expression}, {"R"});
    EXPECT_EQ(stringAt(snippet.value("R").get(), 0), expected) << expression;
  }
}

TEST_F(DecimalComma, RecordsShowRealsWithADecimalPoint) {
  FaultsCleared cleared;
  Snippet snippet({"set_system ('standin_fail', ['GenEmptyObj', 1302, 1, 'gain ' + 0.75])",
                   "gen_empty_obj (Nothing)"});
  Record record = snippet.run();
  ASSERT_NE(record, nullptr);
  EXPECT_NE(std::string(record->message).find("gain 0.75"), std::string::npos)
      << describe(record.get());
}

}  // namespace
}  // namespace quorvex::test
