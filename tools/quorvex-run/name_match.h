// Shell-style wildcards for one file name, for systems whose own matcher lacks them.
#ifndef QUORVEX_TOOLS_RUN_NAME_MATCH_H
#define QUORVEX_TOOLS_RUN_NAME_MATCH_H

#include <string_view>

namespace quorvex::run {

enum class LetterCase { kSensitive, kIgnored };

// Whether `name` (one path component, UTF-8) matches `pattern` as fnmatch(3) with FNM_PERIOD
// and FNM_NOESCAPE has it: `*` any run of characters, `?` one character, `[...]` one character
// of a set of characters and ranges, negated by a leading `!` or `^`, a `]` first in the set
// being a member; an unclosed `[` is an ordinary character, and so is a backslash, a folder
// separator on Windows. A name starting with a dot matches only a pattern starting with one.
// Ignoring case folds ASCII letters only; other characters compare by code point. Takes time
// proportional to the product of the lengths at most, whatever the pattern.
bool wildcardMatches(std::string_view pattern, std::string_view name, LetterCase letterCase);

}  // namespace quorvex::run

#endif
