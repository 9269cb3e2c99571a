// One run: initialise the library as the options say, run the program or procedure, print
// the procedure's outputs, and write the snapshots.
#ifndef QUORVEX_TOOLS_RUN_RUNNER_H
#define QUORVEX_TOOLS_RUN_RUNNER_H

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "library.h"
#include "options.h"

namespace quorvex::run {

// The fields of an error record, copied before the record is released; a null text is empty.
struct Record {
  int32_t kind = -1;
  std::optional<std::string> procName, progLineName;
  int32_t errorCode = -1;
  int32_t progLineNum = -1;
  std::optional<std::string> message, errorText;
};

// A failure the library reported: its record's fields, and all of them formatted as the
// exception's text.
class RecordError : public std::runtime_error {
 public:
  explicit RecordError(const ErrorMsg& record);
  Record record;
};

// Formats every field of a record as one message for a person to read.
std::string describeRecord(const ErrorMsg& record);

using Inputs = std::vector<std::pair<std::string, Values>>;

// One procedure loaded once and called any number of times, each call with a fresh call
// handle. Raises RecordError for the library's failures.
class ProcedureSession {
 public:
  ProcedureSession(Library& library, const std::string& name);
  ~ProcedureSession();
  ProcedureSession(const ProcedureSession&) = delete;
  ProcedureSession& operator=(const ProcedureSession&) = delete;

  const std::vector<std::string>& outputNames() const { return outputs_; }
  // Raises std::runtime_error for an input name the procedure does not have.
  void checkInputs(const Inputs& inputs) const;
  // The control outputs of one call, in the procedure's order.
  std::vector<Values> call(const Inputs& inputs);

 private:
  Library& library_;
  std::string name_;
  ProcedureHandle procedure_ = nullptr;
  std::vector<std::string> inputs_, outputs_;
};

// hinit, the engine settings and the procedure paths as the options say. The library's
// messages go to stdout and stderr, or both to stderr when stdout carries results.
void initialise(Library& library, const Options& options, bool messagesOnStderr);

// Writes the runner's own snapshot procedure into `folder`, a PrivateFolder's: the engine
// loads procedures only from files, and a file in a folder that others can write into would
// let them choose what runs.
void writeSnapshotProcedure(const std::string& folder);

// Writes a PNG of every window still open, active first, as FOLDER/<prefix><window>.png,
// closing each one; returns the files written. `procedures` is the folder the snapshot
// procedure was written into, added to the procedure paths the first time.
std::vector<std::string> writeSnapshots(Library& library, const std::string& procedures,
                                        const std::string& folder, const std::string& prefix);
// Sets the engine's 'thread_num' to `threads` through the runner's procedure in `procedures`
// (written there by writeSnapshotProcedure), as a program would with set_system.
void setOperatorThreads(Library& library, const std::string& procedures, int threads);

// Runs as the options say, printing outputs to `out`. Raises RecordError for a failure the
// library reported and std::runtime_error for anything else.
void run(Library& library, const Options& options, std::ostream& out);

}  // namespace quorvex::run

#endif
