// The functions an expression may call: int, real, abs, min, max, sum, round, sqrt, strlen
// and number. Each takes one tuple and works element-wise, except min, max and sum, which
// reduce the whole tuple to one value.
#ifndef QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_H
#define QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_H

#include <string>

#include "halconcpp/HalconCpp.h"

namespace HDevEngineCpp {
namespace Standin {

// The function's index, or -1 when there is none of that name.
int findFunction(const std::string& name);
// Raises RunError for an argument the function does not take.
HalconCpp::HTuple applyFunction(int function, const HalconCpp::HTuple& argument);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
