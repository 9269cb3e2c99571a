// Measure objects and their profiles. A slice is sampled at whole distances from the axis, the
// axis at whole distances from the rectangle's centre (or the arc's start), as the 11.0 pages
// of gen_measure_rectangle2 and measure_projection describe; a slice that is not whole inside
// the image (with the border its interpolation reads) gives no value.
#include "operators/measure/measure_object.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/handle_table.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

class MeasureTable {
 public:
  Hlong add(const MeasureShape& shape) { return table_.add(shape); }
  template <typename Fn>
  decltype(auto) with(const HTuple& handle, const char* op, int n, Fn&& fn) {
    const Hlong key = oneInteger(handle, op, n);
    return table_.with(
        key, [op, n] { fail(op, 1300 + n); }, std::forward<Fn>(fn));
  }
  bool remove(Hlong handle) { return table_.remove(handle); }
  void clear() { table_.clear(); }

 private:
  quorvex::common::HandleTable<Hlong, MeasureShape> table_{1};
};

MeasureTable& measures() {
  static MeasureTable* table = new MeasureTable;  // outlives every static destructor
  return *table;
}

// Reads one plane at sub-pixel positions; `margin` is the border (in pixels) the
// interpolation needs inside the image around a sample.
class Sampler {
 public:
  Sampler(const ImageObject& image, const MeasureShape& shape)
      : data_(image.pixels(0)),
        read_(readerOf(image.type())),
        width_(std::min(image.width, shape.width)),
        height_(std::min(image.height, shape.height)),
        stride_(image.width),
        mode_(shape.interpolation) {}

  bool inside(double row, double col) const {
    if (mode_ == MeasureInterpolation::Nearest) {
      return row >= -0.5 && col >= -0.5 && row < height_ - 0.5 && col < width_ - 0.5;
    }
    const double margin = mode_ == MeasureInterpolation::Bilinear ? 1 : 2;
    return row >= margin && col >= margin && row <= height_ - 1 - margin &&
           col <= width_ - 1 - margin;
  }

  double at(double row, double col) const {
    switch (mode_) {
      case MeasureInterpolation::Nearest:
        return pixel(static_cast<std::int32_t>(std::floor(row + 0.5)),
                     static_cast<std::int32_t>(std::floor(col + 0.5)));
      case MeasureInterpolation::Bilinear: {
        const double r0 = std::floor(row), c0 = std::floor(col), fr = row - r0, fc = col - c0;
        const auto r = static_cast<std::int32_t>(r0), c = static_cast<std::int32_t>(c0);
        // A sample on the last row or column reads no pixel beyond it.
        const std::int32_t r1 = fr > 0 ? r + 1 : r, c1 = fc > 0 ? c + 1 : c;
        return (1 - fr) * ((1 - fc) * pixel(r, c) + fc * pixel(r, c1)) +
               fr * ((1 - fc) * pixel(r1, c) + fc * pixel(r1, c1));
      }
      case MeasureInterpolation::Bicubic:
        break;
    }
    const double r0 = std::floor(row), c0 = std::floor(col);
    const auto r = static_cast<std::int32_t>(r0), c = static_cast<std::int32_t>(c0);
    double wr[4], wc[4];
    cubicWeights(row - r0, wr);
    cubicWeights(col - c0, wc);
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
      double line = 0;
      for (int j = 0; j < 4; ++j) line += wc[j] * pixel(r - 1 + i, c - 1 + j);
      sum += wr[i] * line;
    }
    return sum;
  }

 private:
  double pixel(std::int32_t row, std::int32_t col) const {
    return read_(data_, static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_) +
                            static_cast<std::size_t>(col));
  }
  // Cubic convolution (Keys, a = -0.5) at the four pixels around a fraction f.
  static void cubicWeights(double f, double* w) {
    const auto kernel = [](double x) {
      x = std::fabs(x);
      if (x <= 1) return (1.5 * x - 2.5) * x * x + 1;
      if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
      return 0.0;
    };
    for (int i = 0; i < 4; ++i) w[i] = kernel(f - (i - 1));
  }

  const std::uint8_t* data_;
  PixelReader read_;
  std::int32_t width_, height_, stride_;
  MeasureInterpolation mode_;
};

// The slice across the axis at coordinate t: its sample at whole offset j from the axis.
void slicePoint(const MeasureShape& shape, double t, double j, double* row, double* col) {
  if (!shape.arc) {
    const double s = std::sin(shape.phi), c = std::cos(shape.phi);
    *row = shape.row - t * s + j * c;
    *col = shape.column + t * c + j * s;
    return;
  }
  const double step = shape.angleExtent < 0 ? -1 / shape.radius : 1 / shape.radius;
  const double angle = shape.angleStart + t * step, r = shape.radius + j;
  *row = shape.row - r * std::sin(angle);
  *col = shape.column + r * std::cos(angle);
}

// The range [lo, hi] of t whose rectangle axis point lies within [-1, size] on one image
// axis, for a point moving from `start` by `rate` per unit of t.
void clipAxis(double start, double rate, double size, double* lo, double* hi) {
  if (std::fabs(rate) < 1e-12) {
    if (start < -1 || start > size) *lo = 1, *hi = 0;
    return;
  }
  double a = (-1 - start) / rate, b = (size - start) / rate;
  if (a > b) std::swap(a, b);
  *lo = std::max(*lo, a);
  *hi = std::min(*hi, b);
}

}  // namespace

Hlong addMeasure(const MeasureShape& shape) {
  return measures().add(shape);
}

MeasureShape measureOf(const HTuple& handle, const char* op, int n) {
  return measures().with(handle, op, n, [](MeasureShape& shape) { return shape; });
}

void translateMeasure(const HTuple& handle, double row, double column, const char* op) {
  measures().with(handle, op, 1, [&](MeasureShape& shape) {
    shape.row = row;
    shape.column = column;
  });
}

void closeMeasure(const HTuple& handle, const char* op) {
  if (!measures().remove(oneInteger(handle, op, 1))) fail(op, 1301);
}

void closeAllMeasures() {
  measures().clear();
}

Profile profileOf(const ImageObject& image, const MeasureShape& shape) {
  Profile profile;
  if (image.channels.empty()) return profile;
  const Sampler sampler(image, shape);
  const double across = std::floor(shape.arc ? shape.annulusRadius : shape.length2);
  // A slice longer than the image's diagonal cannot lie inside it.
  if (across > double(image.width) + double(image.height) + 4) return profile;
  double lo, hi;
  if (!shape.arc) {
    const double along = std::floor(shape.length1);
    lo = -along, hi = along;
    // Only axis points near the image can carry a whole slice: this bounds the work by the
    // image, not by Length1.
    clipAxis(shape.row, -std::sin(shape.phi), image.height, &lo, &hi);
    clipAxis(shape.column, std::cos(shape.phi), image.width, &lo, &hi);
    lo = std::ceil(lo);
    hi = std::floor(hi);
  } else {
    lo = 0;
    hi = std::floor(std::fabs(shape.angleExtent) * shape.radius);
  }
  const auto count = static_cast<std::int32_t>(across);
  bool ended = false;
  for (double t = lo; t <= hi && !ended; ++t) {
    double sum = 0;
    bool whole = true;
    for (std::int32_t j = -count; j <= count && whole; ++j) {
      double row, col;
      slicePoint(shape, t, j, &row, &col);
      whole = sampler.inside(row, col);
      if (whole) sum += sampler.at(row, col);
    }
    if (!whole) {
      // The slices inside form one run; an arc that leaves the image keeps its first run.
      ended = !profile.values.empty();
      continue;
    }
    if (profile.values.empty()) profile.first = t;
    profile.values.push_back(sum / (2 * double(count) + 1));
  }
  return profile;
}

void pointOnAxis(const MeasureShape& shape, double s, double* row, double* column) {
  slicePoint(shape, s, 0, row, column);
}

}  // namespace Standin
}  // namespace HalconCpp
