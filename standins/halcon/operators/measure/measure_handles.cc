// gen_measure_rectangle2, gen_measure_arc, translate_measure, close_measure and
// close_all_measures (HALCON 11.0 reference, chapter "1D Measuring").
#include <cmath>
#include <string>

#include "core/params.h"
#include "halconcpp/HOperatorsMeasure.h"
#include "operators/measure/measure_object.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The longest arc, in pixels along its circle, whose profile a measure object takes; a
// longer one could never fit an image the stand-in accepts.
constexpr double kMaxArcLength = double(1 << 22);

double finiteNumber(const HTuple& value, const char* op, int n) {
  const double number = oneNumber(value, op, n);
  if (!std::isfinite(number)) fail(op, 1300 + n);
  return number;
}

double nonNegative(const HTuple& value, const char* op, int n) {
  const double number = finiteNumber(value, op, n);
  if (number < 0) fail(op, 1300 + n);
  return number;
}

std::int32_t imageSide(const HTuple& value, const char* op, int n) {
  const Hlong side = oneInteger(value, op, n);
  if (side < 1 || side > kMaxImageSide) fail(op, 1300 + n);
  return static_cast<std::int32_t>(side);
}

MeasureInterpolation interpolationOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "nearest_neighbor") return MeasureInterpolation::Nearest;
  if (name == "bilinear") return MeasureInterpolation::Bilinear;
  if (name == "bicubic") return MeasureInterpolation::Bicubic;
  fail(op, 1300 + n);
}

}  // namespace

void GenMeasureRectangle2(const HTuple& Row, const HTuple& Column, const HTuple& Phi,
                          const HTuple& Length1, const HTuple& Length2, const HTuple& Width,
                          const HTuple& Height, const HTuple& Interpolation,
                          HTuple* MeasureHandle) {
  ApiScope scope("GenMeasureRectangle2");
  const char* op = "gen_measure_rectangle2";
  MeasureShape shape;
  shape.row = finiteNumber(Row, op, 1);
  shape.column = finiteNumber(Column, op, 2);
  shape.phi = finiteNumber(Phi, op, 3);
  shape.length1 = nonNegative(Length1, op, 4);
  shape.length2 = nonNegative(Length2, op, 5);
  shape.width = imageSide(Width, op, 6);
  shape.height = imageSide(Height, op, 7);
  shape.interpolation = interpolationOf(Interpolation, op, 8);
  setOutput(MeasureHandle, HTuple(addMeasure(shape)));
}

void GenMeasureArc(const HTuple& CenterRow, const HTuple& CenterCol, const HTuple& Radius,
                   const HTuple& AngleStart, const HTuple& AngleExtent, const HTuple& AnnulusRadius,
                   const HTuple& Width, const HTuple& Height, const HTuple& Interpolation,
                   HTuple* MeasureHandle) {
  ApiScope scope("GenMeasureArc");
  const char* op = "gen_measure_arc";
  MeasureShape shape;
  shape.arc = true;
  shape.row = finiteNumber(CenterRow, op, 1);
  shape.column = finiteNumber(CenterCol, op, 2);
  shape.radius = nonNegative(Radius, op, 3);
  if (shape.radius <= 0) fail(op, 1303);
  shape.angleStart = finiteNumber(AngleStart, op, 4);
  shape.angleExtent = finiteNumber(AngleExtent, op, 5);
  if (std::fabs(shape.angleExtent) * shape.radius > kMaxArcLength) fail(op, 1305);
  shape.annulusRadius = nonNegative(AnnulusRadius, op, 6);
  if (shape.annulusRadius > shape.radius) fail(op, 1306);
  shape.width = imageSide(Width, op, 7);
  shape.height = imageSide(Height, op, 8);
  shape.interpolation = interpolationOf(Interpolation, op, 9);
  setOutput(MeasureHandle, HTuple(addMeasure(shape)));
}

void TranslateMeasure(const HTuple& MeasureHandle, const HTuple& Row, const HTuple& Column) {
  ApiScope scope("TranslateMeasure");
  const char* op = "translate_measure";
  const double row = finiteNumber(Row, op, 2), column = finiteNumber(Column, op, 3);
  translateMeasure(MeasureHandle, row, column, op);
}

void CloseMeasure(const HTuple& MeasureHandle) {
  ApiScope scope("CloseMeasure");
  closeMeasure(MeasureHandle, "close_measure");
}

void CloseAllMeasures() {
  ApiScope scope("CloseAllMeasures");
  closeAllMeasures();
}

}  // namespace HalconCpp
