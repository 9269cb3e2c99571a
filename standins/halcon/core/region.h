// Regions behind HObject.
#ifndef QUORVEX_STANDINS_HALCON_REGION_H
#define QUORVEX_STANDINS_HALCON_REGION_H

#include <memory>
#include <vector>

#include "core/iconic.h"
#include "core/runs.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

struct RegionObject : IconicObject {
  explicit RegionObject(Runs r) : runs(std::move(r)) {}
  const Runs runs;
  const char* className() const override { return "region"; }
};

std::shared_ptr<RegionObject> makeRegion(Runs runs);

// Region coordinates are bounded so that a mistyped number cannot ask for millions of runs.
inline constexpr double kMaxRegionCoordinate = 100000;

// The runs of every object of an iconic input at position n: a region's own, an image's
// domain. Every region input takes an image so, as the vendor's operators do: an image is a
// region with grey values. Other classes raise 1100+n.
std::vector<const Runs*> regionsOf(const HObject& object, const char* op, int n);
// The spelling of callers written before that rule, which many operators still use: the flag
// no longer decides anything.
inline std::vector<const Runs*> regionsOf(const HObject& object, const char* op, int n, bool) {
  return regionsOf(object, op, n);
}

// The regions of input 1 that an operator measures: none when an empty one makes it return at
// once (skipEmptyRegions).
std::vector<const Runs*> measuredRegions(const HObject& regions, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
