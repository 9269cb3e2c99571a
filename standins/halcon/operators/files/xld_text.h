// What the XLD exchange formats (ARC/INFO generate, DXF) share: text read a bounded line at a
// time, numbers read and written the same in every locale, and the point bound of one file.
#ifndef QUORVEX_STANDINS_HALCON_XLD_TEXT_H
#define QUORVEX_STANDINS_HALCON_XLD_TEXT_H

#include <cstddef>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/iconic.h"
#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// Longer lines are no part of either format: a file of them (or a device without line ends)
// fails there instead of filling memory.
constexpr std::size_t kMaxXldLine = 4096;
// Points one file may give, all its contours together: beyond, 6001.
constexpr std::size_t kMaxXldFilePoints = std::size_t{1} << 22;

class XldTextFile {
 public:
  // Raises 5200 in `op` when there is no readable file of that name; a line longer than the
  // bound later raises `corrupt`.
  XldTextFile(const HTuple& fileName, const char* op, int n, long corrupt);
  // The next line without its line end (and a carriage return before it); false at the end.
  bool next(std::string* line);

 private:
  std::ifstream in_;
  const char* op_;
  long corrupt_;
  std::unique_ptr<char[]> buffer_;
};

// The text without blanks, tabs and carriage returns at either end.
std::string trimmed(const std::string& text);
// The whole text as a finite number (the C locale's form); false for anything else.
bool parseXldNumber(const std::string& text, double* value);
// A number that reads back as the same double.
std::string xldNumberText(double value);
// Writes the text to the file, raising 5201 in `op` when it cannot.
void writeXldText(const HTuple& fileName, const std::string& text, const char* op, int n);
// Counts points against the bound of one file, raising 6001 in `op` beyond it.
void countXldPoints(std::size_t* total, std::size_t more, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
