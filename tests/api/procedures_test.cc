// Procedures and programs through the exported interface: loading, parameter queries, calls
// with input and output tuples, engine failures as records, and the one release function
// shared by tuples, programs and program calls.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "quorvex.h"
#include "support/handle_owners.h"
#include "support/record_assertions.h"
#include "support/standin_control.h"
#include "support/test_data.h"

namespace quorvex::test {
namespace {

class Procedures : public ::testing::Test {
 protected:
  void SetUp() override { useTestProcedures(); }

  Procedure load(const char* name) {
    ProcedureHandle handle = nullptr;
    EXPECT_OK(hcreateProcedure(name, &handle));
    return Procedure(handle);
  }

  ProcedureCall callOf(const Procedure& procedure) {
    ProcedureCallHandle handle = nullptr;
    EXPECT_OK(hcreateProcedureCall(procedure.get(), &handle));
    return ProcedureCall(handle);
  }

  Tuple output(const ProcedureCall& call, int32_t index) {
    TupleHandle handle = nullptr;
    EXPECT_OK(hprocedurecallGetOutputCtrlParamTuple(call.get(), index, &handle));
    return Tuple(handle);
  }

  FaultsCleared faultsCleared;
};

TEST_F(Procedures, AddGivesSumOfNumbersAndConcatenationOfStrings) {
  Procedure add = load("add");
  ProcedureCall call = callOf(add);
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, longs({2}).get()));
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 2, longs({3}).get()));
  ASSERT_OK(hprocedurecallExecute(call.get()));
  Tuple sum = output(call, 1);
  EXPECT_EQ(hgetTupleLength(sum.get()), 1);
  EXPECT_EQ(hgetTupleElemType(sum.get(), 0), TupleElemLong);
  EXPECT_EQ(hgetTupleElemLong(sum.get(), 0), 5);

  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, strings({"a"}).get()));
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 2, strings({"b"}).get()));
  ASSERT_OK(hprocedurecallExecute(call.get()));
  EXPECT_EQ(stringAt(output(call, 1).get(), 0), "ab");
}

TEST_F(Procedures, CountsAndNamesOfEveryGroup) {
  Procedure procedure = load("all_groups");
  using Count = decltype(&hprocedureGetInputIconicParamCount);
  using Name = decltype(&hprocedureGetInputIconicParamName);
  const std::tuple<Count, Name, int32_t, int32_t, const char*> rows[] = {
      {hprocedureGetInputIconicParamCount, hprocedureGetInputIconicParamName, 2, 2, "Mask"},
      {hprocedureGetOutputIconicParamCount, hprocedureGetOutputIconicParamName, 1, 1, "Region"},
      {hprocedureGetInputCtrlParamCount, hprocedureGetInputCtrlParamName, 3, 3, "Mode"},
      {hprocedureGetOutputCtrlParamCount, hprocedureGetOutputCtrlParamName, 2, 1, "Area"}};
  for (const auto& [count, name, expectedCount, index, expectedName] : rows) {
    int32_t counted = -1;
    const char* named = nullptr;
    ASSERT_OK(count(procedure.get(), &counted));
    ASSERT_OK(name(procedure.get(), index, &named));
    EXPECT_EQ(counted, expectedCount) << expectedName;
    EXPECT_STREQ(named, expectedName);
  }
}

// A failing export leaves its out-parameter as it was, or null for a handle it would create.
TEST_F(Procedures, FailuresLeaveOutParametersUntouched) {
  Procedure add = load("add");
  const char* name = "untouched";
  EXPECT_FAILS(hprocedureGetInputCtrlParamName(add.get(), 3, &name), ErrorKindEngine, -1);
  EXPECT_STREQ(name, "untouched");

  injectFault("HDevProcedure::GetInputCtrlParamCount", 1301);
  int32_t count = 77;
  EXPECT_NE(Record(hprocedureGetInputCtrlParamCount(add.get(), &count)), nullptr);
  EXPECT_EQ(count, 77);

  ProcedureCall call = callOf(add);
  TupleHandle tuple = reinterpret_cast<TupleHandle>(0x5);
  EXPECT_NE(Record(hprocedurecallGetOutputCtrlParamTuple(call.get(), 9, &tuple)), nullptr);
  EXPECT_EQ(tuple, reinterpret_cast<TupleHandle>(0x5));

  ProcedureHandle handle = reinterpret_cast<ProcedureHandle>(0x1);
  EXPECT_FAILS(hcreateProcedure("no_such_procedure", &handle), ErrorKindEngine, -1);
  EXPECT_EQ(handle, nullptr);

  injectFault("HDevProcedureCall", 1302);
  ProcedureCallHandle refused = reinterpret_cast<ProcedureCallHandle>(0x1);
  EXPECT_NE(Record(hcreateProcedureCall(add.get(), &refused)), nullptr);
  EXPECT_EQ(refused, nullptr);
}

TEST_F(Procedures, DimensionsAreZeroWhateverTheArguments) {
  int32_t dimension = 5;
  EXPECT_EQ(hprocedureGetOutputIconicParamDimension(nullptr, 99, &dimension), 0);
  EXPECT_EQ(dimension, 0);
  Procedure add = load("add");
  for (auto query : {hprocedureGetInputCtrlParamDimension, hprocedureGetInputIconicParamDimension,
                     hprocedureGetOutputCtrlParamDimension}) {
    dimension = 5;
    EXPECT_EQ(query(add.get(), 1, &dimension), 0);
    EXPECT_EQ(dimension, 0);
  }
}

TEST_F(Procedures, RuntimeFailureIsAnEngineRecordWithItsPlace) {
  Procedure procedure = load("fail_at_line3");
  ProcedureCall call = callOf(procedure);
  Record record(hprocedurecallExecute(call.get()));
  EXPECT_EQ(describe(record.get()),
            "kind 2, errorCode 1301, procName \"fail_at_line3\", progLineName \"get_system\", "
            "progLineNum 3, message \"HALCON error #1301: Wrong value of control parameter 1 in "
            "operator get_system\", errorText \"Wrong value of control parameter 1\"");
}

TEST_F(Procedures, OutputCopiesAreIndependent) {
  Procedure procedure = load("sum_to");
  ProcedureCall call = callOf(procedure);
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, longs({4}).get()));
  ASSERT_OK(hprocedurecallExecute(call.get()));
  Tuple first = output(call, 2);
  Tuple second = output(call, 2);
  ASSERT_NE(first.get(), second.get());
  happendTupleLong(first.get(), 100);
  EXPECT_EQ(hgetTupleLength(first.get()), 5);
  EXPECT_EQ(hgetTupleLength(second.get()), 4);
  first.reset();
  EXPECT_EQ(hgetTupleElemLong(second.get(), 3), 16);
  EXPECT_EQ(hgetTupleLength(output(call, 2).get()), 4);
  EXPECT_EQ(hgetTupleElemLong(output(call, 1).get(), 0), 10);
}

TEST_F(Procedures, InputTupleStaysTheCallers) {
  Procedure add = load("add");
  ProcedureCall call = callOf(add);
  Tuple a = longs({20});
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, a.get()));
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 2, longs({1}).get()));
  a.reset();
  ASSERT_OK(hprocedurecallExecute(call.get()));
  EXPECT_EQ(hgetTupleElemLong(output(call, 1).get(), 0), 21);
}

TEST_F(Procedures, HandlesAreReleased) {
  load("add");  // the engine's cache of loaded procedures is filled once, not per call
  const long procedures = liveCount("procedures");
  const long calls = liveCount("procedure_calls");
  const long tuples = liveCount("tuples");
  for (int i = 0; i < 20; ++i) {
    Procedure add = load("add");
    ProcedureCall call = callOf(add);
    ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, longs({i}).get()));
    ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 2, longs({i}).get()));
    ASSERT_OK(hprocedurecallExecute(call.get()));
    EXPECT_EQ(hgetTupleElemLong(output(call, 1).get(), 0), 2 * i);
  }
  EXPECT_EQ(liveCount("procedures"), procedures);
  EXPECT_EQ(liveCount("procedure_calls"), calls);
  EXPECT_EQ(liveCount("tuples"), tuples);
  hfreeProcedure(nullptr);  // null is released as nothing
  hfreeProcedureCall(nullptr);
}

class Programs : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

ProgramCall programCallOf(ProgramHandle program) {
  ProgramCallHandle call = nullptr;
  EXPECT_OK(hcreateProgramCall(program, &call));
  return ProgramCall(call);
}

TEST_F(Programs, ExecutedProgramLeavesItsEffectsAndAFailingRunIsReported) {
  ProgramHandle program = nullptr;
  ASSERT_OK(hcreateProgram(testData("programs/set_marker.hdev").c_str(), &program));
  Program owner(program);
  ProgramCall call = programCallOf(program);
  for (int run = 0; run < 3; ++run) ASSERT_OK(hprogramcallExecute(call.get()));

  TupleHandle marker = nullptr;
  ASSERT_OK(hgetsystem("quorvex_test_marker", &marker));
  EXPECT_EQ(hgetTupleElemLong(marker, 0), 42);
  hfreeTuple(marker);

  injectFault("HDevProgramCall::Execute", 1305);
  Record record(hprogramcallExecute(call.get()));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindEngine);
  EXPECT_EQ(record->errorCode, 1305);
  EXPECT_STREQ(record->errorText, "Wrong value of control parameter 5");
}

TEST_F(Programs, MissingFileGivesRecordAndNullHandle) {
  ProgramHandle program = reinterpret_cast<ProgramHandle>(0x1);
  EXPECT_FAILS(hcreateProgram(testData("programs/no_such_file.hdev").c_str(), &program),
               ErrorKindEngine, -1);
  EXPECT_EQ(program, nullptr);
}

TEST_F(Programs, FailureInsideALocalProcedureNamesIt) {
  ProgramHandle program = nullptr;
  ASSERT_OK(hcreateProgram(testData("programs/fails_in_local.hdev").c_str(), &program));
  Program owner(program);
  ProgramCall call = programCallOf(program);
  Record record(hprogramcallExecute(call.get()));
  EXPECT_EQ(describe(record.get()),
            "kind 2, errorCode 1301, procName \"check_value\", progLineName \"get_system\", "
            "progLineNum 2, message \"HALCON error #1301: Wrong value of control parameter 1 in "
            "operator get_system\", errorText \"Wrong value of control parameter 1\"");
}

TEST_F(Programs, OneReleaseFunctionForTuplesProgramsAndCalls) {
  const long programs = liveCount("programs");
  const long calls = liveCount("program_calls");
  ProgramHandle program = nullptr;
  ASSERT_OK(hcreateProgram(testData("programs/set_marker.hdev").c_str(), &program));
  ProgramCallHandle call = nullptr;
  ASSERT_OK(hcreateProgramCall(program, &call));
  TupleHandle tuple = nullptr;
  ASSERT_OK(hcreateTuple(&tuple));
  EXPECT_EQ(liveCount("programs"), programs + 1);
  EXPECT_EQ(liveCount("program_calls"), calls + 1);

  hfreeTuple(reinterpret_cast<TupleHandle>(call));
  hfreeTuple(reinterpret_cast<TupleHandle>(program));
  hfreeProgram(reinterpret_cast<ProgramHandle>(tuple));
  EXPECT_EQ(liveCount("programs"), programs);
  EXPECT_EQ(liveCount("program_calls"), calls);
  hfreeProgram(nullptr);
  hfreeProgramCall(nullptr);
}

}  // namespace
}  // namespace quorvex::test
