// Runs a few program lines through the engine stand-in as a procedure with control inputs
// In1, In2, ... and one control output R, for the suites that check operators as a program
// meets them.
#ifndef QUORVEX_TESTS_STANDINS_PROGRAM_LINES_H
#define QUORVEX_TESTS_STANDINS_PROGRAM_LINES_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"
#include "procedure_file.h"
#include "temp_folder.h"

namespace quorvex::test {

inline HalconCpp::HTuple runProgramLines(const std::vector<std::string>& lines,
                                         const std::vector<HalconCpp::HTuple>& inputs = {}) {
  static const std::string folder = [] {
    const std::string path = makeTempFolder("quorvex_program_lines_");
    HDevEngineCpp::HDevEngine().AddProcedurePath(path.c_str());
    return path;
  }();
  static int counter = 0;
  // A new name each time, so that the engine's cache never serves an older file.
  const std::string name = "lines_" + std::to_string(++counter);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < inputs.size(); ++i) names.push_back("In" + std::to_string(i + 1));
  writeProcedureFile(folder, name, {{"ic", names}, {"oc", {"R"}}}, lines);
  HDevEngineCpp::HDevProcedure procedure(name.c_str());
  HDevEngineCpp::HDevProcedureCall call(procedure);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    call.SetInputCtrlParamTuple(static_cast<int>(i) + 1, inputs[i]);
  }
  call.Execute();
  return call.GetOutputCtrlParamTuple(1);
}

// The error number a program's failing line raises; 0 when the lines run through.
inline long programError(const std::vector<std::string>& lines,
                         const std::vector<HalconCpp::HTuple>& inputs = {}) {
  try {
    runProgramLines(lines, inputs);
  } catch (const HDevEngineCpp::HDevEngineException& e) {
    return static_cast<long>(e.HalconErrNum());
  }
  return 0;
}

}  // namespace quorvex::test

#endif
