// Fault injection through the engine: program lines meet faults armed for their operators,
// the engine's public constructors and methods fail on demand, and the engine's own work
// neither fires nor consumes a fault.
#include <gtest/gtest.h>

#include <functional>

#include "api/standin_control.h"
#include "engine_support.h"

namespace quorvex::test {
namespace {

using HalconCpp::HException;
using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;

TEST(EngineFaults, AProgramLineMeetsTheFaultOfItsOperator) {
  FaultsCleared cleared;
  useBundledProcedures();
  const std::string name = uniqueName("reads_width");
  writeProcedure(name, {{}, {}, {}, {"W"}},
                 {"//reads a system parameter", "get_system ('width', W)"});
  HDevProcedure reads(name.c_str());
  injectFault("GetSystem", 4242);
  const HDevEngineException e = engineErrorOf([&] { HDevProcedureCall(reads).Execute(); });
  EXPECT_EQ(e.HalconErrNum(), 4242u);
  EXPECT_STREQ(e.ProgLineName(), "get_system");
  EXPECT_EQ(e.ProgLineNum(), 2);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionRuntime);
  // Spent: the next run succeeds.
  HDevProcedureCall again(reads);
  again.Execute();
  EXPECT_EQ(text(again.GetOutputCtrlParamTuple(1)), "512");

  injectFaultWithMessage("TupleLength", 77, "custom failure");
  const HDevEngineException custom = engineErrorOf([] { runLines({"tuple_length ([1], R)"}); });
  EXPECT_EQ(custom.HalconErrNum(), 77u);
  EXPECT_STREQ(custom.Message(), "custom failure");
}

TEST(EngineFaults, TheEnginesOwnWorkDoesNotConsumeAFault) {
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
}

TEST(EngineFaults, AProcedureLineArmsAFaultForTheCallerOnly) {
  FaultsCleared cleared;
  useBundledProcedures();
  HDevProcedure arms("arms_tuple_fault");
  HDevProcedureCall call(arms);
  call.Execute();
  const HTuple result = call.GetOutputCtrlParamTuple(1);
  try {
    HTuple built(5);
    FAIL() << "the armed fault did not fire";
  } catch (const HException& e) {
    EXPECT_EQ(e.ErrorCode(), 9999);
  }
  EXPECT_EQ(text(result), "[2, 3, 4, 3]");
}

TEST(EngineFaults, ConstructorsAndMethodsFailOnDemand) {
  FaultsCleared cleared;
  useBundledProcedures();
  const long procedures = liveCount("procedures");
  injectFault("HDevProcedure", 9999);
  const HDevEngineException e = engineErrorOf([] { HDevProcedure("add"); });
  EXPECT_EQ(e.HalconErrNum(), 9999u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionGeneral);
  EXPECT_STREQ(e.ExecProcedureName(), "");
  EXPECT_STREQ(e.ProgLineName(), "");
  EXPECT_EQ(e.ProgLineNum(), -1);
  EXPECT_EQ(liveCount("procedures"), procedures);

  injectFault("HDevProcedure", 1301);
  EXPECT_STREQ(engineErrorOf([] { HDevProcedure(); }).Message(),
               "Wrong value of control parameter 1");
  injectFaultWithMessage("HDevEngine", 5, "no engine today");
  EXPECT_STREQ(engineErrorOf([] { HDevEngine(); }).Message(), "no engine today");

  HDevProcedure add("add");
  HDevProcedureCall call(add);
  call.SetInputCtrlParamTuple(1, HTuple(1));
  call.SetInputCtrlParamTuple(2, HTuple(1));
  const HTuple value(7);
  struct Case {
    const char* name;
    std::function<void()> body;
  };
  HDevEngine engine;
  const Case cases[] = {
      {"HDevProcedureCall", [&] { HDevProcedureCall fresh(add); }},
      {"HDevProcedureCall::Execute", [&] { call.Execute(); }},
      {"HDevProcedureCall::SetInputCtrlParamTuple",
       [&] { call.SetInputCtrlParamTuple("A", value); }},
      {"HDevProcedureCall::GetOutputCtrlParamTuple", [&] { call.GetOutputCtrlParamTuple(1); }},
      {"HDevProcedure::GetInputCtrlParamCount", [&] { add.GetInputCtrlParamCount(); }},
      {"HDevProcedure::CreateCall", [&] { add.CreateCall(); }},
      {"HDevEngine::SetEngineAttribute",
       [&] { engine.SetEngineAttribute("call_depth_limit", value); }},
      {"HDevEngine::AddProcedurePath", [&] { engine.AddProcedurePath("/nowhere"); }},
      {"HDevEngine::UnloadAllProcedures", [&] { engine.UnloadAllProcedures(); }},
      {"HDevEngine::SetHDevOperatorImpl", [&] { engine.SetHDevOperatorImpl(nullptr); }},
      {"HDevProgram", [&] { HDevEngineCpp::HDevProgram program; }},
      {"HDevProgramCall", [&] { HDevEngineCpp::HDevProgramCall programCall; }},
  };
  for (const Case& c : cases) {
    injectFault(c.name, 4321);
    EXPECT_EQ(engineErrorOf(c.body).HalconErrNum(), 4321u) << c.name;
    EXPECT_NO_THROW(c.body()) << c.name << ": the fault is spent";
  }
  engine.SetEngineAttribute("call_depth_limit", HTuple(200));
}

TEST(EngineFaults, CallsWithinTheEngineDoNotFireEngineFaults) {
  FaultsCleared cleared;
  useBundledProcedures();
  HDevProcedure add("add");
  // CreateCall constructs an HDevProcedureCall itself: that is not a call from outside.
  injectFault("HDevProcedureCall", 4321);
  EXPECT_NO_THROW(add.CreateCall());
  EXPECT_THROW(HDevProcedureCall{add}, HDevEngineException);
}

}  // namespace
}  // namespace quorvex::test
