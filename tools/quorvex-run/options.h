// The runner's command line.
#ifndef QUORVEX_TOOLS_RUN_OPTIONS_H
#define QUORVEX_TOOLS_RUN_OPTIONS_H

#include <string>
#include <utility>
#include <vector>

#include "values.h"

namespace quorvex::run {

struct Options {
  std::string program;                                     // PROGRAM.hdev, or empty
  std::string procedure;                                   // --procedure NAME, or empty
  std::vector<std::string> paths;                          // --path DIR, in order
  std::vector<std::pair<std::string, Values>> inputs;      // --in NAME=VALUE, merged by name
  std::vector<std::pair<std::string, Values>> attributes;  // --attribute NAME=VALUE
  std::string library;                                     // --library PATH
  std::string snapshots;                                   // --snapshots DIR
  bool json = false;
  bool logo = false;
  bool fullscreen = false;
  bool verbose = false;
  bool defaultWindow = false;
  bool help = false;
};

// Parses the arguments after the program name. Raises std::invalid_argument with a message
// for the user when they do not make a valid run.
Options parseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace quorvex::run

#endif
