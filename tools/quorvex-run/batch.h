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

// A worker process: runs its share of `files` and writes their rows to stdout; the snapshot
// procedure is read from `procedures`, the folder the batch's runner made for it.
int runWorker(Library& library, const Options& options, const std::vector<std::string>& files,
              const std::string& procedures);

// A worker's command line holds only its share (`slice`, K/N); the options and the files come
// through its standard input, a pipe from the runner, never through a file.
int workerMain(const std::string& slice);

// The name a file's pictures start with: its place in the batch (from 1, as wide as the
// batch's count) and its name with the extension, every byte but an ASCII letter, digit, '.',
// '-' or '_' made '_', then '_'. Unique within a batch, the same for the same batch, and safe in
// a link of the report on any system.
std::string picturePrefix(std::size_t index, std::size_t count, const std::string& file);

}  // namespace quorvex::run

#endif
