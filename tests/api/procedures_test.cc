// Procedures through the exported interface: loading, parameter queries, calls with input
// and output tuples, engine failures as records.
#include <gtest/gtest.h>

#include <string>

#include "api/handle_owners.h"
#include "api/record_assertions.h"
#include "api/standin_control.h"
#include "api/test_data.h"
#include "quorvex.h"

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
  int32_t counts[4] = {-1, -1, -1, -1};
  ASSERT_OK(hprocedureGetInputIconicParamCount(procedure.get(), &counts[0]));
  ASSERT_OK(hprocedureGetOutputIconicParamCount(procedure.get(), &counts[1]));
  ASSERT_OK(hprocedureGetInputCtrlParamCount(procedure.get(), &counts[2]));
  ASSERT_OK(hprocedureGetOutputCtrlParamCount(procedure.get(), &counts[3]));
  EXPECT_EQ(counts[0], 2);
  EXPECT_EQ(counts[1], 1);
  EXPECT_EQ(counts[2], 3);
  EXPECT_EQ(counts[3], 2);

  const char* name = nullptr;
  ASSERT_OK(hprocedureGetInputIconicParamName(procedure.get(), 2, &name));
  EXPECT_STREQ(name, "Mask");
  ASSERT_OK(hprocedureGetOutputIconicParamName(procedure.get(), 1, &name));
  EXPECT_STREQ(name, "Region");
  ASSERT_OK(hprocedureGetInputCtrlParamName(procedure.get(), 3, &name));
  EXPECT_STREQ(name, "Mode");
  ASSERT_OK(hprocedureGetOutputCtrlParamName(procedure.get(), 1, &name));
  EXPECT_STREQ(name, "Area");
}

TEST_F(Procedures, FailedQueriesLeaveOutParametersUntouched) {
  Procedure add = load("add");
  const char* name = "untouched";
  Record record(hprocedureGetInputCtrlParamName(add.get(), 3, &name));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindEngine);
  EXPECT_STREQ(name, "untouched");

  injectFault("HDevProcedure::GetInputCtrlParamCount", 1301);
  int32_t count = 77;
  Record failed(hprocedureGetInputCtrlParamCount(add.get(), &count));
  EXPECT_NE(failed, nullptr);
  EXPECT_EQ(count, 77);

  ProcedureCall call = callOf(add);
  TupleHandle tuple = reinterpret_cast<TupleHandle>(0x5);
  Record badIndex(hprocedurecallGetOutputCtrlParamTuple(call.get(), 9, &tuple));
  EXPECT_NE(badIndex, nullptr);
  EXPECT_EQ(tuple, reinterpret_cast<TupleHandle>(0x5));
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
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindEngine) << describe(record.get());
  EXPECT_STREQ(record->procName, "fail_at_line3");
  EXPECT_STREQ(record->progLineName, "get_system");
  EXPECT_EQ(record->progLineNum, 3);
  EXPECT_EQ(record->errorCode, 1301);
  EXPECT_STREQ(record->errorText, "Wrong value of control parameter 1");
  EXPECT_NE(record->message, nullptr);
}

TEST_F(Procedures, MissingProcedureLeavesHandleNull) {
  ProcedureHandle handle = reinterpret_cast<ProcedureHandle>(0x1);
  Record record(hcreateProcedure("no_such_procedure", &handle));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(record->kind, ErrorKindEngine);
}

TEST_F(Procedures, FailingCallConstructionLeavesHandleNull) {
  Procedure add = load("add");
  injectFault("HDevProcedureCall", 1302);
  ProcedureCallHandle call = reinterpret_cast<ProcedureCallHandle>(0x1);
  Record record(hcreateProcedureCall(add.get(), &call));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(call, nullptr);
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

TEST_F(Procedures, ProcedureLineCanArmAFaultForTheNextTuple) {
  Procedure procedure = load("arm_tuple_fault");
  ProcedureCall call = callOf(procedure);
  ASSERT_OK(hprocedurecallSetInputCtrlParamTuple(call.get(), 1, longs({9999}).get()));
  ASSERT_OK(hprocedurecallExecute(call.get()));
  TupleHandle tuple = nullptr;
  Record record(hcreateTuple(&tuple));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindHalcon);
  EXPECT_EQ(record->errorCode, 9999);
  EXPECT_EQ(tuple, nullptr);
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
}

TEST_F(Procedures, ReleaseFunctionsAcceptNull) {
  hfreeProcedure(nullptr);
  hfreeProcedureCall(nullptr);
}

}  // namespace
}  // namespace quorvex::test
