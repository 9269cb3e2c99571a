// Loading programs and procedures: the file format, load errors, engine attributes and the
// procedure cache.
#include <gtest/gtest.h>

#include <filesystem>

#include <fstream>
#include <string>

#include "engine_support.h"

namespace quorvex::test {
namespace {

using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;
using HDevEngineCpp::HDevProgram;

bool mentions(const HDevEngineException& e, const std::string& part) {
  return std::string(e.Message()).find(part) != std::string::npos;
}

void writeFile(const std::string& name, const std::string& content) {
  std::ofstream(scratchFolder() + "/" + name, std::ios::trunc) << content;
}

// Restores an attribute when a test ends, whatever the test did.
struct AttributeRestored {
  AttributeRestored(const char* attribute, HTuple value) : name(attribute), saved(value) {}
  ~AttributeRestored() {
    HDevEngine().SetEngineAttribute(name, saved);
    HDevEngine().UnloadAllProcedures();
  }
  const char* name;
  HTuple saved;
};

TEST(EngineFiles, EntitiesCommentsAndEmptyLines) {
  useBundledProcedures();
  const std::vector<HTuple> out = runProcedure("entities", {});
  EXPECT_EQ(out[0][0].S().str(), "<>&\"'AB");
  EXPECT_EQ(text(out[1]), "1");
}

TEST(EngineFiles, AnyFileVersionAndIndentedLines) {
  writeFile("versioned.hdvp",
            "<hdevelop file_version=\"9.9\">\n<!-- no halcon_version -->\n"
            "<procedure name=\"versioned\"><interface><oc><par name=\"X\"/></oc></interface>"
            "<body><l>  \tX := 1</l><l>\t  X := X + 1   </l></body></procedure></hdevelop>");
  EXPECT_EQ(text(runProcedure("versioned", {})[0]), "2");
}

TEST(EngineLoadErrors, MissingFilesAndProcedures) {
  const std::string missing = engineData() + "/no_such_program.hdev";
  const HDevEngineException file = engineErrorOf([&] { HDevProgram program(missing.c_str()); });
  EXPECT_EQ(file.HalconErrNum(), 21001u);
  EXPECT_EQ(file.Category(), HDevEngineCpp::ExceptionFile);
  EXPECT_TRUE(mentions(file, missing)) << file.Message();

  const HDevEngineException procedure = engineErrorOf([] { HDevProcedure("no_such_procedure"); });
  EXPECT_EQ(procedure.HalconErrNum(), 21002u);
  EXPECT_STREQ(procedure.ExecProcedureName(), "no_such_procedure");
  EXPECT_EQ(engineErrorOf([] { HDevProcedure(nullptr); }).HalconErrNum(), 21002u);
}

TEST(EngineLoadErrors, MalformedXmlNamesFileAndLine) {
  useBundledProcedures();
  const HDevEngineException e = engineErrorOf([] { HDevProcedure("malformed"); });
  EXPECT_EQ(e.HalconErrNum(), 21003u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionFile);
  EXPECT_TRUE(mentions(e, "malformed.hdvp")) << e.Message();
  EXPECT_TRUE(mentions(e, "line 7 of the file")) << e.Message();

  for (const char* broken :
       {"", "<hdevelop>", "<hdevelop><procedure name='x'></hdevelop>", "<a b='1' b='2'/>",
        "<hdevelop>&bogus;</hdevelop>", "<hdevelop>&#0;</hdevelop>", "<hdevelop/><more/>"}) {
    writeFile("broken.hdvp", broken);
    HDevEngine().UnloadAllProcedures();
    EXPECT_EQ(engineErrorOf([] { HDevProcedure("broken"); }).HalconErrNum(), 21003u) << broken;
  }
  writeFile("nested.hdvp", std::string(5000, '<') + "x");
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("nested"); }).HalconErrNum(), 21003u);
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += "<a>";
  writeFile("deep.hdvp", deep);
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("deep"); }).HalconErrNum(), 21003u);
}

TEST(EngineLoadErrors, NotAnHDevelopFile) {
  writeFile("foreign.hdvp", "<?xml version='1.0'?><html><procedure name='foreign'/></html>");
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("foreign"); }).HalconErrNum(), 21004u);
  writeFile("misnamed.hdvp", "<hdevelop><procedure name='other'/></hdevelop>");
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("misnamed"); }).HalconErrNum(), 21004u);
  writeFile("nomain.hdev", "<hdevelop><procedure name='helper'/></hdevelop>");
  const std::string program = scratchFolder() + "/nomain.hdev";
  EXPECT_EQ(engineErrorOf([&] { HDevProgram p(program.c_str()); }).HalconErrNum(), 21004u);
}

TEST(EngineLoadErrors, SyntaxErrorNamesProcedureAndLine) {
  useBundledProcedures();
  const HDevEngineException e = engineErrorOf([] { HDevProcedure("syntax_error"); });
  EXPECT_EQ(e.HalconErrNum(), 21010u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionSyntax);
  EXPECT_STREQ(e.ExecProcedureName(), "syntax_error");
  EXPECT_EQ(e.ProgLineNum(), 2);
  EXPECT_TRUE(mentions(e, "syntax_error.hdvp")) << e.Message();
  EXPECT_TRUE(mentions(e, "line 2")) << e.Message();
}

TEST(EngineLoadErrors, UnknownOperatorNamesTheCall) {
  useBundledProcedures();
  const HDevEngineException e = engineErrorOf([] { HDevProcedure("unknown_operator"); });
  EXPECT_EQ(e.HalconErrNum(), 21011u);
  EXPECT_STREQ(e.ProgLineName(), "frobnicate_image");
  EXPECT_EQ(e.ProgLineNum(), 2);
}

TEST(EngineLoadErrors, ABrokenCalleeReportsItsOwnFile) {
  useBundledProcedures();
  const std::string caller = uniqueName("calls_broken");
  writeProcedure(caller, {}, {"X := 1", "syntax_error (Y)"});
  const HDevEngineException e = engineErrorOf([&] { HDevProcedure(caller.c_str()); });
  EXPECT_EQ(e.HalconErrNum(), 21010u);
  EXPECT_STREQ(e.ExecProcedureName(), "syntax_error");
  EXPECT_EQ(e.ProgLineNum(), 2);
}

TEST(EngineLoadErrors, LinesThatDoNotParse) {
  for (const char* line :
       {"X := ", "X := 1 2", "X := 'open", "X := 99999999999999999999", "X := [1, 2", "X = 1",
        "f (", "X := 1 $ 2", "X := 0x", "X := 1abc", "X := nofunction(1)", "X := int(1, 2)",
        "for I := 1 3", "if := 1", "endif (1)", "X := |1"}) {
    const HDevEngineException e = engineErrorOf([&] { runLines({"R := 0", line}); });
    EXPECT_TRUE(e.HalconErrNum() == 21010u || e.HalconErrNum() == 21017u)
        << line << ": " << e.Message();
    EXPECT_EQ(e.ProgLineNum(), 2) << line;
  }
  const HDevEngineException kind = engineErrorOf([] {
    runLines({"dev_display (Image)", "R := Image"});
  });
  EXPECT_EQ(kind.HalconErrNum(), 21015u);
}

TEST(EngineAttributes, IgnoreInvalidLinesSkipsThem) {
  useBundledProcedures();
  AttributeRestored restored("ignore_invalid_lines", HTuple("false"));
  HDevEngine engine;
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("invalid_lines"); }).HalconErrNum(), 21010u);
  engine.SetEngineAttribute("ignore_invalid_lines", HTuple("true"));
  EXPECT_EQ(text(engine.GetEngineAttribute("ignore_invalid_lines")), "'true'");
  EXPECT_EQ(text(runProcedure("invalid_lines", {})[0]), "11");
  // Unpaired control statements are skipped too.
  EXPECT_EQ(text(runLines({"R := 1", "endif", "while (1)", "R := 2"})), "2");
}

TEST(EngineAttributes, IgnoreUnresolvedProceduresDefersTheFailure) {
  useBundledProcedures();
  AttributeRestored restored("ignore_unresolved_procedures", HTuple("false"));
  HDevEngine engine;
  EXPECT_EQ(engineErrorOf([] { HDevProcedure("unresolved"); }).HalconErrNum(), 21011u);
  engine.SetEngineAttribute("ignore_unresolved_procedures", HTuple(1));
  EXPECT_EQ(text(runProcedure("unresolved", {HTuple(0)})[0]), "1");
  const HDevEngineException e = engineErrorOf([] { runProcedure("unresolved", {HTuple(1)}); });
  EXPECT_EQ(e.HalconErrNum(), 21022u);
  EXPECT_EQ(e.Category(), HDevEngineCpp::ExceptionRuntime);
  EXPECT_STREQ(e.ProgLineName(), "no_such_procedure");
  EXPECT_EQ(e.ProgLineNum(), 3);
}

TEST(EngineAttributes, UnknownNamesAndWrongValuesRaise) {
  HDevEngine engine;
  const HDevEngineException unknown =
      engineErrorOf([&] { engine.SetEngineAttribute("no_such_attribute", HTuple(1)); });
  EXPECT_EQ(unknown.HalconErrNum(), 21040u);
  EXPECT_EQ(unknown.Category(), HDevEngineCpp::ExceptionAttribute);
  EXPECT_EQ(engineErrorOf([&] { engine.GetEngineAttribute("no_such_attribute"); }).HalconErrNum(),
            21040u);
  for (const HTuple& wrong : {HTuple("yes"), HTuple(2), HTuple(), tuple({"true", "true"})}) {
    EXPECT_EQ(engineErrorOf([&] {
                engine.SetEngineAttribute("ignore_invalid_lines", wrong);
              }).HalconErrNum(),
              21041u)
        << text(wrong);
  }
  for (const HTuple& wrong : {HTuple(0), HTuple(-3), HTuple(2.5), HTuple("10")}) {
    EXPECT_EQ(
        engineErrorOf([&] { engine.SetEngineAttribute("call_depth_limit", wrong); }).HalconErrNum(),
        21041u)
        << text(wrong);
  }
  EXPECT_EQ(text(engine.GetEngineAttribute("call_depth_limit")), "200");
}

TEST(EngineCache, UnloadAllProceduresReadsEditedFilesAgain) {
  const std::string name = uniqueName("edited");
  writeProcedure(name, {{}, {}, {}, {"R"}}, {"R := 'first'"});
  HDevProcedure before(name.c_str());
  writeProcedure(name, {{}, {}, {}, {"R"}}, {"R := 'second'"});
  EXPECT_EQ(text(runProcedure(name.c_str(), {})[0]), "'first'") << "served from the cache";
  HDevEngine().UnloadAllProcedures();
  EXPECT_EQ(text(runProcedure(name.c_str(), {})[0]), "'second'");
  // The object created before keeps its own parsed procedure.
  HDevProcedureCall call(before);
  call.Execute();
  EXPECT_EQ(text(call.GetOutputCtrlParamTuple(1)), "'first'");
}

TEST(EngineCache, ProcedurePathsAreSearchedInTheOrderAdded) {
  const std::string name = uniqueName("twice");
  writeProcedure(name, {{}, {}, {}, {"R"}}, {"R := 'scratch'"});
  // A second folder with the same procedure, added after the scratch folder.
  const std::string later = scratchFolder() + "/later";
  std::filesystem::create_directory(later);
  std::ofstream(later + "/" + name + ".hdvp")
      << "<hdevelop><procedure name='" << name << "'><interface><oc><par name='R'/></oc>"
      << "</interface><body><l>R := 'later'</l></body></procedure></hdevelop>";
  HDevEngine().AddProcedurePath(later.c_str());
  EXPECT_EQ(text(runProcedure(name.c_str(), {})[0]), "'scratch'");
}

}  // namespace
}  // namespace quorvex::test
