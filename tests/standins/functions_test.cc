// The expression functions on numbers, whole tuples and strings (searching and cutting,
// regular expressions, number formatting), and the tuple_* operators that share their code,
// run through the engine as a program runs them. Every value is worked out from the
// definitions of the vendor's tuple operators. Functions giving one value or a fixed number
// are joined into one tuple a row, which still tells each value's kind. Formatting's
// independence from the host's locale is checked through the library (tests/api/locale_test).
#include <gtest/gtest.h>

#include <string>

#include "engine_support.h"

namespace quorvex::test {
namespace {

// Integers stay integers where the operator keeps the kind; everything else is real.
TEST(Functions, Mathematics) {
  expectValues({
      {"[abs([-3, 2.5, 0]), fabs(-3)]", "[3, 2.5, 0, 3.0]"},
      {"[ceil([1.2, -1.2, 2]), floor([1.8, -1.2])]", "[2.0, -1.0, 2.0, 1.0, -2.0]"},
      {"[sqrt([16, 2.25]), exp(0), log(1), log10(1000)]", "[4.0, 1.5, 1.0, 0.0, 3.0]"},
      {"[sin(0), cos(0), tan(0), asin(0), acos(1), atan(0)]", "[0.0, 1.0, 0.0, 0.0, 0.0, 0.0]"},
      {"[sinh(0), cosh(0), tanh(0), deg(0), rad(0)]", "[0.0, 1.0, 0.0, 0.0, 0.0]"},
      {"[atan2(1, 1), rad(180)]", "[0.7853981633974483, 3.141592653589793]"},
      {"[sgn([-2.5, 0, 7]), int([2.9, -2.9, 4])]", "[-1, 0, 1, 2, -2, 4]"},
      {"[real([1, 2.5]), round([0.5, -0.5, 1.49, 3])]", "[1.0, 2.5, 1, -1, 1, 3]"},
      {"[pow(2, [3, 0.5]), ldexp(3, 2)]", "[8.0, 1.4142135623730951, 12.0]"},
      {"[fmod([7, -7], 3), min2([1, 5], 3), max2(4, 2.5)]", "[1.0, -1.0, 1, 3, 4.0]"},
      {"max2([], 1)", "[]"},
  });
}

// band, bor and bxor are infix operators in expressions; their operators run them here.
TEST(Functions, Bits) {
  expectValues({{"[lsh(1, [0, 4]), rsh([-16, 16], 2), bnot([0, 5])]", "[1, 16, -4, 4, -1, -6]"}});
  EXPECT_EQ(text(outputsOf({"tuple_band (12, 10, R)", "tuple_bor (12, 10, R)",
                            "tuple_bxor (12, [10, 12], R)", "tuple_bnot (-1, R)",
                            "tuple_lsh (3, 1, R)"})),
            "[8, 14, 6, 0, 0, 6]");
  expectErrors({{"tuple_band (1.5, 1, R)", 1201}, {"tuple_bor (1, 'a', R)", 1202}}, true);
}

// Sums and extremes are integers for integers only; an empty tuple sums to nothing.
TEST(Functions, WholeTuples) {
  expectValues({
      {"[sum([1, 2, 3]), sum([1, 2.5]), sum(['a', 'b'])]", "[6, 3.5, 'ab']"},
      {"sum([])", "[]"},
      {"[mean([1, 2]), mean(4), min([3, 1.5, 2]), min([3, 2])]", "[1.5, 4.0, 1.5, 2]"},
      {"[max([3, 7, 2.0]), max(['b', 'abc']), median([5, 1, 3]), median([4, 1, 3, 2])]",
       "[7.0, 'b', 3, 3]"},
      {"[deviation([1, 2, 3]), deviation(5), select_rank([5, 1, 3], 0)]", "[1.0, 0.0, 1]"},
      {"[cumul([1, 2, 3]), cumul([1, 0.5])]", "[1, 3, 6, 1.0, 1.5]"},
      {"[sort([3, 1.5, 2]), sort(['b', 'a']), sort_index([30, 10, 20])]",
       "[1.5, 2, 3, 'a', 'b', 1, 2, 0]"},
  });
}

TEST(Functions, Rearranging) {
  expectValues({
      {"[inverse([1, 'a', 2.5]), uniq([1, 1, 2, 1, 1])]", "[2.5, 'a', 1, 1, 2, 1]"},
      {"[find([1, 2, 1, 2], [1, 2]), find([1, 2], 3), find([], 1)]", "[0, 2, -1, -1]"},
      {"[remove([10, 20, 30], [0, 2, 7]), subset([10, 20, 30], [2, 0])]", "[20, 30, 10]"},
      {"select_mask([1, 2, 3], [1, 0, 1])", "[1, 3]"},
      {"[gen_tuple_const(3, 'x'), gen_sequence(1, 2, 0.5)]", "['x', 'x', 'x', 1.0, 1.5, 2.0]"},
      {"[gen_tuple_const(0, 1), gen_sequence(1, 5, -1)]", "[]"},
      {"[gen_sequence(5, 1, -2), |gen_sequence(0, 1, 0.1)|, |rand(5)|]", "[5, 3, 1, 11, 5]"},
      {"min(rand(100)) >= 0 and max(rand(100)) < 1", "1"},
      {"[union([3, 1], [2, 1]), intersection([1, 2, 3], [3, 1, 5])]", "[1, 2, 3, 1, 3]"},
      {"[difference([1, 2, 3], 2), symmdiff([1, 2], [2, 3])]", "[1, 3, 1, 3]"},
      {"[insert([1, 3], 1, 2), replace([1, 2, 3], [0, 2], 0)]", "[1, 2, 3, 0, 2, 0]"},
  });
}

// The codes of the vendor's type constants; 15 (all kinds) for the empty tuple.
TEST(Functions, Kinds) {
  expectValues({
      {"[type([]), type([1, 2]), type(2.5), type('a'), type([1, 'a'])]", "[15, 1, 2, 4, 8]"},
      {"[is_int([1, 2]), is_int([1, 2.0]), is_int([])]", "[1, 0, 0]"},
      {"[is_real(1.5), is_string(['a', 'b']), is_mixed([1, 2.0])]", "[1, 1, 1]"},
      {"[is_int_elem([1, 2.0, 'a']), type_elem([1, 2.0, 'a'])]", "[1, 0, 0, 1, 2, 4]"},
      {"is_number(['1e3', 'x', 5, ''])", "[1, 0, 1, 0]"},
      {"number(['0x1F', '+7', '.5', '-0.25e1'])", "[31, 7, 0.5, -2.5]"},
  });
}

// Wrong kinds, values and lengths raise the vendor's numbers for the parameter at fault.
TEST(Functions, Refusals) {
  expectErrors(1201, {"sqrt('a')", "pow('a', 2)", "max([1, 'a'])", "sort([1, 'a'])"});
  expectErrors(1202, {"pow(2, 'a')"});
  expectErrors(1301, {"sqrt(-1)", "log(0)", "asin(2)", "gen_tuple_const(-1, 0)"});
  expectErrors(1302, {"lsh(1, -1)", "select_rank([1, 2], 2)", "subset([1, 2], 2)"});
  expectErrors(1303, {"gen_sequence(1, 3, 0)"});
  expectErrors(1401, {"max([])", "mean([])", "median([])", "deviation([])"});
  expectErrors(1402, {"atan2([1, 2], [1, 2, 3])"});
}

// The element-wise comparisons pair equal lengths or spread a single element, and an empty
// side gives []; the rows are the examples of the HDevelop language reference's table of
// element-wise comparisons. tuple_find_first / tuple_find_last: the vendor's page example,
// [3,4,5,6,1,2,3,4,0] searched for [3,4], gives 0 and 6; absent gives -1, empty gives [].
TEST(TupleOperators, ElementwiseComparisonsAndFindEnds) {
  EXPECT_EQ(text(outputsOf({"tuple_less_elem ([1, 2, 3], [3, 2, 1], R)",
                            "tuple_equal_elem (['a', 'b', 'c'], 'b', R)",
                            "tuple_less_elem (['a', 'b', 'c'], ['b'], R)",
                            "tuple_not_equal_elem ([1, 2], [1.0, '2'], R)",
                            "tuple_greater_elem (2, [1, 2.0, 3], R)",
                            "tuple_greater_equal_elem (2, [1, 2.0, 3], R)",
                            "tuple_less_equal_elem ([1.5, 2], 1.5, R)"})),
            "[1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0]");
  EXPECT_EQ(text(outputsOf({"tuple_find_first ([3, 4, 5, 6, 1, 2, 3, 4, 0], [3, 4], R)",
                            "tuple_find_last ([3, 4, 5, 6, 1, 2, 3, 4, 0], [3, 4], R)",
                            "tuple_find_first (['a', 1], 1.0, R)",
                            "tuple_find_last ([1, 2], [2, 1], R)"})),
            "[0, 6, 1, -1]");
  EXPECT_EQ(text(outputsOf({"tuple_equal_elem ([], 1, R)", "tuple_find_first ([], 1, R)",
                            "tuple_find_last ([1], [], R)"})),
            "[]");
  expectErrors({{"tuple_less_elem ([1, 2], [1, 2, 3], R)", 1402}}, true);
}

// get_error_text from a program line: the vendor's text for a HALCON error number (1201 is
// "Wrong type of control parameter 1" in the reference's list of error codes); one integer only.
TEST(SystemOperators, ErrorTextOfAProgramLine) {
  EXPECT_EQ(
      text(outputsOf({"get_error_text (1201, R)", "get_error_text (1402, R)"})),
      "['Wrong type of control parameter 1', 'Wrong number of values of control parameter 2']");
  expectErrors({{"get_error_text ('a', R)", 1201}, {"get_error_text ([1201, 1202], R)", 1401}},
               true);
}

// Operator lines: the same operations under the vendor's operator names.
TEST(TupleOperators, Lines) {
  EXPECT_EQ(text(outputsOf({"tuple_add (1, 2.5, R)", "tuple_add ('n=', 5, R)",
                            "tuple_sub ([5, 6], 1, R)", "tuple_mult (2, 3, R)",
                            "tuple_div (7, 2, R)", "tuple_mod (7, 3, R)", "tuple_neg (3, R)"})),
            "[3.5, 'n=5', 4, 5, 6, 3, 1, -3]");
  EXPECT_EQ(text(outputsOf({"tuple_equal ([1, 2], [1.0, 2], R)", "tuple_not_equal (1, '1', R)",
                            "tuple_less ('a', 'b', R)", "tuple_greater_equal (2, 3, R)",
                            "tuple_and ([1, 0], 1, R)", "tuple_or ([0, 0], [0, 2], R)",
                            "tuple_xor (1, [1, 0], R)", "tuple_not ([0, 3], R)"})),
            "[1, 1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0]");
  EXPECT_EQ(text(outputsOf({"tuple_concat (1, 'a', R)", "tuple_select ([1, 2, 3], 1, R)",
                            "tuple_select_range ([1, 2, 3, 4], 1, 2, R)",
                            "tuple_first_n ([1, 2, 3], 1, R)", "tuple_last_n ([1, 2, 3], 1, R)"})),
            "[1, 'a', 2, 2, 3, 1, 2, 2, 3]");
  EXPECT_EQ(text(outputsOf({"tuple_gen_sequence (1, 5, 2, R)", "tuple_gen_sequence (0, 1, 0.25, R)",
                            "tuple_max2 (1, 2, R)", "tuple_sort_index (['b', 'c', 'a'], R)"})),
            "[1, 3, 5, 0.0, 0.25, 0.5, 0.75, 1.0, 2, 2, 0, 1]");
  EXPECT_EQ(text(runLines({"A := [1, 2]", "tuple_add (A, 1, A)", "R := A"})), "[2, 3]");
  EXPECT_EQ(text(runLines(
                {"tuple_histo_range ([1, 2, 2, 5, 9, 10, 11], 0, 10, 5, H, W)", "R := [H, W]"})),
            "[1, 2, 1, 0, 2, 2.0]");
  expectErrors({{"tuple_div (7, 0, R)", 2103},
                {"tuple_mod (7.5, 2, R)", 2104},
                {"tuple_sqrt ('a', R)", 1201},
                {"tuple_gen_sequence (1, 3, 0, R)", 1303},
                {"tuple_select_range ([1, 2], 1, 5, R)", 1303}},
               true);
}

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

// Long subjects match whole, whichever engine the build has (regexp_test.cc: past that).
TEST(TextFunctions, LongSubjects) {
  EXPECT_EQ(text(evaluate("regexp_test(sum(gen_tuple_const(20000, 'a')), '^(a|b)*$')")), "1");
  EXPECT_EQ(text(evaluate("strlen(regexp_replace(sum(gen_tuple_const(20000, 'a')), "
                          "['(a|b)', 'replace_all'], 'cc'))")),
            "40000");
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

// The alternate form (#) as printf writes it, which tuple_string follows (HALCON 11.0
// reference, tuple_string: "the result always contains a decimal point; for g and G trailing
// zeros are not removed"); worked by hand: %#g keeps six significant digits, the point goes
// before the exponent. A negative zero keeps its sign, as printf's %f shows it.
TEST(TextFunctions, AlternateFormsAndNegativeZero) {
  expectValues({
      {"[1.0$'#g', 0.0001$'#g', 1e-5$'#g', 123456.0$'#g', 0.0$'#g']",
       "['1.00000', '0.000100000', '1.00000e-05', '123456.', '0.00000']"},
      {"[100000.0$'#.3g', 1.0$'#.0g', 12345.0$'#.0e', 12345.0$'#.0E', 2.0$'#.0f']",
       "['1.00e+05', '1.', '1.e+04', '1.E+04', '2.']"},
      {"[1.5$'#g', 1.5$'#e', 1.5$'g']", "['1.50000', '1.500000e+00', '1.5']"},
      {"[-0.0, -(0.0), 0.0 * -1, (-0.0)$'f', (-0.0)$'.1f', -(0)]",
       "[-0.0, -0.0, -0.0, '-0.000000', '-0.0', 0]"},
  });
}

// Ranges of integers too large for a real's 53 bits are counted in integers: exactly the
// elements from the start to the end (tuple_gen_sequence, HALCON 11.0 reference).
// Integers are as wide as a pointer: the rows near the range's ends are those of the word size.
TEST(Functions, RangesOfLargeIntegers) {
  if (sizeof(HalconCpp::Hlong) == 8) {
    expectValues({
        {"|[100000000000000000:100000000000000010]|", "11"},
        {"[100000000000000000:100000000000000010][10]", "100000000000000010"},
        {"gen_sequence(9223372036854775806, 9223372036854775807, 1)",
         "[9223372036854775806, 9223372036854775807]"},
        {"gen_sequence(-9223372036854775807, 9223372036854775807, 9223372036854775807)",
         "[-9223372036854775807, 0, 9223372036854775807]"},
        {"[100000000000000010:-5:100000000000000000]",
         "[100000000000000010, 100000000000000005, 100000000000000000]"},
    });
  } else {
    expectValues({
        {"gen_sequence(2147483646, 2147483647, 1)", "[2147483646, 2147483647]"},
        {"gen_sequence(-2147483647, 2147483647, 2147483647)", "[-2147483647, 0, 2147483647]"},
        {"[2000000010:-5:2000000000]", "[2000000010, 2000000005, 2000000000]"},
    });
  }
  expectValues({{"[0:0.1:0.3]", "[0.0, 0.1, 0.2, 0.30000000000000004]"}});
}

}  // namespace
}  // namespace quorvex::test
