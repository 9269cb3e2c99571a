// Control values as the command line writes them and as the runner prints them.
#ifndef QUORVEX_TOOLS_RUN_VALUES_H
#define QUORVEX_TOOLS_RUN_VALUES_H

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quorvex::run {

using Value = std::variant<std::int32_t, double, std::string>;
using Values = std::vector<Value>;

// "2" is an integer, "2.5" or "1e3" a real, anything else a string ('quoted' strings lose
// their quotes); "[1, 2.5, 'a']" is a list of those. Raises std::invalid_argument for an
// integer out of the 32-bit range or an unterminated list or string.
Values parseValues(const std::string& text);

// One value bare ("5", "2.5", "ab"), several as a list ("[1, 2.5, 'ab']"), none as "[]".
std::string readableText(const Values& values);

// A JSON array of the values.
std::string jsonArray(const Values& values);
std::string jsonString(const std::string& text);

}  // namespace quorvex::run

#endif
