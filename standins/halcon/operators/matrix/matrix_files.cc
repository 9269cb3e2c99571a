// read_matrix, write_matrix, serialize_matrix and deserialize_matrix (HALCON 11.0 section
// "Matrix / File"). 'ascii' files hold one matrix row a line, the values separated by blanks;
// 'binary' files hold the stand-in's byte form, which read_matrix tells by its magic bytes. A
// file name without an extension gets the default one, '.mtx'.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/serialized_items.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "operators/files/file_bytes.h"
#include "operators/matrix/matrix_store.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

namespace fs = std::filesystem;

fs::path withExtension(const std::string& name) {
  fs::path path = fs::u8path(name);
  if (!path.has_extension()) path += ".mtx";
  return path;
}

// The name as given or, when that names no file, with the extension added.
std::string readBytes(const std::string& name, const char* op) {
  if (name.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
  std::error_code error;
  fs::path path = fs::u8path(name);
  if (!fs::is_regular_file(path, error)) path = withExtension(name);
  return readRegularFile(path, op).bytes;
}

std::string asciiOf(const Matrix& m) {
  std::string text;
  char number[32];
  for (std::int32_t r = 0; r < m.rows; ++r) {
    for (std::int32_t c = 0; c < m.cols; ++c) {
      std::snprintf(number, sizeof number, "%.17g", m.at(r, c));
      text += (c ? " " : "") + std::string(number);
    }
    text += '\n';
  }
  return text;
}

// Rows of blank-separated numbers, each row as long as the first; blank lines are skipped.
Matrix parseAscii(const std::string& text, const char* op) {
  std::vector<double> values;
  std::size_t cols = 0, rows = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    std::size_t count = 0;
    const char* p = line.c_str();
    for (;;) {
      while (*p == ' ' || *p == '\t' || *p == '\r') ++p;
      if (*p == '\0') break;
      char* after = nullptr;
      errno = 0;
      const double x = std::strtod(p, &after);
      if (after == p || (*after != '\0' && *after != ' ' && *after != '\t' && *after != '\r')) {
        fail(op, H_ERR_FILE_FORMAT);
      }
      values.push_back(x);
      ++count;
      p = after;
    }
    if (count == 0) continue;
    if (rows == 0) cols = count;
    if (count != cols) fail(op, H_ERR_FILE_FORMAT);
    ++rows;
  }
  if (rows == 0) fail(op, H_ERR_FILE_FORMAT);
  Matrix m = newMatrix(std::int64_t(rows), std::int64_t(cols), op);
  m.v = std::move(values);
  return m;
}

}  // namespace

void WriteMatrix(const HTuple& MatrixID, const HTuple& FileFormat, const HTuple& FileName) {
  ApiScope scope("WriteMatrix");
  const char* op = "write_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const std::string format = oneString(FileFormat, op, 2);
  if (format != "binary" && format != "ascii") fail(op, 1302);
  const std::string name = oneString(FileName, op, 3);
  const std::string bytes = format == "binary" ? encodeMatrix(m) : asciiOf(m);
  std::error_code error;
  if (name.empty()) fail(op, H_ERR_FILE_WRITE);
  const fs::path path = withExtension(name);
  if (fs::is_directory(path, error)) fail(op, H_ERR_FILE_WRITE);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void ReadMatrix(const HTuple& FileName, HTuple* MatrixID) {
  ApiScope scope("ReadMatrix");
  const char* op = "read_matrix";
  const std::string bytes = readBytes(oneString(FileName, op, 1), op);
  Matrix m = holdsMatrix(bytes) ? decodeMatrix(bytes, op) : parseAscii(bytes, op);
  setOutput(MatrixID, addMatrix(std::move(m), op));
}

void SerializeMatrix(const HTuple& MatrixID, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeMatrix");
  const char* op = "serialize_matrix";
  const std::string bytes = encodeMatrix(matrixOf(MatrixID, op, 1));
  setOutput(SerializedItemHandle, HTuple(addSerializedItem(bytes, op)));
}

void DeserializeMatrix(const HTuple& SerializedItemHandle, HTuple* MatrixID) {
  ApiScope scope("DeserializeMatrix");
  const char* op = "deserialize_matrix";
  const std::string bytes = serializedItem(SerializedItemHandle, op, 1)->bytes;
  // An item of another kind (a serialized tuple or image) is a wrong value of the handle.
  if (!holdsMatrix(bytes)) fail(op, 1301);
  setOutput(MatrixID, addMatrix(decodeMatrix(bytes, op), op));
}

}  // namespace HalconCpp
