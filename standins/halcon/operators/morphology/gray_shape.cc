// gray_erosion_shape, gray_dilation_shape, gray_opening_shape and gray_closing_shape: the
// rectangle morphology's extremes over a 'rectangle', 'rhombus' or 'octagon' mask, a real size
// interpolating the two odd sizes about it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "operators/morphology/gray_morphology.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A mask side of the _shape operators: an integer acts as the next odd one; a real between two
// odd sizes gives both, weighed by where it lies between them.
struct OddSides {
  std::int32_t low, high;
  double towardsHigh;
};

OddSides oddSidesOf(const HTuple& value, const char* op, int n) {
  const double side = oneNumber(value, op, n);
  if (!(side >= 1 && side <= 511)) fail(op, 1300 + n);
  if (value[0].Type() != eElementTypeDouble || side == std::floor(side)) {
    const auto odd = static_cast<std::int32_t>(side) | 1;
    if (value[0].Type() != eElementTypeDouble || odd == side) return {odd, odd, 0};
  }
  auto low = static_cast<std::int32_t>(std::floor(side));
  if (low % 2 == 0) --low;
  const std::int32_t high = low + 2;
  return {low, high, (side - low) / 2};
}

Mask shapeMask(const std::string& shape, std::int32_t height, std::int32_t width) {
  Mask mask{HalfMask{height / 2, width / 2}, {}, shape == "rectangle"};
  const std::int32_t r = mask.half.rows;
  for (std::int32_t dy = -r; dy <= r; ++dy) {
    const std::int32_t d = std::abs(dy);
    std::int32_t e = mask.half.cols;
    // The rhombus: |dr| + |dc| <= r; the octagon: the square cut by |dr| + |dc| <= (r + 1/2) sqrt
    // 2, the regular octagon about the square's pixel edges.
    if (shape == "rhombus") e = r - d;
    if (shape == "octagon") {
      e = std::min(e, static_cast<std::int32_t>(std::floor((r + 0.5) * std::sqrt(2.0))) - d);
    }
    mask.halfWidths.push_back(e);
  }
  return mask;
}

void grayMorphologyShape(const HObject& Image, HObject* Result, const HTuple& MaskHeight,
                         const HTuple& MaskWidth, const HTuple& MaskShape, Steps steps,
                         const char* op) {
  const OddSides rows = oddSidesOf(MaskHeight, op, 1), cols = oddSidesOf(MaskWidth, op, 2);
  const std::string shape = oneString(MaskShape, op, 3);
  if (shape != "rectangle" && shape != "rhombus" && shape != "octagon") fail(op, 1303);
  const bool square =
      rows.low == cols.low && rows.high == cols.high && rows.towardsHigh == cols.towardsHigh;
  if (shape != "rectangle" && !square) fail(op, 1302);
  std::vector<WeightedMask> masks;
  for (const bool highRows : {false, true}) {
    for (const bool highCols : {false, true}) {
      const double weight = (highRows ? rows.towardsHigh : 1 - rows.towardsHigh) *
                            (highCols ? cols.towardsHigh : 1 - cols.towardsHigh);
      if (weight <= 0 || (shape != "rectangle" && highRows != highCols)) continue;
      masks.push_back(
          {shapeMask(shape, highRows ? rows.high : rows.low, highCols ? cols.high : cols.low),
           weight});
    }
  }
  grayMorphology(Image, Result, masks, steps, op);
}

}  // namespace

void GrayErosionShape(const HObject& Image, HObject* ImageMin, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayErosionShape");
  grayMorphologyShape(Image, ImageMin, MaskHeight, MaskWidth, MaskShape, Steps::Erosion,
                      "gray_erosion_shape");
}

void GrayDilationShape(const HObject& Image, HObject* ImageMax, const HTuple& MaskHeight,
                       const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayDilationShape");
  grayMorphologyShape(Image, ImageMax, MaskHeight, MaskWidth, MaskShape, Steps::Dilation,
                      "gray_dilation_shape");
}

void GrayOpeningShape(const HObject& Image, HObject* ImageOpening, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayOpeningShape");
  grayMorphologyShape(Image, ImageOpening, MaskHeight, MaskWidth, MaskShape, Steps::Opening,
                      "gray_opening_shape");
}

void GrayClosingShape(const HObject& Image, HObject* ImageClosing, const HTuple& MaskHeight,
                      const HTuple& MaskWidth, const HTuple& MaskShape) {
  ApiScope scope("GrayClosingShape");
  grayMorphologyShape(Image, ImageClosing, MaskHeight, MaskWidth, MaskShape, Steps::Closing,
                      "gray_closing_shape");
}

}  // namespace HalconCpp
