// Runs expressions and operator lines through the engine stand-in, as a program does, for
// the suites of the expression functions and the tuple_* operators.
#ifndef QUORVEX_TESTS_STANDINS_FUNCTION_RUNS_H
#define QUORVEX_TESTS_STANDINS_FUNCTION_RUNS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"
#include "procedure_file.h"
#include "temp_folder.h"

namespace quorvex::test {

// A folder of procedures written by the suite, on the engine's procedure path.
inline const std::string& functionScratchFolder() {
  static const std::string folder = [] {
    std::string path = makeTempFolder("quorvex_functions_");
    if (path.empty()) ADD_FAILURE() << "cannot create a scratch folder";
    if (path.empty()) path = ".";
    HDevEngineCpp::HDevEngine().AddProcedurePath(path.c_str());
    return path;
  }();
  return folder;
}

// Runs the lines as a procedure with one control output, R; each run gets a name of its
// own, so that the engine's cache never serves an older file.
inline HalconCpp::HTuple runLines(const std::vector<std::string>& lines) {
  static int counter = 0;
  const std::string name = "function_lines_" + std::to_string(++counter);
  writeProcedureFile(functionScratchFolder(), name, {{"oc", {"R"}}}, lines);
  HDevEngineCpp::HDevProcedure procedure(name.c_str());
  HDevEngineCpp::HDevProcedureCall call(procedure);
  call.Execute();
  return call.GetOutputCtrlParamTuple(1);
}

inline HalconCpp::HTuple evaluate(const std::string& expression) {
  return runLines({"R := " + expression});
}

// The readable form, which tells 5 from 5.0 from '5': "[1, 2.5, 'a']".
inline std::string text(const HalconCpp::HTuple& value) {
  return value.ToString().str();
}

// The error number a run of the lines raises; 0 when it raises none.
inline long long errorOfLines(const std::vector<std::string>& lines) {
  try {
    runLines(lines);
  } catch (const HDevEngineCpp::HDevEngineException& e) {
    return e.HalconErrNum();
  }
  return 0;
}

struct Row {
  const char* input;     // an expression, or an operator line writing R
  const char* expected;  // the readable form of R
};

struct ErrorRow {
  const char* input;
  long long number;
};

inline void expectValues(const std::vector<Row>& rows, bool lines = false) {
  for (const Row& row : rows) {
    try {
      const HalconCpp::HTuple value = lines ? runLines({row.input}) : evaluate(row.input);
      EXPECT_EQ(text(value), row.expected) << row.input;
    } catch (const HDevEngineCpp::HDevEngineException& e) {
      ADD_FAILURE() << row.input << ": " << e.Message();
    }
  }
}

inline void expectErrors(const std::vector<ErrorRow>& rows, bool lines = false) {
  for (const ErrorRow& row : rows) {
    const std::string line = lines ? row.input : std::string("R := ") + row.input;
    EXPECT_EQ(errorOfLines({line}), row.number) << row.input;
  }
}

}  // namespace quorvex::test

#endif
