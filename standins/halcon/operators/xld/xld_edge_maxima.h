// The maxima of edges_sub_pix: the pixels of a run whose gradient amplitude is a maximum along
// the gradient, found to a fraction of a pixel, with their attributes.
#ifndef QUORVEX_STANDINS_HALCON_XLD_EDGE_MAXIMA_H
#define QUORVEX_STANDINS_HALCON_XLD_EDGE_MAXIMA_H

#include <cstdint>
#include <vector>

#include "core/runs.h"
#include "operators/filters/edge_windows.h"
#include "operators/xld/xld_link.h"

namespace HalconCpp {
namespace Standin {

// The points of `run` (within the window `g`) whose amplitude is at least `low`, strictly above
// the amplitude interpolated one step behind along the gradient and at least the one a step
// ahead, appended to `points` in the run's order; strong (state 2) at `high` and above. Each
// point depends on its own neighbourhood alone, so that any windows find the same points.
// `candidates` is scratch kept from call to call. The vector paths follow 'standin_simd'.
void edgeMaximaOfRun(const GradientWindow& g, const Run& run, double low, double high,
                     std::vector<std::int32_t>& candidates, std::vector<LinkPoint>& points);

}  // namespace Standin
}  // namespace HalconCpp

#endif
