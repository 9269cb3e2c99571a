// A batch: one procedure called once per file, N files at once, results in file order.
//
// The window registry and the display settings belong to the process, so procedures that
// run at once in one process would draw into each other's windows. Jobs are therefore
// worker processes (this program started again), each running every Nth file; threads of
// this process only on request (--threads), for procedures that open no windows.
#ifndef QUORVEX_TOOLS_RUN_BATCH_H
#define QUORVEX_TOOLS_RUN_BATCH_H

#include <string>
#include <vector>

#include "library.h"
#include "options.h"

namespace quorvex::run {

// Runs the batch as the options say; the exit status: 0 when every file succeeded, else 1.
// `self` is this program, started again for worker processes. Raises std::invalid_argument
// when no file matches (file_patterns.h).
int runBatch(Library& library, const Options& options, const std::string& self);

// A worker process: runs its share of `files` and writes their rows to stdout.
int runWorker(Library& library, const Options& options, const std::vector<std::string>& files);

// The worker's command line keeps only the runner and a file holding the options and files.
int workerMain(const std::string& argumentsFile, const std::string& slice);

}  // namespace quorvex::run

#endif
