// principal_comp and gen_principal_comp_trans: the channels of a multichannel image turned into
// uncorrelated components, the eigenvectors of the channels' covariance over the domain.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/pixel_type.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The analysis of n channels: their mean and covariance (n x n, row by row), and the
// components, greatest variance first, as rows of `vectors` with their variances in `values`.
struct Components {
  std::size_t n = 0;
  std::vector<double> mean, cov, vectors, values;
};

// Mean and covariance over the domains of the images, each pixel counted once; the covariance
// divides by the number of pixels (docs/standins.md), and no pixel at all leaves both at 0.
void moments(const std::vector<ImagePtr>& images, Components* c) {
  const std::size_t n = c->n;
  c->mean.assign(n, 0.0);
  c->cov.assign(n * n, 0.0);
  double count = 0;
  std::vector<double> g(n);
  // Two passes: the products of deviations from the mean keep their digits where the grey
  // values are large and their spread small.
  for (int pass = 0; pass < 2; ++pass) {
    for (const ImagePtr& image : images) {
      const PixelReader read = readerOf(image->type());
      for (const Run& run : *image->domain) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          const std::size_t at = image->offset(run.row, col);
          for (std::size_t k = 0; k < n; ++k) g[k] = read(image->pixels(k), at);
          if (pass == 0) {
            for (std::size_t k = 0; k < n; ++k) c->mean[k] += g[k];
            count += 1;
            continue;
          }
          for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i; j < n; ++j) {
              c->cov[i * n + j] += (g[i] - c->mean[i]) * (g[j] - c->mean[j]);
            }
          }
        }
      }
    }
    if (count == 0) return;
    if (pass == 0) {
      for (double& m : c->mean) m /= count;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i; j < n; ++j) {
      c->cov[i * n + j] /= count;
      c->cov[j * n + i] = c->cov[i * n + j];
    }
  }
}

// Cyclic Jacobi rotations of the symmetric covariance: its eigenvalues end on the diagonal of
// `a`, the eigenvectors in the columns of `v`.
void jacobi(std::vector<double> a, std::size_t n, std::vector<double>* values,
            std::vector<double>* v) {
  v->assign(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i) (*v)[i * n + i] = 1;
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) off += a[i * n + j] * a[i * n + j];
    }
    if (off == 0) break;
    for (std::size_t p = 0; p < n; ++p) {
      for (std::size_t q = p + 1; q < n; ++q) {
        const double apq = a[p * n + q];
        if (apq == 0) continue;
        const double theta = (a[q * n + q] - a[p * n + p]) / (2 * apq);
        const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::hypot(theta, 1.0));
        const double cs = 1 / std::hypot(t, 1.0), sn = t * cs;
        for (std::size_t k = 0; k < n; ++k) {
          const double akp = a[k * n + p], akq = a[k * n + q];
          a[k * n + p] = cs * akp - sn * akq;
          a[k * n + q] = sn * akp + cs * akq;
        }
        for (std::size_t k = 0; k < n; ++k) {
          const double apk = a[p * n + k], aqk = a[q * n + k];
          a[p * n + k] = cs * apk - sn * aqk;
          a[q * n + k] = sn * apk + cs * aqk;
        }
        for (std::size_t k = 0; k < n; ++k) {
          const double vkp = (*v)[k * n + p], vkq = (*v)[k * n + q];
          (*v)[k * n + p] = cs * vkp - sn * vkq;
          (*v)[k * n + q] = sn * vkp + cs * vkq;
        }
      }
    }
  }
  values->resize(n);
  for (std::size_t i = 0; i < n; ++i) (*values)[i] = std::max(0.0, a[i * n + i]);
}

constexpr std::size_t kMaxAnalysedChannels = 256;

Components analyse(const std::vector<ImagePtr>& images, const char* op) {
  Components c;
  c.n = images.front()->channels.size();
  for (const ImagePtr& image : images) {
    if (image->channels.size() != c.n) fail(op, 3031);
  }
  // The rotations cost n^3 per sweep: beyond a hyperspectral camera's 256 bands the analysis
  // would hold the host for minutes, so it fails with 6001 as other bounded work does.
  if (c.n > kMaxAnalysedChannels) fail(op, 6001);
  // The covariance, its rotations and the components: n x n doubles each, charged to the pixel
  // bound.
  const PixelReservation held(std::uint64_t(c.n) * c.n * 4 * sizeof(double), op);
  moments(images, &c);
  std::vector<double> values, v;
  jacobi(c.cov, c.n, &values, &v);
  // Greatest variance first, equal variances in channel order (docs/standins.md).
  std::vector<std::size_t> order(c.n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t l, std::size_t r) { return values[l] > values[r]; });
  for (const std::size_t col : order) {
    c.values.push_back(values[col]);
    // Each vector's sign makes its first component of greatest magnitude positive; rotations
    // leave equal magnitudes a few units apart in the last place, which the margin absorbs.
    double largest = 0;
    for (std::size_t k = 0; k < c.n; ++k) largest = std::max(largest, std::fabs(v[k * c.n + col]));
    double sign = 1;
    for (std::size_t k = 0; k < c.n; ++k) {
      if (std::fabs(v[k * c.n + col]) >= largest * (1 - 1e-9)) {
        sign = v[k * c.n + col] < 0 ? -1 : 1;
        break;
      }
    }
    for (std::size_t k = 0; k < c.n; ++k) c.vectors.push_back(sign * v[k * c.n + col]);
  }
  return c;
}

// The share of the total variance in each component; none at all gives zeros.
std::vector<double> shares(const Components& c) {
  const double total = std::accumulate(c.values.begin(), c.values.end(), 0.0);
  std::vector<double> info;
  for (const double value : c.values) info.push_back(total > 0 ? value / total : 0.0);
  return info;
}

void appendTo(HTuple* tuple, const std::vector<double>& values) {
  for (const double value : values) tuple->Append(HTuple(value));
}

}  // namespace

void PrincipalComp(const HObject& MultichannelImage, HObject* PCAImage, HTuple* InfoPerComp) {
  ApiScope scope("PrincipalComp");
  const char* op = "principal_comp";
  std::vector<HObject::Item> items;
  HTuple info;
  for (const ImagePtr& image : imagesWithChannels(MultichannelImage, op, 1, kRealValuedTypes)) {
    const Components c = analyse({image}, op);
    const std::size_t n = c.n;
    ImagePtr result = imageLike(image, n, op, PixelType::Real);
    const PixelReader read = readerOf(image->type());
    std::vector<double> g(n);
    for (const Run& run : *image->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const std::size_t at = image->offset(run.row, col);
        for (std::size_t k = 0; k < n; ++k) g[k] = read(image->pixels(k), at) - c.mean[k];
        for (std::size_t r = 0; r < n; ++r) {
          double sum = 0;
          for (std::size_t k = 0; k < n; ++k) sum += c.vectors[r * n + k] * g[k];
          result->channels[r]->as<float>()[at] = static_cast<float>(sum);
        }
      }
    }
    items.push_back(result);
    appendTo(&info, shares(c));
  }
  setOutput(PCAImage, objectOf(items));
  setOutput(InfoPerComp, info);
}

void GenPrincipalCompTrans(const HObject& MultichannelImage, HTuple* Trans, HTuple* TransInv,
                           HTuple* Mean, HTuple* Cov, HTuple* InfoPerComp) {
  ApiScope scope("GenPrincipalCompTrans");
  const char* op = "gen_principal_comp_trans";
  const std::vector<ImagePtr> images =
      imagesWithChannels(MultichannelImage, op, 1, kRealValuedTypes);
  HTuple trans, inverse, mean, cov, info;
  if (!images.empty()) {
    const Components c = analyse(images, op);
    const std::size_t n = c.n;
    // Homogeneous n x (n + 1) matrices for linear_trans_color: components from grey values
    // y = E (g - mean), and back, g = E' y + mean, E orthonormal.
    for (std::size_t r = 0; r < n; ++r) {
      double offset = 0;
      for (std::size_t k = 0; k < n; ++k) {
        trans.Append(HTuple(c.vectors[r * n + k]));
        offset -= c.vectors[r * n + k] * c.mean[k];
      }
      trans.Append(HTuple(offset));
    }
    for (std::size_t r = 0; r < n; ++r) {
      for (std::size_t k = 0; k < n; ++k) inverse.Append(HTuple(c.vectors[k * n + r]));
      inverse.Append(HTuple(c.mean[r]));
    }
    appendTo(&mean, c.mean);
    appendTo(&cov, c.cov);
    appendTo(&info, shares(c));
  }
  setOutput(Trans, trans);
  setOutput(TransInv, inverse);
  setOutput(Mean, mean);
  setOutput(Cov, cov);
  setOutput(InfoPerComp, info);
}

}  // namespace HalconCpp
