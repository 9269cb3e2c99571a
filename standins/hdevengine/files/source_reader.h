// Reads HDevelop files: a program (.hdev) with its main procedure and local procedures, or an
// external procedure (.hdvp) with exactly one procedure. Gives each procedure's interface and
// the raw text of its body lines; parsing the lines is the compiler's job.
#ifndef QUORVEX_STANDINS_HDEVENGINE_SOURCE_READER_H
#define QUORVEX_STANDINS_HDEVENGINE_SOURCE_READER_H

#include <string>
#include <vector>

namespace HDevEngineCpp {
namespace Standin {

// The parameter groups of a procedure, in the order the vendor passes them.
enum ParamGroup { kIconicIn = 0, kIconicOut = 1, kCtrlIn = 2, kCtrlOut = 3, kGroupCount = 4 };

struct SourceLine {
  std::string text;  // trimmed, entities decoded
  bool comment;      // a <c> line: never code, whatever it says
};

struct ProcedureSource {
  std::string name;
  std::vector<std::string> params[kGroupCount];
  std::vector<SourceLine> lines;  // line N of the body is lines[N - 1]
};

// Reads the procedures of `fileName`; throws LoadError (file not found, malformed XML, not
// an HDevelop file) naming the file.
std::vector<ProcedureSource> readHDevelopFile(const std::string& fileName);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
