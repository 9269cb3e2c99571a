// DispObj: draws images, regions and contours into a window's framebuffer through its part.
//
// The part (Row1, Column1, Row2, Column2) is stretched over the whole window. Window pixel
// (y, x) shows the image pixel nearest to its centre, so a part equal to the window's size at
// 0, 0 maps pixels one to one. Images show their domain only: one channel as grey through the
// look-up table ('inverse' inverts; every other table draws as 'default'), two channels as
// the first channel in grey, three or more as RGB from the first three. Regions are filled or
// outlined (an inner border of the line width) in the current colour; contours are polylines
// of the line width.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/contour.h"
#include "core/image.h"
#include "core/pixel_access.h"
#include "core/polygon.h"
#include "core/region.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/draw.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace Standin {

// The window pixels within rows yMin..yMax and columns xMin..xMax that show a region's
// pixels.
Runs windowRuns(const Runs& runs, const PartMap& map, std::int32_t yMin, std::int32_t yMax,
                std::int32_t xMin, std::int32_t xMax) {
  Runs mapped;
  if (runs.empty()) return mapped;
  const auto byRow = [](const Run& run, double row) { return run.row < row; };
  for (std::int32_t y = yMin; y <= yMax; ++y) {
    const double row = map.imageRow(y);
    if (row < runs.front().row || row > runs.back().row) continue;
    for (auto it = std::lower_bound(runs.begin(), runs.end(), row, byRow);
         it != runs.end() && it->row == row; ++it) {
      std::int32_t first, last;
      map.windowCols(it->begin, it->end, xMin, xMax, &first, &last);
      if (first <= last) mapped.push_back(Run{y, first, last});
    }
  }
  // Zoomed out, neighbouring image runs can land on touching window columns.
  return normalizeRuns(std::move(mapped));
}

void paintRuns(Window& window, const Runs& runs, const Rgb& color) {
  const std::uint8_t values[3] = {color.red, color.green, color.blue};
  // set_insert: 'copy' overwrites, 'xor' combines old and new, 'complement' inverts the old.
  const bool copy = window.insert == "copy", xorMode = window.insert == "xor";
  for (const Run& run : clipRuns(runs, window.height, window.width)) {
    const std::size_t at = static_cast<std::size_t>(run.row) * window.width + run.begin;
    const auto length = static_cast<std::size_t>(run.end - run.begin + 1);
    for (int c = 0; c < 3; ++c) {
      std::uint8_t* target = window.planes[c].data() + at;
      if (copy) {
        std::memset(target, values[c], length);
      } else if (xorMode) {
        for (std::size_t i = 0; i < length; ++i) target[i] ^= values[c];
      } else {
        for (std::size_t i = 0; i < length; ++i) target[i] = static_cast<std::uint8_t>(~target[i]);
      }
    }
  }
}

namespace {

void drawImage(Window& window, const ImageObject& image) {
  if (image.channels.empty()) return;
  if (!displaysAsBytes(image.type())) {
    drawImage(window, *displayBytes(image, "disp_obj"));
    return;
  }
  const PartMap map(window);
  const bool color = image.channels.size() >= 3;
  const bool inverse = window.lut == "inverse";
  const std::uint8_t* sources[3];
  for (std::size_t c = 0; c < 3; ++c) sources[c] = image.pixels(color ? c : 0);
  // The image column under each window column, worked out once per call rather than per
  // pixel: a whole-window redraw touches every pixel.
  std::vector<std::int32_t> imageCols(static_cast<std::size_t>(window.width));
  for (std::int32_t x = 0; x < window.width; ++x) {
    imageCols[static_cast<std::size_t>(x)] = static_cast<std::int32_t>(map.imageCol(x));
  }
  // set_comprise 'image' shows the whole image, whatever its domain.
  const Runs whole =
      window.comprise == "image" ? rectangleRuns(0, 0, image.height - 1, image.width - 1) : Runs();
  const Runs& shown = window.comprise == "image" ? whole : *image.domain;
  for (const Run& run : windowRuns(shown, map, 0, window.height - 1, 0, window.width - 1)) {
    const auto row = static_cast<std::int32_t>(map.imageRow(run.row));
    // Image columns never decrease with x, so equal spans mean one to one: a plain copy.
    const std::int32_t firstCol = imageCols[static_cast<std::size_t>(run.begin)];
    // The pixels read are those of the domain; a domain reaching past its image would make
    // them reads past the planes, so such a run is left out rather than trusted.
    if (row < 0 || row >= image.height || firstCol < 0 ||
        imageCols[static_cast<std::size_t>(run.end)] >= image.width) {
      continue;
    }
    const std::size_t rowStart = image.offset(row, 0);
    const std::size_t windowRow = static_cast<std::size_t>(run.row) * window.width;
    const bool oneToOne =
        imageCols[static_cast<std::size_t>(run.end)] - firstCol == run.end - run.begin;
    for (int c = 0; c < 3; ++c) {
      const std::uint8_t* source = sources[c] + rowStart;
      std::uint8_t* target = window.planes[c].data() + windowRow;
      if (oneToOne && !(inverse && !color)) {
        std::memcpy(target + run.begin, source + firstCol,
                    static_cast<std::size_t>(run.end - run.begin + 1));
        continue;
      }
      for (std::int32_t x = run.begin; x <= run.end; ++x) {
        const std::uint8_t value = source[imageCols[static_cast<std::size_t>(x)]];
        target[x] = inverse && !color ? static_cast<std::uint8_t>(255 - value) : value;
      }
    }
  }
}

// The shapes other than 'original' that the stand-in draws; the rest draw as 'original'.
Runs shapedRuns(const Runs& runs, const std::string& shape) {
  if (shape == "rectangle1") {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(runs, &row1, &col1, &row2, &col2)) return runs;
    return rectangleRuns(row1, col1, row2, col2);
  }
  if (shape == "outer_circle" && !runs.empty()) {
    double row, col, radius = 0;
    runsCenter(runs, &row, &col);
    for (const Run& run : runs) {
      const double dy = run.row - row;
      const double dx = std::max(std::fabs(run.begin - col), std::fabs(run.end - col));
      radius = std::max(radius, std::sqrt(dy * dy + dx * dx));
    }
    return circleRuns(row, col, radius + 0.5);
  }
  return runs;
}

}  // namespace

void drawRegion(Window& window, const Runs& region, const Rgb& color) {
  const PartMap map(window);
  const Runs runs = shapedRuns(region, window.shape);
  if (window.fill) {
    paintRuns(window, windowRuns(runs, map, 0, window.height - 1, 0, window.width - 1), color);
    return;
  }
  // The border is found on a canvas one line width larger than the window on every side, so
  // that a region running out of the window gets no border along the window's edge.
  const int w = window.lineWidth;
  const Runs mapped = windowRuns(runs, map, -w, window.height - 1 + w, -w, window.width - 1 + w);
  paintRuns(window, marginRuns(mapped, w), color);
}

namespace {

// Cuts the segment to the rectangle [lo, hi] in both coordinates (Liang-Barsky); false when
// nothing of it is inside. Keeps far-away points from costing a walk to the window.
bool clipSegment(double* y0, double* x0, double* y1, double* x1, double loY, double hiY, double loX,
                 double hiX) {
  double t0 = 0, t1 = 1;
  const double dy = *y1 - *y0, dx = *x1 - *x0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {*x0 - loX, hiX - *x0, *y0 - loY, hiY - *y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return false;
  const double startY = *y0, startX = *x0;
  *y0 = startY + t0 * dy;
  *x0 = startX + t0 * dx;
  *y1 = startY + t1 * dy;
  *x1 = startX + t1 * dx;
  return true;
}

}  // namespace

void drawSegment(Window& window, double y0, double x0, double y1, double x1, const Rgb& color) {
  Stroke stroke(window, color);
  stroke.segment(y0, x0, y1, x1);
  stroke.finish();
}

// set_line_style: the pattern's even entries are drawn pixels, its odd ones skipped pixels,
// counted along the stroke and repeated.
bool Stroke::dashVisible() const {
  const std::vector<Hlong>& style = window_.lineStyle;
  if (style.empty()) return true;
  Hlong period = 0;
  for (Hlong length : style) period += length;
  Hlong at = step_ % period;
  for (std::size_t i = 0; i < style.size(); ++i) {
    if (at < style[i]) return i % 2 == 0;
    at -= style[i];
  }
  return true;
}

// A line width square centred on (y, x), where the pattern draws.
void Stroke::plot(std::int64_t y, std::int64_t x) {
  const bool visible = dashVisible();
  ++step_;
  if (!visible) return;
  const int w = window_.lineWidth;
  const bool copy = window_.insert == "copy";
  if (!copy && covered_.empty()) covered_.assign(window_.pixelCount(), 0);
  Runs runs;
  for (std::int64_t row = y - (w - 1) / 2; row <= y + w / 2; ++row) {
    if (row < 0 || row >= window_.height) continue;
    const std::int64_t begin = std::max<std::int64_t>(x - (w - 1) / 2, 0);
    const std::int64_t end = std::min<std::int64_t>(x + w / 2, window_.width - 1);
    if (begin > end) continue;
    if (!copy) {
      const auto at = static_cast<std::size_t>(row * window_.width);
      std::fill(covered_.begin() + static_cast<std::ptrdiff_t>(at + begin),
                covered_.begin() + static_cast<std::ptrdiff_t>(at + end + 1), 1);
      continue;
    }
    runs.push_back(Run{static_cast<std::int32_t>(row), static_cast<std::int32_t>(begin),
                       static_cast<std::int32_t>(end)});
  }
  if (copy) paintRuns(window_, runs, color_);
}

void Stroke::segment(double y0, double x0, double y1, double x1) {
  const double pad = window_.lineWidth + 1.0;
  if (!(std::isfinite(y0) && std::isfinite(x0) && std::isfinite(y1) && std::isfinite(x1))) return;
  if (!clipSegment(&y0, &x0, &y1, &x1, -pad, window_.height + pad, -pad, window_.width + pad)) {
    return;
  }
  // Bresenham between the rounded end points.
  auto y = static_cast<std::int64_t>(std::lround(y0)),
       x = static_cast<std::int64_t>(std::lround(x0));
  const auto yEnd = static_cast<std::int64_t>(std::lround(y1));
  const auto xEnd = static_cast<std::int64_t>(std::lround(x1));
  const std::int64_t dx = std::llabs(xEnd - x), dy = -std::llabs(yEnd - y);
  const std::int64_t sx = x < xEnd ? 1 : -1, sy = y < yEnd ? 1 : -1;
  std::int64_t error = dx + dy;
  // A segment going on from the last one's end does not draw (or count) that point again.
  bool skip = started_ && y == lastY_ && x == lastX_;
  for (;;) {
    if (!skip) plot(y, x);
    skip = false;
    if (x == xEnd && y == yEnd) break;
    const std::int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
  started_ = true;
  lastY_ = yEnd;
  lastX_ = xEnd;
}

void Stroke::finish() {
  if (covered_.empty()) return;
  Runs runs;
  for (std::int32_t row = 0; row < window_.height; ++row) {
    const std::uint8_t* line = covered_.data() + static_cast<std::size_t>(row) * window_.width;
    for (std::int32_t col = 0; col < window_.width; ++col) {
      if (!line[col]) continue;
      std::int32_t end = col;
      while (end + 1 < window_.width && line[end + 1]) ++end;
      runs.push_back(Run{row, col, end});
      col = end;
    }
  }
  covered_.clear();
  paintRuns(window_, runs, color_);
}

static void drawPolyline(Window& window, const std::vector<double>& rows,
                         const std::vector<double>& cols, const Rgb& color) {
  const PartMap map(window);
  Stroke stroke(window, color);
  const std::size_t count = rows.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t j = count == 1 ? i : i + 1;
    if (j >= count) break;
    stroke.segment(map.windowY(rows[i]), map.windowX(cols[i]), map.windowY(rows[j]),
                   map.windowX(cols[j]));
  }
  stroke.finish();
}

bool isXld(const IconicObject& object) {
  return dynamic_cast<const ContourObject*>(&object) || dynamic_cast<const PolygonObject*>(&object);
}

void drawXld(Window& window, const IconicObject& xld, const Rgb& color) {
  if (const auto* contour = dynamic_cast<const ContourObject*>(&xld)) {
    drawPolyline(window, contour->rows, contour->cols, color);
  } else if (const auto* polygon = dynamic_cast<const PolygonObject*>(&xld)) {
    drawPolyline(window, polygon->rows, polygon->cols, color);
  }
}

}  // namespace Standin

void DispObj(const HObject& Object, const HTuple& WindowHandle) {
  ApiScope scope("DispObj");
  logWindowCall("DispObj", Object, WindowHandle);
  const char* op = "disp_obj";
  objectCount(Object, op, 1);
  const Hlong handle = handleOf(WindowHandle, op);
  windowTable().with(handle, op, [&](Window& window) {
    // Colours cycle over the regions and contours of this call: SetColored's list, or the
    // colours SetColor gave.
    const std::vector<Rgb> colors = drawingColors(window);
    std::size_t next = 0;
    for (const HObject::Item& item : Object.Items()) {
      if (const auto* image = dynamic_cast<const ImageObject*>(item.get())) {
        drawImage(window, *image);
      } else if (const auto* region = dynamic_cast<const RegionObject*>(item.get())) {
        drawRegion(window, region->runs, colors[next++ % colors.size()]);
      } else if (isXld(*item)) {
        drawXld(window, *item, colors[next++ % colors.size()]);
      }
    }
  });
}

}  // namespace HalconCpp
