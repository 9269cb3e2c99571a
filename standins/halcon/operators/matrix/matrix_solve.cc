// Inversion, linear systems, determinants, powers and the LU and Cholesky decompositions of
// the HALCON 11.0 sections "Matrix / Arithmetic" and "Matrix / Decomposition". A symmetric
// or positive definite matrix is read from its upper triangle, a triangular one from its
// triangle, a tridiagonal one from its three middle diagonals (docs/standins.md, "Matrices").
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "operators/matrix/matrix_linalg.h"
#include "operators/matrix/matrix_store.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum class Kind { General, Symmetric, PositiveDefinite, Tridiagonal, Upper, Lower, Permuted };

Kind kindOf(const HTuple& value, const char* op, int n, bool permuted) {
  const std::string type = oneString(value, op, n);
  if (type == "general") return Kind::General;
  if (type == "symmetric") return Kind::Symmetric;
  if (type == "positive_definite") return Kind::PositiveDefinite;
  if (type == "tridiagonal") return Kind::Tridiagonal;
  if (type == "upper_triangular") return Kind::Upper;
  if (type == "lower_triangular") return Kind::Lower;
  if (permuted && (type == "permuted_upper_triangular" || type == "permuted_lower_triangular")) {
    return Kind::Permuted;
  }
  fail(op, 1300 + n);
}

// The matrix the type says the elements stand for.
Matrix effective(const Matrix& m, Kind kind) {
  switch (kind) {
    case Kind::Symmetric:
    case Kind::PositiveDefinite:
      return symmetricFrom(m, true);
    case Kind::Tridiagonal:
      return tridiagonalOf(m);
    case Kind::Upper:
      return triangleOf(m, true);
    case Kind::Lower:
      return triangleOf(m, false);
    case Kind::General:
    case Kind::Permuted:
      break;
  }
  return m;
}

double epsilonOf(const HTuple& value, const char* op, int n) {
  const double eps = oneNumber(value, op, n);
  if (!(eps >= 0) || !std::isfinite(eps)) fail(op, 1300 + n);
  return eps;
}

// The pseudo inverse V S+ U^T, singular values below eps times the largest taken as zero.
Matrix pseudoInverse(const Matrix& a, double eps, const char* op) {
  requireFinite(a, op, 1);
  Matrix u, v;
  std::vector<double> s;
  svd(a, false, &u, &s, &v, op);
  const double cut = eps * s.front();
  Matrix out = newMatrix(a.cols, a.rows, op);
  for (std::size_t k = 0; k < s.size(); ++k) {
    if (!(s[k] > cut) || s[k] == 0) continue;
    const auto kk = static_cast<std::int32_t>(k);
    for (std::int32_t r = 0; r < out.rows; ++r) {
      const double f = v.at(r, kk) / s[k];
      for (std::int32_t c = 0; c < out.cols; ++c) out.at(r, c) += f * u.at(c, kk);
    }
  }
  return out;
}

// The factorization of a square matrix of the kind; 9205 when it is singular (or, for
// 'positive_definite', not positive definite).
LU factorized(const Matrix& m, Kind kind, const char* op) {
  const Matrix a = effective(m, kind);
  Matrix l;
  if (kind == Kind::PositiveDefinite && !cholesky(a, &l, op)) fail(op, H_ERR_MATRIX_SING);
  LU f;
  if (!luDecompose(a, &f)) fail(op, H_ERR_MATRIX_SING);
  return f;
}

Matrix inverted(const HTuple& handle, const HTuple& type, const HTuple& epsilon, const char* op) {
  const Matrix m = matrixOf(handle, op, 1);
  const Kind kind = kindOf(type, op, 2, true);
  const double eps = epsilonOf(epsilon, op, 3);
  if (eps > 0) {
    if (kind != Kind::General) fail(op, 1302);
    return pseudoInverse(m, eps, op);
  }
  requireSquare(m, op, 1);
  return luSolve(factorized(m, kind, op), identity(m.rows, op), op);
}

Matrix powered(const HTuple& handle, const HTuple& type, const HTuple& power, const char* op) {
  const Matrix m = matrixOf(handle, op, 1);
  const std::string kind = oneString(type, op, 2);
  if (kind != "general" && kind != "symmetric") fail(op, 1302);
  const double p = oneNumber(power, op, 3);
  if (!std::isfinite(p)) fail(op, 1303);
  requireSquare(m, op, 1);
  if (kind == "symmetric") {
    // V diag(lambda^p) V^T of the eigen-decomposition.
    const Matrix a = symmetricFrom(m, true);
    requireFinite(a, op, 1);
    std::vector<double> values;
    Matrix vectors;
    symmetricEigen(a, &values, &vectors, op);
    Matrix out = newMatrix(m.rows, m.cols, op);
    for (std::int32_t k = 0; k < m.rows; ++k) {
      const double f = std::pow(values[std::size_t(k)], p);
      for (std::int32_t r = 0; r < m.rows; ++r) {
        for (std::int32_t c = 0; c < m.cols; ++c) {
          out.at(r, c) += f * vectors.at(r, k) * vectors.at(c, k);
        }
      }
    }
    return out;
  }
  // A general matrix takes whole powers only, a negative one through the inverse.
  if (p != std::floor(p) || std::fabs(p) > double(std::numeric_limits<std::int32_t>::max())) {
    fail(op, 1303);
  }
  Matrix base = p < 0 ? luSolve(factorized(m, Kind::General, op), identity(m.rows, op), op) : m;
  auto e = static_cast<std::uint32_t>(std::fabs(p));
  Matrix out = identity(m.rows, op);
  while (e > 0) {
    if (e & 1U) out = product(out, base, op);
    e >>= 1U;
    if (e > 0) base = product(base, base, op);
  }
  return out;
}

}  // namespace

void InvertMatrix(const HTuple& MatrixID, const HTuple& MatrixType, const HTuple& Epsilon,
                  HTuple* MatrixInvID) {
  ApiScope scope("InvertMatrix");
  const char* op = "invert_matrix";
  setOutput(MatrixInvID, addMatrix(inverted(MatrixID, MatrixType, Epsilon, op), op));
}

void InvertMatrixMod(const HTuple& MatrixID, const HTuple& MatrixType, const HTuple& Epsilon) {
  ApiScope scope("InvertMatrixMod");
  const char* op = "invert_matrix_mod";
  storeMatrix(MatrixID, inverted(MatrixID, MatrixType, Epsilon, op), op, 1);
}

void SolveMatrix(const HTuple& MatrixLHSID, const HTuple& MatrixLHSType, const HTuple& Epsilon,
                 const HTuple& MatrixRHSID, HTuple* MatrixResultID) {
  ApiScope scope("SolveMatrix");
  const char* op = "solve_matrix";
  const Matrix a = matrixOf(MatrixLHSID, op, 1);
  const Kind kind = kindOf(MatrixLHSType, op, 2, true);
  const double eps = epsilonOf(Epsilon, op, 3);
  const Matrix b = matrixOf(MatrixRHSID, op, 4);
  if (b.rows != a.rows) fail(op, 1304);
  Matrix x;
  if (eps > 0 || !a.square()) {
    // Least squares through the pseudo inverse; a non-square system is a general one.
    if (kind != Kind::General) fail(op, 1302);
    x = product(pseudoInverse(a, eps > 0 ? eps : std::numeric_limits<double>::epsilon(), op), b,
                op);
  } else {
    x = luSolve(factorized(a, kind, op), b, op);
  }
  setOutput(MatrixResultID, addMatrix(std::move(x), op));
}

void DeterminantMatrix(const HTuple& MatrixID, const HTuple& MatrixType, HTuple* Value) {
  ApiScope scope("DeterminantMatrix");
  const char* op = "determinant_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const Kind kind = kindOf(MatrixType, op, 2, false);
  requireSquare(m, op, 1);
  LU f;
  double det = 0;
  if (luDecompose(effective(m, kind), &f)) {
    det = f.sign;
    for (std::int32_t i = 0; i < m.rows; ++i) det *= f.lu.at(i, i);
  }
  setOutput(Value, HTuple(det));
}

void PowMatrix(const HTuple& MatrixID, const HTuple& MatrixType, const HTuple& Power,
               HTuple* MatrixPowID) {
  ApiScope scope("PowMatrix");
  const char* op = "pow_matrix";
  setOutput(MatrixPowID, addMatrix(powered(MatrixID, MatrixType, Power, op), op));
}

void PowMatrixMod(const HTuple& MatrixID, const HTuple& MatrixType, const HTuple& Power) {
  ApiScope scope("PowMatrixMod");
  const char* op = "pow_matrix_mod";
  storeMatrix(MatrixID, powered(MatrixID, MatrixType, Power, op), op, 1);
}

void DecomposeMatrix(const HTuple& MatrixID, const HTuple& MatrixType, HTuple* Matrix1ID,
                     HTuple* Matrix2ID) {
  ApiScope scope("DecomposeMatrix");
  const char* op = "decompose_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const Kind kind = kindOf(MatrixType, op, 2, false);
  if (kind == Kind::Upper || kind == Kind::Lower) fail(op, 1302);
  requireSquare(m, op, 1);
  const Matrix a = effective(m, kind);
  Matrix first, second;
  if (kind == Kind::PositiveDefinite) {
    // a = L L^T.
    if (!cholesky(a, &first, op)) fail(op, H_ERR_MATRIX_SING);
    second = transposed(first, op);
  } else {
    // a = (P^T L) U: the first factor is the unit lower one with its rows permuted back.
    LU f;
    if (!luDecompose(a, &f)) fail(op, H_ERR_MATRIX_SING);
    first = newMatrix(m.rows, m.cols, op);
    second = newMatrix(m.rows, m.cols, op);
    for (std::int32_t r = 0; r < m.rows; ++r) {
      for (std::int32_t c = 0; c < m.cols; ++c) {
        const double x = f.lu.at(r, c);
        if (c >= r) second.at(r, c) = x;
        first.at(f.perm[std::size_t(r)], c) = c < r ? x : (c == r ? 1 : 0);
      }
    }
  }
  setOutput(Matrix1ID, addMatrix(std::move(first), op));
  setOutput(Matrix2ID, addMatrix(std::move(second), op));
}

}  // namespace HalconCpp
