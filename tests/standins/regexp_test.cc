// The regular expression functions under whichever engine the build matches with (PCRE2 on
// Linux hosts, libstdc++'s elsewhere): the reference's own examples give the same answers
// under both, and a pattern that backtracks exponentially ends in the step-limit error
// within seconds, charged to the run's step budget, under both.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine_support.h"
#include "standins/portable_paths.h"

namespace quorvex::test {
namespace {

constexpr long kStepLimit = 21027;

class RegularExpressions : public ::testing::Test {
 protected:
  void TearDown() override {
    HDevEngine().SetEngineAttribute("step_limit", HTuple(HalconCpp::Hlong{100000000}));
  }
};

// Worked by hand from tuple_regexp_match (HALCON 11.0 reference): the first match, leftmost
// and then longest for greedy repetition; with groups, all groups of a single string or the
// first group of each of several strings. The options as its table of them describes.
TEST_F(RegularExpressions, AnswersOfTheReference) {
  expectValues({
      {"regexp_match('abba', 'ab*')", "'abb'"},
      {"regexp_match('abba', 'ba*')", "'b'"},
      {"regexp_match('abba', 'b+')", "'bb'"},
      {"regexp_match('abba', '[ab]*')", "'abba'"},
      {"regexp_match('abba', 'x')", "''"},
      {"regexp_match('img123.tif', 'img(.*)\\\\.(.*)')", "['123', 'tif']"},
      {"regexp_match(['img123.tif', 'img7.bmp'], 'img(.*)\\\\.(.*)')", "['123', '7']"},
      {"regexp_match('ABBA', ['ab*', 'ignore_case'])", "'ABB'"},
      {"regexp_match('abc123', ['[0-9] +', 'ignore_space'])", "'123'"},
      {"regexp_match('x\\ny', ['^y$', 'multiline'])", "'y'"},
      {"strlen(regexp_match('x\\ny', ['x.y', 'dot_matches_all']))", "3"},
  });
  // tuple_regexp_replace (HALCON 11.0 reference): the first match, or every one with
  // 'replace_all'; $1... in the replacement are the groups.
  expectValues({
      {"regexp_replace('aaa', 'a', 'b')", "'baa'"},
      {"regexp_replace('aaa', ['a', 'replace_all'], 'b')", "'bbb'"},
      {"regexp_replace('2011-07-14', '(\\\\d+)-(\\\\d+)-(\\\\d+)', '$3.$2.$1')", "'14.07.2011'"},
      {"regexp_replace('a.b.c', ['\\\\.', 'replace_all'], '')", "'abc'"},
  });
  // tuple_regexp_select and tuple_regexp_test (HALCON 11.0 reference): the strings that
  // match, or with 'invert_match' those that do not; how many match.
  expectValues({
      {"regexp_select(['img1.tif', 'img2.bmp', 'doc.tif'], '^img.*tif$')", "'img1.tif'"},
      {"regexp_select(['img1.tif', 'img2.bmp'], ['tif$', 'invert_match'])", "'img2.bmp'"},
      {"regexp_test(['img1.tif', 'img2.bmp', 'doc.tif'], 'tif$')", "2"},
  });
}

// '(a+)+$' against letters and a '!' tries every way of splitting the letters between the
// repetitions: 2^27 and 2^40 ways. Each string's backtracking is bounded, under either
// engine, by the function and by its operator alike. Each row runs the matcher to its bound,
// which the slower builds' quick sweep takes twice only (`quick`): one function and one
// operator, the others sharing their matcher.
TEST_F(RegularExpressions, ExponentialBacktrackingEndsInTheStepLimit) {
  const struct {
    int letters;
    const char* line;
    bool quick;
  } rows[] = {
      {27, "R := regexp_match(S, '(a+)+$')", true},
      {40, "R := regexp_match(S, '(a+)+$')", false},
      {40, "R := regexp_test(S, '(a+)+$')", false},
      {40, "R := regexp_select(S, '(a+)+$')", false},
      {40, "R := regexp_replace(S, '(a+)+$', 'b')", false},
      {40, "tuple_regexp_match (S, '(a+)+$', R)", true},
  };
  for (const auto& row : rows) {
    if (quickSweep() && !row.quick) continue;
    const std::string subject =
        "S := sum(gen_tuple_const(" + std::to_string(row.letters) + ", 'a')) + '!'";
    const auto start = std::chrono::steady_clock::now();
    const HDevEngineException error = engineErrorOf([&] { runLines({subject, row.line}); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(error.HalconErrNum(), kStepLimit) << row.line;
    EXPECT_EQ(error.ProgLineNum(), 2) << row.line;
    EXPECT_LT(seconds, 10.0) << row.line;
    EXPECT_NE(std::string(error.Message()).find("backtracking"), std::string::npos)
        << error.Message();
  }
}

// Backtracking costs steps: 16 letters take some hundred thousand backtracking steps, within
// the bound of one string but past a budget of 1000 steps, which ends the run with the
// budget's own record.
TEST_F(RegularExpressions, BacktrackingIsChargedToTheStepBudget) {
  const Lines lines = {"S := sum(gen_tuple_const(16, 'a')) + '!'",
                       "R := regexp_match(S, '(a+)+$')"};
  EXPECT_EQ(text(runLines(lines)), "''");
  HDevEngine().SetEngineAttribute("step_limit", HTuple(HalconCpp::Hlong{1000}));
  const HDevEngineException error = engineErrorOf([&] { runLines(lines); });
  EXPECT_EQ(error.HalconErrNum(), kStepLimit);
  EXPECT_NE(std::string(error.Message()).find("step_limit"), std::string::npos) << error.Message();
  // Cheap matches cost a fraction of a step each: a loop of them costs about its lines.
  EXPECT_EQ(text(runLines({"N := 0", "for I := 1 to 200 by 1",
                           "    N := N + regexp_test('abc' + I, 'c[0-9]+$')", "endfor", "R := N"})),
            "200");
}

// A long subject under a repeated group: PCRE2 keeps its backtracking on the heap and
// matches it; libstdc++ recurses once a character and refuses a subject past its stack with
// the function-argument error, never a crash.
TEST_F(RegularExpressions, LongSubjectUnderARepeatedGroup) {
  const std::string line = "R := regexp_test(sum(gen_tuple_const(100000, 'a')), '^(a|b)*$')";
#ifdef QUORVEX_EXPECT_PCRE2
  EXPECT_EQ(text(runLines({line})), "1");
#else
  constexpr long kFunctionArgument = 21026;
  EXPECT_EQ(programError({line}), kFunctionArgument);
#endif
}

}  // namespace
}  // namespace quorvex::test
