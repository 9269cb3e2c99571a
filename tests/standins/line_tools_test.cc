// Lines by their end points and functions in files, through program lines, against values
// worked out by hand from the HALCON 11.0 pages named beside them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Four lines (begin row, begin column, end row, end column) and their features:
//   L1 (0, 0)-(0, 10)  length 10, centre (0, 5),   phi 0
//   L2 (0, 0)-(3, 4)   length 5,  centre (1.5, 2), phi atan2(-3, 4) = -0.6435
//   L3 (10, 0)-(0, 0)  length 10, centre (5, 0),   phi atan2(10, 0) = pi/2 (kept, in (-pi/2, pi/2])
//   L4 (2, 2)-(2, 2)   length 0,  centre (2, 2),   phi 0
const std::string kLines =
    "RB := [0, 0, 10, 2]\nCB := [0, 0, 0, 2]\nRE := [0, 3, 0, 2]\n"
    "CE := [10, 4, 0, 2]";
const std::string kOut = "R := [RB1, CB1, RE1, CE1]";

std::string selecting(const std::string& features, const std::string& operation,
                      const std::string& min, const std::string& max) {
  return kLines + "\nselect_lines (RB, CB, RE, CE, " + features + ", '" + operation + "', " + min +
         ", " + max + ", RB1, CB1, RE1, CE1)\n" + kOut;
}

// select_lines, HALCON 11.0 (its rule as the 6.1 and 7.1 pages word it): a line is kept when
// each ('and') or at least one ('or') feature lies in [Min, Max]; 'min' and 'max' leave a side
// open.
TEST(LineTools, SelectLinesByFeatures) {
  expectTexts({
      {selecting("'length'", "and", "6", "'max'"), "[0, 10, 0, 0, 0, 0, 10, 0]"},       // L1, L3
      {selecting("['length', 'row']", "and", "[0, 1.5]", "[5, 1.5]"), "[0, 0, 3, 4]"},  // L2
      {selecting("['length', 'row']", "or", "[6, 1.5]", "['max', 1.5]"),
       "[0, 0, 10, 0, 0, 0, 0, 3, 0, 10, 4, 0]"},                           // L1, L2, L3
      {selecting("'phi'", "and", "1.5", "'max'"), "[10, 0, 0, 0]"},         // L3
      {selecting("'phi'", "and", "'min'", "-0.5"), "[0, 0, 3, 4]"},         // L2
      {selecting("'column'", "or", "2", "2"), "[0, 2, 0, 2, 3, 2, 4, 2]"},  // L2, L4
      {"select_lines ([], [], [], [], 'length', 'and', 'min', 'max', RB1, CB1, RE1, CE1)\n" + kOut,
       "[]"},
  });
}

// partition_lines, HALCON 11.0: the lines select_lines keeps, then the others.
TEST(LineTools, PartitionLinesSplitsAll) {
  expectTexts({{kLines + "\npartition_lines (RB, CB, RE, CE, 'length', 'and', 6, 'max', RB1, CB1, "
                         "RE1, CE1, FRB, FCB, FRE, FCE)\nR := [RB1, FRB, FCE]",
                "[0, 10, 0, 2, 4, 2]"}});
}

// select_lines_longest, HALCON 11.0: the Num longest, longest first; L1 and L3 tie.
TEST(LineTools, SelectLinesLongest) {
  const auto longest = [](const char* num) {
    return kLines + "\nselect_lines_longest (RB, CB, RE, CE, " + num + ", RB1, CB1, RE1, CE1)\n" +
           "R := RB1";
  };
  expectTexts({{longest("2"), "[0, 10]"},
               {longest("3"), "[0, 10, 0]"},
               {longest("9"), "[0, 10, 0, 2]"},
               {longest("0"), "[]"}});
}

// intersection_ll, HALCON 11.0: the crossing of the two lines through the point pairs;
// parallel lines (or a line of one point) give IsParallel 1 and a point the page leaves
// undefined.
TEST(LineTools, IntersectionOfTwoLines) {
  expectTexts({
      {"intersection_ll (0, 0, 10, 10, 0, 10, 10, 0, R1, C1, P)\nR := [R1, C1, P]",
       "[5.0, 5.0, 0]"},
      // row = 2 col meets col = 4 at row 8
      {"intersection_ll (0, 0, 2, 1, 0, 4, 1, 4, R1, C1, P)\nR := [R1, C1, P]", "[8.0, 4.0, 0]"},
      {"intersection_ll (0, 0, 0, 10, 5, 3, 5, 6, R1, C1, P)\nR := P", "1"},
      {"intersection_ll (1, 1, 1, 1, 0, 0, 3, 5, R1, C1, P)\nR := P", "1"},
      {"intersection_ll ([0, 0], [0, 0], [10, 0], [10, 10], [0, 5], [10, 3], [10, 5], [0, 6], "
       "R1, C1, P)\nR := [R1[0], C1[0], P]",
       "[5.0, 5.0, 0, 1]"},
  });
}

TEST(LineTools, WrongParametersRaise) {
  const std::string call = "select_lines (RB, CB, RE, CE, ";
  expectErrorCases({{{call + "'area', 'and', 0, 1, A, B, C, D)"}, 1305},
                    {{call + "'length', 'xor', 0, 1, A, B, C, D)"}, 1306},
                    {{call + "'length', 'and', [0, 1], 1, A, B, C, D)"}, 1407},
                    {{call + "'length', 'and', 'low', 1, A, B, C, D)"}, 1307},
                    {{"select_lines (RB, [0], RE, CE, 'length', 'and', 0, 1, A, B, C, D)"}, 1402},
                    {{"select_lines_longest (RB, CB, RE, CE, -1, A, B, C, D)"}, 1305},
                    {{"intersection_ll ([0, 1], 0, 1, 1, 0, 1, 1, 0, R1, C1, P)"}, 1402}},
                   split(kLines));
}

const std::string& folder() {
  static const std::string path = makeTempFolder("quorvex_functs_") + "/";
  return path;
}

// write_funct_1d, read_funct_1d, HALCON 11.0: the function read back is the one written.
TEST(Funct1dFiles, ReadBackWhatWasWritten) {
  const std::string f = "'" + folder();
  expectTexts({
      {"create_funct_1d_pairs ([1, 2, 4], [3, -1, 5], F)\nwrite_funct_1d (F, " + f +
           "p')\nread_funct_1d (" + f + "p', R)",
       "[1, 1.0, 2.0, 4.0, 3.0, -1.0, 5.0]"},
      {"create_funct_1d_array ([3, 5.5], F)\nwrite_funct_1d (F, " + f + "a')\nread_funct_1d (" + f +
           "a', R)",
       "[0, 1.0, 0.0, 3.0, 5.5]"},
  });
  expectLineErrors({
      {"write_funct_1d ([2, 3], " + f + "x')", 1301},
      {"read_funct_1d (" + f + "missing', G)", 5200},
      {"write_tuple (['a', 1], " + f + "t')\nread_funct_1d (" + f + "t', G)", 5202},
  });
}

}  // namespace
