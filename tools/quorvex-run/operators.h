// quorvex-run --operators: every operator of the vendor's reference that the engine knows,
// with its signature and whether the stand-in implements it.
#ifndef QUORVEX_TOOLS_RUN_OPERATORS_H
#define QUORVEX_TOOLS_RUN_OPERATORS_H

#include <ostream>

#include "library.h"

namespace quorvex::run {

// Writes the list as docs/operators.md carries it. Raises RecordError when the library has
// no list (the vendor's engine has none: only the stand-in knows which operators it lacks).
void listOperators(Library& library, std::ostream& out);

}  // namespace quorvex::run

#endif
