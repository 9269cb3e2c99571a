// Set operations between regions.
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsRegion.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Every region of the first input combined with the union of all regions of the second,
// keeping the first input's order.
template <typename Combine>
HObject combineWithAll(const HObject& first, const HObject& second, const char* op,
                       Combine&& combine) {
  const std::vector<const Runs*> regions = regionsOf(first, op, 1, false);
  const std::vector<const Runs*> others = regionsOf(second, op, 2, false);
  const Runs merged = others.empty() ? Runs{} : unionAll(others);
  std::vector<HObject::Item> items;
  items.reserve(regions.size());
  for (const Runs* region : regions) items.push_back(makeRegion(combine(*region, merged)));
  return objectOf(items);
}

std::int32_t systemSide(const char* name) {
  InsideScope inside;
  HTuple value;
  GetSystem(name, &value);
  return static_cast<std::int32_t>(value[0].L());
}

}  // namespace

void Intersection(const HObject& Region1, const HObject& Region2, HObject* RegionIntersection) {
  ApiScope scope("Intersection");
  setOutput(RegionIntersection, combineWithAll(Region1, Region2, "intersection", intersectRuns));
}

void Union2(const HObject& Region1, const HObject& Region2, HObject* RegionUnion) {
  ApiScope scope("Union2");
  setOutput(RegionUnion, combineWithAll(Region1, Region2, "union2", unionRuns));
}

void Difference(const HObject& Region, const HObject& Sub, HObject* RegionDifference) {
  ApiScope scope("Difference");
  setOutput(RegionDifference, combineWithAll(Region, Sub, "difference", subtractRuns));
}

void Union1(const HObject& Region, HObject* RegionUnion) {
  ApiScope scope("Union1");
  const std::vector<const Runs*> regions = regionsOf(Region, "union1", 1, false);
  setOutput(RegionUnion, objectOf({makeRegion(regions.empty() ? Runs{} : unionAll(regions))}));
}

void Complement(const HObject& Region, HObject* RegionComplement) {
  ApiScope scope("Complement");
  const Runs frame = rectangleRuns(0, 0, systemSide("height") - 1, systemSide("width") - 1);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, "complement", 1, false)) {
    items.push_back(makeRegion(subtractRuns(frame, *region)));
  }
  setOutput(RegionComplement, objectOf(items));
}

}  // namespace HalconCpp
