// The files of a batch: a wildcard pattern, or a file that lists them.
#ifndef QUORVEX_TOOLS_RUN_FILE_PATTERNS_H
#define QUORVEX_TOOLS_RUN_FILE_PATTERNS_H

#include <string>
#include <vector>

namespace quorvex::run {

// `@LIST`: the lines of the file LIST, in its order, each a path relative to LIST's folder
// unless absolute; blank lines are skipped. Otherwise the regular files matching the pattern,
// in name order: `*`, `?` and bracket expressions (`[0-3]`, `[!a]`) within one path component,
// as fnmatch(3) has them (on Windows, ignoring case and with a backslash a separator, never an
// escape), and a `**` component for any number of folders, none included. A name starting
// with a dot matches only a component that starts with one. Raises std::invalid_argument for
// a list that cannot be read.
std::vector<std::string> batchFiles(const std::string& patternOrList);

}  // namespace quorvex::run

#endif
