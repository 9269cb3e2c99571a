// Procedure and program objects: interfaces, parameters, program variables, runtime error
// records and live-object counts.
#include <gtest/gtest.h>

#include <string>

#include "api/standin_control.h"
#include "engine_support.h"

namespace quorvex::test {
namespace {

using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;
using HDevEngineCpp::HDevProgram;
using HDevEngineCpp::HDevProgramCall;

std::string programFile() {
  return engineData() + "/program.hdev";
}

TEST(EngineInterface, CountsAndNamesOfEachGroup) {
  useBundledProcedures();
  HDevProcedure show("show_image");
  EXPECT_STREQ(show.GetName(), "show_image");
  EXPECT_EQ(show.GetInputIconicParamCount(), 1);
  EXPECT_EQ(show.GetOutputIconicParamCount(), 1);
  EXPECT_EQ(show.GetInputCtrlParamCount(), 1);
  EXPECT_EQ(show.GetOutputCtrlParamCount(), 1);
  EXPECT_STREQ(show.GetInputIconicParamName(1), "Image");
  EXPECT_STREQ(show.GetOutputIconicParamName(1), "Shown");
  EXPECT_STREQ(show.GetInputCtrlParamName(1), "Color");
  EXPECT_STREQ(show.GetOutputCtrlParamName(1), "Window");

  HDevProcedure add("add");
  EXPECT_EQ(add.GetInputIconicParamCount(), 0);
  EXPECT_EQ(add.GetOutputIconicParamCount(), 0);
  EXPECT_EQ(add.GetInputCtrlParamCount(), 2);
  const char* second = add.GetInputCtrlParamName(2);
  // Name texts belong to the procedure object, not to the engine's cache.
  HDevEngineCpp::HDevEngine().UnloadAllProcedures();
  EXPECT_STREQ(second, "B");
  EXPECT_STREQ(add.GetOutputCtrlParamName(1), "Sum");
}

TEST(EngineInterface, IndicesCountFromOneAndOutOfRangeRaises) {
  useBundledProcedures();
  HDevProcedure add("add");
  HDevProcedureCall call(add);
  for (int index : {0, 3, -1}) {
    const HDevEngineException e = engineErrorOf([&] { add.GetInputCtrlParamName(index); });
    EXPECT_EQ(e.HalconErrNum(), 21030u) << index;
    EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionParameter);
    EXPECT_EQ(engineErrorOf([&] { call.SetInputCtrlParamTuple(index, HTuple(1)); }).HalconErrNum(),
              21030u);
  }
  EXPECT_EQ(engineErrorOf([&] { call.GetOutputCtrlParamTuple(2); }).HalconErrNum(), 21030u);
  EXPECT_EQ(engineErrorOf([&] { call.GetOutputIconicParamObject(1); }).HalconErrNum(), 21030u);
  EXPECT_EQ(engineErrorOf([&] { add.GetOutputIconicParamName(1); }).HalconErrNum(), 21030u);
  EXPECT_EQ(engineErrorOf([&] { call.SetInputCtrlParamTuple("C", HTuple(1)); }).HalconErrNum(),
            21031u);
  EXPECT_EQ(engineErrorOf([&] { call.GetOutputCtrlParamTuple("Sum "); }).HalconErrNum(), 21031u);
  EXPECT_EQ(engineErrorOf([&] {
              call.SetInputIconicParamObject("A", HalconCpp::HObject());
            }).HalconErrNum(),
            21031u);

  call.SetInputCtrlParamTuple("A", HTuple(40));
  call.SetInputCtrlParamTuple(2, HTuple(2));
  call.Execute();
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple("Sum")), "42");
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple(1)), "42");
}

TEST(EngineInterface, ExecuteNeedsEveryInput) {
  useBundledProcedures();
  HDevProcedureCall call{HDevProcedure("add")};
  call.SetInputCtrlParamTuple(1, HTuple(1));
  const HDevEngineException e = engineErrorOf([&] { call.Execute(); });
  EXPECT_EQ(e.HalconErrNum(), 21032u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionParameter);
  EXPECT_STREQ(e.ExecProcedureName(), "add");
  EXPECT_NE(std::string(e.Message()).find("B"), std::string::npos) << e.Message();
}

TEST(EngineInterface, OutputsNeverAssignedReadEmpty) {
  useBundledProcedures();
  HDevProcedureCall add{HDevProcedure("add")};
  EXPECT_EQ(text(add.GetOutputCtrlParamTuple(1)), "[]") << "before Execute";

  // Without a display implementation dev_* do nothing; no line assigns Shown.
  HDevProcedureCall show{HDevProcedure("show_image")};
  HalconCpp::HObject image;
  HalconCpp::GenEmptyObj(&image);
  show.SetInputIconicParamObject(1, image);
  show.SetInputCtrlParamTuple("Color", HTuple("red"));
  show.Execute();
  EXPECT_EQ(text(show.GetOutputCtrlParamTuple("Window")), "[]");
  EXPECT_FALSE(show.GetOutputIconicParamObject("Shown").IsInitialized());
}

TEST(EngineInterface, ObjectsWithoutAProcedureRaiseInsteadOfCrashing) {
  HDevProcedure empty;
  EXPECT_FALSE(empty.IsLoaded());
  EXPECT_STREQ(empty.GetName(), "");
  EXPECT_EQ(engineErrorOf([&] { empty.GetInputCtrlParamCount(); }).HalconErrNum(), 21034u);
  EXPECT_EQ(engineErrorOf([&] { empty.CreateCall(); }).HalconErrNum(), 21034u);
  EXPECT_EQ(engineErrorOf([] { HDevProcedureCall().Execute(); }).HalconErrNum(), 21034u);
  EXPECT_EQ(engineErrorOf([] { HDevProgramCall().Execute(); }).HalconErrNum(), 21034u);
  EXPECT_EQ(engineErrorOf([] { HDevProgramCall().GetCtrlVarTuple("A"); }).HalconErrNum(), 21034u);
  EXPECT_EQ(engineErrorOf([] { HDevProgram().CreateCall(); }).HalconErrNum(), 21034u);
}

TEST(EngineRuntimeErrors, RecordNamesProcedureLineAndOperator) {
  useBundledProcedures();
  const HDevEngineException e = engineErrorOf([] { runProcedure("failing", {HTuple(1)}); });
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionRuntime);
  EXPECT_EQ(e.HalconErrNum(), 1301u);
  EXPECT_STREQ(e.ExecProcedureName(), "failing");
  EXPECT_STREQ(e.ProgLineName(), "get_system");
  EXPECT_EQ(e.ProgLineNum(), 3) << "the comment line counts";
  EXPECT_STREQ(e.Message(),
               "HALCON error #1301: Wrong value of control parameter 1 in operator get_system");
}

TEST(EngineRuntimeErrors, TheEnginesNumbersHaveTexts) {
  for (const auto& [number, expected] :
       {std::pair<int, const char*>{21001, "HDevelop file not found or not readable"},
        {21020, "Variable has no value"},
        {21041, "Invalid value for engine attribute"}}) {
    HTuple errorText;
    HalconCpp::GetErrorText(HTuple(number), &errorText);
    EXPECT_EQ(errorText[0].S().str(), expected);
  }
}

TEST(EngineRuntimeErrors, TheInnermostFailingLineIsReported) {
  useBundledProcedures();
  const HDevEngineException e = engineErrorOf([] { runProcedure("calls_failing", {}); });
  EXPECT_STREQ(e.ExecProcedureName(), "failing");
  EXPECT_EQ(e.ProgLineNum(), 3);
  EXPECT_STREQ(e.ProgLineName(), "get_system");
}

TEST(EngineRuntimeErrors, AssignmentsAndControlLinesAreNamedByKind) {
  const HDevEngineException assign = engineErrorOf([] { runLines({"R := 1", "X := R / 0"}); });
  EXPECT_STREQ(assign.ProgLineName(), "assign");
  EXPECT_EQ(assign.ProgLineNum(), 2);
  EXPECT_STREQ(engineErrorOf([] { runLines({"if (1 / 0)", "endif"}); }).ProgLineName(), "if");
  EXPECT_STREQ(engineErrorOf([] {
                 runLines({"for I := 1 to 'x'", "endfor"});
               }).ProgLineName(),
               "for");
  const HDevEngineException elseif = engineErrorOf([] {
    runLines({"R := 0", "if (0)", "elseif (0)", "elseif ([])", "endif"});
  });
  EXPECT_STREQ(elseif.ProgLineName(), "elseif");
  EXPECT_EQ(elseif.ProgLineNum(), 4);
  EXPECT_EQ(elseif.HalconErrNum(), 21023u);
}

TEST(EnginePrograms, MainRunsWithLocalAndExternalProcedures) {
  useBundledProcedures();
  HDevProgram program(programFile().c_str());
  EXPECT_TRUE(program.IsLoaded());
  EXPECT_STREQ(program.GetName(), "program");
  HDevProgramCall call = program.CreateCall();
  EXPECT_EQ(engineErrorOf([&] { call.GetCtrlVarTuple("A"); }).HalconErrNum(), 21020u)
      << "nothing has a value before Execute";
  call.Execute();
  EXPECT_EQ(text(call.GetCtrlVarTuple("B")), "40");
  EXPECT_EQ(text(call.GetCtrlVarTuple("Product")), "12") << "the local add multiplies";
  EXPECT_EQ(text(call.GetCtrlVarTuple("Factorial")), "120");

  const HDevEngineException unset = engineErrorOf([&] { call.GetCtrlVarTuple("NeverSet"); });
  EXPECT_EQ(unset.HalconErrNum(), 21020u);
  EXPECT_EQ(engineErrorOf([&] { call.GetCtrlVarTuple("Missing"); }).HalconErrNum(), 21033u);
  EXPECT_EQ(engineErrorOf([&] { call.GetIconicVarObject("A"); }).HalconErrNum(), 21033u);
}

TEST(EnginePrograms, LocalProceduresRunOnTheirOwn) {
  useBundledProcedures();
  HDevProgram program(programFile().c_str());
  HDevProcedureCall twice{HDevProcedure(program, "double_it")};
  twice.SetInputCtrlParamTuple(1, HTuple(7));
  twice.Execute();
  EXPECT_EQ(text(twice.GetOutputCtrlParamTuple(1)), "14");

  HDevProcedure localAdd(program, "add");
  HDevProcedureCall multiply(localAdd);
  multiply.SetInputCtrlParamTuple(1, HTuple(3));
  multiply.SetInputCtrlParamTuple(2, HTuple(5));
  multiply.Execute();
  EXPECT_EQ(text(multiply.GetOutputCtrlParamTuple(1)), "15");
  EXPECT_EQ(text(runProcedure("add", {HTuple(3), HTuple(5)})[0]), "8") << "external add adds";

  const HDevEngineException missing = engineErrorOf([&] { HDevProcedure(program, "nope"); });
  EXPECT_EQ(missing.HalconErrNum(), 21002u);
  EXPECT_EQ(missing.Category(), HDevEngineCpp::ExceptionFile);
}

TEST(EngineOperators, SystemOperatorsCheckTheirArguments) {
  EXPECT_EQ(text(runLines({"set_system ('engine_test_value', [1, 'a'])",
                           "get_system ('engine_test_value', R)"})),
            "[1, 'a']");
  EXPECT_EQ(text(runLines({"wait_seconds (0.01)", "tuple_length ([4, 5, 6], R)"})), "3");
  EXPECT_EQ(engineErrorOf([] { runLines({"wait_seconds (-1)"}); }).HalconErrNum(), 1301u);
  EXPECT_EQ(engineErrorOf([] { runLines({"wait_seconds ('soon')"}); }).HalconErrNum(), 1201u);
  EXPECT_EQ(engineErrorOf([] { runLines({"wait_seconds ([1, 2])"}); }).HalconErrNum(), 1401u);
  EXPECT_EQ(engineErrorOf([] { runLines({"get_system (R)"}); }).HalconErrNum(), 21012u);
}

TEST(EngineObjects, LoadReplacesWhatAnObjectHolds) {
  useBundledProcedures();
  HDevProcedure procedure;
  procedure.LoadProcedure("add");
  EXPECT_TRUE(procedure.IsLoaded());
  procedure.LoadProcedure("factorial");
  EXPECT_STREQ(procedure.GetName(), "factorial");
  HDevProgram program;
  EXPECT_FALSE(program.IsLoaded());
  EXPECT_STREQ(program.GetName(), "");
  program.LoadProgram(programFile().c_str());
  EXPECT_STREQ(program.GetName(), "program");
  EXPECT_EQ(engineErrorOf([&] { program.LoadProgram(""); }).HalconErrNum(), 21001u);
  EXPECT_TRUE(program.IsLoaded()) << "a failed load keeps the program loaded before";
}

TEST(EngineLiveObjects, EveryObjectIsCountedCopiesIncluded) {
  useBundledProcedures();
  const long programs = liveCount("programs");
  const long programCalls = liveCount("program_calls");
  const long procedures = liveCount("procedures");
  const long procedureCalls = liveCount("procedure_calls");
  {
    HDevProgram program(programFile().c_str());
    HDevProgram programCopy(program);
    HDevProgramCall call = program.CreateCall();
    HDevProcedure procedure("add");
    HDevProcedure procedureCopy = procedure;
    HDevProcedureCall procedureCall = procedure.CreateCall();
    HDevProcedureCall procedureCallCopy(procedureCall);
    EXPECT_EQ(liveCount("programs"), programs + 2);
    EXPECT_EQ(liveCount("program_calls"), programCalls + 1);
    EXPECT_EQ(liveCount("procedures"), procedures + 2);
    EXPECT_EQ(liveCount("procedure_calls"), procedureCalls + 2);
    // A failed construction leaves nothing behind to count.
    engineErrorOf([] { HDevProcedure("no_such_procedure"); });
    EXPECT_EQ(liveCount("procedures"), procedures + 2);
  }
  EXPECT_EQ(liveCount("programs"), programs);
  EXPECT_EQ(liveCount("program_calls"), programCalls);
  EXPECT_EQ(liveCount("procedures"), procedures);
  EXPECT_EQ(liveCount("procedure_calls"), procedureCalls);
}

}  // namespace
}  // namespace quorvex::test
