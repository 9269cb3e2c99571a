// Dense factorizations written for small matrices (the sizes HDevelop programs keep in
// matrices: poses, fits, covariances); every loop is bounded by the size or a sweep count.
#include "operators/matrix/matrix_linalg.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace HalconCpp {
namespace Standin {

namespace {

constexpr int kMaxSweeps = 100;
constexpr double kEps = std::numeric_limits<double>::epsilon();

// Whether the column's largest component is negative; components within a relative 1e-9 of
// the largest magnitude count as equals, of which the first decides, so that rounding in the
// last bits never flips a vector.
bool largestNegative(const Matrix& m, std::int32_t col) {
  double most = 0;
  for (std::int32_t r = 0; r < m.rows; ++r) most = std::max(most, std::fabs(m.at(r, col)));
  for (std::int32_t r = 0; r < m.rows; ++r) {
    if (most > 0 && std::fabs(m.at(r, col)) >= most * (1 - 1e-9)) return m.at(r, col) < 0;
  }
  return false;
}

double columnDot(const Matrix& a, std::int32_t p, const Matrix& b, std::int32_t q) {
  double sum = 0;
  for (std::int32_t r = 0; r < a.rows; ++r) sum += a.at(r, p) * b.at(r, q);
  return sum;
}

// Rotates columns p and q of m by (c, s): p' = c p - s q, q' = s p + c q.
void rotateColumns(Matrix& m, std::int32_t p, std::int32_t q, double c, double s) {
  for (std::int32_t k = 0; k < m.rows; ++k) {
    const double mp = m.at(k, p), mq = m.at(k, q);
    m.at(k, p) = c * mp - s * mq;
    m.at(k, q) = s * mp + c * mq;
  }
}

// The tangent of the Jacobi rotation for the ratio zeta, the smaller of the two roots.
double jacobiTangent(double zeta) {
  const double t = 1 / (std::fabs(zeta) + std::sqrt(1 + zeta * zeta));
  return zeta < 0 ? -t : t;
}

// Makes columns [from, m.cols) of m unit vectors orthogonal to all earlier ones (and to each
// other), where `need[j]` says so, from the unit vectors in turn.
void completeColumns(Matrix& m, const std::vector<bool>& need) {
  std::int32_t unit = 0;
  for (std::int32_t j = 0; j < m.cols; ++j) {
    if (!need[std::size_t(j)]) continue;
    for (; unit < m.rows; ++unit) {
      for (std::int32_t r = 0; r < m.rows; ++r) m.at(r, j) = r == unit ? 1 : 0;
      for (int pass = 0; pass < 2; ++pass) {
        for (std::int32_t k = 0; k < m.cols; ++k) {
          if (k == j || (need[std::size_t(k)] && k > j)) continue;
          const double d = columnDot(m, k, m, j);
          for (std::int32_t r = 0; r < m.rows; ++r) m.at(r, j) -= d * m.at(r, k);
        }
      }
      const double norm = std::sqrt(columnDot(m, j, m, j));
      if (norm > 0.5) {
        for (std::int32_t r = 0; r < m.rows; ++r) m.at(r, j) /= norm;
        ++unit;
        break;
      }
    }
  }
}

// One-sided Jacobi on a with rows >= cols: u holds a V, v the rotations.
void jacobiSvdTall(const Matrix& a, Matrix* u, std::vector<double>* s, Matrix* v, const char* op) {
  const std::int32_t n = a.cols;
  *u = a;
  *v = identity(n, op);
  for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
    bool rotated = false;
    for (std::int32_t p = 0; p + 1 < n; ++p) {
      for (std::int32_t q = p + 1; q < n; ++q) {
        const double alpha = columnDot(*u, p, *u, p), beta = columnDot(*u, q, *u, q);
        const double gamma = columnDot(*u, p, *u, q);
        if (gamma == 0 || std::fabs(gamma) <= kEps * std::sqrt(alpha * beta)) continue;
        rotated = true;
        const double t = jacobiTangent((beta - alpha) / (2 * gamma));
        const double c = 1 / std::sqrt(1 + t * t);
        rotateColumns(*u, p, q, c, c * t);
        rotateColumns(*v, p, q, c, c * t);
      }
    }
    if (!rotated) break;
  }
  s->assign(std::size_t(n), 0);
  for (std::int32_t j = 0; j < n; ++j) (*s)[std::size_t(j)] = std::sqrt(columnDot(*u, j, *u, j));
}

}  // namespace

void negateColumn(Matrix& m, std::int32_t col) {
  for (std::int32_t r = 0; r < m.rows; ++r) m.at(r, col) = -m.at(r, col);
}

void normalizeSign(Matrix& m, std::int32_t col) {
  if (largestNegative(m, col)) negateColumn(m, col);
}

bool luDecompose(const Matrix& a, LU* out) {
  const std::int32_t n = a.rows;
  out->lu = a;
  out->perm.resize(std::size_t(n));
  std::iota(out->perm.begin(), out->perm.end(), 0);
  out->sign = 1;
  Matrix& m = out->lu;
  for (std::int32_t k = 0; k < n; ++k) {
    std::int32_t pivot = k;
    for (std::int32_t r = k + 1; r < n; ++r) {
      if (std::fabs(m.at(r, k)) > std::fabs(m.at(pivot, k))) pivot = r;
    }
    if (!(m.at(pivot, k) != 0)) return false;
    if (pivot != k) {
      for (std::int32_t c = 0; c < n; ++c) std::swap(m.at(k, c), m.at(pivot, c));
      std::swap(out->perm[std::size_t(k)], out->perm[std::size_t(pivot)]);
      out->sign = -out->sign;
    }
    for (std::int32_t r = k + 1; r < n; ++r) {
      const double f = m.at(r, k) / m.at(k, k);
      m.at(r, k) = f;
      for (std::int32_t c = k + 1; c < n; ++c) m.at(r, c) -= f * m.at(k, c);
    }
  }
  return true;
}

Matrix luSolve(const LU& f, const Matrix& b, const char* op) {
  const std::int32_t n = f.lu.rows;
  Matrix x = newMatrix(n, b.cols, op);
  for (std::int32_t c = 0; c < b.cols; ++c) {
    for (std::int32_t r = 0; r < n; ++r) {
      double sum = b.at(f.perm[std::size_t(r)], c);
      for (std::int32_t k = 0; k < r; ++k) sum -= f.lu.at(r, k) * x.at(k, c);
      x.at(r, c) = sum;
    }
    for (std::int32_t r = n - 1; r >= 0; --r) {
      double sum = x.at(r, c);
      for (std::int32_t k = r + 1; k < n; ++k) sum -= f.lu.at(r, k) * x.at(k, c);
      x.at(r, c) = sum / f.lu.at(r, r);
    }
  }
  return x;
}

bool cholesky(const Matrix& a, Matrix* l, const char* op) {
  const std::int32_t n = a.rows;
  *l = newMatrix(n, n, op);
  for (std::int32_t j = 0; j < n; ++j) {
    double d = a.at(j, j);
    for (std::int32_t k = 0; k < j; ++k) d -= l->at(j, k) * l->at(j, k);
    if (!(d > 0)) return false;
    l->at(j, j) = std::sqrt(d);
    for (std::int32_t i = j + 1; i < n; ++i) {
      double sum = a.at(i, j);
      for (std::int32_t k = 0; k < j; ++k) sum -= l->at(i, k) * l->at(j, k);
      l->at(i, j) = sum / l->at(j, j);
    }
  }
  return true;
}

Matrix symmetricFrom(const Matrix& a, bool upper) {
  Matrix s = a;
  for (std::int32_t r = 0; r < a.rows; ++r) {
    for (std::int32_t c = r + 1; c < a.cols; ++c) {
      if (upper) {
        s.at(c, r) = a.at(r, c);
      } else {
        s.at(r, c) = a.at(c, r);
      }
    }
  }
  return s;
}

Matrix triangleOf(const Matrix& a, bool upper) {
  Matrix t = a;
  for (std::int32_t r = 0; r < a.rows; ++r) {
    for (std::int32_t c = 0; c < a.cols; ++c) {
      if (upper ? c < r : c > r) t.at(r, c) = 0;
    }
  }
  return t;
}

Matrix tridiagonalOf(const Matrix& a) {
  Matrix t = a;
  for (std::int32_t r = 0; r < a.rows; ++r) {
    for (std::int32_t c = 0; c < a.cols; ++c) {
      if (c < r - 1 || c > r + 1) t.at(r, c) = 0;
    }
  }
  return t;
}

void symmetricEigen(const Matrix& input, std::vector<double>* values, Matrix* vectors,
                    const char* op) {
  const std::int32_t n = input.rows;
  Matrix a = input;
  Matrix v = identity(n, op);
  for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
    double off = 0, all = 0;
    for (std::int32_t p = 0; p < n; ++p) {
      for (std::int32_t q = 0; q < n; ++q) {
        all += a.at(p, q) * a.at(p, q);
        if (p != q) off += a.at(p, q) * a.at(p, q);
      }
    }
    if (off <= kEps * kEps * all) break;
    for (std::int32_t p = 0; p + 1 < n; ++p) {
      for (std::int32_t q = p + 1; q < n; ++q) {
        const double apq = a.at(p, q);
        if (apq == 0) continue;
        const double t = jacobiTangent((a.at(q, q) - a.at(p, p)) / (2 * apq));
        const double c = 1 / std::sqrt(1 + t * t), s = c * t;
        rotateColumns(a, p, q, c, s);
        for (std::int32_t k = 0; k < n; ++k) {
          const double ap = a.at(p, k), aq = a.at(q, k);
          a.at(p, k) = c * ap - s * aq;
          a.at(q, k) = s * ap + c * aq;
        }
        a.at(p, q) = a.at(q, p) = 0;
        rotateColumns(v, p, q, c, s);
      }
    }
  }
  std::vector<std::int32_t> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&a](std::int32_t i, std::int32_t j) { return a.at(i, i) < a.at(j, j); });
  values->clear();
  *vectors = newMatrix(n, n, op);
  for (std::int32_t j = 0; j < n; ++j) {
    const std::int32_t from = order[std::size_t(j)];
    values->push_back(a.at(from, from));
    for (std::int32_t r = 0; r < n; ++r) vectors->at(r, j) = v.at(r, from);
    normalizeSign(*vectors, j);
  }
}

void svd(const Matrix& a, bool full, Matrix* u, std::vector<double>* s, Matrix* v, const char* op) {
  const bool wide = a.rows < a.cols;
  Matrix work, rot;
  if (wide) {
    jacobiSvdTall(transposed(a, op), &work, s, &rot, op);
  } else {
    jacobiSvdTall(a, &work, s, &rot, op);
  }
  // work = (left vectors) * diag(s); rot = right vectors (of a, or of a^T when wide).
  const std::int32_t k = static_cast<std::int32_t>(s->size());
  std::vector<std::int32_t> order(static_cast<std::size_t>(k));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [s](std::int32_t i, std::int32_t j) {
    return (*s)[std::size_t(i)] > (*s)[std::size_t(j)];
  });
  const std::int32_t m = a.rows, n = a.cols;
  *u = newMatrix(m, full ? m : k, op);
  *v = newMatrix(n, full ? n : k, op);
  Matrix& left = wide ? *v : *u;   // holds work's columns, normalized
  Matrix& right = wide ? *u : *v;  // holds rot's columns
  std::vector<double> sorted;
  std::vector<bool> needLeft(std::size_t(left.cols), true),
      needRight(std::size_t(right.cols), true);
  for (std::int32_t j = 0; j < k; ++j) {
    const std::int32_t from = order[std::size_t(j)];
    const double sigma = (*s)[std::size_t(from)];
    sorted.push_back(sigma);
    for (std::int32_t r = 0; r < right.rows; ++r) right.at(r, j) = rot.at(r, from);
    needRight[std::size_t(j)] = false;
    if (sigma > 0) {
      for (std::int32_t r = 0; r < left.rows; ++r) left.at(r, j) = work.at(r, from) / sigma;
      needLeft[std::size_t(j)] = false;
    }
  }
  completeColumns(left, needLeft);
  completeColumns(right, needRight);
  *s = std::move(sorted);
  for (std::int32_t j = 0; j < v->cols; ++j) {
    if (!largestNegative(*v, j)) continue;
    negateColumn(*v, j);
    if (j < k) negateColumn(*u, j);
  }
  for (std::int32_t j = k; j < u->cols; ++j) normalizeSign(*u, j);
}

void qr(const Matrix& a, bool reduced, Matrix* q, Matrix* r, const char* op) {
  const std::int32_t m = a.rows, n = a.cols, k = std::min(m, n);
  *r = a;
  *q = identity(m, op);
  std::vector<double> x(static_cast<std::size_t>(m));
  for (std::int32_t j = 0; j < k && j + 1 < m; ++j) {
    double norm = 0;
    for (std::int32_t i = j; i < m; ++i) norm += r->at(i, j) * r->at(i, j);
    norm = std::sqrt(norm);
    if (norm == 0) continue;
    const double alpha = r->at(j, j) < 0 ? norm : -norm;
    double vnorm2 = 0;
    for (std::int32_t i = j; i < m; ++i) {
      x[std::size_t(i)] = r->at(i, j) - (i == j ? alpha : 0);
      vnorm2 += x[std::size_t(i)] * x[std::size_t(i)];
    }
    if (vnorm2 == 0) continue;
    for (std::int32_t c = j; c < n; ++c) {
      double d = 0;
      for (std::int32_t i = j; i < m; ++i) d += x[std::size_t(i)] * r->at(i, c);
      d = 2 * d / vnorm2;
      for (std::int32_t i = j; i < m; ++i) r->at(i, c) -= d * x[std::size_t(i)];
    }
    for (std::int32_t row = 0; row < m; ++row) {
      double d = 0;
      for (std::int32_t i = j; i < m; ++i) d += q->at(row, i) * x[std::size_t(i)];
      d = 2 * d / vnorm2;
      for (std::int32_t i = j; i < m; ++i) q->at(row, i) -= d * x[std::size_t(i)];
    }
  }
  for (std::int32_t i = 0; i < m; ++i) {
    if (i < k && r->at(i, i) < 0) {
      for (std::int32_t c = 0; c < n; ++c) r->at(i, c) = -r->at(i, c);
      negateColumn(*q, i);
    }
    for (std::int32_t c = 0; c < std::min(i, n); ++c) r->at(i, c) = 0;
  }
  if (reduced && m > n) {
    Matrix qs = newMatrix(m, n, op), rs = newMatrix(n, n, op);
    for (std::int32_t i = 0; i < m; ++i) {
      for (std::int32_t c = 0; c < n; ++c) qs.at(i, c) = q->at(i, c);
    }
    for (std::int32_t i = 0; i < n; ++i) {
      for (std::int32_t c = 0; c < n; ++c) rs.at(i, c) = r->at(i, c);
    }
    *q = std::move(qs);
    *r = std::move(rs);
  }
}

}  // namespace Standin
}  // namespace HalconCpp
