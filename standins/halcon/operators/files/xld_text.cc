#include "operators/files/xld_text.h"

#include <cmath>
#include <filesystem>
#include <locale>
#include <sstream>

#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

XldTextFile::XldTextFile(const HTuple& fileName, const char* op, int n, long corrupt)
    : op_(op), corrupt_(corrupt), buffer_(new char[kMaxXldLine]) {
  const std::string name = oneString(fileName, op, n);
  std::error_code error;
  if (name.empty() || fs::is_directory(fs::u8path(name), error)) fail(op, H_ERR_FILE_NOT_FOUND);
  in_.open(fs::u8path(name), std::ios::binary);
  if (!in_) fail(op, H_ERR_FILE_NOT_FOUND);
}

bool XldTextFile::next(std::string* line) {
  if (!in_.good()) return false;
  in_.getline(buffer_.get(), static_cast<std::streamsize>(kMaxXldLine));
  const std::streamsize got = in_.gcount();
  if (in_.bad()) fail(op_, corrupt_);
  if (in_.fail()) {
    if (in_.eof() && got == 0) return false;
    if (!in_.eof()) fail(op_, corrupt_);  // the buffer filled before a line end
  }
  // gcount counts the line end getline took but did not store.
  std::size_t length = static_cast<std::size_t>(got);
  if (!in_.eof() && length > 0) --length;
  line->assign(buffer_.get(), length);
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

std::string trimmed(const std::string& text) {
  const char* blanks = " \t\r";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool parseXldNumber(const std::string& text, double* value) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double v = 0;
  if (!(in >> v)) return false;
  in >> std::ws;
  if (!in.eof() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

std::string xldNumberText(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(17);
  out << value;
  return out.str();
}

void writeXldText(const HTuple& fileName, const std::string& text, const char* op, int n) {
  const std::string name = oneString(fileName, op, n);
  if (name.empty()) fail(op, H_ERR_FILE_WRITE);
  std::ofstream out(fs::u8path(name), std::ios::binary | std::ios::trunc);
  if (!out.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void countXldPoints(std::size_t* total, std::size_t more, const char* op) {
  if (more > kMaxXldFilePoints - *total) fail(op, H_ERR_NO_MEMORY);
  *total += more;
}

}  // namespace Standin
}  // namespace HalconCpp
