// Turns a procedure's source into its runnable form: parses every body line, binds the
// variables to slots, resolves each call to an operator, a display operator or a procedure,
// and links the control statements to their partners.
#ifndef QUORVEX_STANDINS_HDEVENGINE_COMPILER_H
#define QUORVEX_STANDINS_HDEVENGINE_COMPILER_H

#include <memory>
#include <string>

#include "files/procedure_data.h"
#include "files/source_reader.h"

namespace HDevEngineCpp {
namespace Standin {

// Finds the procedures a body calls, by name.
class ProcedureLookup {
 public:
  virtual ~ProcedureLookup() = default;
  // The procedure with at least its interface declared, or null when there is none. Throws
  // LoadError, naming the callee's file, for a callee that exists but cannot be loaded.
  virtual const ProcedureData* find(const std::string& name) = 0;
};

struct CompileOptions {
  bool ignoreInvalidLines = false;  // a line that does not parse is skipped
  bool ignoreUnresolved = false;    // a call of an unknown name fails only when it runs
};

// A procedure with its name, file, parameters and their slots; the body comes later, so that
// procedures calling each other can all be declared before any body is compiled.
std::unique_ptr<ProcedureData> declareProcedure(const ProcedureSource& source,
                                                const std::string& file);

// Throws LoadError with the procedure, file and line filled in.
void compileBody(ProcedureData* procedure, const ProcedureSource& source, ProcedureLookup* lookup,
                 const CompileOptions& options);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
