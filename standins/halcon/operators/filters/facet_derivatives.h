// The facet model: at each pixel the quadratic in x and y fitted by least squares to the grey
// values of the size x size window about it, and its derivatives at the pixel. Shared by
// lines_facet and the 'facet' filter of the sub-pixel extrema.
#ifndef QUORVEX_STANDINS_HALCON_FACET_DERIVATIVES_H
#define QUORVEX_STANDINS_HALCON_FACET_DERIVATIVES_H

#include <cstdint>
#include <vector>

namespace HalconCpp {
namespace Standin {

// x along the row (the column index), y down the column (the row index).
struct FacetDerivatives {
  std::vector<double> x, y, xx, xy, yy;
};

// `size` odd and at least 3; the window mirrored at the image's edges.
FacetDerivatives facetDerivatives(const std::vector<double>& plane, std::int32_t width,
                                  std::int32_t height, std::int32_t size);

}  // namespace Standin
}  // namespace HalconCpp

#endif
