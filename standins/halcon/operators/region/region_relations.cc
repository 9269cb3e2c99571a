// Regions compared with each other: symm_difference, test_subset_region, hamming_distance,
// hamming_distance_norm, select_shape_proto, select_region_spatial and spatial_relation
// (HALCON 11.0 reference, chapters "Regions / Sets", "Regions / Tests" and "Regions /
// Features").
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "halconcpp/HOperatorsRegion.h"
#include "operators/region/region_distances.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Runs unionOf(const std::vector<const Runs*>& regions) {
  return regions.empty() ? Runs{} : unionAll(regions);
}

// The regions of both inputs in pairs: one count, else 1502.
struct Pairs {
  std::vector<const Runs*> first, second;
};

Pairs pairsOf(const HObject& regions1, const HObject& regions2, const char* op) {
  checkNoObjects(regions1, op, 1);
  checkNoObjects(regions2, op, 2);
  Pairs pairs{regionsOf(regions1, op, 1), regionsOf(regions2, op, 2)};
  if (pairs.first.size() != pairs.second.size()) fail(op, 1502);
  return pairs;
}

Runs shifted(const Runs& region, std::int32_t rows, std::int32_t cols) {
  Runs out;
  out.reserve(region.size());
  for (const Run& r : region) out.push_back(Run{r.row + rows, r.begin + cols, r.end + cols});
  return out;
}

// Distance: the pixels in one region only. Similarity: 1 - Distance / (|R1| + |R2|), 0 for
// two empty regions.
void hamming(const Pairs& pairs, bool centred, HTuple* Distance, HTuple* Similarity) {
  HTuple distances, similarities;
  for (std::size_t i = 0; i < pairs.first.size(); ++i) {
    const Runs& a = *pairs.first[i];
    Runs b = *pairs.second[i];
    if (centred && !a.empty() && !b.empty()) {
      const Moments ma = momentsOf(a), mb = momentsOf(b);
      b = shifted(b, static_cast<std::int32_t>(std::lround(ma.row - mb.row)),
                  static_cast<std::int32_t>(std::lround(ma.col - mb.col)));
    }
    const std::int64_t areas = runsArea(a) + runsArea(b);
    const std::int64_t distance = areas - 2 * runsArea(intersectRuns(a, b));
    distances.Append(HTuple(static_cast<Hlong>(distance)));
    similarities.Append(HTuple(areas > 0 ? 1 - double(distance) / double(areas) : 0.0));
  }
  setOutput(Distance, std::move(distances));
  setOutput(Similarity, std::move(similarities));
}

// The features of select_shape_proto; 'fits' keeps a region whatever its limits.
double protoFeature(const std::string& name, const Runs& region, const Runs& pattern,
                    const char* op) {
  if (name == "distance_center") {
    const Moments a = momentsOf(region), b = momentsOf(pattern);
    return std::hypot(a.row - b.row, a.col - b.col);
  }
  if (name == "distance_contour") return nearestPixels(region, pattern).distance;
  if (name == "distance_dilate") return double(dilationDistance(region, pattern));
  const double area = double(runsArea(region));
  if (name == "overlaps_abs") return double(runsArea(intersectRuns(region, pattern)));
  if (name == "overlaps_rel") {
    return area > 0 ? 100 * double(runsArea(intersectRuns(region, pattern))) / area : 0;
  }
  if (name == "covers" || name == "fits") {
    const Element element = elementOf(pattern);
    const Runs fitted = pattern.empty() ? Runs{} : erodeRuns(region, element);
    if (name == "fits") return fitted.empty() ? -1 : 1;
    if (fitted.empty()) return 0;
    return 100 * double(runsArea(dilateRuns(fitted, element))) / area;
  }
  fail(op, 1301);
}

// The pairs the spatial operators compare, as indices from 1: with Regions1 empty every
// ordered pair of distinct regions of Regions2 (both indices into Regions2), with one region
// that region against each of Regions2, with as many as Regions2 the regions in order.
struct RegionPairs {
  std::vector<const Runs*> first, second;
  std::vector<std::pair<Hlong, Hlong>> pairs;
};

RegionPairs regionPairsOf(const HObject& regions1, const HObject& regions2, const char* op) {
  RegionPairs c{regionsOf(regions1, op, 1), regionsOf(regions2, op, 2), {}};
  const auto n = static_cast<Hlong>(c.second.size());
  if (c.first.empty()) {
    c.first = c.second;
    for (Hlong i = 1; i <= n; ++i) {
      for (Hlong j = 1; j <= n; ++j) {
        if (i != j) c.pairs.emplace_back(i, j);
      }
    }
  } else if (c.first.size() == 1) {
    for (Hlong j = 1; j <= n; ++j) c.pairs.emplace_back(1, j);
  } else if (c.first.size() == c.second.size()) {
    for (Hlong j = 1; j <= n; ++j) c.pairs.emplace_back(j, j);
  } else {
    fail(op, 1502);
  }
  return c;
}

}  // namespace

void SymmDifference(const HObject& Region1, const HObject& Region2, HObject* RegionDifference) {
  ApiScope scope("SymmDifference");
  const char* op = "symm_difference";
  const Runs other = unionOf(regionsOf(Region2, op, 2));
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region1, op, 1)) {
    items.push_back(
        makeRegion(unionRuns(subtractRuns(*region, other), subtractRuns(other, *region))));
  }
  setOutput(RegionDifference, objectOf(items));
}

void TestSubsetRegion(const HObject& Region1, const HObject& Region2, HTuple* IsSubset) {
  ApiScope scope("TestSubsetRegion");
  const char* op = "test_subset_region";
  checkNoObjects(Region1, op, 1);
  checkNoObjects(Region2, op, 2);
  const Runs whole = unionOf(regionsOf(Region2, op, 2));
  HTuple answers;
  for (const Runs* region : regionsOf(Region1, op, 1)) {
    answers.Append(HTuple(Hlong{subtractRuns(*region, whole).empty() ? 1 : 0}));
  }
  setOutput(IsSubset, std::move(answers));
}

void HammingDistance(const HObject& Regions1, const HObject& Regions2, HTuple* Distance,
                     HTuple* Similarity) {
  ApiScope scope("HammingDistance");
  hamming(pairsOf(Regions1, Regions2, "hamming_distance"), false, Distance, Similarity);
}

// 'center' moves each region of Regions2 by whole pixels so that its centre of gravity falls on
// its partner's (rounded), which is the one normalisation the 11.0 page lists.
void HammingDistanceNorm(const HObject& Regions1, const HObject& Regions2, const HTuple& Norm,
                         HTuple* Distance, HTuple* Similarity) {
  ApiScope scope("HammingDistanceNorm");
  const char* op = "hamming_distance_norm";
  if (oneString(Norm, op, 1) != "center") fail(op, 1301);
  hamming(pairsOf(Regions1, Regions2, op), true, Distance, Similarity);
}

void SelectShapeProto(const HObject& Regions, const HObject& Pattern, HObject* SelectedRegions,
                      const HTuple& Feature, const HTuple& Min, const HTuple& Max) {
  ApiScope scope("SelectShapeProto");
  const char* op = "select_shape_proto";
  const Hlong features = Feature.Length();
  if (features < 1) fail(op, 1401);
  requireLength(Min, features, op, 2);
  requireLength(Max, features, op, 3);
  std::vector<std::string> names;
  std::vector<double> mins, maxs;
  for (Hlong f = 0; f < features; ++f) {
    if (Feature[f].Type() != eElementTypeString) fail(op, 1201);
    names.push_back(Feature[f].S().str());
    mins.push_back(numberAt(Min, f, op, 2));
    maxs.push_back(numberAt(Max, f, op, 3));
  }
  checkNoObjects(Regions, op, 1);
  const Runs pattern = unionOf(regionsOf(Pattern, op, 2));
  std::vector<HObject::Item> kept;
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1);
  const std::vector<HObject::Item> items = Regions.Items();
  for (std::size_t i = 0; i < regions.size(); ++i) {
    bool keep = true;
    for (std::size_t f = 0; keep && f < names.size(); ++f) {
      const double value = protoFeature(names[f], *regions[i], pattern, op);
      keep = names[f] == "fits" ? value > 0 : value >= mins[f] && value <= maxs[f];
    }
    if (keep) kept.push_back(items[i]);
  }
  setOutput(SelectedRegions, objectOf(kept));
}

// The second region's centre within 45 degrees either side of the direction, the bounds
// included, seen from the first region's centre.
void SelectRegionSpatial(const HObject& Regions1, const HObject& Regions2, const HTuple& Direction,
                         HTuple* RegionIndex1, HTuple* RegionIndex2) {
  ApiScope scope("SelectRegionSpatial");
  const char* op = "select_region_spatial";
  const std::string direction = oneString(Direction, op, 1);
  if (direction != "left" && direction != "right" && direction != "above" && direction != "below") {
    fail(op, 1301);
  }
  const RegionPairs c = regionPairsOf(Regions1, Regions2, op);
  HTuple first, second;
  for (const auto& [i, j] : c.pairs) {
    const Moments a = momentsOf(*c.first[std::size_t(i - 1)]);
    const Moments b = momentsOf(*c.second[std::size_t(j - 1)]);
    const double dr = b.row - a.row, dc = b.col - a.col;
    const bool holds = direction == "left"    ? dc < 0 && std::fabs(dr) <= -dc
                       : direction == "right" ? dc > 0 && std::fabs(dr) <= dc
                       : direction == "above" ? dr < 0 && std::fabs(dc) <= -dr
                                              : dr > 0 && std::fabs(dc) <= dr;
    if (holds) first.Append(HTuple(i)), second.Append(HTuple(j));
  }
  setOutput(RegionIndex1, std::move(first));
  setOutput(RegionIndex2, std::move(second));
}

// A pair is listed when at least Percent percent of the second region's pixels lie beyond a
// margin of the first: left of its first column, right of its last, above its first row or
// below its last. 'left' is named before 'right' and 'above' before 'below' when both hold.
void SpatialRelation(const HObject& Regions1, const HObject& Regions2, const HTuple& Percent,
                     HTuple* RegionIndex1, HTuple* RegionIndex2, HTuple* Relation1,
                     HTuple* Relation2) {
  ApiScope scope("SpatialRelation");
  const char* op = "spatial_relation";
  const double percent = oneNumber(Percent, op, 1);
  if (!(percent >= 0 && percent <= 100)) fail(op, 1301);
  const RegionPairs c = regionPairsOf(Regions1, Regions2, op);
  HTuple first, second, horizontal, vertical;
  for (const auto& [i, j] : c.pairs) {
    const Runs& a = *c.first[std::size_t(i - 1)];
    const Runs& b = *c.second[std::size_t(j - 1)];
    std::int32_t r1, c1, r2, c2;
    const double area = double(runsArea(b));
    if (!runsBox(a, &r1, &c1, &r2, &c2) || area == 0) continue;
    std::int64_t left = 0, right = 0, above = 0, below = 0;
    for (const Run& run : b) {
      const std::int64_t length = run.end - run.begin + 1;
      left += std::max<std::int64_t>(0, std::min<std::int64_t>(run.end, c1 - 1) - run.begin + 1);
      right += std::max<std::int64_t>(0, run.end - std::max<std::int64_t>(run.begin, c2 + 1) + 1);
      above += run.row < r1 ? length : 0;
      below += run.row > r2 ? length : 0;
    }
    auto enough = [&](std::int64_t pixels) { return 100 * double(pixels) >= percent * area; };
    const char* h = enough(left) ? "left" : enough(right) ? "right" : "";
    const char* v = enough(above) ? "above" : enough(below) ? "below" : "";
    if (*h == 0 && *v == 0) continue;
    first.Append(HTuple(i)), second.Append(HTuple(j));
    horizontal.Append(HTuple(h)), vertical.Append(HTuple(v));
  }
  setOutput(RegionIndex1, std::move(first));
  setOutput(RegionIndex2, std::move(second));
  setOutput(Relation1, std::move(horizontal));
  setOutput(Relation2, std::move(vertical));
}

}  // namespace HalconCpp
