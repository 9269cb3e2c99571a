// Evaluates expressions against a call's variables with the stand-in tuple's semantics.
#ifndef QUORVEX_STANDINS_HDEVENGINE_EVALUATOR_H
#define QUORVEX_STANDINS_HDEVENGINE_EVALUATOR_H

#include "procedure_data.h"

namespace HDevEngineCpp {
namespace Standin {

// Raises HException for a failing tuple operation and RunError for the engine's own checks
// (a variable without a value, a function argument it does not take).
HTuple evaluate(const Expr& expr, const Frame& frame);

// The value of a condition: one number, true when it is not 0.
bool truthOf(const HTuple& value, const char* what);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
