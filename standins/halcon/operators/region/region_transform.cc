// Regions transformed as wholes: holes filled, shapes fitted.
#include <cmath>
#include <string>

#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsRegion.h"
#include "operators/features/region_features.h"
#include "operators/morphology/skeleton.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A point on a fitted circle must not fall out of it by rounding.
constexpr double kOnCircle = 1e-6;

template <typename Keep>
Runs fillHoles(const Runs& region, Keep&& keep) {
  std::vector<const Runs*> parts{&region};
  const std::vector<Runs> holes = holesOf(region, systemNeighbourhood());
  for (const Runs& hole : holes) {
    if (keep(hole)) parts.push_back(&hole);
  }
  return unionAll(parts);
}

// The ellipse of the region's centre, angle and axis ratio whose pixels number as the
// region's: the moments' own ellipse (pi Ra Rb) misses the area by the pixels' own spread.
Runs equalAreaEllipse(const Runs& region) {
  if (region.empty()) return {};
  const Moments m = momentsOf(region);
  const Ellipse e = ellipseOf(m);
  const auto scaled = [&](double s) {
    return ellipseRuns(m.row, m.col, e.phi, s * e.ra, s * e.rb);
  };
  if (e.rb <= 0) return scaled(1);
  // Larger ellipses hold the smaller ones: halve the scale's range to the first that reaches
  // the area, then keep whichever of it and the last short one is nearer.
  double low = 0, high = 2 * std::sqrt(m.area / (kPi * e.ra * e.rb));
  for (int i = 0; i < 60; ++i) {
    const double middle = (low + high) / 2;
    if (static_cast<double>(runsArea(scaled(middle))) >= m.area) {
      high = middle;
    } else {
      low = middle;
    }
  }
  Runs over = scaled(high), under = scaled(low);
  const double above = static_cast<double>(runsArea(over)) - m.area;
  const double below = m.area - static_cast<double>(runsArea(under));
  return below < above ? under : over;
}

// The skeleton's pixel nearest the centre of gravity, the first in run order of those as near.
Runs innerCenter(const Runs& region, const char* op) {
  if (region.empty()) return {};
  double row = 0, col = 0;
  runsCenter(region, &row, &col);
  Run best{0, 0, 0};
  double bestDistance = -1;
  for (const Run& run : skeletonRuns(region, op)) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      const double distance = (run.row - row) * (run.row - row) + (c - col) * (c - col);
      if (bestDistance < 0 || distance < bestDistance) {
        bestDistance = distance;
        best = Run{run.row, c, c};
      }
    }
  }
  return Runs{best};
}

Runs transformed(const Runs& region, const std::string& type, const char* op) {
  if (type == "convex") return region.empty() ? Runs{} : convexPolygonRuns(convexHull(region));
  if (type == "rectangle1") {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(region, &row1, &col1, &row2, &col2)) return {};
    return rectangleRuns(row1, col1, row2, col2);
  }
  if (type == "rectangle2") {
    if (region.empty()) return {};
    const Rectangle2 r = smallestRectangle2(region);
    return rectangle2Runs(r.row, r.col, r.phi, r.length1, r.length2);
  }
  if (type == "outer_circle") {
    if (region.empty()) return {};
    const Circle c = smallestCircle(region);
    return circleRuns(c.row, c.col, c.radius + kOnCircle);
  }
  if (type == "inner_circle") {
    if (region.empty()) return {};
    const Circle c = innerCircle(region);
    return discreteCircleRuns(c.row, c.col, c.radius);
  }
  if (type == "inner_rectangle1") {
    const Box b = innerRectangle(region);
    if (b.row2 < b.row1) return {};
    return rectangleRuns(b.row1, b.col1, b.row2, b.col2);
  }
  if (type == "ellipse") return equalAreaEllipse(region);
  if (type == "inner_center") return innerCenter(region, op);
  fail(op, 1301);
}

}  // namespace

void FillUp(const HObject& Region, HObject* RegionFillUp) {
  ApiScope scope("FillUp");
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, "fill_up", 1, false)) {
    items.push_back(makeRegion(fillHoles(*region, [](const Runs&) { return true; })));
  }
  setOutput(RegionFillUp, objectOf(items));
}

void FillUpShape(const HObject& Region, HObject* RegionFillUp, const HTuple& Feature,
                 const HTuple& Min, const HTuple& Max) {
  ApiScope scope("FillUpShape");
  const char* op = "fill_up_shape";
  const std::string name = oneString(Feature, op, 1);
  const double min = oneNumber(Min, op, 2);
  const double max = oneNumber(Max, op, 3);
  Standin::Feature feature;
  if (name == "inner_circle") {
    feature = Standin::Feature::InnerRadius;
  } else if (name == "outer_circle") {
    feature = Standin::Feature::OuterRadius;
  } else if (name == "area" || name == "compactness" || name == "convexity" ||
             name == "anisometry" || name == "phi" || name == "ra" || name == "rb") {
    featureNamed(name, &feature);
  } else {
    fail(op, 1301);
  }
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1, false)) {
    items.push_back(makeRegion(fillHoles(*region, [&](const Runs& hole) {
      const double value = featureOf(hole, feature);
      return value >= min && value <= max;
    })));
  }
  setOutput(RegionFillUp, objectOf(items));
}

void ShapeTrans(const HObject& Region, HObject* RegionTrans, const HTuple& Type) {
  ApiScope scope("ShapeTrans");
  const char* op = "shape_trans";
  const std::string type = oneString(Type, op, 1);
  const std::vector<const Runs*> regions = regionsOf(Region, op, 1, false);
  transformed({}, type, op);  // an unknown type fails even without regions
  std::vector<HObject::Item> items;
  for (const Runs* region : regions) items.push_back(makeRegion(transformed(*region, type, op)));
  setOutput(RegionTrans, objectOf(items));
}

}  // namespace HalconCpp
