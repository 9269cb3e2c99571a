// Programs through the exported interface, and the one release function shared by tuples,
// programs and program calls.
#include <gtest/gtest.h>

#include "api/handle_owners.h"
#include "api/record_assertions.h"
#include "api/standin_control.h"
#include "api/test_data.h"
#include "quorvex.h"

namespace quorvex::test {
namespace {

class Programs : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

ProgramCall callOf(ProgramHandle program) {
  ProgramCallHandle call = nullptr;
  EXPECT_OK(hcreateProgramCall(program, &call));
  return ProgramCall(call);
}

TEST_F(Programs, ExecutedProgramLeavesItsEffectsAndAFailingRunIsReported) {
  ProgramHandle program = nullptr;
  ASSERT_OK(hcreateProgram(testData("programs/set_marker.hdev").c_str(), &program));
  Program owner(program);
  ProgramCall call = callOf(program);
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
  ProgramCall call = callOf(program);
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
