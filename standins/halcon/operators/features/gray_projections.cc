// gray_projections: the mean grey value along each row and each column of a region, or along
// the axes of its smallest enclosing rectangle.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/gray_stats.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A row or column without region points projects to -1.
constexpr double kNoPoints = -1;

void simpleProjections(const Runs& region, const GrayImage& image, HTuple* hor, HTuple* vert) {
  std::int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  if (!runsBox(region, &r1, &c1, &r2, &c2)) return;
  std::vector<double> rowSum(std::size_t(r2 - r1 + 1)), rowCount(rowSum.size());
  std::vector<double> colSum(std::size_t(c2 - c1 + 1)), colCount(colSum.size());
  for (const Run& run : region) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double g = image.at(run.row, col);
      rowSum[std::size_t(run.row - r1)] += g;
      rowCount[std::size_t(run.row - r1)] += 1;
      colSum[std::size_t(col - c1)] += g;
      colCount[std::size_t(col - c1)] += 1;
    }
  }
  for (std::size_t i = 0; i < rowSum.size(); ++i) {
    hor->Append(HTuple(rowCount[i] > 0 ? rowSum[i] / rowCount[i] : kNoPoints));
  }
  for (std::size_t i = 0; i < colSum.size(); ++i) {
    vert->Append(HTuple(colCount[i] > 0 ? colSum[i] / colCount[i] : kNoPoints));
  }
}

// The grey value at a point between pixel centres, bilinear; false outside the image.
bool sample(const GrayImage& image, double row, double col, double* value) {
  const ImageObject& im = *image.image;
  if (row < -1e-9 || col < -1e-9 || row > im.height - 1 + 1e-9 || col > im.width - 1 + 1e-9) {
    return false;
  }
  const auto r0 = static_cast<std::int32_t>(std::floor(row + 1e-9));
  const auto c0 = static_cast<std::int32_t>(std::floor(col + 1e-9));
  const double fr = std::max(0.0, row - r0), fc = std::max(0.0, col - c0);
  const std::int32_t r1 = std::min(r0 + 1, im.height - 1), c1 = std::min(c0 + 1, im.width - 1);
  *value = (1 - fr) * ((1 - fc) * image.at(r0, c0) + fc * image.at(r0, c1)) +
           fr * ((1 - fc) * image.at(r1, c0) + fc * image.at(r1, c1));
  return true;
}

// Sample offsets along an axis of half length `length`, one pixel apart and centred.
std::vector<double> offsets(double length) {
  const auto n = static_cast<std::int32_t>(std::floor(2 * length + 1e-9)) + 1;
  std::vector<double> steps;
  for (std::int32_t i = 0; i < n; ++i) steps.push_back(i - (n - 1) / 2.0);
  return steps;
}

void rectangleProjections(const Runs& region, const GrayImage& image, HTuple* hor, HTuple* vert) {
  const Rectangle2 box = smallestRectangle2(region);
  // The larger axis (length1) runs at phi from the column axis; rows point down.
  const double ar = -std::sin(box.phi), ac = std::cos(box.phi);
  const double br = ac, bc = -ar;
  const std::vector<double> us = offsets(box.length1), vs = offsets(box.length2);
  std::vector<double> alongSum(vs.size()), alongCount(vs.size());
  std::vector<double> acrossSum(us.size()), acrossCount(us.size());
  for (std::size_t j = 0; j < vs.size(); ++j) {
    for (std::size_t i = 0; i < us.size(); ++i) {
      double g = 0;
      if (!sample(image, box.row + us[i] * ar + vs[j] * br, box.col + us[i] * ac + vs[j] * bc,
                  &g)) {
        continue;
      }
      alongSum[j] += g;
      alongCount[j] += 1;
      acrossSum[i] += g;
      acrossCount[i] += 1;
    }
  }
  for (std::size_t j = 0; j < vs.size(); ++j) {
    hor->Append(HTuple(alongCount[j] > 0 ? alongSum[j] / alongCount[j] : kNoPoints));
  }
  for (std::size_t i = 0; i < us.size(); ++i) {
    vert->Append(HTuple(acrossCount[i] > 0 ? acrossSum[i] / acrossCount[i] : kNoPoints));
  }
}

}  // namespace

void GrayProjections(const HObject& Region, const HObject& Image, const HTuple& Mode,
                     HTuple* HorProjection, HTuple* VertProjection) {
  ApiScope scope("GrayProjections");
  const char* op = "gray_projections";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "simple" && mode != "rectangle") fail(op, 1301);
  const GrayImage image = grayImageOf(Image, op, 2);
  if (objectCount(Region, op, 1) > 1) fail(op, 1501);
  HTuple hor, vert;
  for (const Runs& region : measuredRegions(Region, image, op, 1)) {
    if (mode == "simple") {
      simpleProjections(region, image, &hor, &vert);
    } else if (!region.empty()) {
      rectangleProjections(region, image, &hor, &vert);
    }
  }
  setOutput(HorProjection, std::move(hor));
  setOutput(VertProjection, std::move(vert));
}

}  // namespace HalconCpp
