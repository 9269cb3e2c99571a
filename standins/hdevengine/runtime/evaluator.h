// Evaluates expressions against a call's variables with the stand-in tuple's semantics.
#ifndef QUORVEX_STANDINS_HDEVENGINE_EVALUATOR_H
#define QUORVEX_STANDINS_HDEVENGINE_EVALUATOR_H

#include <vector>

#include "files/procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// The temporaries of a running call, ProcedureData::tempCount of them.
using Temps = std::vector<HTuple>;

// The value of `expr`: a variable's or a literal's own tuple, valid until the frame changes,
// or else the temporary of the expression's node, which the next evaluation of the line
// overwrites. Raises HException for a failing tuple operation and RunError for the engine's
// own checks (a variable without a value, a function argument it does not take).
const HTuple& evaluateInto(const Expr& expr, const Frame& frame, Temps& temps);

// The value of a condition: one number, true when it is not 0.
bool truthOf(const HTuple& value, const char* what);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
