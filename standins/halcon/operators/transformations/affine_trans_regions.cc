// Regions through an affine matrix. Each pixel of the result is decided by the input pixel
// its centre maps back to, so that a transformed region has no gaps however it is turned.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/hom_mat2d.h"
#include "operators/transformations/region_pull_back.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Runs transformedRuns(const Runs& region, const AffineMatrix& forward, const AffineMatrix& back) {
  std::int32_t r1, c1, r2, c2;
  if (!runsBox(region, &r1, &c1, &r2, &c2)) return {};
  double top = HUGE_VAL, bottom = -HUGE_VAL, left = HUGE_VAL, right = -HUGE_VAL;
  for (double r : {r1 - 0.5, r2 + 0.5}) {
    for (double c : {c1 - 0.5, c2 + 0.5}) {
      const double x = forward[0] * r + forward[1] * c + forward[2];
      const double y = forward[3] * r + forward[4] * c + forward[5];
      top = std::min(top, x), bottom = std::max(bottom, x);
      left = std::min(left, y), right = std::max(right, y);
    }
  }
  return pulledBackRuns(region, top, bottom, left, right,
                        [&back](double row, double col, double* x, double* y) {
                          *x = back[0] * row + back[1] * col + back[2];
                          *y = back[3] * row + back[4] * col + back[5];
                          return true;
                        });
}

}  // namespace

void AffineTransRegion(const HObject& Region, HObject* RegionAffineTrans, const HTuple& HomMat2D,
                       const HTuple& Interpolate) {
  ApiScope scope("AffineTransRegion");
  const char* op = "affine_trans_region";
  const AffineMatrix forward = pixelMatrix(homMat2dOf(HomMat2D, op, 1));
  const std::string interpolate = oneString(Interpolate, op, 2);
  if (interpolate != "nearest_neighbor" && interpolate != "constant") fail(op, 1302);
  const AffineMatrix back = inverted(forward, op);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1, false)) {
    items.push_back(makeRegion(transformedRuns(*region, forward, back)));
  }
  setOutput(RegionAffineTrans, objectOf(items));
}

}  // namespace HalconCpp
