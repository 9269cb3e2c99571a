// The batch report: DIR/index.html, one page a person opens from the file system to look
// over a batch. Every file's row, its windows' pictures, its outputs and its error record,
// with filters, sorting and histograms drawn by the page itself. The page is the one the
// Python package ships (resources/report.html), embedded at build time, so that both ways of
// running a batch give the same page.
//
// Rows are streamed into the page as they come, so the runner holds no more for a report of
// 10,000 files than for one of ten.
#ifndef QUORVEX_TOOLS_RUN_REPORT_H
#define QUORVEX_TOOLS_RUN_REPORT_H

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rows.h"

namespace quorvex::run {

class Report {
 public:
  // Creates the folder and starts the page. Raises std::runtime_error when it cannot.
  Report(const std::string& folder, const std::vector<std::string>& outputs,
         const std::string& title);
  // `row` as rows.h builds it; its pictures may be anywhere, the page links them relatively.
  void add(const Row& row);
  // Ends the page and puts it in place; returns its path.
  std::string finish(double seconds, std::size_t jobs);

 private:
  std::filesystem::path folder_;
  std::filesystem::path partial_;
  std::ofstream out_;
  std::size_t outputs_;
  std::size_t rows_ = 0;
};

// JSON that may stand inside a <script> element: no '<', '>' or '&' that could end it or
// open a comment, and the two line separators escaped. Valid on any JSON text, since those
// characters appear only inside its strings.
std::string scriptSafe(const std::string& json);

// A file's pictures on one line, from a worker process to the runner, and back; decoding
// returns false for any other line.
std::string encodePictures(std::size_t index, const std::vector<std::string>& pictures);
bool decodePictures(const std::string& line, std::size_t& index,
                    std::vector<std::string>& pictures);

}  // namespace quorvex::run

#endif
