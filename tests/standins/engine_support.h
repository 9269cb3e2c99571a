// Shared by the stand-in suites that run program lines: procedures written from lines into a
// scratch folder on the procedure path, run with control inputs, the engine errors they raise,
// and tables of expressions or operator lines with the values or errors they give.
#ifndef QUORVEX_TESTS_STANDINS_ENGINE_SUPPORT_H
#define QUORVEX_TESTS_STANDINS_ENGINE_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "hdevengine/HDevEngineCpp.h"
#include "support/procedure_file.h"
#include "support/temp_folder.h"

namespace quorvex::test {

using HalconCpp::HException;
using HalconCpp::HTuple;
using HDevEngineCpp::HDevEngine;
using HDevEngineCpp::HDevEngineException;
using HDevEngineCpp::HDevProcedure;
using HDevEngineCpp::HDevProcedureCall;
using Lines = std::vector<std::string>;

// The bundled .hdev/.hdvp files of the engine tests.
inline void useBundledProcedures() {
  static const bool added = [] {
    const char* root = std::getenv("QUORVEX_TEST_DATA");
    HDevEngine().AddProcedurePath((std::string(root ? root : "tests/data") + "/engine").c_str());
    return true;
  }();
  (void)added;
}

// A folder of procedures written by the tests, on the engine's procedure path.
inline const std::string& scratchFolder() {
  static const std::string folder = [] {
    std::string path = makeTempFolder("quorvex_engine_");
    if (path.empty()) ADD_FAILURE() << "cannot create a scratch folder";
    if (path.empty()) path = ".";
    HDevEngine().AddProcedurePath(path.c_str());
    return path;
  }();
  return folder;
}

// Writes NAME.hdvp into the scratch folder (see procedureFile for the lines).
inline void writeProcedure(const std::string& name, const ParameterGroups& groups,
                           const Lines& lines) {
  writeProcedureFile(scratchFolder(), name, groups, lines);
}

// A name no other test uses, so that the engine's cache never serves an older file.
inline std::string uniqueName(const char* stem) {
  static int counter = 0;  // one suite process: a plain counter is enough
  return std::string(stem) + "_" + std::to_string(++counter);
}

// Runs an external procedure with control inputs and gives its control outputs.
inline std::vector<HTuple> runProcedure(const char* name, const std::vector<HTuple>& inputs) {
  HDevProcedure procedure(name);
  HDevProcedureCall call(procedure);
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
inline HTuple runLines(const Lines& lines, const std::vector<HTuple>& inputs = {}) {
  const std::string name = uniqueName("lines");
  Lines names;
  for (std::size_t i = 0; i < inputs.size(); ++i) names.push_back("In" + std::to_string(i + 1));
  writeProcedure(name, {{"ic", names}, {"oc", {"R"}}}, lines);
  return runProcedure(name.c_str(), inputs)[0];
}

// The tuple's readable form, which tells 5 from 5.0 from '5': "[1, 2.5, 'a']".
inline std::string text(const HTuple& value) {
  return value.ToString().str();
}

inline HTuple evaluate(const std::string& expression) {
  return runLines({"R := " + expression});
}

// Runs operator lines that each write R, and gives what they wrote, one after the other.
inline HTuple outputsOf(const Lines& lines) {
  Lines body{"All := []"};
  for (const std::string& line : lines) body.insert(body.end(), {line, "All := [All, R]"});
  body.push_back("R := All");
  return runLines(body);
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

inline unsigned errorOfLines(const Lines& lines, const std::vector<HTuple>& inputs = {}) {
  return engineErrorOf([&] { runLines(lines, inputs); }).HalconErrNum();
}

// The error number a run of the lines raises; 0 when they run through.
inline long programError(const Lines& lines, const std::vector<HTuple>& inputs = {}) {
  try {
    runLines(lines, inputs);
  } catch (const HDevEngineException& e) {
    return static_cast<long>(e.HalconErrNum());
  }
  return 0;
}

struct Row {
  const char* input;     // an expression, or an operator line writing R
  const char* expected;  // the readable form of R
};

struct ErrorRow {
  const char* input;
  long number;
};

inline void expectValues(const std::vector<Row>& rows, bool lines = false) {
  for (const Row& row : rows) {
    try {
      EXPECT_EQ(text(lines ? runLines({row.input}) : evaluate(row.input)), row.expected)
          << row.input;
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << row.input << ": " << e.Message();
    }
  }
}

inline void expectErrors(const std::vector<ErrorRow>& rows, bool lines = false) {
  for (const ErrorRow& row : rows) {
    const std::string line = lines ? row.input : std::string("R := ") + row.input;
    EXPECT_EQ(programError({line}), row.number) << row.input;
  }
}

// Every input raising the same number.
inline void expectErrors(long number, const Lines& inputs, bool lines = false) {
  for (const std::string& input : inputs) expectErrors({{input.c_str(), number}}, lines);
}

// Rows of program lines that write R with the reals R must hold, each within its tolerance.
struct Reals {
  Lines lines;  // operator lines writing R
  std::vector<double> expected;
  double tolerance = 1e-9;
};

inline void expectReals(const std::vector<Reals>& rows) {
  for (const Reals& row : rows) {
    const std::string name = row.lines.back();
    HTuple r;
    try {
      r = runLines(row.lines);
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << name << ": " << e.Message();
      continue;
    }
    ASSERT_EQ(r.Length(), static_cast<HalconCpp::Hlong>(row.expected.size()))
        << name << ": " << text(r);
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
      EXPECT_NEAR(r[static_cast<HalconCpp::Hlong>(i)].D(), row.expected[i], row.tolerance)
          << name << " [" << i << "]: " << text(r);
    }
  }
}

// One table row of program lines: `what` names the rule, the last line writes R, `expected`
// is text(R). A line that raises fails the row, naming it.
struct ProgramCase {
  const char* what;
  Lines lines;
  const char* expected;
};

// text(R) after the lines against `expected`; a line that raises fails the check too.
inline void expectText(const Lines& lines, const std::string& expected, const std::string& what) {
  try {
    EXPECT_EQ(text(runLines(lines)), expected) << what;
  } catch (const HDevEngineException& e) {
    ADD_FAILURE() << what << ": " << e.Message();
  }
}

inline void expectCases(const std::vector<ProgramCase>& cases) {
  for (const ProgramCase& c : cases) expectText(c.lines, c.expected, c.what);
}

// R of the lines as numbers.
inline std::vector<double> numbers(const Lines& lines) {
  const HTuple r = runLines(lines);
  std::vector<double> values;
  for (HalconCpp::Hlong i = 0; i < r.Length(); ++i) values.push_back(r[i].D());
  return values;
}

// The lines of a text, one at each newline.
inline Lines split(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

using Grid = std::vector<std::vector<double>>;

// Lines that make NAME an image of the type holding the grid's values, row by row.
inline Lines gridImage(const std::string& name, const Grid& grid,
                       const std::string& type = "byte") {
  std::string rows, cols, values;
  for (std::size_t r = 0; r < grid.size(); ++r) {
    for (std::size_t c = 0; c < grid[r].size(); ++c) {
      const double v = grid[r][c];
      const std::string comma = rows.empty() ? "" : ", ";
      rows += comma + std::to_string(r);
      cols += comma + std::to_string(c);
      values += comma + (v == static_cast<long long>(v) ? std::to_string(static_cast<long long>(v))
                                                        : std::to_string(v));
    }
  }
  return {"gen_image_const (" + name + ", '" + type + "', " + std::to_string(grid[0].size()) +
              ", " + std::to_string(grid.size()) + ")",
          "set_grayval (" + name + ", [" + rows + "], [" + cols + "], [" + values + "])"};
}

inline Lines with(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

inline Lines operator+(const Lines& lines, const Lines& more) {
  return with(lines, more);
}

// Programs of lines separated by newlines that write R, and text(R).
inline void expectTexts(const std::vector<std::pair<std::string, std::string>>& rows) {
  for (const auto& [program, expected] : rows) expectText(split(program), expected, program);
}

// Programs of lines separated by newlines, and the error number each raises.
inline void expectLineErrors(const std::vector<std::pair<std::string, long>>& rows) {
  for (const auto& [program, number] : rows)
    EXPECT_EQ(programError(split(program)), number) << program;
}

// Programs as lines, and the error number each raises.
struct ErrorCase {
  Lines lines;
  long number;
};

inline void expectErrorCases(const std::vector<ErrorCase>& cases, const Lines& setup = {}) {
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(programError(setup + c.lines), c.number) << c.lines.back();
  }
}

inline void expectLineErrors(long number, const Lines& programs) {
  for (const std::string& program : programs) expectLineErrors({{program, number}});
}

}  // namespace quorvex::test

#endif
