// eigenvalues_general_matrix and generalized_eigenvalues_general_matrix (HALCON 11.0 section
// "Matrix / Eigenvalues"): the eigenvalues from the Hessenberg form by the shifted double QR
// step, each eigenvector as the null vector of A - lambda I by complete pivoting. The order
// and the scaling of the vectors are the stand-in's (docs/standins.md, "Matrices").
#include <algorithm>
#include <cmath>
#include <complex>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsMatrix.h"
#include "operators/matrix/matrix_linalg.h"
#include "operators/matrix/matrix_store.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

using Complex = std::complex<double>;

// Reduces a to upper Hessenberg form by stabilized elementary similarity transformations.
void toHessenberg(Matrix& a) {
  const std::int32_t n = a.rows;
  for (std::int32_t m = 1; m + 1 < n; ++m) {
    double x = 0;
    std::int32_t pivot = m;
    for (std::int32_t j = m; j < n; ++j) {
      if (std::fabs(a.at(j, m - 1)) > std::fabs(x)) {
        x = a.at(j, m - 1);
        pivot = j;
      }
    }
    if (pivot != m) {
      for (std::int32_t j = m - 1; j < n; ++j) std::swap(a.at(pivot, j), a.at(m, j));
      for (std::int32_t j = 0; j < n; ++j) std::swap(a.at(j, pivot), a.at(j, m));
    }
    if (x == 0) continue;
    for (std::int32_t i = m + 1; i < n; ++i) {
      const double y = a.at(i, m - 1) / x;
      if (y == 0) continue;
      a.at(i, m - 1) = 0;
      for (std::int32_t j = m; j < n; ++j) a.at(i, j) -= y * a.at(m, j);
      for (std::int32_t j = 0; j < n; ++j) a.at(j, m) += y * a.at(j, i);
    }
  }
}

// The eigenvalues of an upper Hessenberg matrix; false when a root needs more than 30 steps.
bool hessenbergRoots(Matrix& a, std::vector<Complex>* roots) {
  const std::int32_t n = a.rows;
  roots->assign(static_cast<std::size_t>(n), Complex());
  double norm = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = std::max(i - 1, 0); j < n; ++j) norm += std::fabs(a.at(i, j));
  }
  std::int32_t nn = n - 1;
  double t = 0;
  while (nn >= 0) {
    for (int its = 0;; ++its) {
      std::int32_t l = nn;
      for (; l >= 1; --l) {
        double s = std::fabs(a.at(l - 1, l - 1)) + std::fabs(a.at(l, l));
        if (s == 0) s = norm;
        if (std::fabs(a.at(l, l - 1)) + s == s) {
          a.at(l, l - 1) = 0;
          break;
        }
      }
      double x = a.at(nn, nn);
      if (l == nn) {
        (*roots)[std::size_t(nn)] = x + t;
        --nn;
        break;
      }
      double y = a.at(nn - 1, nn - 1);
      double w = a.at(nn, nn - 1) * a.at(nn - 1, nn);
      if (l == nn - 1) {
        const double p = 0.5 * (y - x), q = p * p + w;
        double z = std::sqrt(std::fabs(q));
        x += t;
        if (q >= 0) {
          z = p + (p >= 0 ? z : -z);
          (*roots)[std::size_t(nn - 1)] = x + z;
          (*roots)[std::size_t(nn)] = z != 0 ? x - w / z : x + z;
        } else {
          (*roots)[std::size_t(nn - 1)] = Complex(x + p, z);
          (*roots)[std::size_t(nn)] = Complex(x + p, -z);
        }
        nn -= 2;
        break;
      }
      if (its == 30) return false;
      if (its == 10 || its == 20) {
        // An exceptional shift breaks a cycle.
        t += x;
        for (std::int32_t i = 0; i <= nn; ++i) a.at(i, i) -= x;
        const double s = std::fabs(a.at(nn, nn - 1)) + std::fabs(a.at(nn - 1, nn - 2));
        y = x = 0.75 * s;
        w = -0.4375 * s * s;
      }
      std::int32_t m = nn - 2;
      double p = 0, q = 0, r = 0, z = 0;
      for (; m >= l; --m) {
        z = a.at(m, m);
        r = x - z;
        double s = y - z;
        p = (r * s - w) / a.at(m + 1, m) + a.at(m, m + 1);
        q = a.at(m + 1, m + 1) - z - r - s;
        r = a.at(m + 2, m + 1);
        s = std::fabs(p) + std::fabs(q) + std::fabs(r);
        p /= s;
        q /= s;
        r /= s;
        if (m == l) break;
        const double u = std::fabs(a.at(m, m - 1)) * (std::fabs(q) + std::fabs(r));
        const double v = std::fabs(p) * (std::fabs(a.at(m - 1, m - 1)) + std::fabs(z) +
                                         std::fabs(a.at(m + 1, m + 1)));
        if (u + v == v) break;
      }
      for (std::int32_t i = m + 2; i <= nn; ++i) {
        a.at(i, i - 2) = 0;
        if (i != m + 2) a.at(i, i - 3) = 0;
      }
      for (std::int32_t k = m; k <= nn - 1; ++k) {
        if (k != m) {
          p = a.at(k, k - 1);
          q = a.at(k + 1, k - 1);
          r = k != nn - 1 ? a.at(k + 2, k - 1) : 0;
          x = std::fabs(p) + std::fabs(q) + std::fabs(r);
          if (x != 0) {
            p /= x;
            q /= x;
            r /= x;
          }
        }
        double s = std::sqrt(p * p + q * q + r * r);
        if (p < 0) s = -s;
        if (s == 0) continue;
        if (k == m) {
          if (l != m) a.at(k, k - 1) = -a.at(k, k - 1);
        } else {
          a.at(k, k - 1) = -s * x;
        }
        p += s;
        x = p / s;
        y = q / s;
        z = r / s;
        q /= p;
        r /= p;
        for (std::int32_t j = k; j <= nn; ++j) {
          p = a.at(k, j) + q * a.at(k + 1, j);
          if (k != nn - 1) {
            p += r * a.at(k + 2, j);
            a.at(k + 2, j) -= p * z;
          }
          a.at(k + 1, j) -= p * y;
          a.at(k, j) -= p * x;
        }
        const std::int32_t last = std::min(nn, k + 3);
        for (std::int32_t i = l; i <= last; ++i) {
          p = x * a.at(i, k) + y * a.at(i, k + 1);
          if (k != nn - 1) {
            p += z * a.at(i, k + 2);
            a.at(i, k + 2) -= p * r;
          }
          a.at(i, k + 1) -= p * q;
          a.at(i, k) -= p;
        }
      }
    }
  }
  return true;
}

// A unit null vector of a - lambda I, its largest component (the first of near-equal ones)
// real and positive.
std::vector<Complex> nullVector(const Matrix& a, Complex lambda) {
  const std::int32_t n = a.rows;
  std::vector<std::vector<Complex>> b(static_cast<std::size_t>(n));
  for (std::int32_t r = 0; r < n; ++r) {
    for (std::int32_t c = 0; c < n; ++c) b[std::size_t(r)].push_back(a.at(r, c));
    b[std::size_t(r)][std::size_t(r)] -= lambda;
  }
  std::vector<std::size_t> cols(static_cast<std::size_t>(n));
  std::iota(cols.begin(), cols.end(), std::size_t{0});
  const auto un = static_cast<std::size_t>(n);
  for (std::size_t k = 0; k < un; ++k) {
    std::size_t pr = k, pc = k;
    for (std::size_t i = k; i < un; ++i) {
      for (std::size_t j = k; j < un; ++j) {
        if (std::abs(b[i][j]) > std::abs(b[pr][pc])) {
          pr = i;
          pc = j;
        }
      }
    }
    std::swap(b[k], b[pr]);
    for (auto& row : b) std::swap(row[k], row[pc]);
    std::swap(cols[k], cols[pc]);
    if (b[k][k] == Complex()) break;
    for (std::size_t i = k + 1; i < un; ++i) {
      const Complex f = b[i][k] / b[k][k];
      for (std::size_t j = k; j < un; ++j) b[i][j] -= f * b[k][j];
    }
  }
  // The last pivot stands for the rank lost at the eigenvalue: its unknown is 1.
  std::vector<Complex> y(un);
  y[un - 1] = 1;
  for (std::size_t k = un - 1; k-- > 0;) {
    Complex sum = 0;
    for (std::size_t j = k + 1; j < un; ++j) sum -= b[k][j] * y[j];
    y[k] = b[k][k] == Complex() ? Complex() : sum / b[k][k];
  }
  std::vector<Complex> x(un);
  double norm = 0;
  for (std::size_t k = 0; k < un; ++k) {
    x[cols[k]] = y[k];
    norm += std::norm(y[k]);
  }
  norm = std::sqrt(norm);
  double most = 0;
  for (const Complex& v : x) most = std::max(most, std::abs(v));
  Complex phase = 1;
  for (const Complex& v : x) {
    if (std::abs(v) >= most * (1 - 1e-9)) {
      phase = std::conj(v) / std::abs(v);
      break;
    }
  }
  for (Complex& v : x) v = v * phase / norm;
  return x;
}

void eigenOf(const Matrix& a, bool vectorsToo, const char* op, HTuple* valuesRe, HTuple* valuesIm,
             HTuple* vectorsRe, HTuple* vectorsIm) {
  Matrix h = a;
  toHessenberg(h);
  std::vector<Complex> roots;
  if (!hessenbergRoots(h, &roots)) fail(op, H_ERR_MATRIX_SING);
  // Ascending real parts; of a conjugate pair the positive imaginary part first.
  std::stable_sort(roots.begin(), roots.end(), [](const Complex& x, const Complex& y) {
    return x.real() != y.real() ? x.real() < y.real() : x.imag() > y.imag();
  });
  const std::int32_t n = a.rows;
  Matrix re = newMatrix(n, 1, op), im = newMatrix(n, 1, op);
  Matrix vre = newMatrix(n, n, op), vim = newMatrix(n, n, op);
  for (std::int32_t k = 0; k < n; ++k) {
    re.at(k, 0) = roots[std::size_t(k)].real();
    im.at(k, 0) = roots[std::size_t(k)].imag();
    if (!vectorsToo) continue;
    const std::vector<Complex> x = nullVector(a, roots[std::size_t(k)]);
    for (std::int32_t r = 0; r < n; ++r) {
      vre.at(r, k) = x[std::size_t(r)].real();
      vim.at(r, k) = x[std::size_t(r)].imag();
    }
  }
  setOutput(valuesRe, addMatrix(std::move(re), op));
  setOutput(valuesIm, addMatrix(std::move(im), op));
  setOutput(vectorsRe, vectorsToo ? addMatrix(std::move(vre), op) : HTuple());
  setOutput(vectorsIm, vectorsToo ? addMatrix(std::move(vim), op) : HTuple());
}

bool flagOf(const HTuple& value, const char* op, int n) {
  const std::string flag = oneString(value, op, n);
  if (flag != "true" && flag != "false") fail(op, 1300 + n);
  return flag == "true";
}

}  // namespace

void EigenvaluesGeneralMatrix(const HTuple& MatrixID, const HTuple& ComputeEigenvectors,
                              HTuple* EigenvaluesRealID, HTuple* EigenvaluesImagID,
                              HTuple* EigenvectorsRealID, HTuple* EigenvectorsImagID) {
  ApiScope scope("EigenvaluesGeneralMatrix");
  const char* op = "eigenvalues_general_matrix";
  const Matrix m = matrixOf(MatrixID, op, 1);
  const bool vectorsToo = flagOf(ComputeEigenvectors, op, 2);
  requireSquare(m, op, 1);
  requireFinite(m, op, 1);
  eigenOf(m, vectorsToo, op, EigenvaluesRealID, EigenvaluesImagID, EigenvectorsRealID,
          EigenvectorsImagID);
}

void GeneralizedEigenvaluesGeneralMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                                         const HTuple& ComputeEigenvectors,
                                         HTuple* EigenvaluesRealID, HTuple* EigenvaluesImagID,
                                         HTuple* EigenvectorsRealID, HTuple* EigenvectorsImagID) {
  ApiScope scope("GeneralizedEigenvaluesGeneralMatrix");
  const char* op = "generalized_eigenvalues_general_matrix";
  const Matrix a = matrixOf(MatrixAID, op, 1), b = matrixOf(MatrixBID, op, 2);
  const bool vectorsToo = flagOf(ComputeEigenvectors, op, 3);
  requireSquare(a, op, 1);
  requireFinite(a, op, 1);
  requireSameSize(a, b, op, 2);
  requireFinite(b, op, 2);
  // A x = lambda B x is B^-1 A x = lambda x for an invertible B; a singular B (infinite
  // eigenvalues) is refused.
  LU f;
  if (!luDecompose(b, &f)) fail(op, H_ERR_MATRIX_SING);
  eigenOf(luSolve(f, a, op), vectorsToo, op, EigenvaluesRealID, EigenvaluesImagID,
          EigenvectorsRealID, EigenvectorsImagID);
}

}  // namespace HalconCpp
