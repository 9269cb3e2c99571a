// Control values as the command line writes them and as the runner prints them.
#ifndef QUORVEX_TOOLS_RUN_VALUES_H
#define QUORVEX_TOOLS_RUN_VALUES_H

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorvex::run {

// Integers are 64 bits wide: the engine computes with 64-bit integers on 64-bit targets.
// Command-line inputs still hold 32 bits, all that happendTupleLong takes.
using Value = std::variant<std::int64_t, double, std::string>;
using Values = std::vector<Value>;

// "2" is an integer, "2.5" or "1e3" a real, anything else a string ('quoted' strings lose
// their quotes); "[1, 2.5, 'a']" is a list of those. Raises std::invalid_argument for an
// integer out of the 32-bit range or an unterminated list or string.
Values parseValues(const std::string& text);

// An integer element read through the C interface: `low` from hgetTupleElemLong (its low 32
// bits), `real` from hgetTupleElemDouble. The value when it is exact, that is when its
// magnitude is at most 2^53 and both readings agree; nothing otherwise.
std::optional<std::int64_t> exactInteger(std::int32_t low, double real);

// One value bare ("5", "2.5", "ab"), several as a list ("[1, 2.5, 'ab']"), none as "[]".
std::string readableText(const Values& values);

// A JSON array of the values.
std::string jsonArray(const Values& values);
// A JSON string of `text`, always valid UTF-8: each byte of `text` that is not part of a
// well-formed UTF-8 sequence is written as \ufffd (U+FFFD, the replacement character).
std::string jsonString(const std::string& text);

}  // namespace quorvex::run

#endif
