// Runs procedures line by line. Procedure calls do not recurse on the machine's stack: each
// call is an activation on the interpreter's own stack, so that only the engine's call-depth
// limit bounds recursion in a program.
#ifndef QUORVEX_STANDINS_HDEVENGINE_INTERPRETER_H
#define QUORVEX_STANDINS_HDEVENGINE_INTERPRETER_H

#include "files/procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// Runs `procedure` with `frame` as its variables, its inputs already set; the outputs are in
// `frame` afterwards. A failing line raises HDevEngineException (runtime) naming the
// innermost procedure, the line's number and its operator, procedure or keyword.
void runProcedure(const ProcedureData& procedure, Frame* frame);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
