// The matrix operators of the HALCON 11.0 sections "Matrix / Creation" and "Matrix / Access":
// rows and columns count from 0, values run row by row.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "operators/matrix/matrix_store.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Row or column indices at control position n: whole numbers inside [0, limit).
std::vector<std::int32_t> indicesOf(const HTuple& value, std::int32_t limit, const char* op,
                                    int n) {
  std::vector<std::int32_t> out;
  for (Hlong i = 0; i < value.Length(); ++i) {
    const Hlong index = integerAt(value, i, op, n);
    if (index < 0 || index >= limit) fail(op, 1300 + n);
    out.push_back(static_cast<std::int32_t>(index));
  }
  return out;
}

// The length of diagonal k (0 the main one, above it positive) and its first element.
std::int32_t diagonalLength(const Matrix& m, Hlong k, const char* op, int n) {
  if (k >= m.cols || k <= -Hlong{m.rows}) fail(op, 1300 + n);
  const auto kk = static_cast<std::int32_t>(k);
  return k >= 0 ? std::min(m.rows, m.cols - kk) : std::min(m.rows + kk, m.cols);
}

}  // namespace

void CreateMatrix(const HTuple& Rows, const HTuple& Columns, const HTuple& Value,
                  HTuple* MatrixID) {
  ApiScope scope("CreateMatrix");
  const char* op = "create_matrix";
  const Hlong rows = oneInteger(Rows, op, 1), cols = oneInteger(Columns, op, 2);
  if (rows < 1) fail(op, 1301);
  if (cols < 1) fail(op, 1302);
  const Hlong count = Value.Length();
  if (count == 1 && Value[0].Type() == eElementTypeString) {
    if (Value[0].S().str() != "identity" || rows != cols) fail(op, 1303);
    setOutput(MatrixID, addMatrix(identity(static_cast<std::int32_t>(rows), op), op));
    return;
  }
  if (count < 1) fail(op, 1403);
  Matrix m = newMatrix(rows, cols, op, 0, 1, 2);
  const auto diagonal = static_cast<std::size_t>(std::min(m.rows, m.cols));
  if (count == 1) {
    std::fill(m.v.begin(), m.v.end(), numberAt(Value, 0, op, 3));
  } else if (std::size_t(count) == m.v.size()) {
    for (std::size_t i = 0; i < m.v.size(); ++i) m.v[i] = numberAt(Value, Hlong(i), op, 3);
  } else if (std::size_t(count) == diagonal) {
    for (std::int32_t i = 0; i < std::int32_t(diagonal); ++i) {
      m.at(i, i) = numberAt(Value, i, op, 3);
    }
  } else {
    fail(op, 1403);
  }
  setOutput(MatrixID, addMatrix(std::move(m), op));
}

void ClearMatrix(const HTuple& MatrixID) {
  ApiScope scope("ClearMatrix");
  clearMatrix(MatrixID, "clear_matrix");
}

void ClearAllMatrices() {
  ApiScope scope("ClearAllMatrices");
  clearAllMatrices();
}

void CopyMatrix(const HTuple& MatrixID, HTuple* MatrixCopyID) {
  ApiScope scope("CopyMatrix");
  const char* op = "copy_matrix";
  setOutput(MatrixCopyID, addMatrix(matrixOf(MatrixID, op, 1), op));
}

void GetSizeMatrix(const HTuple& MatrixID, HTuple* Rows, HTuple* Columns) {
  ApiScope scope("GetSizeMatrix");
  const Matrix m = matrixOf(MatrixID, "get_size_matrix", 1);
  setOutput(Rows, HTuple(Hlong(m.rows)));
  setOutput(Columns, HTuple(Hlong(m.cols)));
}

void GetFullMatrix(const HTuple& MatrixID, HTuple* Values) {
  ApiScope scope("GetFullMatrix");
  setOutput(Values, valuesOf(matrixOf(MatrixID, "get_full_matrix", 1)));
}

void SetFullMatrix(const HTuple& MatrixID, const HTuple& Values) {
  ApiScope scope("SetFullMatrix");
  const char* op = "set_full_matrix";
  Matrix m = matrixOf(MatrixID, op, 1);
  const Hlong count = Values.Length();
  if (count != 1 && std::size_t(count) != m.v.size()) fail(op, 1402);
  for (std::size_t i = 0; i < m.v.size(); ++i) {
    m.v[i] = numberAt(Values, count == 1 ? 0 : Hlong(i), op, 2);
  }
  storeMatrix(MatrixID, std::move(m), op, 1);
}

void GetValueMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                    HTuple* Value) {
  ApiScope scope("GetValueMatrix");
  const char* op = "get_value_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const std::vector<std::int32_t> rows = indicesOf(Row, m.rows, op, 2);
  const std::vector<std::int32_t> cols = indicesOf(Column, m.cols, op, 3);
  if (rows.empty()) fail(op, 1402);
  if (cols.size() != rows.size()) fail(op, 1403);
  HTuple values;
  for (std::size_t i = 0; i < rows.size(); ++i) values.Append(HTuple(m.at(rows[i], cols[i])));
  setOutput(Value, std::move(values));
}

void SetValueMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                    const HTuple& Value) {
  ApiScope scope("SetValueMatrix");
  const char* op = "set_value_matrix";
  Matrix m = matrixOf(MatrixID, op, 1);
  const std::vector<std::int32_t> rows = indicesOf(Row, m.rows, op, 2);
  const std::vector<std::int32_t> cols = indicesOf(Column, m.cols, op, 3);
  if (rows.empty()) fail(op, 1402);
  if (cols.size() != rows.size()) fail(op, 1403);
  if (std::size_t(Value.Length()) != rows.size()) fail(op, 1404);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    m.at(rows[i], cols[i]) = numberAt(Value, Hlong(i), op, 4);
  }
  storeMatrix(MatrixID, std::move(m), op, 1);
}

void GetSubMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                  const HTuple& RowsSub, const HTuple& ColumnsSub, HTuple* MatrixSubID) {
  ApiScope scope("GetSubMatrix");
  const char* op = "get_sub_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const Hlong row = oneInteger(Row, op, 2), col = oneInteger(Column, op, 3);
  const Hlong rows = oneInteger(RowsSub, op, 4), cols = oneInteger(ColumnsSub, op, 5);
  if (row < 0 || row >= m.rows) fail(op, 1302);
  if (col < 0 || col >= m.cols) fail(op, 1303);
  if (rows < 1 || rows > m.rows - row) fail(op, 1304);
  if (cols < 1 || cols > m.cols - col) fail(op, 1305);
  Matrix sub = newMatrix(rows, cols, op);
  for (std::int32_t r = 0; r < sub.rows; ++r) {
    for (std::int32_t c = 0; c < sub.cols; ++c) {
      sub.at(r, c) = m.at(static_cast<std::int32_t>(row) + r, static_cast<std::int32_t>(col) + c);
    }
  }
  setOutput(MatrixSubID, addMatrix(std::move(sub), op));
}

void SetSubMatrix(const HTuple& MatrixID, const HTuple& MatrixSubID, const HTuple& Row,
                  const HTuple& Column) {
  ApiScope scope("SetSubMatrix");
  const char* op = "set_sub_matrix";
  Matrix m = matrixOf(MatrixID, op, 1);
  const Matrix sub = matrixOf(MatrixSubID, op, 2);
  const Hlong row = oneInteger(Row, op, 3), col = oneInteger(Column, op, 4);
  if (row < 0 || row > m.rows - sub.rows) fail(op, 1303);
  if (col < 0 || col > m.cols - sub.cols) fail(op, 1304);
  for (std::int32_t r = 0; r < sub.rows; ++r) {
    for (std::int32_t c = 0; c < sub.cols; ++c) {
      m.at(static_cast<std::int32_t>(row) + r, static_cast<std::int32_t>(col) + c) = sub.at(r, c);
    }
  }
  storeMatrix(MatrixID, std::move(m), op, 1);
}

void GetDiagonalMatrix(const HTuple& MatrixID, const HTuple& Diagonal, HTuple* VectorID) {
  ApiScope scope("GetDiagonalMatrix");
  const char* op = "get_diagonal_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const Hlong k = oneInteger(Diagonal, op, 2);
  const std::int32_t length = diagonalLength(m, k, op, 2);
  const auto r0 = static_cast<std::int32_t>(k < 0 ? -k : 0);
  const auto c0 = static_cast<std::int32_t>(k > 0 ? k : 0);
  Matrix vector = newMatrix(length, 1, op);
  for (std::int32_t i = 0; i < length; ++i) vector.at(i, 0) = m.at(r0 + i, c0 + i);
  setOutput(VectorID, addMatrix(std::move(vector), op));
}

void SetDiagonalMatrix(const HTuple& MatrixID, const HTuple& VectorID, const HTuple& Diagonal) {
  ApiScope scope("SetDiagonalMatrix");
  const char* op = "set_diagonal_matrix";
  Matrix m = matrixOf(MatrixID, op, 1);
  const Matrix vector = matrixOf(VectorID, op, 2);
  const Hlong k = oneInteger(Diagonal, op, 3);
  const std::int32_t length = diagonalLength(m, k, op, 3);
  // A row or a column vector of the diagonal's length.
  if ((vector.rows != 1 && vector.cols != 1) || vector.v.size() != std::size_t(length)) {
    fail(op, 1302);
  }
  const auto r0 = static_cast<std::int32_t>(k < 0 ? -k : 0);
  const auto c0 = static_cast<std::int32_t>(k > 0 ? k : 0);
  for (std::int32_t i = 0; i < length; ++i) m.at(r0 + i, c0 + i) = vector.v[std::size_t(i)];
  storeMatrix(MatrixID, std::move(m), op, 1);
}

void RepeatMatrix(const HTuple& MatrixID, const HTuple& Rows, const HTuple& Columns,
                  HTuple* MatrixRepeatedID) {
  ApiScope scope("RepeatMatrix");
  const char* op = "repeat_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const Hlong rows = oneInteger(Rows, op, 2), cols = oneInteger(Columns, op, 3);
  if (rows < 1) fail(op, 1302);
  if (cols < 1) fail(op, 1303);
  // Beyond int32 the product of the counts could not be held anyway (and could overflow).
  constexpr Hlong kMax = std::numeric_limits<std::int32_t>::max();
  if (rows > kMax || cols > kMax) fail(op, H_ERR_NO_MEMORY);
  Matrix out = newMatrix(std::int64_t(rows) * m.rows, std::int64_t(cols) * m.cols, op);
  for (std::int32_t r = 0; r < out.rows; ++r) {
    for (std::int32_t c = 0; c < out.cols; ++c) out.at(r, c) = m.at(r % m.rows, c % m.cols);
  }
  setOutput(MatrixRepeatedID, addMatrix(std::move(out), op));
}

}  // namespace HalconCpp
