// The factorizations behind the matrix operators, on finite input: LU with partial pivoting,
// Cholesky, the cyclic Jacobi method for symmetric eigenproblems, one-sided Jacobi for the SVD
// and Householder QR. The iterative ones stop after a fixed number of sweeps.
#ifndef QUORVEX_STANDINS_HALCON_MATRIX_LINALG_H
#define QUORVEX_STANDINS_HALCON_MATRIX_LINALG_H

#include <cstdint>
#include <vector>

#include "operators/matrix/matrix_store.h"

namespace HalconCpp {
namespace Standin {

// The square matrix a = P^T L U: L unit lower and U upper, both stored in `lu`; row i of L U
// is row perm[i] of a. False when a pivot is exactly zero.
struct LU {
  Matrix lu;
  std::vector<std::int32_t> perm;
  int sign = 1;
};
bool luDecompose(const Matrix& a, LU* out);
// X with a X = b for the factorization of a.
Matrix luSolve(const LU& f, const Matrix& b, const char* op);

// Lower L with a = L L^T for a symmetric a; false unless a is positive definite.
bool cholesky(const Matrix& a, Matrix* l, const char* op);

void negateColumn(Matrix& m, std::int32_t col);
// Negates the column when its largest component (the first of near-equal ones) is negative.
void normalizeSign(Matrix& m, std::int32_t col);

// The matrix that copies a's upper triangle to its lower one (or the lower to the upper).
Matrix symmetricFrom(const Matrix& a, bool upper);
// Only the triangle (upper or lower) or the three middle diagonals of a, zeros elsewhere.
Matrix triangleOf(const Matrix& a, bool upper);
Matrix tridiagonalOf(const Matrix& a);

// Eigenvalues of a symmetric matrix in ascending order, the eigenvectors as the columns of
// `vectors`, each with its largest component (by magnitude, the first of equals) positive.
void symmetricEigen(const Matrix& a, std::vector<double>* values, Matrix* vectors, const char* op);

// a = U diag(s) V^T with s descending, U m x k and V n x k for k = min(m, n); each column of V
// has its largest component positive. `full` extends U to m x m and V to n x n.
void svd(const Matrix& a, bool full, Matrix* u, std::vector<double>* s, Matrix* v, const char* op);

// a = Q R, Q m x m orthogonal and R m x n upper trapezoidal with a non-negative diagonal;
// `reduced` (m >= n) gives Q m x n and R n x n.
void qr(const Matrix& a, bool reduced, Matrix* q, Matrix* r, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
