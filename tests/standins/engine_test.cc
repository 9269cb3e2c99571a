// The engine stand-in as the library and its callers rely on it: the language, loading,
// procedure and program objects, the depth limit, faults on demand. The records of failing
// lines are checked through the library (tests/api: the innermost procedure, the line counting
// comments, the message), the faults of each engine operation by the fault sweep.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine_support.h"
#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"
#include "support/procedure_file.h"
#include "support/standin_control.h"
#include "support/temp_folder.h"

namespace quorvex::test {
namespace {

// Each row: an expression and the readable form of its value, which tells 5 from 5.0 from '5'.
// The functions are checked one by one in functions_test.
TEST(EngineLanguage, Expressions) {
  // clang-format off
  const std::pair<const char*, const char*> rows[] = {
      {"0x1F", "31"}, {"2e3", "2000.0"}, {".5", "0.5"}, {"'it\\'s'", "'it's'"},
      {"[1, [2, 'x'], [], 3.0]", "[1, 2, 'x', 3.0]"}, {"[true, false]", "[1, 0]"}, {"7 / 2", "3"},
      {"7.0 / 2", "3.5"}, {"-7 % 3", "-1"}, {"1 + 2 * 3", "7"}, {"10 - 2 - 3", "5"},
      {"2 - -1", "3"}, {"[1, 2, 3] * 2", "[2, 4, 6]"}, {"3.5 * [2, 4]", "[7.0, 14.0]"},
      {"'a' + 'b' + 1.0", "'ab1.0'"}, {"[1, 2] = [1, 2]", "1"}, {"5 == 5.0", "1"}, {"'5' # 5", "1"}, {"[1, 2] < [1, 3]", "1"},
      {"'abc' >= 'abd'", "0"}, {"0 or 0.5", "1"}, {"1 xor 1", "0"}, {"not (1 = 2)", "1"},
      {"1 = 1 or 1 = 2 and 0", "1"}, {"||[4, 5]| + 1|", "1"}, {"[10, 20, 30][[2, 0]]", "[30, 10]"},
      {"[10, 20, 30, 40][1:2]", "[20, 30]"}, {"[10, 20, 30][2:1]", "[]"},
      {"number(['12', '1.5', 'x', 'inf', '-3e2'])", "[12, 1.5, 'x', 'inf', -300.0]"},
      {"((((1))))", "1"}
  };
  // clang-format on
  for (const auto& [expression, expected] : rows) {
    EXPECT_EQ(text(evaluate(expression)), expected) << expression;
  }
  EXPECT_EQ(evaluate("'a\\\\b\\n\\t'")[0].S().str(), "a\\b\n\t");
}

// Each row: the lines of a procedure whose output is R, and R's readable form.
TEST(EngineLanguage, Statements) {
  const Lines classify = {"if (In1 < 0)",
                          "  R := 'negative'",
                          "elseif (In1 == 0)",
                          "  R := 'zero'",
                          "else",
                          "  R := 'other'",
                          "endif"};
  EXPECT_EQ(text(runLines(classify, {HTuple(-4)})), "'negative'");
  EXPECT_EQ(text(runLines(classify, {HTuple(0)})), "'zero'");
  EXPECT_EQ(text(runLines(classify, {HTuple(3)})), "'other'");
  const std::pair<Lines, const char*> rows[] = {
      {{"R[2] := 5"}, "[0, 0, 5]"},
      {{"R := [1, 2, 3]", "R[1] := 'b'", "R[3] := 4.5"}, "[1, 'b', 3, 4.5]"},
      {{"assign ([7, 8], R)"}, "[7, 8]"},
      {{"R := 0", "if (0.0)", "  R := 1", "endif"}, "0"},
      {{"R := []", "for I := 5 to 1 by -2", "  R := [R, I]", "endfor"}, "[5, 3, 1]"},
      {{"R := []", "for X := 0 to 1 by 0.25", "  R := [R, X]", "endfor"},
       "[0, 0.25, 0.5, 0.75, 1.0]"},
      {{"R := 'none'", "for I := 1 to 0", "  R := I", "endfor"}, "'none'"},
      // The bounds are evaluated once, and the loop counts on its own.
      {{"N := 3", "R := 0", "for I := 1 to N", "  N := N + 1", "  I := 100", "  R := R + 1",
        "endfor"},
       "3"},
      // break leaves the inner loop only; continue in a for loop still steps the variable.
      {{"R := []", "for I := 1 to 3", "  if (I == 2)", "    continue", "  endif",
        "  for J := 1 to 5", "    if (J > 1)", "      break", "    endif",
        "    R := [R, I * 10 + J]", "  endfor", "endfor"},
       "[11, 31]"},
      {{"R := 0", "repeat", "  R := R + 1", "until (R >= 4)"}, "4"},
      {{"R := 0", "while (1)", "  R := R + 1", "  if (R == 3)", "    return ()", "  endif",
        "endwhile"},
       "3"},
      {{"R := 1", "stop ()", "R := 2"}, "2"},
      {{"//R := 99", "* R := 98", "", "R := 1"}, "1"},
      {{"set_system ('engine_test_value', [1, 'a'])", "get_system ('engine_test_value', R)"},
       "[1, 'a']"},
      // X := [X, ...] and X[|X|] := ... append where X is: nothing else sees the change, and
      // an operand that is X itself reads X as it was before the line.
      {{"T := [1]", "A := T", "T := [T, 2]", "R := [A, |T|]"}, "[1, 2]"},
      {{"T := [1, 2]", "T := [T, T, 3]", "R := T"}, "[1, 2, 1, 2, 3]"},
      {{"T := [1]", "T := [T, 0, T]", "R := T"}, "[1, 0, 1]"},
      {{"T := [1]", "T := [T, 2.5, 'x', 3]", "R := T"}, "[1, 2.5, 'x', 3]"},
      {{"T := [5]", "T[3] := T", "R := T"}, "[5, 0, 0, 5]"},
      {{"R := []", "for I := 1 to 3", "  R[|R|] := I * 1.5", "endfor"}, "[1.5, 3.0, 4.5]"}};
  for (const auto& [lines, expected] : rows) EXPECT_EQ(text(runLines(lines)), expected) << lines[0];
}

// Each row: lines that fail, the number, and the failing line. Values that grow without end
// stop at the engine's bounds on the line that grows them, appends in place included.
TEST(EngineLanguage, FailingStatements) {
  const std::tuple<Lines, unsigned, int> rows[] = {
      {{"R := [R, 1]"}, 21020, 1},
      {{"T := [1, 2]", "for I := 1 to 40", "  T := [T, T]", "endfor"}, 21028, 3},
      {{"T := 'ab'", "for I := 1 to 40", "  T := T + T", "endfor"}, 21028, 3}};
  for (const auto& [lines, number, line] : rows) {
    const HDevEngineException e = engineErrorOf([&failing = lines] { runLines(failing); });
    EXPECT_EQ(e.HalconErrNum(), number) << lines.back();
    EXPECT_EQ(e.ProgLineNum(), line) << lines.back();
  }
}

TEST(EngineProcedures, CallsRecursionAndTheDepthLimit) {
  useBundledProcedures();
  EXPECT_EQ(text(runProcedure("add", {HTuple("a"), HTuple("b")})[0]), "'ab'");
  EXPECT_EQ(text(runProcedure("factorial", {HTuple(10)})[0]), "3628800");
  const std::string callee = uniqueName("callee");
  writeProcedure(callee, {{"ic", {"In"}}, {"oc", {"Out", "Never"}}}, {"In := In + 1", "Out := In"});
  EXPECT_EQ(text(runLines({"X := 1", callee + " (X, Y, Z)", "R := [X, Y, |Z|]"})), "[1, 2, 0]");
  EXPECT_EQ(errorOfLines({callee + " (1, 2)"}), 21012u);
  EXPECT_EQ(errorOfLines({callee + " (1, 2, [R])"}), 21013u);

  HDevEngine engine;
  engine.SetEngineAttribute("call_depth_limit", HTuple(5));
  EXPECT_EQ(text(runProcedure("factorial", {HTuple(5)})[0]), "120");
  const HDevEngineException e = engineErrorOf([] { runProcedure("factorial", {HTuple(6)}); });
  EXPECT_EQ(e.HalconErrNum(), 21021u);
  EXPECT_EQ(e.ProgLineNum(), 5);
  // Deep recursion does not use the machine stack.
  const std::string depth = uniqueName("depth");
  writeProcedure(
      depth, {{"ic", {"N"}}, {"oc", {"D"}}},
      {"if (N == 0)", "  D := 0", "else", "  " + depth + " (N - 1, E)", "  D := E + 1", "endif"});
  engine.SetEngineAttribute("call_depth_limit", HTuple(100000));
  EXPECT_EQ(text(runProcedure(depth.c_str(), {HTuple(50000)})[0]), "50000");
  engine.SetEngineAttribute("call_depth_limit", HTuple(200));
}

TEST(EngineProcedures, InterfaceNamesAndIndices) {
  // The counts and names of each group are checked through the library (tests/api).
  useBundledProcedures();
  HDevProcedure add("add");
  HDevProcedureCall call(add);
  const char* second = add.GetInputCtrlParamName(2);
  // Name texts belong to the procedure object, not to the engine's cache.
  HDevEngine().UnloadAllProcedures();
  EXPECT_STREQ(second, "B");
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple(1)), "[]") << "before Execute";
  call.SetInputCtrlParamTuple("A", HTuple(40));
  call.SetInputCtrlParamTuple(2, HTuple(2));
  call.Execute();
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple("Sum")), "42");
}

TEST(EngineLoading, FilesAndTheirErrors) {
  useBundledProcedures();
  const std::vector<HTuple> entities = runProcedure("entities", {});
  EXPECT_EQ(entities[0][0].S().str(), "<>&\"'AB");
  std::ofstream(scratchFolder() + "/versioned.hdvp")
      << "<hdevelop file_version=\"9.9\"><procedure name=\"versioned\"><interface><oc>"
         "<par name=\"X\"/></oc></interface><body><l>  \tX := 1</l><l>\t  X := X + 1   </l>"
         "</body></procedure></hdevelop>";
  EXPECT_EQ(text(runProcedure("versioned", {})[0]), "2");

  const HDevEngineException malformed = engineErrorOf([] { HDevProcedure("malformed"); });
  EXPECT_EQ(malformed.HalconErrNum(), 21003u);
  EXPECT_NE(std::string(malformed.Message()).find("line 7 of the file"), std::string::npos);
  const HDevEngineException syntax = engineErrorOf([] { HDevProcedure("syntax_error"); });
  EXPECT_EQ(syntax.HalconErrNum(), 21010u);
  EXPECT_EQ(syntax.ProgLineNum(), 2);
  const HDevEngineException unknown = engineErrorOf([] { HDevProcedure("unknown_operator"); });
  EXPECT_EQ(unknown.HalconErrNum(), 21011u);
  EXPECT_STREQ(unknown.ProgLineName(), "frobnicate_image");
  const std::string caller = uniqueName("calls_broken");
  writeProcedure(caller, {}, {"X := 1", "syntax_error (Y)"});
  EXPECT_STREQ(engineErrorOf([&] { HDevProcedure(caller.c_str()); }).ExecProcedureName(),
               "syntax_error")
      << "a broken callee reports its own file";
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("no_such_procedure"); }).HalconErrNum(), 21002u);
}

TEST(EngineFaults, TheEnginesOwnWorkNeitherFiresNorSpendsAFault) {
  FaultsCleared cleared;
  useBundledProcedures();
  HDevProcedure add("add");
  HDevProcedureCall call(add);
  const HTuple two(2), three(3);
  injectFault("HTuple", 9999);
  call.SetInputCtrlParamTuple(1, two);
  call.SetInputCtrlParamTuple(2, three);
  call.Execute();
  const HTuple sum = call.GetOutputCtrlParamTuple(1);
  EXPECT_THROW(HTuple(1), HException) << "the fault is still armed for the caller";
  EXPECT_EQ(text(sum), "5");
  // A procedure line arms a fault for its caller only.
  HDevProcedureCall arms{HDevProcedure("arms_tuple_fault")};
  arms.Execute();
  const HTuple result = arms.GetOutputCtrlParamTuple(1);
  EXPECT_THROW(HTuple(5), HException);
  EXPECT_EQ(text(result), "[2, 3, 4, 3]");
  injectFault("HDevProcedureCall", 4321);
  EXPECT_NO_THROW(add.CreateCall());
  EXPECT_THROW(HDevProcedureCall{add}, HDevEngineException);
}

}  // namespace
}  // namespace quorvex::test
