// The language of real HDevelop 11.0 files: the syntax beyond plain expressions, exception
// handling, switch, global variables, the error-variable style of error handling, and the
// records for constructs of later releases. And the run's bounds: every road to a large value
// or a long run ends in a record naming the line, before the memory or the time is taken.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "engine_support.h"

namespace quorvex::test {
namespace {

// The engine's numbers that these rules report.
constexpr unsigned kSyntax = 21010;
constexpr unsigned kUnknownCall = 21011;
constexpr unsigned kArgumentCount = 21012;
constexpr unsigned kBlockStructure = 21014;
constexpr unsigned kVariableKind = 21015;
constexpr unsigned kLaterRelease = 21018;
constexpr unsigned kUserException = 21019;
constexpr unsigned kTupleIndex = 2101;
constexpr unsigned kStepLimit = 21027;
constexpr unsigned kValueSize = 21028;

// Each row: an expression in the syntax real files use, and its value's readable form.
TEST(Language, Syntax) {
  const std::pair<const char*, const char*> rows[] = {
      {"1 + 2 // the rest of the line is a comment", "3"},
      {"[1, \\\n 2]", "[1, 2]"},
      {"[1, \\  \r\n 2, \\\n3]", "[1, 2, 3]"},
      {"[010 + 0x10, 'abcdef'{1:3}, 'abc'{1}]", "[24, 'bcd', 'b']"},
      {"[[1:4], [0:2:6], 9, 1:2, [0:0.5:1]]", "[1, 2, 3, 4, 0, 2, 4, 6, 9, 1, 2, 0.0, 0.5, 1.0]"},
      {"[3.14159$'.2f', 'n=' + 7$'03d', [1, 2]$'.1f']", "['3.14', 'n=007', '1.0', '2.0']"},
      {"['abc' =~ 'b.', ['abc', 'xyz'] =~ 'b', max2(3, 7), 1 + 2 = 3]", "[1, 1, 7, 1]"},
      {"[5 band 3, 5 bor 3, 6 bxor 3, 1 bor 2 band 3, bnot 0]", "[1, 7, 5, 3, -1]"},
  };
  for (const auto& [expression, expected] : rows) {
    EXPECT_EQ(text(evaluate(expression)), expected) << expression;
  }
}

// Each row: a procedure whose output is R, and R's readable form.
TEST(Language, Statements) {
  const std::pair<Lines, const char*> rows[] = {
      // An operator's failure reaches the catch with its error code first.
      {{"try", "  R := [1][5]", "catch (E)", "  R := E[0]", "endtry"}, "2101"},
      {{"try", "  R := 1", "catch (E)", "  R := 2", "endtry"}, "1"},
      // A throw passes its tuple on as it is.
      {{"try", "  throw ([30001, 'bad'])", "catch (E)", "  R := E", "endtry"}, "[30001, 'bad']"},
      // The innermost try takes it; a throw in a catch goes to the try around it.
      {{"R := []", "try", "  try", "    throw (1)", "  catch (E)", "    R := [R, 'inner']",
        "    throw (2)", "  endtry", "catch (E)", "  R := [R, E]", "endtry"},
       "['inner', 2]"},
      // A break out of a try block leaves the block: a later failure is not caught by it.
      {{"R := 0", "for I := 1 to 3 by 1", "  try", "    break", "  catch (E)", "  endtry", "endfor",
        "try", "  R := [1][7]", "catch (E)", "  R := 'outer'", "endtry"},
       "'outer'"},
      // switch: a case, falling through to the next, default, break.
      {{"R := []", "for I := 1 to 4 by 1", "  switch (I)", "  case 1:", "    R := [R, 'one']",
        "  case 2:", "    R := [R, 'two']", "    break", "  default:", "    R := [R, 'many']",
        "  endswitch", "endfor"},
       "['one', 'two', 'two', 'many', 'many']"},
      {{"R := 0", "for I := 1 to 5 by 1", "  switch (I % 2)", "  case 0:", "    continue",
        "  endswitch", "  R := R + I", "endfor"},
       "9"},
      // The error variable style: operator errors continue, the variable tells.
      {{"dev_set_check ('~give_error')", "dev_error_var (Error, 1)", "get_system ('width', W)",
        "R := Error", "get_system ('no_such_parameter', V)", "R := [R, Error, Error # H_MSG_TRUE]",
        "dev_set_check ('give_error')"},
       "[2, 1301, 1]"},
      // insert (Tuple, Value, Index, Result), the old element assignment.
      {{"T := [1, 2, 3]", "insert (T, 9, 1, R)", "insert (R, 8, 3, R)"}, "[1, 9, 3, 8]"},
      {{"ifelse (1 > 2)", "  R := 'then'", "else", "  R := 'else'", "endif"}, "'else'"},
      // Objects assigned with := stay objects.
      {{"gen_empty_obj (Empty)", "Copy := Empty", "gen_rectangle1 (Box, 0, 0, 1, 1)",
        "concat_obj (Copy, Box, Both)", "count_obj (Both, R)"},
       "1"},
  };
  for (const auto& [lines, expected] : rows) {
    EXPECT_EQ(text(runLines(lines)), expected) << lines.front() << " ...";
  }
}

TEST(Language, ExceptionDataAndWhatEscapes) {
  const std::string inner = uniqueName("fails");
  writeProcedure(inner, {}, {"get_system ('no_such_parameter', V)"});
  const HTuple data = runLines({"try", "  " + inner + " ()", "catch (E)",
                                "  dev_get_exception_data (E, ['error_code', 'operator', "
                                "'program_line', 'procedure', 'call_stack_depth'], R)",
                                "endtry"});
  EXPECT_EQ(text(data), "[1301, 'get_system', 1, '" + inner + "', 2]");
  EXPECT_EQ(text(runLines({"try", "  throw ([30001, 'x', 'y'])", "catch (E)",
                           "  dev_get_exception_data (E, 'user_data', R)", "endtry"})),
            "['x', 'y']");

  // What no catch takes leaves the procedure as an engine error naming the throw's line
  // (tests/api/language_records_test.cc); a throw without a code is a user exception.
  EXPECT_EQ(errorOfLines({"throw ('no code')"}), kUserException);
  // A caught failure thrown on keeps its own code and message.
  const HDevEngineException rethrown = engineErrorOf([] {
    runLines({"try", "  R := [1][5]", "catch (E)", "  throw (E)", "endtry"});
  });
  EXPECT_EQ(rethrown.HalconErrNum(), kTupleIndex);
  EXPECT_EQ(rethrown.ProgLineNum(), 4);
}

// Global variables are shared with the procedures that declare them; exit ends the whole run,
// the caller's later lines too.
TEST(Language, GlobalsAndExitReachAcrossProcedures) {
  const std::string bump = uniqueName("bump"), leave = uniqueName("leave");
  writeProcedure(bump, {}, {"global tuple Counter", "Counter := Counter + 1"});
  writeProcedure(leave, {}, {"exit ()"});
  EXPECT_EQ(text(runLines({"global def tuple Counter", "Counter := 10", bump + " ()", bump + " ()",
                           "R := Counter"})),
            "12");
  EXPECT_EQ(text(runLines({"R := 'before'", leave + " ()", "R := 'after'"})), "'before'");
}

struct Refusal {
  Lines lines;
  unsigned number;
  int line;
  const char* says;
};

// 11.0 names: a variable called dict or vector, and the substring of one, still load.
TEST(Language, LaterReleasesWordsAreStillNamesIn11) {
  EXPECT_EQ(text(runLines({"dict := 'abcd'", "R := dict{1:2}"})), "'bc'");
  EXPECT_EQ(text(runLines({"global tuple vector", "vector := 3", "R := vector"})), "3");
}

// Each row: lines that do not load, the error, its line and what its message says.
TEST(Language, Refusals) {
  const Refusal rows[] = {
      {{"D.key := 1"}, kLaterRelease, 1, "needs HDevelop"},
      {{"R := 1", "R := V.at(0)"}, kLaterRelease, 2, "needs HDevelop"},
      {{"V := {}"}, kLaterRelease, 1, "needs HDevelop"},
      {{"par_start <T> : f ()"}, kLaterRelease, 1, "par_start"},
      {{"import './lib'"}, kLaterRelease, 1, "import"},
      {{"global object vector(2) X"}, kLaterRelease, 1, "global vector variables"},
      {{"global def tuple vector(1) V"}, kLaterRelease, 1, "global vector variables"},
      {{"D := dict{}"}, kLaterRelease, 1, "dictionaries (dict{...})"},
      {{"D := dict{'a': 1, 'b': 2}"}, kLaterRelease, 1, "dictionaries (dict{...})"},
      {{"D := dict{A, B}"}, kLaterRelease, 1, "dictionaries (dict{...})"},
      // The whole character, never half of its UTF-8 bytes.
      {{"R := 1 日"}, kSyntax, 1, "unexpected character '日'"},
      // The assignment that made the object variable a tuple is the line reported.
      {{"X := 5", "R := 1", "gen_empty_obj (X)"}, kVariableKind, 1, "X is an iconic variable"},
      {{"try", "R := 1", "endtry"}, kBlockStructure, 1, "try without its catch"},
      {{"catch (E)"}, kBlockStructure, 1, "catch without a matching try"},
      {{"case 1:"}, kBlockStructure, 1, "case without a matching switch"},
      {{"switch (1)", "case X:", "endswitch"}, kSyntax, 2, "constant"},
  };
  for (const Refusal& row : rows) {
    const HDevEngineException error = engineErrorOf([&] { runLines(row.lines); });
    EXPECT_EQ(error.HalconErrNum(), row.number) << row.lines.back();
    EXPECT_EQ(error.ProgLineNum(), row.line) << row.lines.back();
    EXPECT_NE(std::string(error.Message()).find(row.says), std::string::npos) << error.Message();
  }
}

// ignore_invalid_lines skips lines that do not parse, nothing else: a line that parses but
// calls an unknown operator or passes the wrong arguments still fails the load.
TEST(Language, IgnoredInvalidLinesAreOnlyThoseThatDoNotParse) {
  HDevEngine().SetEngineAttribute("ignore_invalid_lines", "true");
  EXPECT_EQ(text(runLines({"R := 1", "R := (", "R := [R, 2]"})), "[1, 2]");
  EXPECT_EQ(errorOfLines({"R := 1", "no_such_operator_anywhere (R)"}), kUnknownCall);
  EXPECT_EQ(errorOfLines({"R := 1", "get_system ('width')"}), kArgumentCount);
  HDevEngine().SetEngineAttribute("ignore_invalid_lines", "false");
}

// Files as users' projects hold them: other encodings, CRLF line ends, very long programs, and
// files that are no XML at all (protected or damaged) load or give a record.
TEST(Language, UnusualFilesLoadOrGiveARecord) {
  const auto file = [](const std::string& name, const std::string& declaration,
                       const std::string& body) {
    return declaration + "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">\r\n" +
           "<procedure name=\"" + name + "\">\r\n<interface><oc><par name=\"R\"/></oc>" +
           "</interface>\r\n<body>\r\n" + body + "</body>\r\n</procedure>\r\n</hdevelop>\r\n";
  };
  std::string longBody = "<l>R := 0</l>\n";
  for (int i = 1; i < 10000; ++i) longBody += "<l>R := R + 1</l>\n";
  struct Row {
    const char* what;
    std::string content;  // with NAME standing for the procedure's name
    const char* value;    // the value of R, or null when the load fails
    unsigned number;
  };
  const Row rows[] = {
      {"Latin-1 text", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "'caf\xC3\xA9'", 0},
      {"a 10,000-line program", "", "9999", 0},
      {"UTF-16", std::string("\xFF\xFE<\0?\0x\0m\0l\0", 10), nullptr, 21003},
      {"no XML at all", std::string("\x1F\x8B\x08\0protected", 13), nullptr, 21003},
  };
  for (const Row& row : rows) {
    const std::string name = uniqueName("unusual");
    std::string content = row.content;
    if (row.value) {
      const bool isLong = std::string(row.what).find("10,000") != std::string::npos;
      content = file(name, content, isLong ? longBody : "<l>R := 'caf\xE9'</l>\r\n");
    }
    std::ofstream(scratchFolder() + "/" + name + ".hdvp", std::ios::binary) << content;
    if (row.value) {
      EXPECT_EQ(text(runProcedure(name.c_str(), {})[0]), row.value) << row.what;
    } else {
      const HDevEngineException error =
          engineErrorOf([&] { HDevProcedure procedure(name.c_str()); });
      EXPECT_EQ(error.HalconErrNum(), row.number) << row.what << ": " << error.Message();
    }
  }
}

// ISO-8859-15 is Latin-1 but for eight characters: the euro sign at 0xA4, not the currency
// sign, and S, s, Z, z with caron, the OE ligatures and Y with diaeresis.
TEST(Language, Latin9TextIsDecodedAsLatin9) {
  const std::string name = uniqueName("latin9");
  std::ofstream(scratchFolder() + "/" + name + ".hdvp", std::ios::binary)
      << "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>\n"
      << "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">\n<procedure name=\"" << name
      << "\">\n<interface><oc><par name=\"R\"/></oc></interface>\n<body>\n"
      << "<l>R := "
         "'\xA4\xA6\xA8\xB4\xB8\xBC\xBD\xBE\xA3\xE9'</l>\n</body>\n</procedure>\n</hdevelop>\n";
  // U+20AC U+0160 U+0161 U+017D U+017E U+0152 U+0153 U+0178, and the Latin-1 pound and e-acute.
  EXPECT_EQ(
      text(runProcedure(name.c_str(), {})[0]),
      "'\xE2\x82\xAC\xC5\xA0\xC5\xA1\xC5\xBD\xC5\xBE\xC5\x92\xC5\x93\xC5\xB8\xC2\xA3\xC3\xA9'");
}

using HalconCpp::Hlong;

constexpr Hlong kSmallValueLimit = Hlong{1} << 16;

// Small bounds for one test, the defaults again after it.
class RunBounds : public ::testing::Test {
 protected:
  void SetUp() override {
    HDevEngine().SetEngineAttribute("value_limit", HTuple(kSmallValueLimit));
  }
  void TearDown() override {
    HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 24));
    HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000000}));
  }
};

struct Road {
  const char* what;
  unsigned number;
  int line;
  const char* says;
  Lines lines;
};

TEST_F(RunBounds, EveryRoadEndsAtItsLine) {
  const std::string kilobyte = "'" + std::string(1024, 'x') + "'";
  // clang-format off
  const Road roads[] = {
      {"an element just past the bound", kValueSize, 2, "elements", {"T := []", "T[65536] := 1"}},
      {"text appended in place", kValueSize, 4, "bytes of text",
       {"S := " + kilobyte, "A := []", "while (1)", "  A := [A, S]", "endwhile"}},
      {"text appended by index", kValueSize, 4, "bytes of text",
       {"S := " + kilobyte, "A := []", "while (1)", "  A[|A|] := S", "endwhile"}},
      {"a tuple of large parts, checked before it is built", kValueSize, 2, "80000 elements",
       {"A := gen_tuple_const(40000, 0)", "B := [A, A]"}},
      {"one element's text growing", kValueSize, 3, "bytes of text",
       {"S := " + kilobyte, "while (1)", "  S := S + S", "endwhile"}}};
  // clang-format on
  for (const Road& road : roads) {
    const HDevEngineException error = engineErrorOf([&] { runLines(road.lines); });
    EXPECT_EQ(error.HalconErrNum(), road.number) << road.what << ": " << error.Message();
    EXPECT_EQ(error.ProgLineNum(), road.line) << road.what;
    EXPECT_NE(std::string(error.Message()).find(road.says), std::string::npos) << error.Message();
  }
}

// Each frame of the recursion keeps a value within the bound; together they are not.
TEST_F(RunBounds, AllFramesTogetherAreBounded) {
  const std::string deep = uniqueName("deep");
  writeProcedure(
      deep, {{"ic", {"N"}}},
      {"Keep := gen_tuple_const(60000, N)", "if (N > 0)", "  " + deep + " (N - 1)", "endif"});
  const HDevEngineException error = engineErrorOf([&] { runLines({deep + " (20)"}); });
  EXPECT_EQ(error.HalconErrNum(), kValueSize) << error.Message();
  EXPECT_EQ(std::string(error.ExecProcedureName()), deep);
  EXPECT_EQ(error.ProgLineNum(), 1);
  // Frames that have returned give their values back.
  EXPECT_EQ(text(runLines({"for I := 1 to 20 by 1", "  " + deep + " (2)", "endfor", "R := I"})),
            "20");
}

TEST_F(RunBounds, WorkNotLinesIsCounted) {
  HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 24));
  HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{10000}));
  // One line over a million elements costs what a loop over them would.
  const HDevEngineException built = engineErrorOf([] {
    runLines({"R := 1", "T := gen_tuple_const(1000000, 1)"});
  });
  EXPECT_EQ(built.HalconErrNum(), kStepLimit);
  EXPECT_EQ(built.ProgLineNum(), 2);
  EXPECT_EQ(text(runLines({"T := gen_tuple_const(10000, 1)", "R := |T|"})), "10000");
  // A wait the budget cannot pay fails at once instead of waiting.
  HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000000}));
  const HDevEngineException waited = engineErrorOf([] { runLines({"wait_seconds (1000000)"}); });
  EXPECT_EQ(waited.HalconErrNum(), kStepLimit);
}

// Images and window framebuffers share one pixel bound and windows have a count bound; each
// ends at the operator line that would pass it, and what a run made is given back after it.
TEST(ImageAndWindowBounds, EndAtTheLineThatWouldPassThem) {
  struct Case {
    const char* what;
    unsigned number;
    int line;
    Lines lines;
  };
  // clang-format off
  const Case cases[] = {
      {"one image larger than the pixel bound", 6001, 2,
       {"set_system ('standin_pixel_limit', 1000000)", "gen_image_const (I, 'byte', 1001, 1000)"}},
      {"images kept in a loop", 6001, 4,
       {"set_system ('standin_pixel_limit', 10000000)", "gen_empty_obj (All)",
        "for I := 1 to 100 by 1", "  gen_image_const (Image, 'byte', 1000, 1000)",
        "  concat_obj (All, Image, All)", "endfor"}},
      {"a window's framebuffer", 6001, 2,
       {"set_system ('standin_pixel_limit', 1000000)",
        "open_window (0, 0, 1000, 1000, 0, 'invisible', '', W)"}},
      {"a window grown past the pixel bound", 6001, 3,
       {"set_system ('standin_pixel_limit', 1000000)",
        "open_window (0, 0, 100, 100, 0, 'invisible', '', W)",
        "set_window_extents (W, 0, 0, 1000, 1000)"}},
      {"windows left open", 5101, 3,
       {"set_system ('standin_window_limit', 3)", "for I := 1 to 4 by 1",
        "  open_window (0, 0, 64, 64, 0, 'invisible', '', W)", "endfor"}}};
  // clang-format on
  HTuple pixelLimit, windowLimit, heldBefore;
  HalconCpp::GetSystem("standin_pixel_limit", &pixelLimit);
  HalconCpp::GetSystem("standin_window_limit", &windowLimit);
  HalconCpp::GetSystem("standin_pixel_bytes", &heldBefore);
  for (const Case& c : cases) {
    const HDevEngineException error = engineErrorOf([&] { runLines(c.lines); });
    EXPECT_EQ(error.HalconErrNum(), c.number) << c.what << ": " << error.Message();
    EXPECT_EQ(error.ProgLineNum(), c.line) << c.what;
    HalconCpp::SetSystem("standin_pixel_limit", pixelLimit);
    HalconCpp::SetSystem("standin_window_limit", windowLimit);
    // Windows stay open after a run; closing them gives their pixels back.
    HTuple open;
    HalconCpp::GetSystem("standin_native_windows", &open);
    for (Hlong i = 0; i < open.Length(); i += 9) HalconCpp::CloseWindow(open[i]);
    HTuple held;
    HalconCpp::GetSystem("standin_pixel_bytes", &held);
    EXPECT_EQ(held.L(), heldBefore.L()) << c.what;
  }
}

// A record about a large value shows its beginning, not the whole value.
TEST_F(RunBounds, RecordsStaySmall) {
  const HDevEngineException error = engineErrorOf([] {
    runLines({"T := gen_tuple_const(60000, 'abcdefgh')", "T[T] := 1"});
  });
  EXPECT_EQ(error.HalconErrNum(), 21025u);
  EXPECT_LT(std::string(error.Message()).size(), 600u) << error.Message();
  EXPECT_NE(std::string(error.Message()).find("(60000 elements)"), std::string::npos);
}

}  // namespace
}  // namespace quorvex::test
