// The expression functions on strings: searching and cutting, regular expressions, number
// formatting ($, tuple_string); its independence from the host's locale is checked through the
// library (tests/api/locale_test.cc).
#include <gtest/gtest.h>

#include <string>

#include "engine_support.h"

namespace quorvex::test {
namespace {

TEST(TextFunctions, SearchingAndCutting) {
  expectValues({
      {"[strlen(['hello', '']), strchr('hello', ['l', 'z', 'ho'])]", "[5, 0, 2, -1, 0]"},
      {"[strrchr('hello', 'l'), strstr(['abcabc', 'x'], 'bc'), strrstr('abcabc', 'bc')]",
       "[3, 1, -1, 4]"},
      {"[str_firstn('hello', 1), str_lastn('hello', 3), split('a,b;;c', ',;')]",
       "['he', 'lo', 'a', 'b', 'c']"},
      {"[chr([72, 105]), chrt([72, 105]), ord('A'), ords('Hi')]", "['H', 'i', 'Hi', 65, 72, 105]"},
      {"environment('QUORVEX_NO_SUCH_VARIABLE')", "''"},
  });
  EXPECT_EQ(text(outputsOf(
                {"tuple_substr ('hello', 1, 3, R)", "tuple_substr (['hello', 'hi'], 1, 9, R)",
                 "tuple_str_bit_select ('hello', [4, 0], R)", "tuple_str_first_n ('hello', 9, R)",
                 "tuple_str_last_n ('hello', 0, R)", "tuple_split ('a b', ' ', R)",
                 "tuple_environment ('QUORVEX_NO_SUCH_VARIABLE', R)"})),
            "['ell', 'ello', 'i', 'o', 'h', 'hello', 'hello', 'a', 'b', '']");
  expectErrors(
      {{"strlen(5)", 1201}, {"strstr('a', 1)", 1202}, {"ord('ab')", 1301}, {"chr(256)", 1301}});
}

// Patterns with the vendor's options; the match of a pattern with groups is its groups.
TEST(TextFunctions, RegularExpressions) {
  expectValues({
      {"[regexp_match('abc123', '[0-9]+'), regexp_match('key=value', '([a-z]+)=([a-z]+)')]",
       "['123', 'key', 'value']"},
      {"regexp_match(['a1', 'b'], '[a-z]([0-9])')", "['1', '']"},
      {"[regexp_replace('a-b-c', '-', '+'), regexp_replace('a-b-c', ['-', 'replace_all'], '+')]",
       "['a+b-c', 'a+b+c']"},
      {"regexp_replace('John Smith', '([A-Z][a-z]+) ([A-Z][a-z]+)', '$2, $1')", "'Smith, John'"},
      {"regexp_replace('ab', 'b', '<$0>')", "'a<b>'"},
      {"regexp_select(['cat', 'dog', 'cow'], '^c')", "['cat', 'cow']"},
      {"regexp_select(['cat', 'dog', 'cow'], ['^c', 'invert_match'])", "'dog'"},
      {"[regexp_test(['cat', 'dog', 'cow'], '^c'), regexp_test('ABC', ['abc', 'ignore_case'])]",
       "[2, 1]"},
      {"[regexp_test('a\\nb', 'a.b'), regexp_test('a\\nb', ['a.b', 'dot_matches_all'])]", "[0, 1]"},
      {"[regexp_test('x\\ny', ['^y', 'multiline']), regexp_test('x\\ny', ['^y', 'newline_lf'])]",
       "[1, 0]"},
  });
  expectValues({{"tuple_regexp_test (['a1', 'b2', 'c'], '[0-9]', R)", "2"}}, true);
  expectErrors({{"regexp_test(1, 'a')", 1201},
                {"regexp_test('a', ['a', 'no_such_option'])", 1302},
                {"regexp_test('a', '(')", 1302}});
}

// Long subjects match on a stack sized for them; one past the bound for its pattern is
// refused with the engine's own error, never a crash.
TEST(TextFunctions, LongSubjects) {
  EXPECT_EQ(text(evaluate("regexp_test(sum(gen_tuple_const(20000, 'a')), '^(a|b)*$')")), "1");
  EXPECT_EQ(text(evaluate("strlen(regexp_replace(sum(gen_tuple_const(20000, 'a')), "
                          "['(a|b)', 'replace_all'], 'cc'))")),
            "40000");
  expectErrors({{"regexp_test(sum(gen_tuple_const(100000, 'a')), '^(a|b)*$')", 21026}});
}

TEST(TextFunctions, Formatting) {
  EXPECT_EQ(text(outputsOf({"tuple_string (23, '10.2f', R)", "tuple_string (23, '-10.2f', R)",
                            "tuple_string (4, '.7f', R)", "tuple_string (1234.56789, '+10.3f', R)",
                            "tuple_string (2.5, '10.3f', R)"})),
            "['     23.00', '23.00     ', '4.0000000', ' +1234.568', '     2.500']");
  EXPECT_EQ(
      text(outputsOf({"tuple_string (255, ['x', 'X', '#x', '.5d'], R)", "tuple_string (8, '#o', R)",
                      "tuple_string ([42, -42], ['5d', '05d'], R)", "tuple_string (2.7, 'd', R)"})),
      "['ff', 'FF', '0xff', '00255', '010', '   42', '-0042', '2']");
  EXPECT_EQ(text(outputsOf({"tuple_string (1234.5, ['e', 'E'], R)",
                            "tuple_string ([0.0001, 1e-5, 100000.0, 1e6], 'g', R)"})),
            "['1.234500e+03', '1.234500E+03', '0.0001', '1e-05', '100000', '1e+06']");
  EXPECT_EQ(text(outputsOf({"tuple_string ('total', ['10s', '-10s', '-10.3s'], R)",
                            "tuple_string ([5, 2.5], 's', R)", "tuple_string ([1, 2], '3d', R)"})),
            "['     total', 'total     ', 'tot       ', '5', '2.5', '  1', '  2']");
  expectValues({{"tuple_string ([], 'd', R)", "[]"}}, true);
  expectErrors({{"tuple_string ('abc', 'd', R)", 1201},
                {"tuple_string (1, 'q', R)", 1302},
                {"tuple_string (1, 5, R)", 1202}},
               true);
}

}  // namespace
}  // namespace quorvex::test
