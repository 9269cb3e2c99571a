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
  std::string report;  // --report DIR: DIR/index.html, the snapshots in DIR/pictures by default
  bool json = false;
  bool logo = false;
  bool fullscreen = false;
  bool verbose = false;
  bool defaultWindow = false;
  bool help = false;
  bool operators = false;  // --operators: list the operators instead of running
  // A batch: one procedure call per file matching `batch`, `{}` in an input standing for it.
  std::string batch;      // --batch PATTERN, or empty
  std::string out = "-";  // --out FILE: .csv writes CSV, anything else JSON lines; - is stdout
  int jobs = 0;           // --jobs N; 0 means one per core
  // --operator-threads N: each worker process's 'thread_num'; 0: 1 when the batch runs in
  // worker processes, so that jobs and the operators' threads do not share out the cores
  // twice, else the engine's own.
  int operatorThreads = 0;
  bool failFast = false;
  bool threads = false;  // --threads: jobs as threads of this process instead of processes
  std::string worker;    // --worker K/N (internal): run every Nth file from the K-th
  std::vector<std::string> originalArguments;  // as given, for worker processes
};

// Parses the arguments after the program name. Raises std::invalid_argument with a message
// for the user when they do not make a valid run.
Options parseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace quorvex::run

#endif
