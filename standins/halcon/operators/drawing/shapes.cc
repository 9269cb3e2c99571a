// Shapes drawn straight into a window, and the drawing settings read back.
//
// Filled shapes become regions of the pixels whose centres they cover and draw as DispObj
// draws regions; outlined rectangles and circles draw their region's inner border, the
// rotated rectangle, lines, crosses and arrows draw segments in the line width.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numbers.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsDrawing.h"
#include "standin/controls.h"
#include "windows/draw.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kMaxDrawnCoordinate = 1e6;

// The values of the shape parameters, control parameters 2, 3, ... of the operator: all of
// one length (one shape each), all numbers within the coordinate bound.
std::vector<std::vector<double>> shapeValues(const std::vector<const HTuple*>& params,
                                             const char* op) {
  const Hlong count = params.front()->Length();
  std::vector<std::vector<double>> values(params.size());
  for (std::size_t p = 0; p < params.size(); ++p) {
    const int n = static_cast<int>(p) + 2;
    requireLength(*params[p], count, op, n);
    for (Hlong i = 0; i < count; ++i) {
      const double value = numberAt(*params[p], i, op, n);
      if (!(std::fabs(value) <= kMaxDrawnCoordinate)) fail(op, 1300 + n);
      values[p].push_back(value);
    }
  }
  return values;
}

std::int32_t pixel(double coordinate) {
  return static_cast<std::int32_t>(std::lround(coordinate));
}

// The pixels whose centres lie inside a convex polygon (image coordinates).
Runs convexPolygonRuns(const std::vector<double>& rows, const std::vector<double>& cols) {
  Runs runs;
  const auto [minRow, maxRow] = std::minmax_element(rows.begin(), rows.end());
  for (auto row = static_cast<std::int32_t>(std::ceil(*minRow));
       row <= static_cast<std::int32_t>(std::floor(*maxRow)); ++row) {
    double left = kMaxDrawnCoordinate, right = -kMaxDrawnCoordinate;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::size_t j = (i + 1) % rows.size();
      const double r0 = rows[i], r1 = rows[j];
      if ((row < r0 && row < r1) || (row > r0 && row > r1)) continue;
      if (r0 == r1) {
        left = std::min({left, cols[i], cols[j]});
        right = std::max({right, cols[i], cols[j]});
        continue;
      }
      const double col = cols[i] + (row - r0) / (r1 - r0) * (cols[j] - cols[i]);
      left = std::min(left, col);
      right = std::max(right, col);
    }
    const auto first = static_cast<std::int32_t>(std::ceil(left));
    const auto last = static_cast<std::int32_t>(std::floor(right));
    if (first <= last) runs.push_back(Run{row, first, last});
  }
  return runs;
}

// Runs `draw(window, map, shape index, colour)` for each shape, the colours taken in turn.
template <typename Draw>
void drawShapes(const HTuple& windowHandle, const char* op, std::size_t count, Draw&& draw) {
  const Hlong handle = handleOf(windowHandle, op);
  windowTable().with(handle, op, [&](Window& window) {
    const PartMap map(window);
    const std::vector<Rgb> colors = drawingColors(window);
    // One stroke a shape: its line style runs on along its outline.
    for (std::size_t i = 0; i < count; ++i) {
      Stroke pen(window, colors[i % colors.size()]);
      draw(window, map, i, pen);
      pen.finish();
    }
  });
}

// A segment between image coordinates.
void imageSegment(const PartMap& map, double row0, double col0, double row1, double col1,
                  Stroke& pen) {
  pen.segment(map.windowY(row0), map.windowX(col0), map.windowY(row1), map.windowX(col1));
}

}  // namespace

void DispRectangle1(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                    const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("DispRectangle1");
  logWindowCall("DispRectangle1", WindowHandle, Row1, Column1, Row2, Column2);
  const char* op = "disp_rectangle1";
  const auto v = shapeValues({&Row1, &Column1, &Row2, &Column2}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window& window, const PartMap&, std::size_t i, Stroke& pen) {
               drawRegion(
                   window,
                   rectangleRuns(pixel(v[0][i]), pixel(v[1][i]), pixel(v[2][i]), pixel(v[3][i])),
                   pen);
             });
}

void DispRectangle2(const HTuple& WindowHandle, const HTuple& CenterRow, const HTuple& CenterCol,
                    const HTuple& Phi, const HTuple& Length1, const HTuple& Length2) {
  ApiScope scope("DispRectangle2");
  logWindowCall("DispRectangle2", WindowHandle, CenterRow, CenterCol, Phi, Length1, Length2);
  const char* op = "disp_rectangle2";
  const auto v = shapeValues({&CenterRow, &CenterCol, &Phi, &Length1, &Length2}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window& window, const PartMap& map, std::size_t i, Stroke& pen) {
               // Length1 runs along Phi, counted anticlockwise from the column axis; rows
               // grow downwards.
               const double cosPhi = std::cos(v[2][i]), sinPhi = std::sin(v[2][i]);
               const double l1 = v[3][i], l2 = v[4][i];
               std::vector<double> rows, cols;
               for (const auto& [a, b] : {std::pair{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}) {
                 rows.push_back(v[0][i] - a * l1 * sinPhi - b * l2 * cosPhi);
                 cols.push_back(v[1][i] + a * l1 * cosPhi - b * l2 * sinPhi);
               }
               if (window.fill) {
                 drawRegion(window, convexPolygonRuns(rows, cols), pen);
                 return;
               }
               for (std::size_t k = 0; k < 4; ++k) {
                 imageSegment(map, rows[k], cols[k], rows[(k + 1) % 4], cols[(k + 1) % 4], pen);
               }
             });
}

void DispCircle(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                const HTuple& Radius) {
  ApiScope scope("DispCircle");
  logWindowCall("DispCircle", WindowHandle, Row, Column, Radius);
  const char* op = "disp_circle";
  const auto v = shapeValues({&Row, &Column, &Radius}, op);
  for (double radius : v[2]) {
    if (radius < 0) fail(op, 1304);
  }
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window& window, const PartMap&, std::size_t i, Stroke& pen) {
               drawRegion(window, circleRuns(v[0][i], v[1][i], v[2][i]), pen);
             });
}

void DispLine(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
              const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("DispLine");
  logWindowCall("DispLine", WindowHandle, Row1, Column1, Row2, Column2);
  const char* op = "disp_line";
  const auto v = shapeValues({&Row1, &Column1, &Row2, &Column2}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window&, const PartMap& map, std::size_t i, Stroke& pen) {
               imageSegment(map, v[0][i], v[1][i], v[2][i], v[3][i], pen);
             });
}

void DispCross(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
               const HTuple& Size, const HTuple& Angle) {
  ApiScope scope("DispCross");
  logWindowCall("DispCross", WindowHandle, Row, Column, Size, Angle);
  const char* op = "disp_cross";
  const auto v = shapeValues({&Row, &Column, &Size, &Angle}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window&, const PartMap& map, std::size_t i, Stroke& pen) {
               // Two bars of length Size crossing at the point, the first along Angle.
               const double half = v[2][i] / 2;
               const double dRow = -std::sin(v[3][i]) * half, dCol = std::cos(v[3][i]) * half;
               const double r = v[0][i], c = v[1][i];
               imageSegment(map, r - dRow, c - dCol, r + dRow, c + dCol, pen);
               imageSegment(map, r - dCol, c + dRow, r + dCol, c - dRow, pen);
             });
}

void DispArrow(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
               const HTuple& Row2, const HTuple& Column2, const HTuple& Size) {
  ApiScope scope("DispArrow");
  logWindowCall("DispArrow", WindowHandle, Row1, Column1, Row2, Column2, Size);
  const char* op = "disp_arrow";
  const auto v = shapeValues({&Row1, &Column1, &Row2, &Column2, &Size}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window&, const PartMap& map, std::size_t i, Stroke& pen) {
               const double r1 = v[0][i], c1 = v[1][i], r2 = v[2][i], c2 = v[3][i];
               imageSegment(map, r1, c1, r2, c2, pen);
               const double length = std::hypot(r2 - r1, c2 - c1);
               if (length == 0) return;
               // The head: two strokes of length Size back from the tip, 30 degrees either
               // side of the shaft.
               const double back = std::atan2(r1 - r2, c1 - c2);
               for (const double turn : {kPi / 6, -kPi / 6}) {
                 imageSegment(map, r2, c2, r2 + v[4][i] * std::sin(back + turn),
                              c2 + v[4][i] * std::cos(back + turn), pen);
               }
             });
}

// Curves draw as polylines of short chords: enough that no chord strays a tenth of a pixel
// from the curve at radii a window shows, and never more than kMaxChords.
constexpr int kMaxChords = 4096;

int chordsFor(double radius, double angle) {
  const double perRadian = std::sqrt(std::max(radius, 1.0) / 0.8);
  return std::clamp(static_cast<int>(std::ceil(std::fabs(angle) * perRadian)), 8, kMaxChords);
}

void DispEllipse(const HTuple& WindowHandle, const HTuple& CenterRow, const HTuple& CenterCol,
                 const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2) {
  ApiScope scope("DispEllipse");
  logWindowCall("DispEllipse", WindowHandle, CenterRow, CenterCol, Phi, Radius1, Radius2);
  const char* op = "disp_ellipse";
  const auto v = shapeValues({&CenterRow, &CenterCol, &Phi, &Radius1, &Radius2}, op);
  for (std::size_t i = 0; i < v[0].size(); ++i) {
    if (v[3][i] < 0) fail(op, 1305);
    if (v[4][i] < 0) fail(op, 1306);
  }
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window& window, const PartMap& map, std::size_t i, Stroke& pen) {
               const double r = v[0][i], c = v[1][i], phi = v[2][i], a = v[3][i], b = v[4][i];
               if (window.fill) {
                 drawRegion(window, ellipseRuns(r, c, phi, a, b), pen);
                 return;
               }
               // Radius1 runs along Phi, anticlockwise from the column axis; rows grow down.
               const auto at = [&](double t, double* row, double* col) {
                 const double x = a * std::cos(t), y = b * std::sin(t);
                 *row = r - x * std::sin(phi) - y * std::cos(phi);
                 *col = c + x * std::cos(phi) - y * std::sin(phi);
               };
               const int chords = chordsFor(std::max(a, b), 2 * kPi);
               double row0, col0;
               at(0, &row0, &col0);
               for (int k = 1; k <= chords; ++k) {
                 double row1, col1;
                 at(2 * kPi * k / chords, &row1, &col1);
                 imageSegment(map, row0, col0, row1, col1, pen);
                 row0 = row1, col0 = col1;
               }
             });
}

void DispArc(const HTuple& WindowHandle, const HTuple& CenterRow, const HTuple& CenterCol,
             const HTuple& Angle, const HTuple& BeginRow, const HTuple& BeginCol) {
  ApiScope scope("DispArc");
  logWindowCall("DispArc", WindowHandle, CenterRow, CenterCol, Angle, BeginRow, BeginCol);
  const char* op = "disp_arc";
  const auto v = shapeValues({&CenterRow, &CenterCol, &Angle, &BeginRow, &BeginCol}, op);
  drawShapes(WindowHandle, op, v[0].size(),
             [&](Window&, const PartMap& map, std::size_t i, Stroke& pen) {
               // From the begin point round the centre through Angle, anticlockwise on
               // screen for a positive angle.
               const double r = v[0][i], c = v[1][i], angle = v[2][i];
               const double radius = std::hypot(v[3][i] - r, v[4][i] - c);
               const double start = std::atan2(r - v[3][i], v[4][i] - c);
               const int chords = chordsFor(radius, angle);
               double row0 = v[3][i], col0 = v[4][i];
               for (int k = 1; k <= chords; ++k) {
                 const double t = start + angle * k / chords;
                 const double row1 = r - radius * std::sin(t), col1 = c + radius * std::cos(t);
                 imageSegment(map, row0, col0, row1, col1, pen);
                 row0 = row1, col0 = col1;
               }
             });
}

void DispPolygon(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column) {
  ApiScope scope("DispPolygon");
  logWindowCall("DispPolygon", WindowHandle, Row, Column);
  const char* op = "disp_polygon";
  const auto v = shapeValues({&Row, &Column}, op);
  // One polyline through the points in order, not closed.
  drawShapes(WindowHandle, op, v[0].empty() ? 0 : 1,
             [&](Window&, const PartMap& map, std::size_t, Stroke& pen) {
               for (std::size_t k = 1; k < v[0].size(); ++k) {
                 imageSegment(map, v[0][k - 1], v[1][k - 1], v[0][k], v[1][k], pen);
               }
             });
}

void DispRegion(const HObject& DispRegions, const HTuple& WindowHandle) {
  ApiScope scope("DispRegion");
  logWindowCall("DispRegion", DispRegions, WindowHandle);
  const char* op = "disp_region";
  objectCount(DispRegions, op, 1);
  const std::vector<const Runs*> regions = regionsOf(DispRegions, op, 1, false);
  drawShapes(WindowHandle, op, regions.size(),
             [&](Window& window, const PartMap&, std::size_t i, Stroke& pen) {
               drawRegion(window, *regions[i], pen);
             });
}

void GetDraw(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetDraw");
  logWindowCall("GetDraw", WindowHandle);
  const char* op = "get_draw";
  bool fill = true;
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) { fill = window.fill; });
  setOutput(Mode, HTuple(fill ? "fill" : "margin"));
}

void GetLineWidth(const HTuple& WindowHandle, HTuple* Width) {
  ApiScope scope("GetLineWidth");
  logWindowCall("GetLineWidth", WindowHandle);
  const char* op = "get_line_width";
  Hlong width = 1;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { width = window.lineWidth; });
  setOutput(Width, HTuple(width));
}

void SetRgb(const HTuple& WindowHandle, const HTuple& Red, const HTuple& Green,
            const HTuple& Blue) {
  ApiScope scope("SetRgb");
  logWindowCall("SetRgb", WindowHandle, Red, Green, Blue);
  const char* op = "set_rgb";
  const Hlong handle = handleOf(WindowHandle, op);
  const HTuple* channels[] = {&Red, &Green, &Blue};
  if (Red.Length() < 1) fail(op, 1402);
  std::vector<Rgb> colors(static_cast<std::size_t>(Red.Length()));
  for (int c = 0; c < 3; ++c) {
    requireLength(*channels[c], Red.Length(), op, c + 2);
    for (Hlong i = 0; i < Red.Length(); ++i) {
      const Hlong value = integerAt(*channels[c], i, op, c + 2);
      if (value < 0 || value > 255) fail(op, 1302 + c);
      std::uint8_t* target[] = {&colors[i].red, &colors[i].green, &colors[i].blue};
      *target[c] = static_cast<std::uint8_t>(value);
    }
  }
  std::vector<std::string> names;
  for (const Rgb& color : colors) names.push_back(hexName(color));
  windowTable().with(handle, op, [&](Window& window) { setColors(window, colors, names); });
}

void GetRgb(const HTuple& WindowHandle, HTuple* Red, HTuple* Green, HTuple* Blue) {
  ApiScope scope("GetRgb");
  logWindowCall("GetRgb", WindowHandle);
  const char* op = "get_rgb";
  std::vector<Rgb> colors;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { colors = drawingColors(window); });
  HTuple red, green, blue;
  for (const Rgb& color : colors) {
    red.Append(HTuple(static_cast<Hlong>(color.red)));
    green.Append(HTuple(static_cast<Hlong>(color.green)));
    blue.Append(HTuple(static_cast<Hlong>(color.blue)));
  }
  setOutput(Red, red);
  setOutput(Green, green);
  setOutput(Blue, blue);
}

}  // namespace HalconCpp
