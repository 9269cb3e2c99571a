// The engine's global variables: one value per name for the whole process, shared by every
// procedure that declares the name global. A running procedure works on its own copies and
// exchanges them with the store where control passes between procedures, so that the
// interpreter's reads and writes stay plain slot accesses.
#ifndef QUORVEX_STANDINS_HDEVENGINE_GLOBALS_H
#define QUORVEX_STANDINS_HDEVENGINE_GLOBALS_H

#include "procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// Copies the global variables that `procedure` declares from the store into `frame`.
void loadGlobals(const ProcedureData& procedure, Frame* frame);
// Copies them back; a variable without a value leaves the store as it is.
void storeGlobals(const ProcedureData& procedure, const Frame& frame);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
