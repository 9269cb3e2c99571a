// One run: initialise the library as the options say, run the program or procedure, print
// the procedure's outputs, and write the snapshots.
#ifndef QUORVEX_TOOLS_RUN_RUNNER_H
#define QUORVEX_TOOLS_RUN_RUNNER_H

#include <ostream>
#include <stdexcept>
#include <string>

#include "library.h"
#include "options.h"

namespace quorvex::run {

// A failure the library reported, with the record's fields already formatted.
class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Formats every field of a record as one message for a person to read.
std::string describeRecord(const ErrorMsg& record);

// Runs as the options say, printing outputs to `out`. Raises RecordError for a failure the
// library reported and std::runtime_error for anything else.
void run(Library& library, const Options& options, std::ostream& out);

}  // namespace quorvex::run

#endif
