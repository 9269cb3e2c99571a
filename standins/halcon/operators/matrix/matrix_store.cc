// Matrices and their handles. The byte form is the stand-in's own (docs/standins.md,
// "Matrices"): eight magic bytes, rows and columns as little-endian uint32, then the elements
// row by row as little-endian IEEE doubles.
#include "operators/matrix/matrix_store.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "common/handle_table.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr char kMagic[8] = {'Q', 'V', 'X', 'M', 'A', 'T', '\r', '\n'};

struct Stored {
  Matrix m;
  PixelReservation held;
};

quorvex::common::HandleTable<Hlong, Stored>& matrices() {
  static auto* table =  // outlives every static destructor
      new quorvex::common::HandleTable<Hlong, Stored>(1);
  return *table;
}

std::uint64_t bytesOf(const Matrix& m) {
  return std::uint64_t(m.v.size()) * sizeof(double);
}

}  // namespace

Matrix newMatrix(std::int64_t rows, std::int64_t cols, const char* op, double fill, int rowsParam,
                 int colsParam) {
  if (rows < 1) fail(op, rowsParam ? 1300 + rowsParam : Hlong{H_ERR_NO_MEMORY});
  if (cols < 1) fail(op, colsParam ? 1300 + colsParam : Hlong{H_ERR_NO_MEMORY});
  constexpr std::int64_t kMaxElements = std::numeric_limits<std::int32_t>::max();
  if (rows > kMaxElements || cols > kMaxElements / rows) fail(op, H_ERR_NO_MEMORY);
  // A trial share of the bound: a matrix that could never be held is refused before it is made.
  const PixelReservation trial(std::uint64_t(rows) * std::uint64_t(cols) * sizeof(double), op);
  Matrix m;
  m.rows = static_cast<std::int32_t>(rows);
  m.cols = static_cast<std::int32_t>(cols);
  m.v.assign(std::size_t(rows) * std::size_t(cols), fill);
  return m;
}

Matrix identity(std::int32_t n, const char* op) {
  Matrix m = newMatrix(n, n, op);
  for (std::int32_t i = 0; i < n; ++i) m.at(i, i) = 1;
  return m;
}

Matrix transposed(const Matrix& m, const char* op) {
  Matrix t = newMatrix(m.cols, m.rows, op);
  for (std::int32_t r = 0; r < m.rows; ++r) {
    for (std::int32_t c = 0; c < m.cols; ++c) t.at(c, r) = m.at(r, c);
  }
  return t;
}

Matrix product(const Matrix& a, const Matrix& b, const char* op) {
  Matrix p = newMatrix(a.rows, b.cols, op);
  for (std::int32_t r = 0; r < a.rows; ++r) {
    for (std::int32_t k = 0; k < a.cols; ++k) {
      const double x = a.at(r, k);
      for (std::int32_t c = 0; c < b.cols; ++c) p.at(r, c) += x * b.at(k, c);
    }
  }
  return p;
}

Matrix matrixOf(const HTuple& handle, const char* op, int n) {
  const Hlong key = oneInteger(handle, op, n);
  return matrices().with(
      key, [op, n] { fail(op, 1300 + n); }, [](Stored& s) { return s.m; });
}

void storeMatrix(const HTuple& handle, Matrix m, const char* op, int n) {
  const Hlong key = oneInteger(handle, op, n);
  matrices().with(
      key, [op, n] { fail(op, 1300 + n); },
      [&](Stored& s) {
        s.held.change(bytesOf(m), op);
        s.m = std::move(m);
      });
}

HTuple addMatrix(Matrix m, const char* op) {
  PixelReservation held(bytesOf(m), op);
  return HTuple(matrices().add(Stored{std::move(m), std::move(held)}));
}

void clearMatrix(const HTuple& handle, const char* op) {
  if (!matrices().remove(oneInteger(handle, op, 1))) fail(op, 1301);
}

void clearAllMatrices() {
  matrices().clear();
}

void requireSameSize(const Matrix& a, const Matrix& b, const char* op, int n) {
  if (a.rows != b.rows || a.cols != b.cols) fail(op, 1300 + n);
}

void requireSquare(const Matrix& m, const char* op, int n) {
  if (!m.square()) fail(op, 1300 + n);
}

void requireFinite(const Matrix& m, const char* op, int n) {
  for (const double x : m.v) {
    if (!std::isfinite(x)) fail(op, 1300 + n);
  }
}

std::string encodeMatrix(const Matrix& m) {
  std::string out(kMagic, sizeof kMagic);
  const auto put = [&out](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  };
  put(std::uint32_t(m.rows), 4);
  put(std::uint32_t(m.cols), 4);
  for (const double x : m.v) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    put(bits, 8);
  }
  return out;
}

bool holdsMatrix(const std::string& bytes) {
  return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

Matrix decodeMatrix(const std::string& bytes, const char* op) {
  if (!holdsMatrix(bytes) || bytes.size() < sizeof kMagic + 8) fail(op, H_ERR_FILE_FORMAT);
  std::size_t at = sizeof kMagic;
  const auto get = [&](int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
      value |= std::uint64_t(static_cast<unsigned char>(bytes[at++])) << (8 * i);
    }
    return value;
  };
  const std::uint64_t rows = get(4), cols = get(4);
  if (rows < 1 || cols < 1 || (bytes.size() - at) / 8 / rows != cols ||
      (bytes.size() - at) != rows * cols * 8) {
    fail(op, H_ERR_FILE_FORMAT);
  }
  Matrix m = newMatrix(std::int64_t(rows), std::int64_t(cols), op);
  for (double& x : m.v) {
    const std::uint64_t bits = get(8);
    std::memcpy(&x, &bits, sizeof x);
  }
  return m;
}

HTuple valuesOf(const Matrix& m) {
  HTuple values;
  for (const double x : m.v) values.Append(HTuple(x));
  return values;
}

}  // namespace Standin
}  // namespace HalconCpp
