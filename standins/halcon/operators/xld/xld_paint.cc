// paint_xld: contours and polygons filled into a copy of an image, their rims anti-aliased by
// the share of each pixel they cover.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/polygon.h"
#include "halconcpp/HOperatorsXld.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Signed area accumulation over a window of pixels: each edge of the closed polygon deposits,
// row by row, the area it sweeps; a running sum along a row then gives the share of each pixel
// the polygon covers. x and y are image columns and rows shifted by half a pixel, so that pixel
// (y, x) of the window spans [x, x + 1] x [y, y + 1].
class Coverage {
 public:
  Coverage(std::int32_t width, std::int32_t height)
      : width_(width),
        height_(height),
        cells_(static_cast<std::size_t>(width + 2) * static_cast<std::size_t>(height), 0.0) {}

  // An edge, cut where it leaves the window's columns; the parts beyond a side sweep along it.
  void edge(double x0, double y0, double x1, double y1) {
    const double w = width_;
    double cuts[4] = {0, 1, 1, 1};
    int n = 1;
    for (const double side : {0.0, w}) {
      if ((x0 - side) * (x1 - side) < 0) cuts[n++] = (side - x0) / (x1 - x0);
    }
    if (n == 3 && cuts[1] > cuts[2]) std::swap(cuts[1], cuts[2]);
    cuts[n++] = 1;
    for (int k = 0; k + 1 < n; ++k) {
      const auto at = [&](double t, double a, double b) { return a + t * (b - a); };
      const double ax = std::clamp(at(cuts[k], x0, x1), 0.0, w);
      const double bx = std::clamp(at(cuts[k + 1], x0, x1), 0.0, w);
      line(ax, at(cuts[k], y0, y1), bx, at(cuts[k + 1], y0, y1));
    }
  }

  // The covered share of pixel (y, x) of the window, after all edges.
  std::vector<double> shares() const {
    std::vector<double> out(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (std::int32_t y = 0; y < height_; ++y) {
      double sum = 0;
      for (std::int32_t x = 0; x < width_; ++x) {
        sum += cells_[index(y, x)];
        out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = std::min(1.0, std::fabs(sum));
      }
    }
    return out;
  }

 private:
  std::size_t index(std::int32_t y, std::int32_t x) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 2) +
           static_cast<std::size_t>(x);
  }

  void line(double x0, double y0, double x1, double y1) {
    if (y0 == y1) return;
    const double dir = y0 < y1 ? 1 : -1;
    if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
    const double dxdy = (x1 - x0) / (y1 - y0);
    const double yFirst = std::max(0.0, std::floor(y0));
    const double yEnd = std::min(static_cast<double>(height_), std::ceil(y1));
    for (double y = yFirst; y < yEnd; ++y) {
      const double top = std::max(y, y0), bottom = std::min(y + 1, y1);
      if (bottom <= top) continue;
      const double xa = x0 + (top - y0) * dxdy, xb = x0 + (bottom - y0) * dxdy;
      const double d = (bottom - top) * dir;
      deposit(static_cast<std::int32_t>(y), std::min(xa, xb), std::max(xa, xb), d);
    }
  }

  // A strip of the row of signed height d whose left side runs from xl to xr. Pixel j gets
  // d times the mean, over the strip, of its width right of the side: with x uniform on
  // [xl, xr], G(j + 1) - G(j) for G(z) the mean of max(0, z - x). Cells hold the differences
  // from one pixel to the next, which the running sum undoes.
  void deposit(std::int32_t y, double xl, double xr, double d) {
    const auto G = [&](double z) {
      if (z <= xl) return 0.0;
      if (z >= xr) return z - 0.5 * (xl + xr);
      return (z - xl) * (z - xl) / (2 * (xr - xl));
    };
    const auto first = static_cast<std::int32_t>(std::max(0.0, std::floor(xl)));
    const auto last = static_cast<std::int32_t>(std::ceil(xr));
    double before = 0;
    for (std::int32_t j = first; j <= last && j <= width_; ++j) {
      const double share = d * (G(j + 1.0) - G(static_cast<double>(j)));
      cells_[index(y, j)] += share - before;
      before = share;
    }
  }

  std::int32_t width_, height_;
  std::vector<double> cells_;
};

}  // namespace

void PaintXld(const HObject& XLD, const HObject& Image, HObject* ImageResult,
              const HTuple& Grayval) {
  ApiScope scope("PaintXld");
  const char* op = "paint_xld";
  const auto lines = polylinesOf(XLD, op, 1);
  const ImagePtr image = oneImage(Image, op, 2, kRealValuedTypes);
  const std::size_t channels = image->channels.size();
  const auto values = static_cast<std::size_t>(Grayval.Length());
  // One value a channel for every object, or one a channel for each object in turn.
  if (values != channels && values != channels * lines.size()) fail(op, 1401);
  for (Hlong i = 0; i < Grayval.Length(); ++i) numberAt(Grayval, i, op, 1);
  const PixelReader read = readerOf(image->type());
  const PixelWriter write = writerOf(image->type());
  ImagePtr result = newImage(image->width, image->height, channels, op, image->type());
  result->domain = image->domain;
  const std::size_t size = image->offset(image->height, 0);
  for (std::size_t c = 0; c < channels; ++c) {
    for (std::size_t i = 0; i < size; ++i) write(result->pixels(c), i, read(image->pixels(c), i));
  }
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const ContourObject& line = *lines[k];
    if (line.size() < 3) continue;  // encloses nothing
    // The window: the polygon's box within the image, in pixels.
    // A point at infinity or NaN fixes no area: such an object paints nothing.
    bool finite = true;
    double r0 = HUGE_VAL, r1 = -HUGE_VAL, c0 = HUGE_VAL, c1 = -HUGE_VAL;
    for (std::size_t i = 0; i < line.size(); ++i) {
      finite = finite && std::isfinite(line.rows[i]) && std::isfinite(line.cols[i]);
      r0 = std::min(r0, line.rows[i]), r1 = std::max(r1, line.rows[i]);
      c0 = std::min(c0, line.cols[i]), c1 = std::max(c1, line.cols[i]);
    }
    if (!finite) continue;
    // The pixels holding the box's corners, kept within one pixel beyond the image before
    // they become integers.
    const auto pixel = [](double v, std::int32_t extent) {
      return static_cast<std::int32_t>(std::clamp(std::floor(v + 0.5), -1.0, double(extent)));
    };
    const std::int32_t top = std::max(0, pixel(r0, image->height));
    const std::int32_t left = std::max(0, pixel(c0, image->width));
    const std::int32_t bottom = std::min(image->height - 1, pixel(r1, image->height));
    const std::int32_t right = std::min(image->width - 1, pixel(c1, image->width));
    if (bottom < top || right < left) continue;
    Coverage coverage(right - left + 1, bottom - top + 1);
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
      // Open contours are closed: the last point joins the first.
      const std::size_t j = (i + 1) % n;
      coverage.edge(line.cols[i] + 0.5 - left, line.rows[i] + 0.5 - top, line.cols[j] + 0.5 - left,
                    line.rows[j] + 0.5 - top);
    }
    const std::vector<double> shares = coverage.shares();
    const std::int32_t w = right - left + 1;
    for (std::size_t c = 0; c < channels; ++c) {
      const double g = Grayval[static_cast<Hlong>(values == channels ? c : k * channels + c)].D();
      for (std::int32_t y = top; y <= bottom; ++y) {
        for (std::int32_t x = left; x <= right; ++x) {
          const double a = shares[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(w) +
                                  static_cast<std::size_t>(x - left)];
          if (a <= 0) continue;
          const std::size_t at = image->offset(y, x);
          write(result->pixels(c), at, (1 - a) * read(result->pixels(c), at) + a * g);
        }
      }
    }
  }
  setOutput(ImageResult, objectOf({result}));
}

}  // namespace HalconCpp
