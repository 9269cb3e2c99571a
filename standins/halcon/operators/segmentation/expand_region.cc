// expand_region, expand_gray and expand_gray_ref: regions grown into the free area between
// them, or their overlaps shared out, through region_expansion.h.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "operators/segmentation/region_expansion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The forbidden area: the union of the input's regions (an empty input forbids nothing).
Runs forbiddenOf(const HObject& forbidden, const char* op, int n) {
  return unionAll(regionsOf(forbidden, op, n));
}

HObject regionsObject(std::vector<Runs> grown) {
  std::vector<HObject::Item> items;
  for (Runs& runs : grown) items.push_back(makeRegion(std::move(runs)));
  return objectOf(items);
}

// The grey values a pixel may be taken by: inside the image's domain.
struct GrayRule {
  const ImageObject* image;
  const std::uint8_t* pixels;
  long threshold;
  long reference;  // expand_gray_ref's RefGray; < 0 for expand_gray
  bool inside(std::int32_t row, std::int32_t col) const {
    return row >= 0 && col >= 0 && row < image->height && col < image->width &&
           runsContain(*image->domain, row, col);
  }
  long gray(std::int32_t row, std::int32_t col) const { return pixels[image->offset(row, col)]; }
};

// expand_gray: the pixel's grey value differs from its neighbour's in the region by at most
// Threshold; expand_gray_ref: from RefGray.
bool admitsGray(const void* context, std::int32_t row, std::int32_t col, std::int32_t fromRow,
                std::int32_t fromCol) {
  const auto& rule = *static_cast<const GrayRule*>(context);
  if (!rule.inside(row, col)) return false;
  if (rule.reference >= 0) return std::labs(rule.gray(row, col) - rule.reference) <= rule.threshold;
  if (!rule.inside(fromRow, fromCol)) return false;
  return std::labs(rule.gray(row, col) - rule.gray(fromRow, fromCol)) <= rule.threshold;
}

long grayParameter(const HTuple& value, const char* op, int n) {
  const Hlong gray = oneInteger(value, op, n);
  if (gray < 0 || gray > 255) fail(op, 1300 + n);
  return static_cast<long>(gray);
}

// Any Threshold >= 0; grey values differ by 255 at most, so a larger one admits every pixel.
long thresholdParameter(const HTuple& value, const char* op, int n) {
  const Hlong threshold = oneInteger(value, op, n);
  if (threshold < 0) fail(op, 1300 + n);
  return static_cast<long>(std::min<Hlong>(threshold, 255));
}

HObject expandGray(const HObject& Regions, const HObject& Image, const HObject& ForbiddenArea,
                   const HTuple& Iterations, const HTuple& Mode, long reference,
                   const HTuple& Threshold, int thresholdAt, const char* op) {
  const Expansion expansion = expansionOf(Iterations, Mode, op, 1);
  GrayRule rule{nullptr, nullptr, thresholdParameter(Threshold, op, thresholdAt), reference};
  const ImagePtr image = oneImage(Image, op, 2);
  if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  rule.image = image.get();
  rule.pixels = image->pixels(0);
  return regionsObject(expandRegions(regionsOf(Regions, op, 1), forbiddenOf(ForbiddenArea, op, 3),
                                     expansion, op, admitsGray, &rule));
}

}  // namespace

void ExpandRegion(const HObject& Regions, const HObject& ForbiddenArea, HObject* RegionExpanded,
                  const HTuple& Iterations, const HTuple& Mode) {
  ApiScope scope("ExpandRegion");
  const char* op = "expand_region";
  const Expansion expansion = expansionOf(Iterations, Mode, op, 1);
  setOutput(RegionExpanded,
            regionsObject(expandRegions(regionsOf(Regions, op, 1),
                                        forbiddenOf(ForbiddenArea, op, 2), expansion, op)));
}

void ExpandGray(const HObject& Regions, const HObject& Image, const HObject& ForbiddenArea,
                HObject* RegionExpand, const HTuple& Iterations, const HTuple& Mode,
                const HTuple& Threshold) {
  ApiScope scope("ExpandGray");
  setOutput(RegionExpand, expandGray(Regions, Image, ForbiddenArea, Iterations, Mode, -1, Threshold,
                                     3, "expand_gray"));
}

void ExpandGrayRef(const HObject& Regions, const HObject& Image, const HObject& ForbiddenArea,
                   HObject* RegionExpand, const HTuple& Iterations, const HTuple& Mode,
                   const HTuple& RefGray, const HTuple& Threshold) {
  ApiScope scope("ExpandGrayRef");
  const char* op = "expand_gray_ref";
  setOutput(RegionExpand, expandGray(Regions, Image, ForbiddenArea, Iterations, Mode,
                                     grayParameter(RefGray, op, 3), Threshold, 4, op));
}

}  // namespace HalconCpp
