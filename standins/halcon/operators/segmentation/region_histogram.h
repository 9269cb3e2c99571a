// The byte histogram of a region's pixels, shared by the histogram threshold and the
// grey-value statistics of regions.
#ifndef QUORVEX_STANDINS_HALCON_REGION_HISTOGRAM_H
#define QUORVEX_STANDINS_HALCON_REGION_HISTOGRAM_H

#include <vector>

#include "core/image.h"
#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

// The histogram of the first channel over the region within the image's domain.
std::vector<Hlong> histogramOf(const Runs& region, const ImagePtr& image, const char* op);
// The grey value of the pixel of the given rank (0: the darkest) in the histogram's order.
int greyOfRank(const std::vector<Hlong>& histogram, Hlong rank);

}  // namespace Standin
}  // namespace HalconCpp

#endif
