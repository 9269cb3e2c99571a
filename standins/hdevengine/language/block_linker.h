// Links if/elseif/else/endif, the loops, try/catch/endtry, switch/case/endswitch and the
// break and continue statements of a compiled body.
#ifndef QUORVEX_STANDINS_HDEVENGINE_BLOCK_LINKER_H
#define QUORVEX_STANDINS_HDEVENGINE_BLOCK_LINKER_H

#include "files/procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// A statement without its partner raises LoadError, or, when invalid lines are ignored, is
// skipped.
void linkBlocks(ProcedureData* procedure, bool ignoreInvalid);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
