// Dilation and erosion on rows of bits: a region of many short runs packed into bits over a
// frame of columns, each output row the OR (dilation) or AND (erosion) of whole source rows,
// widened or narrowed by word shifts, then read back as runs. The same sets as dilateRuns and
// erodeRuns (run_sets.h), found in time that follows the frame's words instead of the runs:
// chosen only where the frame is small beside the runs, and never on the portable path
// ('standin_simd' 'false'), which the tests compare it with.
#ifndef QUORVEX_STANDINS_HALCON_BIT_MORPHOLOGY_H
#define QUORVEX_STANDINS_HALCON_BIT_MORPHOLOGY_H

#include <vector>

#include "core/run_sets.h"

namespace HalconCpp {
namespace Standin {

struct MorphologyStep {
  const Element* element;
  bool dilate;  // else erode
};

// The region after the steps in order; each step as dilateRuns or erodeRuns would take it.
Runs morphologySteps(const Runs& region, const std::vector<MorphologyStep>& steps);

}  // namespace Standin
}  // namespace HalconCpp

#endif
