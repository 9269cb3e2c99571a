// The functions an expression may call, with the element-kind rules of the vendor's tuple
// operators, and the operators of the expression syntax that are functions underneath:
// string formatting (V$F), substrings (S{A:B}), ranges ([A:B], [A:S:B]) and the regular
// expression test (S =~ P). The tuple_* operators of program lines share this code.
#ifndef QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_H
#define QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_H

#include <cstddef>
#include <string>

#include "halconcpp/HalconCpp.h"

namespace HDevEngineCpp {
namespace Standin {

// Names of the syntax operators in the function table; no identifier can spell them.
constexpr const char* kFormatFunction = "$";       // value, format
constexpr const char* kSubstringFunction = "{}";   // string, from[, to]
constexpr const char* kRangeFunction = "[:]";      // from, to  or  from, step, to
constexpr const char* kRegexpTestFunction = "=~";  // string, pattern

// The function's index, or -1 when there is none of that name.
int findFunction(const std::string& name);
// How many arguments it takes, at least and at most.
int functionMinArguments(int function);
int functionMaxArguments(int function);
const char* functionName(int function);

// Writes the function's value to `*result`, which is none of the arguments. Raises RunError
// (kErrFunctionArgument) or HException for arguments it does not take.
void applyFunction(int function, const HalconCpp::HTuple* const* arguments, std::size_t count,
                   HalconCpp::HTuple* result);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
