// Measure objects behind integer handles and the grey-value profile they take from an image.
#ifndef QUORVEX_STANDINS_HALCON_MEASURE_OBJECT_H
#define QUORVEX_STANDINS_HALCON_MEASURE_OBJECT_H

#include <cstdint>
#include <vector>

#include "core/image.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

enum class MeasureInterpolation { Nearest, Bilinear, Bicubic };

struct MeasureShape {
  bool arc = false;
  double row = 0, column = 0;  // the rectangle's centre or the arc's circle centre
  double phi = 0, length1 = 0, length2 = 0;
  double radius = 0, angleStart = 0, angleExtent = 0, annulusRadius = 0;
  std::int32_t width = 0, height = 0;
  MeasureInterpolation interpolation = MeasureInterpolation::Nearest;
};

Hlong addMeasure(const MeasureShape& shape);
// A copy of the open measure object behind the handle at control position n; a closed or
// unknown handle raises 1300+n.
MeasureShape measureOf(const HTuple& handle, const char* op, int n);
void translateMeasure(const HTuple& handle, double row, double column, const char* op);
void closeMeasure(const HTuple& handle, const char* op);
void closeAllMeasures();

// The mean grey values of the slices across the major axis that lie whole inside the image,
// one a pixel along the axis; `first` is the axis coordinate of values[0].
struct Profile {
  std::vector<double> values;
  double first = 0;
};
Profile profileOf(const ImageObject& image, const MeasureShape& shape);

// The image point at axis coordinate s (pixels along the axis: from the rectangle's centre,
// or from the arc's start along the circle of its radius).
void pointOnAxis(const MeasureShape& shape, double s, double* row, double* column);

}  // namespace Standin
}  // namespace HalconCpp

#endif
