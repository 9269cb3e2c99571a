// Drawing into a window's framebuffer, shared by DispObj and the operators that draw shapes
// and text: the mapping of the window's part, and regions and segments in the window's
// drawing settings.
#ifndef QUORVEX_STANDINS_HALCON_DRAW_H
#define QUORVEX_STANDINS_HALCON_DRAW_H

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/runs.h"
#include "windows/colors.h"
#include "windows/window.h"

namespace HalconCpp {
namespace Standin {

// Maps window pixels to image pixels and image coordinates to window coordinates.
class PartMap {
 public:
  explicit PartMap(const Window& window) {
    const double row1 = window.part[0].D(), col1 = window.part[1].D();
    row1_ = row1;
    col1_ = col1;
    rowScale_ = (window.part[2].D() - row1 + 1) / window.height;
    colScale_ = (window.part[3].D() - col1 + 1) / window.width;
  }

  double imageRow(std::int32_t y) const { return std::floor(row1_ + (y + 0.5) * rowScale_); }
  double imageCol(std::int32_t x) const { return std::floor(col1_ + (x + 0.5) * colScale_); }
  double windowY(double row) const { return (row - row1_ + 0.5) / rowScale_ - 0.5; }
  double windowX(double col) const { return (col - col1_ + 0.5) / colScale_ - 0.5; }
  // Image rows and columns per window pixel.
  double rowScale() const { return rowScale_; }
  double colScale() const { return colScale_; }

  // The window columns within [xMin, xMax] that show image columns begin..end; first > last
  // when there are none.
  void windowCols(std::int32_t begin, std::int32_t end, std::int32_t xMin, std::int32_t xMax,
                  std::int32_t* first, std::int32_t* last) const {
    *first = firstAtLeast(begin, xMin, xMax);
    // The last column showing `end` is the one before the first showing a later column; when
    // no column in range shows a later one, xMax is the last, never a column past it.
    *last = firstAtLeast(static_cast<std::int32_t>(end + 1), xMin, xMax) - 1;
  }

 private:
  // The smallest x in [xMin, xLimit] whose image column is at least `col` (xLimit + 1 when
  // none is). The closed form can be a pixel off in floating point; the steps after it make
  // it exact, since imageCol grows with x.
  std::int32_t firstAtLeast(std::int32_t col, std::int32_t xMin, std::int32_t xLimit) const {
    // imageCol(x) >= col exactly when col1 + (x + 0.5) * colScale >= col.
    const double estimate = std::ceil((col - col1_) / colScale_ - 0.5);
    if (estimate <= xMin) {
      std::int32_t x = xMin;
      while (x <= xLimit && imageCol(x) < col) ++x;  // at most a step or two
      return x;
    }
    if (estimate > xLimit + 1.0) return xLimit + 1;
    auto x = static_cast<std::int32_t>(estimate);
    while (x > xMin && imageCol(x - 1) >= col) --x;
    while (x <= xLimit && imageCol(x) < col) ++x;
    return x;
  }

  double row1_, col1_, rowScale_, colScale_;
};

// The colours one drawing call cycles through: SetColored's list, or the colours SetColor
// gave.
inline std::vector<Rgb> drawingColors(const Window& window) {
  return window.colored ? coloredCycle(window.colored) : window.colors;
}

// The window pixels within rows yMin..yMax and columns xMin..xMax that show a region's
// pixels.
Runs windowRuns(const Runs& runs, const PartMap& map, std::int32_t yMin, std::int32_t yMax,
                std::int32_t xMin, std::int32_t xMax);
// Paints window pixels, clipped to the window.
void paintRuns(Window& window, const Runs& runs, const Rgb& color);
// A region in image coordinates, filled or outlined as the window's settings say.
void drawRegion(Window& window, const Runs& region, const Rgb& color);
// A line drawn as one stroke: segments between window coordinates in the window's line width,
// the line style's pattern going on from one segment to the next, and under 'xor' or
// 'complement' each pixel changed once however often the segments cover it.
class Stroke {
 public:
  Stroke(Window& window, const Rgb& color) : window_(window), color_(color) {}
  operator const Rgb&() const { return color_; }  // NOLINT: a stroke draws regions in its colour
  void segment(double y0, double x0, double y1, double x1);
  // Paints what the stroke collected under 'xor' and 'complement'; 'copy' paints at once.
  void finish();

 private:
  bool dashVisible() const;
  void plot(std::int64_t y, std::int64_t x);

  Window& window_;
  Rgb color_;
  std::int64_t step_ = 0;  // pixels of the stroke so far, for the line style
  bool started_ = false;
  std::int64_t lastY_ = 0, lastX_ = 0;
  std::vector<std::uint8_t> covered_;  // window pixels covered, under 'xor' and 'complement'
};

// A segment between window coordinates, in the window's line width, as a stroke of its own.
void drawSegment(Window& window, double y0, double x0, double y1, double x1, const Rgb& color);
struct IconicObject;
// A contour's or polygon's polyline in image coordinates, in the window's line width.
bool isXld(const IconicObject& object);
void drawXld(Window& window, const IconicObject& xld, const Rgb& color);

}  // namespace Standin
}  // namespace HalconCpp

#endif
