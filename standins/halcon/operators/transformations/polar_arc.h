// The annular arc of the polar transformations (HALCON 11.0 polar_trans_image_ext and its
// relatives): row 0 of the polar image lies on RadiusStart and row Height - 1 on RadiusEnd,
// column 0 on AngleStart and column Width - 1 on AngleEnd, both ends inclusive. Angles turn
// counterclockwise as the image shows them, so that a positive angle points up (towards
// smaller rows).
#ifndef QUORVEX_STANDINS_HALCON_POLAR_ARC_H
#define QUORVEX_STANDINS_HALCON_POLAR_ARC_H

#include <cmath>
#include <cstdint>

#include "core/params.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

constexpr double kPolarTurn = 6.28318530717958647692;

struct PolarArc {
  double row, col;
  double angleStart, angleEnd;
  double radiusStart, radiusEnd;
  // The polar image's size.
  std::int32_t width, height;

  double angleStep() const { return width > 1 ? (angleEnd - angleStart) / (width - 1) : 0; }
  double radiusStep() const { return height > 1 ? (radiusEnd - radiusStart) / (height - 1) : 0; }

  // Where the polar point (pr, pc) lies in the Cartesian image.
  void toCartesian(double pr, double pc, double* x, double* y) const {
    const double angle = angleStart + pc * angleStep();
    const double radius = radiusStart + pr * radiusStep();
    *x = row - radius * std::sin(angle);
    *y = col + radius * std::cos(angle);
  }

  // The polar row of a radius; NaN where the radii span nothing and it is not that radius.
  double polarRow(double radius) const { return along(radius - radiusStart, radiusStep()); }

  // The polar column of an angle measured from AngleStart in the arc's direction, NaN as for
  // the rows.
  double polarColumn(double turned) const { return along(turned, angleStep()); }

  // The polar column of `angle`: the first turn from AngleStart in the arc's direction whose
  // column lies within -0.5 .. width - 0.5, so that an arc longer than a full turn keeps its
  // first turn only; NaN when none does.
  double columnOfAngle(double angle) const {
    const double sign = angleEnd < angleStart ? -1 : 1;
    double turned = std::fmod(sign * (angle - angleStart), kPolarTurn);
    if (turned < 0) turned += kPolarTurn;
    for (const double t : {turned - kPolarTurn, turned}) {
      const double column = polarColumn(sign * t);
      if (column >= -0.5 && column < width - 0.5) return column;
    }
    return NAN;
  }

  // The angle of (x, y) about the centre, 0 to the right, and its distance from the centre.
  void polarOf(double x, double y, double* angle, double* radius) const {
    *angle = std::atan2(row - x, y - col);
    *radius = std::hypot(row - x, y - col);
  }

 private:
  static double along(double offset, double step) {
    if (step != 0) return offset / step;
    return offset == 0 ? 0 : NAN;
  }
};

// A size parameter at position n: 1 .. 32768, else 1300 + n.
std::int32_t polarSideOf(const HTuple& value, const char* op, int n);

// Whether the interpolation at position n is 'bilinear' ('nearest_neighbor': false; any
// other name raises 1300 + n).
bool polarBilinear(const HTuple& value, const char* op, int n);

// The parameters Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, Width and Height
// at positions 1 .. 8, which every operator of the arc takes in this order and checks first.
inline PolarArc polarArcOf(const HTuple& row, const HTuple& column, const HTuple& angleStart,
                           const HTuple& angleEnd, const HTuple& radiusStart,
                           const HTuple& radiusEnd, const HTuple& width, const HTuple& height,
                           const char* op) {
  PolarArc arc{};
  arc.row = oneNumber(row, op, 1);
  arc.col = oneNumber(column, op, 2);
  arc.angleStart = oneNumber(angleStart, op, 3);
  arc.angleEnd = oneNumber(angleEnd, op, 4);
  arc.radiusStart = oneNumber(radiusStart, op, 5);
  arc.radiusEnd = oneNumber(radiusEnd, op, 6);
  arc.width = polarSideOf(width, op, 7);
  arc.height = polarSideOf(height, op, 8);
  return arc;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
