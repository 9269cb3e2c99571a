// Eigenvalues, the SVD and the orthogonal decompositions of the HALCON 11.0 sections
// "Matrix / Eigenvalues" and "Matrix / Decomposition". Where the reference leaves a sign or an
// order open the stand-in takes LAPACK's (docs/standins.md, "Matrices"); an output the
// caller did not ask to compute is an empty tuple.
#include <algorithm>
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

bool flagOf(const HTuple& value, const char* op, int n) {
  const std::string flag = oneString(value, op, n);
  if (flag != "true" && flag != "false") fail(op, 1300 + n);
  return flag == "true";
}

Matrix columnOf(const std::vector<double>& values, const char* op) {
  Matrix m = newMatrix(std::int64_t(values.size()), 1, op);
  m.v = values;
  return m;
}

// The matrix with its rows and its columns in reverse order.
Matrix reversed(Matrix m) {
  std::reverse(m.v.begin(), m.v.end());
  return m;
}

// Solves L y = b (lower) for every column of b, in place.
void forwardSubstitute(const Matrix& l, Matrix* b) {
  for (std::int32_t c = 0; c < b->cols; ++c) {
    for (std::int32_t r = 0; r < l.rows; ++r) {
      double sum = b->at(r, c);
      for (std::int32_t k = 0; k < r; ++k) sum -= l.at(r, k) * b->at(k, c);
      b->at(r, c) = sum / l.at(r, r);
    }
  }
}

}  // namespace

void EigenvaluesSymmetricMatrix(const HTuple& MatrixID, const HTuple& ComputeEigenvectors,
                                HTuple* EigenvaluesID, HTuple* EigenvectorsID) {
  ApiScope scope("EigenvaluesSymmetricMatrix");
  const char* op = "eigenvalues_symmetric_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const bool vectorsToo = flagOf(ComputeEigenvectors, op, 2);
  requireSquare(m, op, 1);
  requireFinite(m, op, 1);
  std::vector<double> values;
  Matrix vectors;
  symmetricEigen(symmetricFrom(m, true), &values, &vectors, op);
  setOutput(EigenvaluesID, addMatrix(columnOf(values, op), op));
  setOutput(EigenvectorsID, vectorsToo ? addMatrix(std::move(vectors), op) : HTuple());
}

void GeneralizedEigenvaluesSymmetricMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                                           const HTuple& ComputeEigenvectors, HTuple* EigenvaluesID,
                                           HTuple* EigenvectorsID) {
  ApiScope scope("GeneralizedEigenvaluesSymmetricMatrix");
  const char* op = "generalized_eigenvalues_symmetric_matrix";
  const Matrix a = matrixOf(MatrixAID, op, 1), b = matrixOf(MatrixBID, op, 2);
  const bool vectorsToo = flagOf(ComputeEigenvectors, op, 3);
  requireSquare(a, op, 1);
  requireFinite(a, op, 1);
  requireSameSize(a, b, op, 2);
  requireFinite(b, op, 2);
  // A x = lambda B x with B = L L^T becomes C y = lambda y, C = L^-1 A L^-T and x = L^-T y,
  // so that x^T B x = 1 (LAPACK's dsygv normalization).
  Matrix l;
  if (!cholesky(symmetricFrom(b, true), &l, op)) fail(op, H_ERR_MATRIX_SING);
  Matrix c = symmetricFrom(a, true);
  forwardSubstitute(l, &c);
  c = transposed(c, op);
  forwardSubstitute(l, &c);
  std::vector<double> values;
  Matrix y;
  symmetricEigen(symmetricFrom(c, true), &values, &y, op);
  const std::int32_t n = a.rows;
  for (std::int32_t k = 0; k < n; ++k) {
    for (std::int32_t r = n - 1; r >= 0; --r) {
      double sum = y.at(r, k);
      for (std::int32_t i = r + 1; i < n; ++i) sum -= l.at(i, r) * y.at(i, k);
      y.at(r, k) = sum / l.at(r, r);
    }
    normalizeSign(y, k);
  }
  setOutput(EigenvaluesID, addMatrix(columnOf(values, op), op));
  setOutput(EigenvectorsID, vectorsToo ? addMatrix(std::move(y), op) : HTuple());
}

void SvdMatrix(const HTuple& MatrixID, const HTuple& SVDType, const HTuple& ComputeSingularVectors,
               HTuple* MatrixUID, HTuple* MatrixSID, HTuple* MatrixVID) {
  ApiScope scope("SvdMatrix");
  const char* op = "svd_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const std::string type = oneString(SVDType, op, 2);
  if (type != "full" && type != "reduced") fail(op, 1302);
  const std::string which = oneString(ComputeSingularVectors, op, 3);
  if (which != "both" && which != "left" && which != "right" && which != "none") fail(op, 1303);
  requireFinite(m, op, 1);
  Matrix u, v;
  std::vector<double> s;
  svd(m, type == "full", &u, &s, &v, op);
  const bool left = which == "both" || which == "left";
  const bool right = which == "both" || which == "right";
  setOutput(MatrixUID, left ? addMatrix(std::move(u), op) : HTuple());
  setOutput(MatrixSID, addMatrix(columnOf(s, op), op));
  setOutput(MatrixVID, right ? addMatrix(std::move(v), op) : HTuple());
}

void OrthogonalDecomposeMatrix(const HTuple& MatrixID, const HTuple& DecompositionType,
                               const HTuple& OutputMatricesType, const HTuple& ComputeOrthogonal,
                               HTuple* MatrixOrthogonalID, HTuple* MatrixTriangularID) {
  ApiScope scope("OrthogonalDecomposeMatrix");
  const char* op = "orthogonal_decompose_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const std::string type = oneString(DecompositionType, op, 2);
  if (type != "qr" && type != "ql" && type != "lq" && type != "rq") fail(op, 1302);
  const std::string output = oneString(OutputMatricesType, op, 3);
  if (output != "full" && output != "reduced") fail(op, 1303);
  const bool orthogonalToo = flagOf(ComputeOrthogonal, op, 4);
  requireFinite(m, op, 1);
  const bool reduced = output == "reduced";
  Matrix q, t;
  if (type == "qr") {
    qr(m, reduced, &q, &t, op);
  } else if (type == "ql") {
    // Reversing rows and columns turns a QR of the reversed matrix into a QL.
    qr(reversed(m), reduced, &q, &t, op);
    q = reversed(std::move(q));
    t = reversed(std::move(t));
  } else {
    // a^T = Q R gives a = R^T Q^T (LQ); of the reversed matrix, an RQ.
    const Matrix start = type == "lq" ? m : reversed(m);
    qr(transposed(start, op), reduced, &q, &t, op);
    q = transposed(q, op);
    t = transposed(t, op);
    if (type == "rq") {
      q = reversed(std::move(q));
      t = reversed(std::move(t));
    }
  }
  setOutput(MatrixOrthogonalID, orthogonalToo ? addMatrix(std::move(q), op) : HTuple());
  setOutput(MatrixTriangularID, addMatrix(std::move(t), op));
}

}  // namespace HalconCpp
