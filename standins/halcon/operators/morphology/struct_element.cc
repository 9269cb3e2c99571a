// Morphology with structuring regions of any shape, on runs. The element's pixels are taken
// relative to a reference point: its centre of gravity (dilation1, erosion1, opening, closing,
// the Minkowski operators and the hats) or a point the caller names (dilation2, erosion2,
// hit_or_miss). Erosion and Minkowski addition use the element as it lies; dilation and
// Minkowski subtraction use it mirrored at the reference point.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "halconcpp/HOperatorsSystem.h"
#include "operators/morphology/bit_morphology.h"
#include "operators/morphology/region_bounds.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const Runs& oneElement(const HObject& object, const char* op, int n) {
  const std::vector<const Runs*> regions = regionsOf(object, op, n);
  if (regions.size() != 1) fail(op, 1500 + n);
  return *regions.front();
}

Element relativeTo(const Runs& shape, std::int32_t row, std::int32_t col) {
  Element element;
  element.reserve(shape.size());
  for (const Run& run : shape) {
    element.push_back(Span{run.row - row, run.begin - col, run.end - col});
  }
  return element;
}

// The centre of gravity, halves rounded down and right, so that an element of even side
// reaches further right and down when it dilates, as dilation_rectangle1's does.
Element aboutCentre(const Runs& shape) {
  double row = 0, col = 0;
  runsCenter(shape, &row, &col);
  return relativeTo(shape, static_cast<std::int32_t>(std::floor(row + 0.5)),
                    static_cast<std::int32_t>(std::floor(col + 0.5)));
}

std::int32_t referenceCoordinate(const HTuple& value, const char* op, int n) {
  const Hlong coordinate = oneInteger(value, op, n);
  if (coordinate < -kCoordinateBound || coordinate > kCoordinateBound) fail(op, 1300 + n);
  return static_cast<std::int32_t>(coordinate);
}

Element mirrored(const Element& element) {
  Element out;
  out.reserve(element.size());
  for (const Span& span : element) out.push_back(Span{-span.dy, -span.end, -span.begin});
  return out;
}

Hlong iterationsOf(const HTuple& value, const char* op, int n) {
  const Hlong iterations = oneInteger(value, op, n);
  if (iterations < 1) fail(op, 1300 + n);
  return iterations;
}

// What an erosion with no element leaves: every pixel, which here is the largest image the
// program has made ('width' x 'height').
Runs maximumRegion() {
  InsideScope inside;
  HTuple width, height;
  GetSystem("width", &width);
  GetSystem("height", &height);
  return rectangleRuns(0, 0, static_cast<std::int32_t>(height[0].L()) - 1,
                       static_cast<std::int32_t>(width[0].L()) - 1);
}

enum class Kind { Add, Fit };  // Minkowski addition with the element, or where it fits

Runs once(const Runs& region, const Element& element, Kind kind) {
  if (element.empty()) return kind == Kind::Add ? Runs{} : maximumRegion();
  return clippedToCoordinateBound(morphologySteps(region, {{&element, kind == Kind::Add}}));
}

// The work an iterated operator may do over all its iterations, in runs built times the
// element's spans. A large element iterated a billion times grows the region by its size
// each time until the coordinate bound: hours of work for nothing a program wants, refused
// like memory beyond the bound. A 3 x 3 element still iterates 180 times over a region of
// 10,000 runs.
constexpr std::uint64_t kIteratedWork = std::uint64_t{1} << 24;

// The result of iteration n-1 is the input of iteration n; a fixed point ends the loop early.
Runs iterated(const Runs& region, const Element& element, Kind kind, Hlong iterations,
              const char* op) {
  Runs current = once(region, element, kind);
  const std::uint64_t spans = std::max<std::uint64_t>(element.size(), 1);
  std::uint64_t work = current.size() * spans;
  for (Hlong i = 1; i < iterations; ++i) {
    Runs next = once(current, element, kind);
    if (sameRuns(next, current)) break;
    work += next.size() * spans;
    if (work > kIteratedWork) fail(op, 6001);
    current = std::move(next);
  }
  return current;
}

// The two elements of a hit-or-miss about the caller's reference point.
struct HitMiss {
  Element hits;    // must lie inside the region
  Element misses;  // must lie outside, mirrored
};

HitMiss hitMissOf(const HObject& first, const HObject& second, const HTuple& row,
                  const HTuple& column, const char* op) {
  const Runs& hit = oneElement(first, op, 2);
  const Runs& miss = oneElement(second, op, 3);
  const std::int32_t r = referenceCoordinate(row, op, 1);
  const std::int32_t c = referenceCoordinate(column, op, 2);
  // The erosion of the complement by the second element is the complement of the region's
  // dilation by that element mirrored, which needs no complement of an endless plane.
  return HitMiss{relativeTo(hit, r, c), mirrored(relativeTo(miss, r, c))};
}

Runs hitOrMiss(const Runs& region, const HitMiss& pair) {
  const Runs fits = once(region, pair.hits, Kind::Fit);
  return pair.misses.empty() ? fits : subtractRuns(fits, dilateRuns(region, pair.misses));
}

// Iterations of a step that stop at a fixed point (thinning and thickening settle within the
// region's extent), with the work of all of them bounded as iterated's is.
template <typename Step>
Runs untilSettled(const Runs& region, Hlong iterations, const char* op, Step&& step) {
  Runs current = region;
  std::uint64_t work = 0;
  for (Hlong i = 0; i < iterations; ++i) {
    Runs next = step(current);
    if (sameRuns(next, current)) break;
    work += next.size() + current.size();
    if (work > kIteratedWork) fail(op, 6001);
    current = std::move(next);
  }
  return current;
}

template <typename Step>
HObject eachRegion(const HObject& input, const char* op, Step&& step) {
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(input, op, 1)) items.push_back(makeRegion(step(*region)));
  return objectOf(items);
}

// erosion1, then minkowski_add1 (opening); dilation1, then minkowski_sub1 (closing).
Runs opened(const Runs& region, const Element& element) {
  return once(once(region, element, Kind::Fit), element, Kind::Add);
}
Runs closed(const Runs& region, const Element& element) {
  const Element mirror = mirrored(element);
  return once(once(region, mirror, Kind::Add), mirror, Kind::Fit);
}

}  // namespace

void Dilation1(const HObject& Region, const HObject& StructElement, HObject* RegionDilation,
               const HTuple& Iterations) {
  ApiScope scope("Dilation1");
  const char* op = "dilation1";
  const Element element = mirrored(aboutCentre(oneElement(StructElement, op, 2)));
  const Hlong n = iterationsOf(Iterations, op, 1);
  setOutput(RegionDilation, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Add, n, op);
            }));
}

void Erosion1(const HObject& Region, const HObject& StructElement, HObject* RegionErosion,
              const HTuple& Iterations) {
  ApiScope scope("Erosion1");
  const char* op = "erosion1";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  const Hlong n = iterationsOf(Iterations, op, 1);
  setOutput(RegionErosion, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Fit, n, op);
            }));
}

void Dilation2(const HObject& Region, const HObject& StructElement, HObject* RegionDilation,
               const HTuple& Row, const HTuple& Column, const HTuple& Iterations) {
  ApiScope scope("Dilation2");
  const char* op = "dilation2";
  const Runs& shape = oneElement(StructElement, op, 2);
  const Element element = mirrored(
      relativeTo(shape, referenceCoordinate(Row, op, 1), referenceCoordinate(Column, op, 2)));
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionDilation, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Add, n, op);
            }));
}

void Erosion2(const HObject& Region, const HObject& StructElement, HObject* RegionErosion,
              const HTuple& Row, const HTuple& Column, const HTuple& Iterations) {
  ApiScope scope("Erosion2");
  const char* op = "erosion2";
  const Runs& shape = oneElement(StructElement, op, 2);
  const Element element =
      relativeTo(shape, referenceCoordinate(Row, op, 1), referenceCoordinate(Column, op, 2));
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionErosion, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Fit, n, op);
            }));
}

void MinkowskiAdd1(const HObject& Region, const HObject& StructElement, HObject* RegionMinkAdd,
                   const HTuple& Iterations) {
  ApiScope scope("MinkowskiAdd1");
  const char* op = "minkowski_add1";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  const Hlong n = iterationsOf(Iterations, op, 1);
  setOutput(RegionMinkAdd, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Add, n, op);
            }));
}

void MinkowskiSub1(const HObject& Region, const HObject& StructElement, HObject* RegionMinkSub,
                   const HTuple& Iterations) {
  ApiScope scope("MinkowskiSub1");
  const char* op = "minkowski_sub1";
  const Element element = mirrored(aboutCentre(oneElement(StructElement, op, 2)));
  const Hlong n = iterationsOf(Iterations, op, 1);
  setOutput(RegionMinkSub, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Fit, n, op);
            }));
}

void Opening(const HObject& Region, const HObject& StructElement, HObject* RegionOpening) {
  ApiScope scope("Opening");
  const char* op = "opening";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  setOutput(RegionOpening,
            eachRegion(Region, op, [&](const Runs& region) { return opened(region, element); }));
}

void Closing(const HObject& Region, const HObject& StructElement, HObject* RegionClosing) {
  ApiScope scope("Closing");
  const char* op = "closing";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  setOutput(RegionClosing,
            eachRegion(Region, op, [&](const Runs& region) { return closed(region, element); }));
}

void TopHat(const HObject& Region, const HObject& StructElement, HObject* RegionTopHat) {
  ApiScope scope("TopHat");
  const char* op = "top_hat";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  setOutput(RegionTopHat, eachRegion(Region, op, [&](const Runs& region) {
              return subtractRuns(region, opened(region, element));
            }));
}

void BottomHat(const HObject& Region, const HObject& StructElement, HObject* RegionBottomHat) {
  ApiScope scope("BottomHat");
  const char* op = "bottom_hat";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  setOutput(RegionBottomHat, eachRegion(Region, op, [&](const Runs& region) {
              return subtractRuns(closed(region, element), region);
            }));
}

void HitOrMiss(const HObject& Region, const HObject& StructElement1, const HObject& StructElement2,
               HObject* RegionHitMiss, const HTuple& Row, const HTuple& Column) {
  ApiScope scope("HitOrMiss");
  const char* op = "hit_or_miss";
  const HitMiss pair = hitMissOf(StructElement1, StructElement2, Row, Column, op);
  setOutput(RegionHitMiss,
            eachRegion(Region, op, [&](const Runs& region) { return hitOrMiss(region, pair); }));
}

void MinkowskiAdd2(const HObject& Region, const HObject& StructElement, HObject* RegionMinkAdd,
                   const HTuple& Row, const HTuple& Column, const HTuple& Iterations) {
  ApiScope scope("MinkowskiAdd2");
  const char* op = "minkowski_add2";
  const Runs& shape = oneElement(StructElement, op, 2);
  const Element element =
      relativeTo(shape, referenceCoordinate(Row, op, 1), referenceCoordinate(Column, op, 2));
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionMinkAdd, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Add, n, op);
            }));
}

void MinkowskiSub2(const HObject& Region, const HObject& StructElement, HObject* RegionMinkSub,
                   const HTuple& Row, const HTuple& Column, const HTuple& Iterations) {
  ApiScope scope("MinkowskiSub2");
  const char* op = "minkowski_sub2";
  const Runs& shape = oneElement(StructElement, op, 2);
  const Element element = mirrored(
      relativeTo(shape, referenceCoordinate(Row, op, 1), referenceCoordinate(Column, op, 2)));
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionMinkSub, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, Kind::Fit, n, op);
            }));
}

void MorphHat(const HObject& Region, const HObject& StructElement, HObject* RegionMorphHat) {
  ApiScope scope("MorphHat");
  const char* op = "morph_hat";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  setOutput(RegionMorphHat, eachRegion(Region, op, [&](const Runs& region) {
              return unionRuns(subtractRuns(region, opened(region, element)),
                               subtractRuns(closed(region, element), region));
            }));
}

void OpeningSeg(const HObject& Region, const HObject& StructElement, HObject* RegionOpening) {
  ApiScope scope("OpeningSeg");
  const char* op = "opening_seg";
  const Element element = aboutCentre(oneElement(StructElement, op, 2));
  const Element mirror = mirrored(element);
  const int neighbourhood = systemNeighbourhood();
  // erosion1, connection, then dilation1 of each component, as the page simulates it.
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    for (const Runs& part : componentsOf(once(*region, element, Kind::Fit), neighbourhood)) {
      items.push_back(makeRegion(once(part, mirror, Kind::Add)));
    }
  }
  setOutput(RegionOpening, objectOf(items));
}

void MorphSkeleton(const HObject& Region, HObject* RegionSkeleton) {
  ApiScope scope("MorphSkeleton");
  const char* op = "morph_skeleton";
  // Golay's 'h', the 3 x 3 square: the union over n of the n-th erosion less its opening.
  // Each erosion takes a layer off, so the loop ends within half the region's smaller side.
  const Element square = elementOf(rectangleRuns(-1, -1, 1, 1));
  setOutput(RegionSkeleton, eachRegion(Region, op, [&](const Runs& region) {
              std::vector<Runs> parts;
              for (Runs eroded = region; !eroded.empty();
                   eroded = once(eroded, square, Kind::Fit)) {
                parts.push_back(subtractRuns(eroded, opened(eroded, square)));
              }
              std::vector<const Runs*> all;
              for (const Runs& part : parts) all.push_back(&part);
              return all.empty() ? Runs{} : unionAll(all);
            }));
}

void Thinning(const HObject& Region, const HObject& StructElement1, const HObject& StructElement2,
              HObject* RegionThin, const HTuple& Row, const HTuple& Column,
              const HTuple& Iterations) {
  ApiScope scope("Thinning");
  const char* op = "thinning";
  const HitMiss pair = hitMissOf(StructElement1, StructElement2, Row, Column, op);
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionThin, eachRegion(Region, op, [&](const Runs& region) {
              return untilSettled(region, n, op, [&](const Runs& r) {
                return subtractRuns(r, hitOrMiss(r, pair));
              });
            }));
}

void Thickening(const HObject& Region, const HObject& StructElement1, const HObject& StructElement2,
                HObject* RegionThick, const HTuple& Row, const HTuple& Column,
                const HTuple& Iterations) {
  ApiScope scope("Thickening");
  const char* op = "thickening";
  const HitMiss pair = hitMissOf(StructElement1, StructElement2, Row, Column, op);
  const Hlong n = iterationsOf(Iterations, op, 3);
  setOutput(RegionThick, eachRegion(Region, op, [&](const Runs& region) {
              return untilSettled(region, n, op, [&](const Runs& r) {
                return clippedToCoordinateBound(unionRuns(r, hitOrMiss(r, pair)));
              });
            }));
}

void Boundary(const HObject& Region, HObject* RegionBorder, const HTuple& BoundaryType) {
  ApiScope scope("Boundary");
  const char* op = "boundary";
  const std::string type = oneString(BoundaryType, op, 1);
  if (type != "inner" && type != "outer" && type != "inner_filled") fail(op, 1301);
  // The reference's own simulation: the region less its erosion by the 3 x 3 square
  // (erosion_circle 1.5), or its dilation by that square less the region.
  const Element square = elementOf(rectangleRuns(-1, -1, 1, 1));
  setOutput(RegionBorder, eachRegion(Region, op, [&](const Runs& region) {
              if (type == "outer") return subtractRuns(dilateRuns(region, square), region);
              if (type == "inner") return subtractRuns(region, erodeRuns(region, square));
              std::vector<const Runs*> parts{&region};
              const std::vector<Runs> holes = holesOf(region, systemNeighbourhood());
              for (const Runs& hole : holes) parts.push_back(&hole);
              const Runs filled = unionAll(parts);
              return subtractRuns(filled, erodeRuns(filled, square));
            }));
}

}  // namespace HalconCpp
