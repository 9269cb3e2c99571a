// background_seg as its reference page simulates it: each region's complement within the
// largest image ('width' x 'height'), split into its 4-connected components.
#include <cstdint>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

std::int32_t systemSide(const char* name) {
  InsideScope inside;
  HTuple value;
  GetSystem(name, &value);
  return static_cast<std::int32_t>(value[0].L());
}

}  // namespace

void BackgroundSeg(const HObject& Foreground, HObject* BackgroundRegions) {
  ApiScope scope("BackgroundSeg");
  const char* op = "background_seg";
  const Runs frame = rectangleRuns(0, 0, systemSide("height") - 1, systemSide("width") - 1);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Foreground, op, 1)) {
    for (Runs& part : componentsOf(subtractRuns(frame, *region), 4)) {
      items.push_back(makeRegion(std::move(part)));
    }
  }
  setOutput(BackgroundRegions, objectOf(items));
}

}  // namespace HalconCpp
