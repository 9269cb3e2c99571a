// The co-occurrence matrix of a region and its features, shared by gen_cooc_matrix,
// cooc_feature_matrix and cooc_feature_image so that all three read the same matrix.
#ifndef QUORVEX_STANDINS_HALCON_COOC_H
#define QUORVEX_STANDINS_HALCON_COOC_H

#include <cstddef>
#include <vector>

#include "core/runs.h"
#include "halconcpp/HTuple.h"
#include "operators/features/gray_stats.h"

namespace HalconCpp {
namespace Standin {

struct CoocFeatures {
  double energy = 0, correlation = 0, homogeneity = 0, contrast = 0;
};

// Direction in degrees (0, 45, 90, 135) to the neighbour's offset, rows pointing down; false
// for any other direction.
bool coocOffsetOf(Hlong direction, int* dr, int* dc);

// The symmetric 2^ldGray x 2^ldGray matrix, row by row, of the region's grey values reduced
// to 2^ldGray levels, for neighbours at (dr, dc) both inside the region, scaled to sum to 1;
// all zeros without a pair of neighbours.
std::vector<double> coocMatrixOf(const Runs& region, const GrayImage& image, int ldGray, int dr,
                                 int dc);

// The features of a square matrix of `levels` rows, row by row, as cooc_feature_matrix
// defines them; read in place, as an image of the matrix can be large.
template <typename T>
CoocFeatures coocFeaturesOf(const T* matrix, std::size_t levels);

}  // namespace Standin
}  // namespace HalconCpp

#endif
