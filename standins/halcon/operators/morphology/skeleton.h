// The skeleton of a region, shared by the morphology operators and shape_trans 'inner_center'.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_MORPHOLOGY_SKELETON_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_MORPHOLOGY_SKELETON_H

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

// One pixel wide and 8-connected, with the region's components and holes: border pixels are
// taken away from the four sides in turn while that keeps the pixels around them connected
// and they are no line's end, until none can go. Its working bitmap (the region's bounding
// box) is charged to the pixel bound in `op`.
Runs skeletonRuns(const Runs& region, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
