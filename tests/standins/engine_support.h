// Helpers for the engine stand-in's tests: the bundled .hdev/.hdvp files, procedures written
// on the fly, and running a procedure in one call.
#ifndef QUORVEX_TESTS_STANDINS_ENGINE_SUPPORT_H
#define QUORVEX_TESTS_STANDINS_ENGINE_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"
#include "procedure_file.h"
#include "temp_folder.h"

namespace quorvex::test {

using HalconCpp::HTuple;
using HDevEngineCpp::HDevEngineException;

inline std::string engineData() {
  const char* root = std::getenv("QUORVEX_TEST_DATA");
  return std::string(root ? root : "tests/data") + "/engine";
}

// A folder of procedures written by the tests, on the engine's procedure path.
inline const std::string& scratchFolder() {
  static const std::string folder = [] {
    std::string path = makeTempFolder("quorvex_engine_");
    if (path.empty()) ADD_FAILURE() << "cannot create a scratch folder";
    if (path.empty()) path = ".";
    HDevEngineCpp::HDevEngine().AddProcedurePath(path.c_str());
    return path;
  }();
  return folder;
}

inline void useBundledProcedures() {
  static const bool added = [] {
    HDevEngineCpp::HDevEngine().AddProcedurePath(engineData().c_str());
    return true;
  }();
  (void)added;
}

struct Interface {
  std::vector<std::string> iconicIn, iconicOut, ctrlIn, ctrlOut;
};

// Writes NAME.hdvp into the scratch folder; lines starting with "//" become <c> lines.
inline void writeProcedure(const std::string& name, const Interface& interface,
                           const std::vector<std::string>& lines) {
  writeProcedureFile(scratchFolder(), name,
                     {{"io", interface.iconicIn},
                      {"oo", interface.iconicOut},
                      {"ic", interface.ctrlIn},
                      {"oc", interface.ctrlOut}},
                     lines);
}

// A name no other test uses, so that the engine's cache never serves an older file.
inline std::string uniqueName(const char* stem) {
  static int counter = 0;
  return std::string(stem) + "_" + std::to_string(++counter);
}

// Runs an external procedure with control inputs and gives its control outputs.
inline std::vector<HTuple> runProcedure(const char* name, const std::vector<HTuple>& inputs) {
  HDevEngineCpp::HDevProcedure procedure(name);
  HDevEngineCpp::HDevProcedureCall call(procedure);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    call.SetInputCtrlParamTuple(static_cast<int>(i) + 1, inputs[i]);
  }
  call.Execute();
  std::vector<HTuple> outputs;
  for (int i = 1; i <= procedure.GetOutputCtrlParamCount(); ++i) {
    outputs.push_back(call.GetOutputCtrlParamTuple(i));
  }
  return outputs;
}

// Writes and runs a procedure of the given lines with control inputs In1, In2, ... and
// one output, R.
inline HTuple runLines(const std::vector<std::string>& lines,
                       const std::vector<HTuple>& inputs = {}) {
  const std::string name = uniqueName("lines");
  Interface interface;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    interface.ctrlIn.push_back("In" + std::to_string(i + 1));
  }
  interface.ctrlOut = {"R"};
  writeProcedure(name, interface, lines);
  return runProcedure(name.c_str(), inputs)[0];
}

inline HTuple evaluate(const std::string& expression) {
  return runLines({"R := " + expression});
}

// The tuple's readable form, which tells 5 from 5.0 from '5': "[1, 2.5, 'a']".
inline std::string text(const HTuple& value) {
  return value.ToString().str();
}

// Runs `body` and gives the engine error it raises; fails the test when it raises none.
template <typename Body>
HDevEngineException engineErrorOf(Body&& body) {
  try {
    body();
  } catch (const HDevEngineException& e) {
    return e;
  }
  ADD_FAILURE() << "expected HDevEngineException";
  return HDevEngineException("none");
}

}  // namespace quorvex::test

#endif
