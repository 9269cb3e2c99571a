// The co-occurrence matrix as an image and its features: gen_cooc_matrix, cooc_feature_matrix,
// and the matrix and features cooc_feature_image shares with them.
#include <cstdint>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/cooc.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

bool coocOffsetOf(Hlong direction, int* dr, int* dc) {
  struct Offset {
    Hlong direction;
    int dr, dc;
  };
  static const Offset kOffsets[] = {{0, 0, 1}, {45, -1, 1}, {90, -1, 0}, {135, -1, -1}};
  for (const Offset& o : kOffsets) {
    if (o.direction != direction) continue;
    *dr = o.dr;
    *dc = o.dc;
    return true;
  }
  return false;
}

std::vector<double> coocMatrixOf(const Runs& region, const GrayImage& image, int ldGray, int dr,
                                 int dc) {
  const std::size_t levels = std::size_t(1) << ldGray;
  const int shift = 8 - ldGray;
  std::vector<double> c(levels * levels, 0.0);
  double total = 0;
  for (const Run& run : region) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const std::int32_t r2 = run.row + dr, c2 = col + dc;
      if (!runsContain(region, r2, c2)) continue;
      const auto i = std::size_t(static_cast<int>(image.at(run.row, col)) >> shift);
      const auto j = std::size_t(static_cast<int>(image.at(r2, c2)) >> shift);
      c[i * levels + j] += 1;
      c[j * levels + i] += 1;
      total += 2;
    }
  }
  if (total > 0) {
    for (double& entry : c) entry /= total;
  }
  return c;
}

template <typename T>
CoocFeatures coocFeaturesOf(const T* c, std::size_t levels) {
  CoocFeatures f;
  double sum = 0, mean = 0;
  for (std::size_t i = 0; i < levels; ++i) {
    for (std::size_t j = 0; j < levels; ++j) {
      sum += c[i * levels + j];
      mean += double(i) * c[i * levels + j];
    }
  }
  // A matrix of zeros (no pairs of neighbours) has no features: all 0.
  if (sum <= 0) return f;
  // The matrix is symmetric: rows and columns share their mean and spread.
  double variance = 0, covariance = 0;
  for (std::size_t i = 0; i < levels; ++i) {
    for (std::size_t j = 0; j < levels; ++j) {
      const double p = c[i * levels + j], d = double(i) - double(j);
      f.energy += p * p;
      f.homogeneity += p / (1 + d * d);
      f.contrast += d * d * p;
      variance += (double(i) - mean) * (double(i) - mean) * p;
      covariance += (double(i) - mean) * (double(j) - mean) * p;
    }
  }
  // One grey level only: no spread to correlate, taken as 0.
  f.correlation = variance > 0 ? covariance / variance : 0;
  return f;
}

template CoocFeatures coocFeaturesOf(const double*, std::size_t);
template CoocFeatures coocFeaturesOf(const float*, std::size_t);

}  // namespace Standin

using namespace Standin;

void GenCoocMatrix(const HObject& Regions, const HObject& Image, HObject* Matrix,
                   const HTuple& LdGray, const HTuple& Direction) {
  ApiScope scope("GenCoocMatrix");
  const char* op = "gen_cooc_matrix";
  const Hlong ldGray = oneInteger(LdGray, op, 1);
  if (ldGray < 1 || ldGray > 8) fail(op, 1301);
  int dr = 0, dc = 0;
  if (!coocOffsetOf(oneInteger(Direction, op, 2), &dr, &dc)) fail(op, 1302);
  const GrayImage image = grayImageOf(Image, op, 2);
  const auto levels = std::int32_t(1) << ldGray;
  std::vector<HObject::Item> items;
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    const std::vector<double> c = coocMatrixOf(region, image, static_cast<int>(ldGray), dr, dc);
    ImagePtr matrix = newImage(levels, levels, 1, op, PixelType::Real);
    float* out = matrix->channels[0]->as<float>();
    for (std::size_t i = 0; i < c.size(); ++i) out[i] = static_cast<float>(c[i]);
    items.push_back(std::move(matrix));
  }
  setOutput(Matrix, objectOf(items));
}

void CoocFeatureMatrix(const HObject& CoocMatrix, HTuple* Energy, HTuple* Correlation,
                       HTuple* Homogeneity, HTuple* Contrast) {
  ApiScope scope("CoocFeatureMatrix");
  const char* op = "cooc_feature_matrix";
  const ImagePtr matrix = oneImage(CoocMatrix, op, 1, {PixelType::Real});
  if (matrix->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  // Rows and columns stand for the same grey levels: a matrix that is not square has none.
  if (matrix->width != matrix->height) fail(op, H_ERR_SIZES_DIFFER);
  const auto levels = static_cast<std::size_t>(matrix->width);
  const CoocFeatures f = coocFeaturesOf(matrix->channels[0]->as<const float>(), levels);
  setOutput(Energy, HTuple(f.energy));
  setOutput(Correlation, HTuple(f.correlation));
  setOutput(Homogeneity, HTuple(f.homogeneity));
  setOutput(Contrast, HTuple(f.contrast));
}

}  // namespace HalconCpp
