// Members of the engine's objects that the library itself does not call, as a caller of the
// vendor's engine uses them: loading into an empty object, names, a program's variables after
// its run, a program's local procedures, and iconic parameters by index and by name.
#include <cstdlib>
#include <fstream>
#include <functional>

#include "engine_support.h"

namespace quorvex::test {
namespace {

using HalconCpp::HObject;
using HDevEngineCpp::HDevProgram;
using HDevEngineCpp::HDevProgramCall;

std::string engineData(const char* name) {
  const char* root = std::getenv("QUORVEX_TEST_DATA");
  return std::string(root ? root : "tests/data") + "/engine/" + name;
}

long errorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const HDevEngineException& e) {
    return e.HalconErrNum();
  }
  return 0;
}

long width(const HObject& image) {
  HTuple w, h;
  HalconCpp::GetImageSize(image, &w, &h);
  return w[0].L();
}

TEST(EngineMembers, EmptyObjectsLoadAProgramOrProcedureLater) {
  useBundledProcedures();
  HDevProgram program;
  EXPECT_FALSE(program.IsLoaded());
  EXPECT_STREQ(program.GetName(), "");
  EXPECT_EQ(errorOf([&] { program.LoadProgram(""); }), 21001);
  EXPECT_EQ(errorOf([&] { program.LoadProgram(engineData("no_such.hdev").c_str()); }), 21001);
  program.LoadProgram(engineData("program.hdev").c_str());
  EXPECT_TRUE(program.IsLoaded());
  EXPECT_STRNE(program.GetName(), "");
  HDevProcedure procedure;
  EXPECT_FALSE(procedure.IsLoaded());
  EXPECT_STREQ(procedure.GetName(), "");
  EXPECT_EQ(errorOf([&] { procedure.LoadProcedure("no_such_procedure"); }), 21002);
  procedure.LoadProcedure("add");
  EXPECT_TRUE(procedure.IsLoaded());
  EXPECT_STREQ(procedure.GetName(), "add");
}

TEST(EngineMembers, AProgramsVariablesAfterItsRun) {
  useBundledProcedures();
  HDevProgram program(engineData("program.hdev").c_str());
  HDevProgramCall call = program.CreateCall();
  EXPECT_EQ(errorOf([&] { call.GetCtrlVarTuple("B"); }), 21020) << "before Execute";
  call.Execute();
  EXPECT_EQ(call.GetCtrlVarTuple("B")[0].L(), 40);
  EXPECT_EQ(call.GetCtrlVarTuple("Product")[0].L(), 12) << "the local add, not the external";
  EXPECT_EQ(call.GetCtrlVarTuple("Factorial")[0].L(), 120);
  EXPECT_EQ(errorOf([&] { call.GetCtrlVarTuple("NeverSet"); }), 21020);
  EXPECT_EQ(errorOf([&] { call.GetCtrlVarTuple("NoSuchVariable"); }), 21033);
  EXPECT_EQ(errorOf([&] { call.GetIconicVarObject("B"); }), 21033) << "a control variable";
  EXPECT_EQ(errorOf([] { HDevProgramCall().GetCtrlVarTuple("B"); }), 21034);
  EXPECT_EQ(errorOf([] { HDevProgramCall().GetIconicVarObject("B"); }), 21034);
}

TEST(EngineMembers, AProgramsIconicVariable) {
  const std::string file = scratchFolder() + "/iconic_variable.hdev";
  std::ofstream(file) << procedureFile("main", {}, {"gen_image_const (Image, 'byte', 7, 5)"});
  HDevProgram program(file.c_str());
  HDevProgramCall call(program);
  call.Execute();
  EXPECT_EQ(width(call.GetIconicVarObject("Image")), 7);
  EXPECT_EQ(errorOf([&] { call.GetIconicVarObject("Other"); }), 21033);
}

TEST(EngineMembers, ALocalProcedureOfAProgram) {
  useBundledProcedures();
  HDevProgram program(engineData("program.hdev").c_str());
  HDevProcedure doubleIt(program, "double_it");
  EXPECT_TRUE(doubleIt.IsLoaded());
  EXPECT_STREQ(doubleIt.GetName(), "double_it");
  HDevProcedureCall call = doubleIt.CreateCall();
  call.SetInputCtrlParamTuple("In", HTuple(21));
  call.Execute();
  EXPECT_EQ(call.GetOutputCtrlParamTuple("Out")[0].L(), 42);
  EXPECT_EQ(errorOf([&] { HDevProcedure(program, "no_such_local"); }), 21002);
  EXPECT_EQ(errorOf([] { HDevProcedure(HDevProgram(), "double_it"); }), 21034);
}

TEST(EngineMembers, IconicParametersByIndexAndByName) {
  const std::string name = uniqueName("iconic_parameters");
  writeProcedure(name, {{"io", {"Image"}}, {"oo", {"Copy", "Unset"}}}, {"Copy := Image"});
  HObject image;
  HalconCpp::GenImageConst(&image, HTuple("byte"), HTuple(9), HTuple(4));
  HDevProcedure procedure(name.c_str());
  for (bool byName : {false, true}) {
    HDevProcedureCall call(procedure);
    EXPECT_EQ(errorOf([&] { call.Execute(); }), 21032) << "its input never set";
    if (byName) {
      call.SetInputIconicParamObject("Image", image);
    } else {
      call.SetInputIconicParamObject(1, image);
    }
    call.Execute();
    const HObject copy =
        byName ? call.GetOutputIconicParamObject("Copy") : call.GetOutputIconicParamObject(1);
    EXPECT_EQ(width(copy), 9);
    EXPECT_FALSE(call.GetOutputIconicParamObject(2).IsInitialized()) << "never assigned";
    EXPECT_EQ(errorOf([&] { call.SetInputIconicParamObject(2, image); }), 21030);
    EXPECT_EQ(errorOf([&] { call.SetInputIconicParamObject("Copy", image); }), 21031);
    EXPECT_EQ(errorOf([&] { call.GetOutputIconicParamObject(3); }), 21030);
    EXPECT_EQ(errorOf([&] { call.GetOutputIconicParamObject("Image"); }), 21031);
  }
}

TEST(EngineMembers, CopiesShareTheirObject) {
  useBundledProcedures();
  HDevProgram program(engineData("program.hdev").c_str());
  HDevProgram assignedProgram;
  assignedProgram = HDevProgram(program);
  EXPECT_STREQ(assignedProgram.GetName(), program.GetName());
  HDevProgramCall call(assignedProgram);
  HDevProgramCall assignedCall;
  assignedCall = call;
  const HDevProgramCall copiedCall(call);
  assignedCall.Execute();
  EXPECT_EQ(copiedCall.GetCtrlVarTuple("B")[0].L(), 40);

  HDevProcedure add("add");
  HDevProcedure assignedAdd;
  assignedAdd = HDevProcedure(add);
  EXPECT_STREQ(assignedAdd.GetName(), "add");
  HDevProcedureCall sum(assignedAdd);
  HDevProcedureCall assignedSum;
  assignedSum = sum;
  HDevProcedureCall copiedSum(sum);
  sum.SetInputCtrlParamTuple(1, HTuple(2));
  copiedSum.SetInputCtrlParamTuple(2, HTuple(3));
  assignedSum.Execute();
  EXPECT_EQ(sum.GetOutputCtrlParamTuple(1)[0].L(), 5);
  EXPECT_EQ(errorOf([] { HDevProcedureCall().Execute(); }), 21034);
}

TEST(EngineMembers, SettingTheProcedurePathReplacesIt) {
  const std::string name = uniqueName("path_replaced");
  writeProcedure(name, {{"oc", {"R"}}}, {"R := 1"});
  HDevEngine engine;
  engine.SetProcedurePath(engineData("").c_str());
  EXPECT_EQ(errorOf([&] { HDevProcedure(name.c_str()); }), 21002);
  EXPECT_NO_THROW(HDevProcedure("add")) << "the bundled folder is the path now";
  engine.SetProcedurePath((engineData("") + ";" + scratchFolder()).c_str());
  EXPECT_NO_THROW(HDevProcedure(name.c_str()));
}

}  // namespace
}  // namespace quorvex::test
