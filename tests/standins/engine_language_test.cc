// The engine's language: expressions, control flow, procedure calls and recursion, as seen
// through the results of procedures written for each case.
#include <gtest/gtest.h>

#include "engine_support.h"

namespace quorvex::test {
namespace {

TEST(EngineExpressions, LiteralsKeepTheirType) {
  EXPECT_EQ(text(evaluate("42")), "42");
  EXPECT_EQ(text(evaluate("0x1F")), "31");
  EXPECT_EQ(text(evaluate("1.5")), "1.5");
  EXPECT_EQ(text(evaluate("2e3")), "2000.0");
  EXPECT_EQ(text(evaluate(".5")), "0.5");
  EXPECT_EQ(text(evaluate("'it\\'s'")), "'it's'");
  EXPECT_EQ(evaluate("'a\\\\b\\n\\t'")[0].S().str(), "a\\b\n\t");
  EXPECT_EQ(text(evaluate("[]")), "[]");
  EXPECT_EQ(text(evaluate("[1, [2, 'x'], [], 3.0]")), "[1, 2, 'x', 3.0]");
  EXPECT_EQ(text(evaluate("[true, false]")), "[1, 0]");
}

TEST(EngineExpressions, ArithmeticFollowsTheTupleRules) {
  EXPECT_EQ(text(evaluate("7 / 2")), "3");
  EXPECT_EQ(text(evaluate("7.0 / 2")), "3.5");
  EXPECT_EQ(text(evaluate("-7 % 3")), "-1");
  EXPECT_EQ(text(evaluate("1 + 2 * 3")), "7");
  EXPECT_EQ(text(evaluate("(1 + 2) * 3")), "9");
  EXPECT_EQ(text(evaluate("2 - -1")), "3");
  EXPECT_EQ(text(evaluate("10 - 2 - 3")), "5") << "left-associative";
  EXPECT_EQ(text(evaluate("[1, 2, 3] * 2")), "[2, 4, 6]");
  EXPECT_EQ(text(evaluate("'n=' + 5")), "'n=5'");
  EXPECT_EQ(text(evaluate("'a' + 'b' + 1.0")), "'ab1.0'");
}

TEST(EngineExpressions, ComparisonsAndLogicGiveOneOrZero) {
  EXPECT_EQ(text(evaluate("[1, 2] = [1, 2]")), "1");
  EXPECT_EQ(text(evaluate("5 == 5.0")), "1");
  EXPECT_EQ(text(evaluate("'5' # 5")), "1");
  EXPECT_EQ(text(evaluate("[1, 2] != [1, 2, 3]")), "1");
  EXPECT_EQ(text(evaluate("[1, 2] < [1, 3]")), "1");
  EXPECT_EQ(text(evaluate("'abc' >= 'abd'")), "0");
  EXPECT_EQ(text(evaluate("3 <= 3 and 4 > 3")), "1");
  EXPECT_EQ(text(evaluate("0 or 0.5")), "1");
  EXPECT_EQ(text(evaluate("1 xor 1")), "0");
  EXPECT_EQ(text(evaluate("not (1 = 2)")), "1");
  EXPECT_EQ(text(evaluate("1 = 1 or 1 = 2 and 0")), "1") << "and binds tighter than or";
}

TEST(EngineExpressions, LengthIndexAndSlice) {
  EXPECT_EQ(text(evaluate("|[1, 2, 3]|")), "3");
  EXPECT_EQ(text(evaluate("|[]|")), "0");
  EXPECT_EQ(text(evaluate("||[4, 5]| + 1|")), "1");
  EXPECT_EQ(text(evaluate("[10, 20, 30][1]")), "20");
  EXPECT_EQ(text(evaluate("[10, 20, 30][[2, 0]]")), "[30, 10]");
  EXPECT_EQ(text(evaluate("[10, 20, 30, 40][1:2]")), "[20, 30]");
  EXPECT_EQ(text(evaluate("[10, 20, 30][2:2]")), "30");
  EXPECT_EQ(text(evaluate("[10, 20, 30][2:1]")), "[]");
}

TEST(EngineExpressions, Functions) {
  EXPECT_EQ(text(evaluate("int(3.7)")), "3");
  EXPECT_EQ(text(evaluate("int(-3.7)")), "-3");
  EXPECT_EQ(text(evaluate("real(2)")), "2.0");
  EXPECT_EQ(text(evaluate("abs([-3, 2.5])")), "[3, 2.5]");
  EXPECT_EQ(text(evaluate("min([3, 1, 2])")), "1");
  EXPECT_EQ(text(evaluate("max([3, 7.5, 2])")), "7.5");
  EXPECT_EQ(text(evaluate("sum([1, 2, 3])")), "6");
  EXPECT_EQ(text(evaluate("sum([1, 2.5])")), "3.5");
  EXPECT_EQ(text(evaluate("sum([])")), "0");
  EXPECT_EQ(text(evaluate("round([2.5, -2.5, 2.4])")), "[3, -3, 2]");
  EXPECT_EQ(text(evaluate("sqrt(16)")), "4.0");
  EXPECT_EQ(text(evaluate("strlen(['abc', ''])")), "[3, 0]");
  EXPECT_EQ(text(evaluate("number(['12', '1.5', 'x', 7, 'inf', '-3e2'])")),
            "[12, 1.5, 'x', 7, 'inf', -300.0]");
}

TEST(EngineExpressions, FailingOperationsNameTheirNumber) {
  EXPECT_EQ(engineErrorOf([] { evaluate("1 / 0"); }).HalconErrNum(), 2103u);
  EXPECT_EQ(engineErrorOf([] { evaluate("[1, 2][5]"); }).HalconErrNum(), 2101u);
  EXPECT_EQ(engineErrorOf([] { evaluate("[1, 2][0:2]"); }).HalconErrNum(), 2101u);
  EXPECT_EQ(engineErrorOf([] { evaluate("'a' - 1"); }).HalconErrNum(), 2104u);
  EXPECT_EQ(engineErrorOf([] { evaluate("[1, 2] + [1, 2, 3]"); }).HalconErrNum(), 1401u);
  EXPECT_EQ(engineErrorOf([] { evaluate("[1, 2][0.5]"); }).HalconErrNum(), 21025u);
  EXPECT_EQ(engineErrorOf([] { evaluate("int('a')"); }).HalconErrNum(), 21026u);
  EXPECT_EQ(engineErrorOf([] { evaluate("min([])"); }).HalconErrNum(), 21026u);
  EXPECT_EQ(engineErrorOf([] { evaluate("sqrt(-1)"); }).HalconErrNum(), 21026u);
  EXPECT_EQ(engineErrorOf([] { evaluate("[1, 2] and 1"); }).HalconErrNum(), 21023u);
  const HDevEngineException unset = engineErrorOf([] { evaluate("Nowhere + 1"); });
  EXPECT_EQ(unset.HalconErrNum(), 21020u);
  EXPECT_EQ(unset.Category(), HDevEngineCpp::ExceptionRuntime);
  EXPECT_NE(std::string(unset.Message()).find("Nowhere"), std::string::npos);
}

TEST(EngineExpressions, NestingBeyondTheLimitFailsTheLoad) {
  const std::string deep = std::string(300, '(') + "1" + std::string(300, ')');
  const HDevEngineException e = engineErrorOf([&] { evaluate(deep); });
  EXPECT_EQ(e.HalconErrNum(), 21016u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionSyntax);
  EXPECT_EQ(engineErrorOf([] { evaluate(std::string(300, '-') + "1"); }).HalconErrNum(), 21016u);
  EXPECT_EQ(text(evaluate(std::string(50, '(') + "1" + std::string(50, ')'))), "1");
}

TEST(EngineStatements, ElementAssignmentGrowsAndReplaces) {
  EXPECT_EQ(text(runLines({"R[2] := 5"})), "[0, 0, 5]");
  EXPECT_EQ(text(runLines({"R := [1, 2, 3]", "R[1] := 'b'", "R[3] := 4.5"})), "[1, 'b', 3, 4.5]");
  EXPECT_EQ(engineErrorOf([] { runLines({"R[-1] := 1"}); }).HalconErrNum(), 21025u);
  EXPECT_EQ(engineErrorOf([] { runLines({"R[0] := [1, 2]"}); }).HalconErrNum(), 21025u);
  EXPECT_EQ(text(runLines({"assign ([7, 8], R)"})), "[7, 8]");
}

// X := [X, ...] and X[|X|] := ... append where X is: nothing else may see the change, and
// an operand that is X itself reads X as it was before the line.
TEST(EngineStatements, AppendingInPlaceChangesOnlyTheTarget) {
  const struct {
    std::vector<std::string> lines;
    const char* result;
  } rows[] = {
      {{"T := [1]", "A := T", "T := [T, 2]", "R := [A, |T|]"}, "[1, 2]"},
      {{"T := [1, 2]", "T := [T, T, 3]", "R := T"}, "[1, 2, 1, 2, 3]"},
      {{"T := [1]", "T := [T, 0, T]", "R := T"}, "[1, 0, 1]"},
      {{"T := [1]", "T := [T, 2.5, 'x', 3]", "R := T"}, "[1, 2.5, 'x', 3]"},
      {{"T := [1, 2]", "T := [T]", "T := [T, []]", "R := T"}, "[1, 2]"},
      {{"T := [5]", "T[3] := T", "R := T"}, "[5, 0, 0, 5]"},
      {{"T := []", "for I := 1 to 3", "  T[|T|] := I * 1.5", "endfor", "R := T"},
       "[1.5, 3.0, 4.5]"},
  };
  for (const auto& row : rows) EXPECT_EQ(text(runLines(row.lines)), row.result) << row.lines[1];
  EXPECT_EQ(engineErrorOf([] { runLines({"R := [R, 1]"}); }).HalconErrNum(), 21020u);
}

TEST(EngineStatements, IfElseifElseChoosesOneBranch) {
  const std::vector<std::string> classify = {
      "if (In1 < 0)",  "  R := 'negative'", "elseif (In1 == 0)",
      "  R := 'zero'", "elseif (In1 < 10)", "  R := 'small'",
      "else",          "  R := 'large'",    "endif"};
  EXPECT_EQ(text(runLines(classify, {HTuple(-4)})), "'negative'");
  EXPECT_EQ(text(runLines(classify, {HTuple(0)})), "'zero'");
  EXPECT_EQ(text(runLines(classify, {HTuple(3)})), "'small'");
  EXPECT_EQ(text(runLines(classify, {HTuple(30)})), "'large'");
  EXPECT_EQ(text(runLines({"R := 0", "if (In1)", "  R := 1", "endif"}, {HTuple(0.0)})), "0");
}

TEST(EngineStatements, ForLoops) {
  EXPECT_EQ(text(runLines({"R := []", "for I := 5 to 1 by -2", "  R := [R, I]", "endfor"})),
            "[5, 3, 1]");
  EXPECT_EQ(text(runLines({"R := []", "for X := 0 to 1 by 0.25", "  R := [R, X]", "endfor"})),
            "[0, 0.25, 0.5, 0.75, 1.0]");
  EXPECT_EQ(text(runLines({"R := 'none'", "for I := 1 to 0", "  R := I", "endfor"})), "'none'");
  // The bounds are evaluated once, and the loop counts on its own.
  EXPECT_EQ(text(runLines({"N := 3", "R := 0", "for I := 1 to N", "  N := N + 1", "  I := 100",
                           "  R := R + 1", "endfor"})),
            "3");
  EXPECT_EQ(engineErrorOf([] {
              runLines({"for I := 1 to 3 by 0", "endfor"});
            }).HalconErrNum(),
            21024u);
  EXPECT_EQ(engineErrorOf([] {
              runLines({"for I := 'a' to 3", "endfor"});
            }).HalconErrNum(),
            21024u);
}

TEST(EngineStatements, WhileRepeatBreakContinueReturn) {
  const HTuple odd = runLines({"R := []", "K := 0", "while (K < 20)", "  K := K + 1",
                               "  if (K % 2 == 0)", "    continue", "  endif", "  if (K > 7)",
                               "    break", "  endif", "  R := [R, K]", "endwhile"});
  EXPECT_EQ(text(odd), "[1, 3, 5, 7]");
  // break leaves the inner loop only; continue in a for loop still steps the variable.
  EXPECT_EQ(text(runLines({"R := []", "for I := 1 to 3", "  if (I == 2)", "    continue", "  endif",
                           "  for J := 1 to 5", "    if (J > 1)", "      break", "    endif",
                           "    R := [R, I * 10 + J]", "  endfor", "endfor"})),
            "[11, 31]");
  EXPECT_EQ(text(runLines({"R := 0", "repeat", "  R := R + 1", "until (R >= 4)"})), "4");
  EXPECT_EQ(text(runLines({"R := 0", "while (1)", "  R := R + 1", "  if (R == 3)", "    return ()",
                           "  endif", "endwhile"})),
            "3");
  EXPECT_EQ(text(runLines({"R := 1", "stop ()", "R := 2"})), "2") << "stop does not stop";
}

TEST(EngineStatements, CommentsAndEmptyLinesDoNothing) {
  EXPECT_EQ(text(runLines({"//R := 99", "* R := 98", "", "R := 1"})), "1");
}

TEST(EngineStatements, MisplacedControlStatementsFailTheLoad) {
  const HDevEngineException e = engineErrorOf([] { runLines({"R := 1", "if (1)", "R := 2"}); });
  EXPECT_EQ(e.HalconErrNum(), 21014u);
  EXPECT_EQ(e.ProgLineNum(), 2);
  EXPECT_STREQ(e.ProgLineName(), "if");
  EXPECT_EQ(engineErrorOf([] { runLines({"R := 1", "break"}); }).ProgLineNum(), 2);
  EXPECT_EQ(engineErrorOf([] { runLines({"R := 1", "endfor"}); }).HalconErrNum(), 21014u);
  EXPECT_EQ(engineErrorOf([] {
              runLines({"for I := 1 to 2", "if (1)", "endfor", "endif", "R := 1"});
            }).ProgLineNum(),
            3);
  EXPECT_EQ(engineErrorOf([] {
              runLines({"R := 1", "if (1)", "else", "else", "endif"});
            }).ProgLineNum(),
            4);
}

TEST(EngineProcedures, AddTakesNumbersAndStrings) {
  useBundledProcedures();
  EXPECT_EQ(text(runProcedure("add", {HTuple(2), HTuple(3)})[0]), "5");
  EXPECT_EQ(text(runProcedure("add", {HTuple("a"), HTuple("b")})[0]), "'ab'");
}

TEST(EngineProcedures, RecursionAndTheDepthLimit) {
  useBundledProcedures();
  EXPECT_EQ(text(runProcedure("factorial", {HTuple(10)})[0]), "3628800");
  HDevEngineCpp::HDevEngine engine;
  engine.SetEngineAttribute("call_depth_limit", HTuple(5));
  EXPECT_EQ(text(runProcedure("factorial", {HTuple(5)})[0]), "120");
  const HDevEngineException e = engineErrorOf([] { runProcedure("factorial", {HTuple(6)}); });
  engine.SetEngineAttribute("call_depth_limit", HTuple(200));
  EXPECT_EQ(e.HalconErrNum(), 21021u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionRuntime);
  EXPECT_STREQ(e.ExecProcedureName(), "factorial");
  EXPECT_STREQ(e.ProgLineName(), "factorial");
  EXPECT_EQ(e.ProgLineNum(), 5);
}

TEST(EngineProcedures, DeepRecursionDoesNotUseTheMachineStack) {
  const std::string depth = uniqueName("depth");
  writeProcedure(
      depth, {{}, {}, {"N"}, {"D"}},
      {"if (N == 0)", "  D := 0", "else", "  " + depth + " (N - 1, E)", "  D := E + 1", "endif"});
  HDevEngineCpp::HDevEngine engine;
  engine.SetEngineAttribute("call_depth_limit", HTuple(100000));
  const HTuple deep = runProcedure(depth.c_str(), {HTuple(50000)})[0];
  engine.SetEngineAttribute("call_depth_limit", HTuple(200));
  EXPECT_EQ(text(deep), "50000");
}

TEST(EngineProcedures, CallsPassInputsByValueAndUnsetOutputsAsEmpty) {
  const std::string callee = uniqueName("callee");
  writeProcedure(callee, {{}, {}, {"In"}, {"Out", "Never"}}, {"In := In + 1", "Out := In"});
  EXPECT_EQ(text(runLines({"X := 1", callee + " (X, Y, Z)", "R := [X, Y, |Z|]"})), "[1, 2, 0]");
  EXPECT_EQ(engineErrorOf([&] { runLines({callee + " (1, 2)"}); }).HalconErrNum(), 21012u);
  EXPECT_EQ(engineErrorOf([&] { runLines({callee + " (1, 2, [R])"}); }).HalconErrNum(), 21013u);
}

TEST(EngineProcedures, MutualRecursionAcrossFiles) {
  const std::string even = uniqueName("is_even");
  const std::string odd = uniqueName("is_odd");
  writeProcedure(even, {{}, {}, {"N"}, {"B"}},
                 {"if (N == 0)", "  B := 1", "else", "  " + odd + " (N - 1, B)", "endif"});
  writeProcedure(odd, {{}, {}, {"N"}, {"B"}},
                 {"if (N == 0)", "  B := 0", "else", "  " + even + " (N - 1, B)", "endif"});
  EXPECT_EQ(text(runProcedure(even.c_str(), {HTuple(10)})[0]), "1");
  EXPECT_EQ(text(runProcedure(odd.c_str(), {HTuple(10)})[0]), "0");
}

}  // namespace
}  // namespace quorvex::test
