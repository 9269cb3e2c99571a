// The matrix operators of the HALCON 11.0 sections "Matrix / Arithmetic" (apart from
// inversion and powers of matrices) and "Matrix / Features". Element operators follow IEEE
// arithmetic: a division by zero or the root of a negative element gives an infinity or NaN.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "core/params.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "operators/matrix/matrix_linalg.h"
#include "operators/matrix/matrix_store.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

using Binary = std::function<double(double, double)>;

// a op b element by element; a size mismatch is a wrong value of the second matrix.
Matrix elementwise(const HTuple& a, const HTuple& b, const Binary& fn, const char* op) {
  Matrix m = matrixOf(a, op, 1);
  const Matrix other = matrixOf(b, op, 2);
  requireSameSize(m, other, op, 2);
  for (std::size_t i = 0; i < m.v.size(); ++i) m.v[i] = fn(m.v[i], other.v[i]);
  return m;
}

Matrix mapped(const HTuple& handle, const std::function<double(double)>& fn, const char* op) {
  Matrix m = matrixOf(handle, op, 1);
  for (double& x : m.v) x = fn(x);
  return m;
}

Matrix multiplied(const HTuple& a, const HTuple& b, const HTuple& kind, const char* op) {
  const std::string type = oneString(kind, op, 3);
  if (type != "AB" && type != "ATB" && type != "ABT" && type != "ATBT") fail(op, 1303);
  Matrix left = matrixOf(a, op, 1), right = matrixOf(b, op, 2);
  if (type == "ATB" || type == "ATBT") left = transposed(left, op);
  if (type == "ABT" || type == "ATBT") right = transposed(right, op);
  if (left.cols != right.rows) fail(op, 1302);
  return product(left, right, op);
}

double powerOf(const HTuple& value, const char* op, int n) {
  return oneNumber(value, op, n);
}

enum class Reduce { Full, Rows, Columns };

Reduce reduceOf(const HTuple& value, const char* op) {
  const std::string type = oneString(value, op, 2);
  if (type == "full") return Reduce::Full;
  if (type == "rows") return Reduce::Rows;
  if (type == "columns") return Reduce::Columns;
  fail(op, 1302);
}

// 'full': 1 x 1 of all elements; 'columns': 1 x n, one value a column; 'rows': m x 1, one
// value a row (mean_matrix, sum_matrix, max_matrix and min_matrix, HALCON 11.0).
HTuple reduced(const HTuple& handle, const HTuple& kind, const char* op,
               const std::function<double(const std::vector<double>&)>& fn) {
  const Matrix m = matrixOf(handle, op, 1);
  const Reduce type = reduceOf(kind, op);
  Matrix out;
  std::vector<double> group;
  if (type == Reduce::Full) {
    out = newMatrix(1, 1, op, fn(m.v));
  } else if (type == Reduce::Columns) {
    out = newMatrix(1, m.cols, op);
    for (std::int32_t c = 0; c < m.cols; ++c) {
      group.clear();
      for (std::int32_t r = 0; r < m.rows; ++r) group.push_back(m.at(r, c));
      out.at(0, c) = fn(group);
    }
  } else {
    out = newMatrix(m.rows, 1, op);
    for (std::int32_t r = 0; r < m.rows; ++r) {
      group.assign(m.v.begin() + std::ptrdiff_t(r) * m.cols,
                   m.v.begin() + std::ptrdiff_t(r + 1) * m.cols);
      out.at(r, 0) = fn(group);
    }
  }
  return addMatrix(std::move(out), op);
}

double sumOf(const std::vector<double>& values) {
  double sum = 0;
  for (const double x : values) sum += x;
  return sum;
}

}  // namespace

void AddMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, HTuple* MatrixSumID) {
  ApiScope scope("AddMatrix");
  const char* op = "add_matrix";
  setOutput(MatrixSumID, addMatrix(elementwise(MatrixAID, MatrixBID, std::plus<>(), op), op));
}

void AddMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID) {
  ApiScope scope("AddMatrixMod");
  const char* op = "add_matrix_mod";
  storeMatrix(MatrixAID, elementwise(MatrixAID, MatrixBID, std::plus<>(), op), op, 1);
}

void SubMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, HTuple* MatrixDifferenceID) {
  ApiScope scope("SubMatrix");
  const char* op = "sub_matrix";
  setOutput(MatrixDifferenceID,
            addMatrix(elementwise(MatrixAID, MatrixBID, std::minus<>(), op), op));
}

void SubMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID) {
  ApiScope scope("SubMatrixMod");
  const char* op = "sub_matrix_mod";
  storeMatrix(MatrixAID, elementwise(MatrixAID, MatrixBID, std::minus<>(), op), op, 1);
}

void MultElementMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, HTuple* MatrixMultID) {
  ApiScope scope("MultElementMatrix");
  const char* op = "mult_element_matrix";
  setOutput(MatrixMultID,
            addMatrix(elementwise(MatrixAID, MatrixBID, std::multiplies<>(), op), op));
}

void MultElementMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID) {
  ApiScope scope("MultElementMatrixMod");
  const char* op = "mult_element_matrix_mod";
  storeMatrix(MatrixAID, elementwise(MatrixAID, MatrixBID, std::multiplies<>(), op), op, 1);
}

void DivElementMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, HTuple* MatrixDivID) {
  ApiScope scope("DivElementMatrix");
  const char* op = "div_element_matrix";
  setOutput(MatrixDivID, addMatrix(elementwise(MatrixAID, MatrixBID, std::divides<>(), op), op));
}

void DivElementMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID) {
  ApiScope scope("DivElementMatrixMod");
  const char* op = "div_element_matrix_mod";
  storeMatrix(MatrixAID, elementwise(MatrixAID, MatrixBID, std::divides<>(), op), op, 1);
}

void PowElementMatrix(const HTuple& MatrixID, const HTuple& MatrixExpID, HTuple* MatrixPowID) {
  ApiScope scope("PowElementMatrix");
  const char* op = "pow_element_matrix";
  const Binary pow = [](double a, double b) { return std::pow(a, b); };
  setOutput(MatrixPowID, addMatrix(elementwise(MatrixID, MatrixExpID, pow, op), op));
}

void PowElementMatrixMod(const HTuple& MatrixID, const HTuple& MatrixExpID) {
  ApiScope scope("PowElementMatrixMod");
  const char* op = "pow_element_matrix_mod";
  const Binary pow = [](double a, double b) { return std::pow(a, b); };
  storeMatrix(MatrixID, elementwise(MatrixID, MatrixExpID, pow, op), op, 1);
}

void PowScalarElementMatrix(const HTuple& MatrixID, const HTuple& Power, HTuple* MatrixPowID) {
  ApiScope scope("PowScalarElementMatrix");
  const char* op = "pow_scalar_element_matrix";
  const double p = powerOf(Power, op, 2);
  setOutput(MatrixPowID, addMatrix(mapped(
                                       MatrixID, [p](double x) { return std::pow(x, p); }, op),
                                   op));
}

void PowScalarElementMatrixMod(const HTuple& MatrixID, const HTuple& Power) {
  ApiScope scope("PowScalarElementMatrixMod");
  const char* op = "pow_scalar_element_matrix_mod";
  const double p = powerOf(Power, op, 2);
  storeMatrix(MatrixID,
              mapped(
                  MatrixID, [p](double x) { return std::pow(x, p); }, op),
              op, 1);
}

void ScaleMatrix(const HTuple& MatrixID, const HTuple& Factor, HTuple* MatrixScaledID) {
  ApiScope scope("ScaleMatrix");
  const char* op = "scale_matrix";
  const double f = oneNumber(Factor, op, 2);
  setOutput(MatrixScaledID, addMatrix(mapped(
                                          MatrixID, [f](double x) { return f * x; }, op),
                                      op));
}

void ScaleMatrixMod(const HTuple& MatrixID, const HTuple& Factor) {
  ApiScope scope("ScaleMatrixMod");
  const char* op = "scale_matrix_mod";
  const double f = oneNumber(Factor, op, 2);
  storeMatrix(MatrixID,
              mapped(
                  MatrixID, [f](double x) { return f * x; }, op),
              op, 1);
}

void AbsMatrix(const HTuple& MatrixID, HTuple* MatrixAbsID) {
  ApiScope scope("AbsMatrix");
  const char* op = "abs_matrix";
  setOutput(MatrixAbsID, addMatrix(mapped(
                                       MatrixID, [](double x) { return std::fabs(x); }, op),
                                   op));
}

void AbsMatrixMod(const HTuple& MatrixID) {
  ApiScope scope("AbsMatrixMod");
  const char* op = "abs_matrix_mod";
  storeMatrix(MatrixID,
              mapped(
                  MatrixID, [](double x) { return std::fabs(x); }, op),
              op, 1);
}

void SqrtMatrix(const HTuple& MatrixID, HTuple* MatrixSqrtID) {
  ApiScope scope("SqrtMatrix");
  const char* op = "sqrt_matrix";
  setOutput(MatrixSqrtID, addMatrix(mapped(
                                        MatrixID, [](double x) { return std::sqrt(x); }, op),
                                    op));
}

void SqrtMatrixMod(const HTuple& MatrixID) {
  ApiScope scope("SqrtMatrixMod");
  const char* op = "sqrt_matrix_mod";
  storeMatrix(MatrixID,
              mapped(
                  MatrixID, [](double x) { return std::sqrt(x); }, op),
              op, 1);
}

void MultMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, const HTuple& MultType,
                HTuple* MatrixMultID) {
  ApiScope scope("MultMatrix");
  const char* op = "mult_matrix";
  setOutput(MatrixMultID, addMatrix(multiplied(MatrixAID, MatrixBID, MultType, op), op));
}

void MultMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID, const HTuple& MultType) {
  ApiScope scope("MultMatrixMod");
  const char* op = "mult_matrix_mod";
  storeMatrix(MatrixAID, multiplied(MatrixAID, MatrixBID, MultType, op), op, 1);
}

void TransposeMatrix(const HTuple& MatrixID, HTuple* MatrixTransposedID) {
  ApiScope scope("TransposeMatrix");
  const char* op = "transpose_matrix";
  setOutput(MatrixTransposedID, addMatrix(transposed(matrixOf(MatrixID, op, 1), op), op));
}

void TransposeMatrixMod(const HTuple& MatrixID) {
  ApiScope scope("TransposeMatrixMod");
  const char* op = "transpose_matrix_mod";
  storeMatrix(MatrixID, transposed(matrixOf(MatrixID, op, 1), op), op, 1);
}

void MeanMatrix(const HTuple& MatrixID, const HTuple& MeanType, HTuple* MatrixMeanID) {
  ApiScope scope("MeanMatrix");
  setOutput(MatrixMeanID, reduced(MatrixID, MeanType, "mean_matrix", [](const auto& values) {
              return sumOf(values) / double(values.size());
            }));
}

void SumMatrix(const HTuple& MatrixID, const HTuple& SumType, HTuple* MatrixSumID) {
  ApiScope scope("SumMatrix");
  setOutput(MatrixSumID, reduced(MatrixID, SumType, "sum_matrix", sumOf));
}

void MaxMatrix(const HTuple& MatrixID, const HTuple& MaxType, HTuple* MatrixMaxID) {
  ApiScope scope("MaxMatrix");
  setOutput(MatrixMaxID, reduced(MatrixID, MaxType, "max_matrix", [](const auto& values) {
              return *std::max_element(values.begin(), values.end());
            }));
}

void MinMatrix(const HTuple& MatrixID, const HTuple& MinType, HTuple* MatrixMinID) {
  ApiScope scope("MinMatrix");
  setOutput(MatrixMinID, reduced(MatrixID, MinType, "min_matrix", [](const auto& values) {
              return *std::min_element(values.begin(), values.end());
            }));
}

void NormMatrix(const HTuple& MatrixID, const HTuple& NormType, HTuple* Value) {
  ApiScope scope("NormMatrix");
  const char* op = "norm_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const std::string type = oneString(NormType, op, 2);
  double norm = 0;
  if (type == "frobenius-norm") {
    for (const double x : m.v) norm += x * x;
    norm = std::sqrt(norm);
  } else if (type == "infinity-norm" || type == "1-norm") {
    // The largest absolute row sum ('infinity-norm') or column sum ('1-norm').
    const bool rows = type == "infinity-norm";
    const Matrix& walk = m;
    for (std::int32_t i = 0; i < (rows ? walk.rows : walk.cols); ++i) {
      double sum = 0;
      for (std::int32_t j = 0; j < (rows ? walk.cols : walk.rows); ++j) {
        sum += std::fabs(rows ? walk.at(i, j) : walk.at(j, i));
      }
      // A NaN element makes the norm NaN rather than being passed over.
      norm = std::isnan(norm) || std::isnan(sum) ? sum + norm : std::max(norm, sum);
    }
  } else if (type == "2-norm") {
    requireFinite(m, op, 1);
    Matrix u, v;
    std::vector<double> s;
    svd(m, false, &u, &s, &v, op);
    norm = s.front();
  } else {
    fail(op, 1302);
  }
  setOutput(Value, HTuple(norm));
}

}  // namespace HalconCpp
