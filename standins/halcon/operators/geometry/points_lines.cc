// distance_pp, distance_pl, distance_ps, distance_sl, distance_ss, projection_pl, angle_lx,
// angle_ll, line_orientation, line_position and intersection_lines (HALCON 11.0 reference,
// chapter "Tools / Geometry").
#include <cmath>
#include <vector>

#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsGeometry.h"
#include "operators/geometry/segments.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The inputs as columns of numbers of one length (another length: 1400+n of the first input
// that differs from the first one's).
std::vector<std::vector<double>> columnsOf(std::initializer_list<const HTuple*> inputs,
                                           const char* op) {
  const Hlong length = (*inputs.begin())->Length();
  std::vector<std::vector<double>> columns;
  int n = 0;
  for (const HTuple* input : inputs) {
    ++n;
    if (input->Length() != length) fail(op, 1400 + n);
    std::vector<double> column;
    for (Hlong i = 0; i < length; ++i) column.push_back(numberAt(*input, i, op, n));
    columns.push_back(std::move(column));
  }
  return columns;
}

HTuple tupleOf(const std::vector<double>& values) {
  HTuple out = HTuple();
  for (const double v : values) out.Append(HTuple(v));
  return out;
}

// The foot of the point on the line through p1 and p2 as the fraction along p1 -> p2; a line
// of two equal points has its foot at p1.
double footFraction(double r, double c, double r1, double c1, double r2, double c2) {
  const double dr = r2 - r1, dc = c2 - c1, length2 = dr * dr + dc * dc;
  return length2 > 0 ? ((r - r1) * dr + (c - c1) * dc) / length2 : 0;
}

// Counter-clockwise on the screen from the column axis: rows grow downwards.
double direction(double r1, double c1, double r2, double c2) {
  return std::atan2(r1 - r2, c2 - c1);
}

// A line's direction folded onto (-pi/2, pi/2]: a line has no sense of travel.
double orientation(double r1, double c1, double r2, double c2) {
  double phi = direction(r1, c1, r2, c2);
  if (phi > kPi / 2) phi -= kPi;
  if (phi <= -kPi / 2) phi += kPi;
  return phi;
}

}  // namespace

void DistancePp(const HTuple& Row1, const HTuple& Column1, const HTuple& Row2,
                const HTuple& Column2, HTuple* Distance) {
  ApiScope scope("DistancePp");
  const auto v = columnsOf({&Row1, &Column1, &Row2, &Column2}, "distance_pp");
  std::vector<double> out;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    out.push_back(std::hypot(v[2][i] - v[0][i], v[3][i] - v[1][i]));
  }
  setOutput(Distance, tupleOf(out));
}

void DistancePl(const HTuple& Row, const HTuple& Column, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* Distance) {
  ApiScope scope("DistancePl");
  const auto v = columnsOf({&Row, &Column, &Row1, &Column1, &Row2, &Column2}, "distance_pl");
  std::vector<double> out;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const double t = footFraction(v[0][i], v[1][i], v[2][i], v[3][i], v[4][i], v[5][i]);
    out.push_back(std::hypot(v[0][i] - (v[2][i] + t * (v[4][i] - v[2][i])),
                             v[1][i] - (v[3][i] + t * (v[5][i] - v[3][i]))));
  }
  setOutput(Distance, tupleOf(out));
}

void DistancePs(const HTuple& Row, const HTuple& Column, const HTuple& Row1, const HTuple& Column1,
                const HTuple& Row2, const HTuple& Column2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistancePs");
  const auto v = columnsOf({&Row, &Column, &Row1, &Column1, &Row2, &Column2}, "distance_ps");
  std::vector<double> nearest, farthest;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const double r = v[0][i], c = v[1][i];
    const double t =
        std::fmin(1, std::fmax(0, footFraction(r, c, v[2][i], v[3][i], v[4][i], v[5][i])));
    nearest.push_back(std::hypot(r - (v[2][i] + t * (v[4][i] - v[2][i])),
                                 c - (v[3][i] + t * (v[5][i] - v[3][i]))));
    farthest.push_back(
        std::fmax(std::hypot(r - v[2][i], c - v[3][i]), std::hypot(r - v[4][i], c - v[5][i])));
  }
  setOutput(DistanceMin, tupleOf(nearest));
  setOutput(DistanceMax, tupleOf(farthest));
}

void ProjectionPl(const HTuple& Row, const HTuple& Column, const HTuple& Row1,
                  const HTuple& Column1, const HTuple& Row2, const HTuple& Column2, HTuple* RowProj,
                  HTuple* ColProj) {
  ApiScope scope("ProjectionPl");
  const auto v = columnsOf({&Row, &Column, &Row1, &Column1, &Row2, &Column2}, "projection_pl");
  std::vector<double> rows, cols;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const double t = footFraction(v[0][i], v[1][i], v[2][i], v[3][i], v[4][i], v[5][i]);
    rows.push_back(v[2][i] + t * (v[4][i] - v[2][i]));
    cols.push_back(v[3][i] + t * (v[5][i] - v[3][i]));
  }
  setOutput(RowProj, tupleOf(rows));
  setOutput(ColProj, tupleOf(cols));
}

void AngleLx(const HTuple& Row1, const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
             HTuple* Angle) {
  ApiScope scope("AngleLx");
  const auto v = columnsOf({&Row1, &Column1, &Row2, &Column2}, "angle_lx");
  std::vector<double> out;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const double angle = direction(v[0][i], v[1][i], v[2][i], v[3][i]);
    // The range is [-pi, pi): a line pointing to smaller columns gives -pi.
    out.push_back(angle >= kPi ? -kPi : angle);
  }
  setOutput(Angle, tupleOf(out));
}

void AngleLl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
             const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
             const HTuple& RowB2, const HTuple& ColumnB2, HTuple* Angle) {
  ApiScope scope("AngleLl");
  const auto v = columnsOf(
      {&RowA1, &ColumnA1, &RowA2, &ColumnA2, &RowB1, &ColumnB1, &RowB2, &ColumnB2}, "angle_ll");
  std::vector<double> out;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    double turn = direction(v[4][i], v[5][i], v[6][i], v[7][i]) -
                  direction(v[0][i], v[1][i], v[2][i], v[3][i]);
    // From line A to line B the shorter way round, within [-pi, pi].
    if (turn > kPi) turn -= 2 * kPi;
    if (turn < -kPi) turn += 2 * kPi;
    out.push_back(turn);
  }
  setOutput(Angle, tupleOf(out));
}

void IntersectionLines(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                       const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                       const HTuple& RowB2, const HTuple& ColumnB2, HTuple* Row, HTuple* Column,
                       HTuple* IsOverlapping) {
  ApiScope scope("IntersectionLines");
  const char* op = "intersection_lines";
  const HTuple* inputs[] = {&RowA1, &ColumnA1, &RowA2, &ColumnA2,
                            &RowB1, &ColumnB1, &RowB2, &ColumnB2};
  double p[8];
  for (int n = 0; n < 8; ++n) p[n] = oneNumber(*inputs[n], op, n + 1);
  const double ar = p[2] - p[0], ac = p[3] - p[1], br = p[6] - p[4], bc = p[7] - p[5];
  const double cross = ar * bc - ac * br;
  // B's first point off line A, as a cross product: 0 when it lies on A.
  const double offset = ar * (p[5] - p[1]) - ac * (p[4] - p[0]);
  if (cross == 0) {
    // Parallel lines meet nowhere, or everywhere when they are one line.
    setOutput(Row, HTuple());
    setOutput(Column, HTuple());
    setOutput(IsOverlapping, HTuple(Hlong{offset == 0 ? 1 : 0}));
    return;
  }
  const double t = ((p[4] - p[0]) * bc - (p[5] - p[1]) * br) / cross;
  setOutput(Row, HTuple(p[0] + t * ar));
  setOutput(Column, HTuple(p[1] + t * ac));
  setOutput(IsOverlapping, HTuple(Hlong{0}));
}

// The point where the ray from the centre at Angle to the major axis (counter-clockwise)
// meets the ellipse, r = R1 R2 / sqrt((R2 cos)^2 + (R1 sin)^2); a degenerate ellipse (a radius
// 0) ends at the radius along whichever axis the ray follows more.
void GetPointsEllipse(const HTuple& Angle, const HTuple& Row, const HTuple& Column,
                      const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2,
                      HTuple* RowPoint, HTuple* ColPoint) {
  ApiScope scope("GetPointsEllipse");
  const char* op = "get_points_ellipse";
  const double row = oneNumber(Row, op, 2), col = oneNumber(Column, op, 3);
  const double phi = oneNumber(Phi, op, 4);
  const double r1 = oneNumber(Radius1, op, 5), r2 = oneNumber(Radius2, op, 6);
  if (!(r1 >= 0)) fail(op, 1305);
  if (!(r2 >= 0)) fail(op, 1306);
  std::vector<double> rows, cols;
  for (Hlong i = 0; i < Angle.Length(); ++i) {
    const double angle = numberAt(Angle, i, op, 1);
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    const double denominator = std::hypot(r2 * cosA, r1 * sinA);
    const double r =
        denominator > 0 ? r1 * r2 / denominator : (std::fabs(cosA) >= std::fabs(sinA) ? r1 : r2);
    const double x = r * cosA, y = r * sinA;
    rows.push_back(row - x * std::sin(phi) - y * std::cos(phi));
    cols.push_back(col + x * std::cos(phi) - y * std::sin(phi));
  }
  setOutput(RowPoint, tupleOf(rows));
  setOutput(ColPoint, tupleOf(cols));
}

void DistanceSl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                const HTuple& RowB2, const HTuple& ColumnB2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceSl");
  const auto v = columnsOf(
      {&RowA1, &ColumnA1, &RowA2, &ColumnA2, &RowB1, &ColumnB1, &RowB2, &ColumnB2}, "distance_sl");
  std::vector<double> nearest, farthest;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const Segment line{v[4][i], v[5][i], v[6][i], v[7][i]};
    const double s1 = crossOf(line, v[0][i], v[1][i]), s2 = crossOf(line, v[2][i], v[3][i]);
    const double d1 = lineDistance(line, v[0][i], v[1][i]);
    const double d2 = lineDistance(line, v[2][i], v[3][i]);
    // Ends on both sides: the segment crosses the line.
    nearest.push_back((s1 <= 0 && s2 >= 0) || (s1 >= 0 && s2 <= 0) ? 0 : std::fmin(d1, d2));
    farthest.push_back(std::fmax(d1, d2));
  }
  setOutput(DistanceMin, tupleOf(nearest));
  setOutput(DistanceMax, tupleOf(farthest));
}

void DistanceSs(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                const HTuple& RowB2, const HTuple& ColumnB2, HTuple* DistanceMin,
                HTuple* DistanceMax) {
  ApiScope scope("DistanceSs");
  const auto v = columnsOf(
      {&RowA1, &ColumnA1, &RowA2, &ColumnA2, &RowB1, &ColumnB1, &RowB2, &ColumnB2}, "distance_ss");
  std::vector<double> nearest, farthest;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    const Segment a{v[0][i], v[1][i], v[2][i], v[3][i]};
    const Segment b{v[4][i], v[5][i], v[6][i], v[7][i]};
    nearest.push_back(segmentsDistance(a, b));
    // The distance is convex along both segments: the largest is between two ends.
    farthest.push_back(std::fmax(
        std::fmax(std::hypot(a.r1 - b.r1, a.c1 - b.c1), std::hypot(a.r1 - b.r2, a.c1 - b.c2)),
        std::fmax(std::hypot(a.r2 - b.r1, a.c2 - b.c1), std::hypot(a.r2 - b.r2, a.c2 - b.c2))));
  }
  setOutput(DistanceMin, tupleOf(nearest));
  setOutput(DistanceMax, tupleOf(farthest));
}

void LineOrientation(const HTuple& RowBegin, const HTuple& ColBegin, const HTuple& RowEnd,
                     const HTuple& ColEnd, HTuple* Phi) {
  ApiScope scope("LineOrientation");
  const auto v = columnsOf({&RowBegin, &ColBegin, &RowEnd, &ColEnd}, "line_orientation");
  std::vector<double> out;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    out.push_back(orientation(v[0][i], v[1][i], v[2][i], v[3][i]));
  }
  setOutput(Phi, tupleOf(out));
}

void LinePosition(const HTuple& RowBegin, const HTuple& ColBegin, const HTuple& RowEnd,
                  const HTuple& ColEnd, HTuple* RowCenter, HTuple* ColCenter, HTuple* Length,
                  HTuple* Phi) {
  ApiScope scope("LinePosition");
  const auto v = columnsOf({&RowBegin, &ColBegin, &RowEnd, &ColEnd}, "line_position");
  std::vector<double> rows, cols, lengths, phis;
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    rows.push_back((v[0][i] + v[2][i]) / 2);
    cols.push_back((v[1][i] + v[3][i]) / 2);
    lengths.push_back(std::hypot(v[2][i] - v[0][i], v[3][i] - v[1][i]));
    phis.push_back(orientation(v[0][i], v[1][i], v[2][i], v[3][i]));
  }
  setOutput(RowCenter, tupleOf(rows));
  setOutput(ColCenter, tupleOf(cols));
  setOutput(Length, tupleOf(lengths));
  setOutput(Phi, tupleOf(phis));
}

}  // namespace HalconCpp
