// Operators that choose and order regions by their shapes.
#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "core/feature_ranges.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "halconcpp/HOperatorsRegion.h"
#include "operators/features/region_features.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Selection {
  std::vector<HObject::Item> items;
  std::vector<const Runs*> regions;
};

Selection selectionOf(const HObject& object, const char* op) {
  Selection s;
  s.regions = regionsOf(object, op, 1, false);
  s.items = object.Items();
  return s;
}

}  // namespace

void SelectShape(const HObject& Regions, HObject* SelectedRegions, const HTuple& Features,
                 const HTuple& Operation, const HTuple& Min, const HTuple& Max) {
  ApiScope scope("SelectShape");
  const char* op = "select_shape";
  const Hlong count = Features.Length();
  if (count < 1) fail(op, 1401);
  std::vector<Feature> features;
  for (Hlong i = 0; i < count; ++i) {
    if (Features[i].Type() != eElementTypeString) fail(op, 1201);
    Feature feature;
    if (!featureNamed(Features[i].S().str(), &feature)) fail(op, 1301);
    features.push_back(feature);
  }
  const FeatureRanges ranges(count, Operation, Min, Max, op);
  const Selection input = selectionOf(Regions, op);
  std::vector<HObject::Item> selected;
  for (std::size_t r = 0; r < input.regions.size(); ++r) {
    if (ranges.keeps([&](std::size_t f) { return featureOf(*input.regions[r], features[f]); })) {
      selected.push_back(input.items[r]);
    }
  }
  setOutput(SelectedRegions, objectOf(selected));
}

void SelectShapeStd(const HObject& Regions, HObject* SelectedRegions, const HTuple& Shape,
                    const HTuple& Percent) {
  ApiScope scope("SelectShapeStd");
  const char* op = "select_shape_std";
  const std::string shape = oneString(Shape, op, 1);
  const double percent = oneNumber(Percent, op, 2);
  if (shape != "max_area" && shape != "rectangle1" && shape != "rectangle2") fail(op, 1301);
  if (!(percent >= 0 && percent <= 100)) fail(op, 1302);
  const Selection input = selectionOf(Regions, op);
  std::vector<HObject::Item> selected;
  if (shape == "max_area") {
    std::int64_t best = -1;
    for (std::size_t r = 0; r < input.regions.size(); ++r) {
      const std::int64_t area = runsArea(*input.regions[r]);
      if (area > best) {
        best = area;
        selected = {input.items[r]};
      }
    }
  } else {
    for (std::size_t r = 0; r < input.regions.size(); ++r) {
      const Runs& region = *input.regions[r];
      if (region.empty()) continue;
      Runs enclosing;
      if (shape == "rectangle1") {
        std::int32_t r1, c1, r2, c2;
        runsBox(region, &r1, &c1, &r2, &c2);
        enclosing = rectangleRuns(r1, c1, r2, c2);
      } else {
        const Rectangle2 fit = smallestRectangle2(region);
        enclosing = rectangle2Runs(fit.row, fit.col, fit.phi, fit.length1, fit.length2);
      }
      const double enclosingArea = static_cast<double>(runsArea(enclosing));
      if (enclosingArea > 0 &&
          100.0 * static_cast<double>(runsArea(region)) / enclosingArea >= percent) {
        selected.push_back(input.items[r]);
      }
    }
  }
  setOutput(SelectedRegions, objectOf(selected));
}

void SortRegion(const HObject& Regions, HObject* SortedRegions, const HTuple& SortMode,
                const HTuple& Order, const HTuple& RowOrCol) {
  ApiScope scope("SortRegion");
  const char* op = "sort_region";
  const std::string mode = oneString(SortMode, op, 1);
  const std::string order = oneString(Order, op, 2);
  const std::string rowOrCol = oneString(RowOrCol, op, 3);
  static const char* const kModes[] = {"character",  "first_point", "last_point", "upper_left",
                                       "lower_left", "upper_right", "lower_right"};
  if (std::find_if(std::begin(kModes), std::end(kModes),
                   [&](const char* m) { return mode == m; }) == std::end(kModes)) {
    fail(op, 1301);
  }
  if (order != "true" && order != "false") fail(op, 1302);
  if (rowOrCol != "row" && rowOrCol != "column") fail(op, 1303);
  const Selection input = selectionOf(Regions, op);
  struct Key {
    double row, col, bottom;
  };
  std::vector<Key> keys;
  for (const Runs* region : input.regions) {
    Key key{0, 0, 0};
    std::int32_t r1, c1, r2, c2;
    if (runsBox(*region, &r1, &c1, &r2, &c2)) {
      if (mode == "first_point") {
        key = {double(region->front().row), double(region->front().begin), 0};
      } else if (mode == "last_point") {
        key = {double(region->back().row), double(region->back().end), 0};
      } else {
        const bool lower = mode == "lower_left" || mode == "lower_right";
        const bool right = mode == "upper_right" || mode == "lower_right";
        key = {double(lower ? r2 : r1), double(right ? c2 : c1), double(r2)};
      }
    }
    keys.push_back(key);
  }
  if (mode == "character") {
    // Characters whose rows overlap those of the line begun by the top-most one are on
    // that line; a line's characters are then ordered by column.
    std::vector<std::size_t> byTop(keys.size());
    std::iota(byTop.begin(), byTop.end(), std::size_t{0});
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a].row < keys[b].row; });
    double lineBottom = -1e300;
    double line = -1;
    for (const std::size_t i : byTop) {
      if (keys[i].row > lineBottom) {
        line = keys[i].row;
        lineBottom = keys[i].bottom;
      } else {
        lineBottom = std::max(lineBottom, keys[i].bottom);
      }
      keys[i].row = line;
    }
  }
  const bool byRow = rowOrCol == "row" || mode == "character";
  std::vector<std::size_t> indices(keys.size());
  std::iota(indices.begin(), indices.end(), std::size_t{0});
  std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
    const double a1 = byRow ? keys[a].row : keys[a].col, a2 = byRow ? keys[a].col : keys[a].row;
    const double b1 = byRow ? keys[b].row : keys[b].col, b2 = byRow ? keys[b].col : keys[b].row;
    return a1 != b1 ? a1 < b1 : a2 < b2;
  });
  if (order == "false") std::reverse(indices.begin(), indices.end());
  std::vector<HObject::Item> sorted;
  for (const std::size_t i : indices) sorted.push_back(input.items[i]);
  setOutput(SortedRegions, objectOf(sorted));
}

}  // namespace HalconCpp
