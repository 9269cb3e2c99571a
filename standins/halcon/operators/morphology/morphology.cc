// Dilation, erosion, opening and closing of regions with circles and rectangles, done on
// runs: the cost follows the regions' runs and the element's rows, not their pixels.
#include <cmath>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "operators/morphology/bit_morphology.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Element circleElement(const HTuple& radius, const char* op) {
  const double r = oneNumber(radius, op, 1);
  if (!(r >= 0.5 && r <= 511.5)) fail(op, 1301);
  // gen_circle's circle about the reference pixel: an integer radius has an even diameter, so
  // its centre is a pixel corner, taken to the pixel below and right of it.
  return elementOf(discreteCircleRuns(0, 0, r));
}

// Width x Height pixels around the reference pixel; an even side reaches one pixel further
// right or down than left or up.
Element rectangleElement(const HTuple& width, const HTuple& height, const char* op) {
  const Hlong w = oneInteger(width, op, 1);
  const Hlong h = oneInteger(height, op, 2);
  if (w < 1 || w > 511) fail(op, 1301);
  if (h < 1 || h > 511) fail(op, 1302);
  const auto left = static_cast<std::int32_t>((w - 1) / 2);
  const auto top = static_cast<std::int32_t>((h - 1) / 2);
  return elementOf(rectangleRuns(-top, -left, static_cast<std::int32_t>(h) - 1 - top,
                                 static_cast<std::int32_t>(w) - 1 - left));
}

enum class Operation { Dilation, Erosion, Opening, Closing };

Runs apply(const Runs& region, const Element& element, Operation operation) {
  switch (operation) {
    case Operation::Dilation:
      return morphologySteps(region, {{&element, true}});
    case Operation::Erosion:
      return morphologySteps(region, {{&element, false}});
    case Operation::Opening:
      return morphologySteps(region, {{&element, false}, {&element, true}});
    case Operation::Closing:
      return morphologySteps(region, {{&element, true}, {&element, false}});
  }
  return {};
}

HObject applyToAll(const HObject& input, const Element& element, Operation operation,
                   const char* op) {
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(input, op, 1)) {
    items.push_back(makeRegion(apply(*region, element, operation)));
  }
  return objectOf(items);
}

}  // namespace

void DilationCircle(const HObject& Region, HObject* RegionDilation, const HTuple& Radius) {
  ApiScope scope("DilationCircle");
  const char* op = "dilation_circle";
  setOutput(RegionDilation, applyToAll(Region, circleElement(Radius, op), Operation::Dilation, op));
}

void ErosionCircle(const HObject& Region, HObject* RegionErosion, const HTuple& Radius) {
  ApiScope scope("ErosionCircle");
  const char* op = "erosion_circle";
  setOutput(RegionErosion, applyToAll(Region, circleElement(Radius, op), Operation::Erosion, op));
}

void OpeningCircle(const HObject& Region, HObject* RegionOpening, const HTuple& Radius) {
  ApiScope scope("OpeningCircle");
  const char* op = "opening_circle";
  setOutput(RegionOpening, applyToAll(Region, circleElement(Radius, op), Operation::Opening, op));
}

void ClosingCircle(const HObject& Region, HObject* RegionClosing, const HTuple& Radius) {
  ApiScope scope("ClosingCircle");
  const char* op = "closing_circle";
  setOutput(RegionClosing, applyToAll(Region, circleElement(Radius, op), Operation::Closing, op));
}

void DilationRectangle1(const HObject& Region, HObject* RegionDilation, const HTuple& Width,
                        const HTuple& Height) {
  ApiScope scope("DilationRectangle1");
  const char* op = "dilation_rectangle1";
  setOutput(RegionDilation,
            applyToAll(Region, rectangleElement(Width, Height, op), Operation::Dilation, op));
}

void ErosionRectangle1(const HObject& Region, HObject* RegionErosion, const HTuple& Width,
                       const HTuple& Height) {
  ApiScope scope("ErosionRectangle1");
  const char* op = "erosion_rectangle1";
  setOutput(RegionErosion,
            applyToAll(Region, rectangleElement(Width, Height, op), Operation::Erosion, op));
}

void OpeningRectangle1(const HObject& Region, HObject* RegionOpening, const HTuple& Width,
                       const HTuple& Height) {
  ApiScope scope("OpeningRectangle1");
  const char* op = "opening_rectangle1";
  setOutput(RegionOpening,
            applyToAll(Region, rectangleElement(Width, Height, op), Operation::Opening, op));
}

void ClosingRectangle1(const HObject& Region, HObject* RegionClosing, const HTuple& Width,
                       const HTuple& Height) {
  ApiScope scope("ClosingRectangle1");
  const char* op = "closing_rectangle1";
  setOutput(RegionClosing,
            applyToAll(Region, rectangleElement(Width, Height, op), Operation::Closing, op));
}

}  // namespace HalconCpp
