// A batch's results: one row per file with the file, its status and time, one column per
// control output and one per field of the error record; written as JSON lines or CSV, and
// passed from worker processes to the runner as single lines of text.
#ifndef QUORVEX_TOOLS_RUN_ROWS_H
#define QUORVEX_TOOLS_RUN_ROWS_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "runner.h"
#include "values.h"

namespace quorvex::run {

// One value as JSON and as CSV text; an empty JSON form leaves the column out of the row.
struct Cell {
  std::string json;
  std::string text;
};

struct Row {
  bool ok = false;
  std::vector<Cell> cells;              // one per column
  std::vector<std::string> pictures{};  // the snapshots written for the file
};

// file, status, seconds, the outputs, then the record's fields by their C names.
std::vector<std::string> columnNames(const std::vector<std::string>& outputs);

Row successRow(const std::string& file, double seconds, const std::vector<Values>& outputs);
Row failureRow(const std::string& file, double seconds, std::size_t outputCount,
               const Record& record);

// A row on one line of text, tagged with its file's index, and back. decodeRow returns false
// for a line that is not a row.
std::string encodeRow(std::size_t index, const Row& row);
bool decodeRow(const std::string& line, std::size_t& index, Row& row);

class RowWriter {
 public:
  // CSV writes its header line at once.
  RowWriter(std::ostream& out, bool csv, std::vector<std::string> columns);
  void write(const Row& row);

 private:
  std::ostream& out_;
  bool csv_;
  std::vector<std::string> columns_;
};

}  // namespace quorvex::run

#endif
