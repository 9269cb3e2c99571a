// Engine-wide settings through the exported interface: attributes, procedure paths,
// unloading, system parameters and the debug-server refusal.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "hdevengine/HDevEngineCpp.h"
#include "quorvex.h"
#include "support/handle_owners.h"
#include "support/procedure_file.h"
#include "support/record_assertions.h"
#include "support/standin_control.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace quorvex::test {
namespace {

class EngineSettings : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

HalconCpp::HTuple engineAttribute(const char* name) {
  return HDevEngineCpp::HDevEngine().GetEngineAttribute(name);
}

// The call-depth limit takes integers only: the integer 5 passes, the text "5" does not.
TEST_F(EngineSettings, IntegerAndStringAttributesKeepTheirKinds) {
  ASSERT_OK(hsetEngineAttributeInt("call_depth_limit", 5));
  HalconCpp::HTuple value = engineAttribute("call_depth_limit");
  ASSERT_EQ(value.Length(), 1);
  EXPECT_EQ(value[0].Type(), HalconCpp::eElementTypeLong);
  EXPECT_EQ(value[0].L(), 5);

  EXPECT_FAILS(hsetEngineAttribute("call_depth_limit", "5"), ErrorKindEngine, 21041);
  ASSERT_OK(hsetEngineAttributeInt("call_depth_limit", 200));

  ASSERT_OK(hsetEngineAttribute("ignore_invalid_lines", "true"));
  EXPECT_STREQ(engineAttribute("ignore_invalid_lines")[0].C(), "true");
  ASSERT_OK(hsetEngineAttribute("ignore_invalid_lines", "false"));
}

TEST_F(EngineSettings, GetSystemHandlesAreNewAndIndependent) {
  TupleHandle first = nullptr;
  TupleHandle second = nullptr;
  ASSERT_OK(hgetsystem("width", &first));
  ASSERT_OK(hgetsystem("width", &second));
  Tuple a(first), b(second);
  ASSERT_NE(first, second);
  happendTupleLong(first, 1);
  EXPECT_EQ(hgetTupleLength(second), 1);
  a.reset();
  TupleHandle third = nullptr;
  ASSERT_OK(hgetsystem("width", &third));
  EXPECT_EQ(hgetTupleElemLong(third, 0), hgetTupleElemLong(second, 0));
  hfreeTuple(third);
}

TEST_F(EngineSettings, GetSystemFailureLeavesOutParameterUntouched) {
  TupleHandle tuple = reinterpret_cast<TupleHandle>(0x9);
  Record record(hgetsystem("no_such_parameter", &tuple));
  EXPECT_EQ(describe(record.get()),
            "kind 1, errorCode 1301, procName \"get_system\", progLineName null, progLineNum -1, "
            "message \"HALCON error #1301: Wrong value of control parameter 1 in operator "
            "get_system\", errorText \"Wrong value of control parameter 1\"");
  EXPECT_EQ(tuple, reinterpret_cast<TupleHandle>(0x9));
}

TEST_F(EngineSettings, DebugServerIsRefusedWithAFixedRecordEveryTimeAndShutdownDoesNothing) {
  for (auto call : {hstartDebugServer, hstopDebugServer, hstopDebugServer}) {
    Record record(call());
    EXPECT_EQ(describe(record.get()),
              "kind 0, errorCode -1, procName null, progLineName null, progLineNum -1, message "
              "\"StartDebugServer is not available in HALCON 11.0\", errorText null");
    EXPECT_TRUE(!record || record->reserved == nullptr);
  }
  EXPECT_EQ(hprepareShutdown(), 0);  // nothing to prepare
}

TEST_F(EngineSettings, FailingEngineCallsBecomeRecords) {
  injectFault("HDevEngine::AddProcedurePath", 1302);
  // A folder of no one: the call must fail before it is searched, and never the shared /tmp.
  EXPECT_FAILS(haddProcedurePath("no-such-procedure-folder"), ErrorKindEngine, 1302);
  injectFault("HDevEngine::UnloadAllProcedures", 1303);
  Record unload(hunloadAllProcedures());
  ASSERT_NE(unload, nullptr);
  EXPECT_EQ(unload->kind, ErrorKindMessage) << "an engine error outside this export's catch list";
  EXPECT_NE(std::string(unload->message).find("engine error"), std::string::npos);
}

// Writes a procedure returning `value`, in its own folder, so that a reload can be seen.
void writeAnswerProcedure(const std::string& folder, int value) {
  writeProcedureFile(folder, "answer", {{"oc", {"Value"}}}, {"Value := " + std::to_string(value)});
}

int32_t runAnswer(ProcedureHandle procedure) {
  ProcedureCallHandle call = nullptr;
  EXPECT_OK(hcreateProcedureCall(procedure, &call));
  ProcedureCall owner(call);
  EXPECT_OK(hprocedurecallExecute(call));
  TupleHandle value = nullptr;
  EXPECT_OK(hprocedurecallGetOutputCtrlParamTuple(call, 1, &value));
  Tuple valueOwner(value);
  return hgetTupleElemLong(value, 0);
}

TEST_F(EngineSettings, UnloadReadsEditedProceduresAgainAndKeepsOldHandles) {
  const std::string folderPath = makeTempFolder("quorvex_unload_");
  ASSERT_FALSE(folderPath.empty());
  const char* folder = folderPath.c_str();
  writeAnswerProcedure(folder, 1);
  ASSERT_OK(haddProcedurePath(folder));

  ProcedureHandle first = nullptr;
  ASSERT_OK(hcreateProcedure("answer", &first));
  Procedure firstOwner(first);
  EXPECT_EQ(runAnswer(first), 1);

  writeAnswerProcedure(folder, 2);
  ASSERT_OK(hunloadAllProcedures());
  ProcedureHandle second = nullptr;
  ASSERT_OK(hcreateProcedure("answer", &second));
  Procedure secondOwner(second);
  EXPECT_EQ(runAnswer(second), 2);
  EXPECT_EQ(runAnswer(first), 1) << "a procedure created before the unload keeps working";

  std::remove((std::string(folder) + "/answer.hdvp").c_str());
  std::remove(folder);
}

}  // namespace
}  // namespace quorvex::test
