// Set algebra, morphology and holes on canonical runs (see runs.h). Every function takes
// canonical runs and gives canonical runs, in time linear in the runs it reads and writes,
// so that regions of whole images stay cheap whatever their pixel count.
#ifndef QUORVEX_STANDINS_HALCON_RUN_SETS_H
#define QUORVEX_STANDINS_HALCON_RUN_SETS_H

#include <cstdint>
#include <vector>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

Runs unionRuns(const Runs& a, const Runs& b);
// The union of many regions at once, cheaper than folding unionRuns over them.
Runs unionAll(const std::vector<const Runs*>& regions);
Runs intersectRuns(const Runs& a, const Runs& b);
Runs subtractRuns(const Runs& a, const Runs& b);

// A structuring element as one span of column offsets per row offset, rows ascending.
struct Span {
  std::int32_t dy;
  std::int32_t begin;
  std::int32_t end;
};
using Element = std::vector<Span>;

Element elementOf(const Runs& shape);
// Minkowski addition: every pixel of `region` replaced by the element around it.
Runs dilateRuns(const Runs& region, const Element& element);
// The pixels around which the whole element fits inside `region`.
Runs erodeRuns(const Runs& region, const Element& element);

// The 4- or 8-connected components of a region; the background between them is connected
// the other way, which is what holes are measured with.
std::vector<Runs> componentsOf(const Runs& runs, int neighbourhood);
// The holes of a region: the components of its background (4-connected for an 8-connected
// region, and the reverse) that do not reach outside its bounding box.
std::vector<Runs> holesOf(const Runs& runs, int neighbourhood);

// The system parameter 'neighborhood' (4 or 8).
int systemNeighbourhood();

}  // namespace Standin
}  // namespace HalconCpp

#endif
