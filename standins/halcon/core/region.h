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

// The runs of every object of an iconic input at position n: a region's own, an image's
// domain when `imagesToo`. Other classes raise 1100+n.
std::vector<const Runs*> regionsOf(const HObject& object, const char* op, int n, bool imagesToo);

}  // namespace Standin
}  // namespace HalconCpp

#endif
