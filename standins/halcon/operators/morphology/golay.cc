// Morphology with the letters of the Golay alphabet: 3 x 3 elements about their centre, each
// rotation a pair of a foreground element (even rotation numbers) and a background element
// (the next odd number), as the golay_elements page draws them. Only the letters whose
// pictures the stand-in could read without doubt are here (docs/standins.md); the others are
// refused as wrong values rather than given shapes of our own.
#include <cstdint>
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

// Row by row, '*' a foreground pixel, 'o' a background pixel, '.' either; pictures[k] holds
// rotations 2k (its '*') and 2k + 1 (its 'o').
struct Letter {
  const char* name;
  int pictures;
  const char* picture[8];
};

constexpr Letter kLetters[] = {
    // h(0,1): the whole 3 x 3 square is foreground, the background element is empty.
    {"h", 1, {"*********"}},
    // e(0,1) ... e(6,7): a line's end, the centre with five background neighbours; the three
    // pixels that do not matter turn from the top to the right, the bottom and the left.
    {"e", 4, {"...o*oooo", "oo.o*.oo.", "oooo*o...", ".oo.*o.oo"}},
};

const Letter& letterOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  for (const Letter& letter : kLetters) {
    if (name == letter.name) return letter;
  }
  fail(op, 1300 + n);
}

int rotationOf(const HTuple& value, const Letter& letter, const char* op, int n) {
  const Hlong rotation = oneInteger(value, op, n);
  if (rotation < 0 || rotation >= 2 * letter.pictures) fail(op, 1300 + n);
  return static_cast<int>(rotation);
}

// The pixels of one rotation about the centre, moved by (row, col).
Runs golayRuns(const Letter& letter, int rotation, std::int32_t row, std::int32_t col) {
  const char* picture = letter.picture[rotation / 2];
  const char mark = rotation % 2 == 0 ? '*' : 'o';
  Runs runs;
  for (std::int32_t r = 0; r < 3; ++r) {
    for (std::int32_t c = 0; c < 3; ++c) {
      if (picture[r * 3 + c] != mark) continue;
      const std::int32_t column = col + c - 1;
      if (!runs.empty() && runs.back().row == row + r - 1 && runs.back().end + 1 == column) {
        runs.back().end = column;
      } else {
        runs.push_back(Run{row + r - 1, column, column});
      }
    }
  }
  return runs;
}

Element golayElement(const Letter& letter, int rotation) {
  return elementOf(golayRuns(letter, rotation, 0, 0));
}

Element mirrored(const Element& element) {
  Element out;
  for (const Span& span : element) out.push_back(Span{-span.dy, -span.end, -span.begin});
  return out;
}

// Every pixel: the largest image the program has made, what an erosion with an empty
// element keeps (erosion1's choice).
Runs maximumRegion() {
  InsideScope inside;
  HTuple width, height;
  GetSystem("width", &width);
  GetSystem("height", &height);
  return rectangleRuns(0, 0, static_cast<std::int32_t>(height[0].L()) - 1,
                       static_cast<std::int32_t>(width[0].L()) - 1);
}

// Iterations stop with 6001 once their runs add up beyond this, however many were asked for.
constexpr std::uint64_t kIteratedWork = std::uint64_t{1} << 24;

// Minkowski addition with the element (add) or the centres where it fits (else).
Runs step(const Runs& region, const Element& element, bool add) {
  if (element.empty()) return add ? Runs{} : maximumRegion();
  return clippedToCoordinateBound(morphologySteps(region, {{&element, add}}));
}

Runs iterated(const Runs& region, const Element& element, bool add, Hlong iterations,
              const char* op) {
  Runs current = region;
  std::uint64_t work = 0;
  for (Hlong i = 0; i < iterations; ++i) {
    Runs next = step(current, element, add);
    if (sameRuns(next, current)) break;
    work += next.size() * 3;
    if (work > kIteratedWork) fail(op, 6001);
    current = std::move(next);
  }
  return current;
}

// The centres whose foreground element lies in the region and whose background element
// misses it; an odd rotation swaps the two elements of its pair.
Runs hitOrMiss(const Runs& region, const Letter& letter, int rotation) {
  const Runs fits = step(region, golayElement(letter, rotation), false);
  const Element misses = mirrored(golayElement(letter, rotation ^ 1));
  return misses.empty() ? fits : subtractRuns(fits, dilateRuns(region, misses));
}

template <typename Step>
HObject eachRegion(const HObject& input, const char* op, Step&& f) {
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(input, op, 1)) items.push_back(makeRegion(f(*region)));
  return objectOf(items);
}

std::int32_t coordinateOf(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < -kCoordinateBound || v > kCoordinateBound) fail(op, 1300 + n);
  return static_cast<std::int32_t>(v);
}

Hlong iterationsOf(const HTuple& value, const char* op, int n) {
  const Hlong iterations = oneInteger(value, op, n);
  if (iterations < 1) fail(op, 1300 + n);
  return iterations;
}

}  // namespace

void GolayElements(HObject* StructElement1, HObject* StructElement2, const HTuple& GolayElement,
                   const HTuple& Rotation, const HTuple& Row, const HTuple& Column) {
  ApiScope scope("GolayElements");
  const char* op = "golay_elements";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  // Only the foreground numbers name a pair here.
  if (rotation % 2 != 0) fail(op, 1302);
  const std::int32_t row = coordinateOf(Row, op, 3);
  const std::int32_t col = coordinateOf(Column, op, 4);
  setOutput(StructElement1, objectOf({makeRegion(golayRuns(letter, rotation, row, col))}));
  setOutput(StructElement2, objectOf({makeRegion(golayRuns(letter, rotation + 1, row, col))}));
}

void HitOrMissGolay(const HObject& Region, HObject* RegionHitMiss, const HTuple& GolayElement,
                    const HTuple& Rotation) {
  ApiScope scope("HitOrMissGolay");
  const char* op = "hit_or_miss_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  setOutput(RegionHitMiss, eachRegion(Region, op, [&](const Runs& region) {
              return hitOrMiss(region, letter, rotation);
            }));
}

void ThinningGolay(const HObject& Region, HObject* RegionThin, const HTuple& GolayElement,
                   const HTuple& Rotation) {
  ApiScope scope("ThinningGolay");
  const char* op = "thinning_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  setOutput(RegionThin, eachRegion(Region, op, [&](const Runs& region) {
              return subtractRuns(region, hitOrMiss(region, letter, rotation));
            }));
}

void ThickeningGolay(const HObject& Region, HObject* RegionThick, const HTuple& GolayElement,
                     const HTuple& Rotation) {
  ApiScope scope("ThickeningGolay");
  const char* op = "thickening_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  setOutput(
      RegionThick, eachRegion(Region, op, [&](const Runs& region) {
        return clippedToCoordinateBound(unionRuns(region, hitOrMiss(region, letter, rotation)));
      }));
}

void DilationGolay(const HObject& Region, HObject* RegionDilation, const HTuple& GolayElement,
                   const HTuple& Iterations, const HTuple& Rotation) {
  ApiScope scope("DilationGolay");
  const char* op = "dilation_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const Hlong n = iterationsOf(Iterations, op, 2);
  const int rotation = rotationOf(Rotation, letter, op, 3);
  // The centres at which the element meets the region: addition of the mirrored element.
  const Element element = mirrored(golayElement(letter, rotation));
  setOutput(RegionDilation, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, true, n, op);
            }));
}

void ErosionGolay(const HObject& Region, HObject* RegionErosion, const HTuple& GolayElement,
                  const HTuple& Iterations, const HTuple& Rotation) {
  ApiScope scope("ErosionGolay");
  const char* op = "erosion_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const Hlong n = iterationsOf(Iterations, op, 2);
  const int rotation = rotationOf(Rotation, letter, op, 3);
  const Element element = golayElement(letter, rotation);
  setOutput(RegionErosion, eachRegion(Region, op, [&](const Runs& region) {
              return iterated(region, element, false, n, op);
            }));
}

void OpeningGolay(const HObject& Region, HObject* RegionOpening, const HTuple& GolayElement,
                  const HTuple& Rotation) {
  ApiScope scope("OpeningGolay");
  const char* op = "opening_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  // As opening: an erosion, then a Minkowski addition with the same element.
  const Element element = golayElement(letter, rotation);
  setOutput(RegionOpening, eachRegion(Region, op, [&](const Runs& region) {
              return step(step(region, element, false), element, true);
            }));
}

void ClosingGolay(const HObject& Region, HObject* RegionClosing, const HTuple& GolayElement,
                  const HTuple& Rotation) {
  ApiScope scope("ClosingGolay");
  const char* op = "closing_golay";
  const Letter& letter = letterOf(GolayElement, op, 1);
  const int rotation = rotationOf(Rotation, letter, op, 2);
  // As closing: a dilation, then a Minkowski subtraction, both with the element mirrored.
  const Element element = mirrored(golayElement(letter, rotation));
  setOutput(RegionClosing, eachRegion(Region, op, [&](const Runs& region) {
              return step(step(region, element, true), element, false);
            }));
}

}  // namespace HalconCpp
