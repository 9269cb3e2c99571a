// Matrices behind integer handles (HALCON 11.0 chapter "Matrix"): a dense row-major array of
// reals, its handle table, the size bound every new matrix passes before it is allocated, and
// the stand-in's byte form (write_matrix 'binary', serialize_matrix).
#ifndef QUORVEX_STANDINS_HALCON_MATRIX_STORE_H
#define QUORVEX_STANDINS_HALCON_MATRIX_STORE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

struct Matrix {
  std::int32_t rows = 0, cols = 0;
  std::vector<double> v;  // row by row

  double& at(std::int32_t r, std::int32_t c) {
    return v[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
  }
  double at(std::int32_t r, std::int32_t c) const {
    return v[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
  }
  bool square() const { return rows == cols; }
};

// A rows x cols matrix of `fill`. Sizes below 1 raise 1300+n of `rowsParam`/`colsParam` (0 to
// skip); an element count past int32 or past the pixel bound raises 6001 before any memory is
// taken.
Matrix newMatrix(std::int64_t rows, std::int64_t cols, const char* op, double fill = 0,
                 int rowsParam = 0, int colsParam = 0);
Matrix identity(std::int32_t n, const char* op);
Matrix transposed(const Matrix& m, const char* op);
Matrix product(const Matrix& a, const Matrix& b, const char* op);

// A copy of the matrix behind the handle in control input n; a cleared or unknown handle
// raises 1300+n.
Matrix matrixOf(const HTuple& handle, const char* op, int n);
// Replaces the matrix behind the handle (the _mod operators, set_*_matrix).
void storeMatrix(const HTuple& handle, Matrix m, const char* op, int n);
HTuple addMatrix(Matrix m, const char* op);
void clearMatrix(const HTuple& handle, const char* op);
void clearAllMatrices();

// Raises 1300+n unless the matrices have the same size.
void requireSameSize(const Matrix& a, const Matrix& b, const char* op, int n);
// Raises 1300+n unless the matrix is square.
void requireSquare(const Matrix& m, const char* op, int n);
// Raises 1300+n when an element is NaN or infinite (the decompositions need finite input).
void requireFinite(const Matrix& m, const char* op, int n);

std::string encodeMatrix(const Matrix& m);
bool holdsMatrix(const std::string& bytes);
// Raises 5202 in `op` for bytes that are not a whole matrix.
Matrix decodeMatrix(const std::string& bytes, const char* op);

HTuple valuesOf(const Matrix& m);

}  // namespace Standin
}  // namespace HalconCpp

#endif
