// Thresholds and linear filters in doubles for the types beyond byte. Each plane is read once
// into doubles (its bytes charged to the pixel bound), filtered along the rows into a second
// plane and down the columns into the result.
#include "operators/image/typed_filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/image.h"
#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The domain's pixels, run by run, where `keep(i)` holds for the pixel's index i.
template <typename Keep>
Runs runsWhere(const Runs& domain, std::int32_t width, Keep&& keep) {
  Runs runs;
  for (const Run& run : domain) {
    const std::size_t row = std::size_t(run.row) * std::size_t(width);
    for (std::int32_t col = run.begin; col <= run.end;) {
      if (!keep(row + std::size_t(col))) {
        ++col;
        continue;
      }
      const std::int32_t begin = col;
      while (col <= run.end && keep(row + std::size_t(col))) ++col;
      runs.push_back(Run{run.row, begin, col - 1});
    }
  }
  return runs;
}

struct Doubles {
  PixelReservation reservation;
  std::vector<double> values;
  Doubles(std::size_t count, const char* op)
      : reservation(std::uint64_t(count) * sizeof(double), op), values(count) {}
};

// One row of n values filtered into `out`, mirrored at both ends.
void filterRow(const double* in, std::int32_t n, const std::vector<double>& weights, double* out) {
  const auto half = static_cast<std::int32_t>(weights.size() / 2);
  for (std::int32_t i = 0; i < n; ++i) {
    double sum = 0;
    for (std::int32_t k = -half; k <= half; ++k) {
      sum += weights[std::size_t(k + half)] * in[mirroredIndex(i + k, n)];
    }
    out[i] = sum;
  }
}

// The sums of each window of `side` values of a row, from running sums of the mirrored row;
// sums of whole numbers stay exact, so the mean is divided once at the end.
void windowSumsOfRow(const double* in, std::int32_t n, std::int32_t side,
                     std::vector<double>& prefix, double* out) {
  const std::int32_t half = side / 2;
  prefix.assign(std::size_t(n) + std::size_t(2 * half) + 1, 0.0);
  for (std::int32_t i = -half; i < n + half; ++i) {
    prefix[std::size_t(i + half + 1)] = prefix[std::size_t(i + half)] + in[mirroredIndex(i, n)];
  }
  for (std::int32_t i = 0; i < n; ++i) {
    out[i] = prefix[std::size_t(i + 2 * half + 1)] - prefix[std::size_t(i)];
  }
}

// Each plane read into doubles, passed to `filter(values, scratch, size)` which leaves its
// result in `values`, and stored back as the input's type.
template <typename Filter>
HObject filterTyped(const HObject& input, PixelTypes types, const char* op, Filter&& filter) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, types)) {
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const std::size_t n = std::size_t(image->width) * std::size_t(image->height);
    Doubles values(n, op), scratch(n, op);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      for (std::size_t i = 0; i < n; ++i) values.values[i] = read(in, i);
      filter(values.values.data(), scratch.values.data(), PlaneSize{image->width, image->height});
      std::uint8_t* out = result->pixels(c);
      for (std::size_t i = 0; i < n; ++i) write(out, i, storableValue(type, values.values[i]));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace

HObject typedDynThreshold(const HObject& orig, const HObject& reference,
                          const std::function<bool(double, double)>& accepts, const char* op) {
  std::vector<HObject::Item> items;
  for (const auto& [a, b] : imagePairs(orig, reference, op, kLinearFilterTypes)) {
    const PixelReader read = readerOf(a->type());
    const std::uint8_t *g = a->pixels(0), *t = b->pixels(0);
    const Runs domain = intersectRuns(*a->domain, *b->domain);
    items.push_back(makeRegion(runsWhere(
        domain, a->width, [&](std::size_t i) { return accepts(read(g, i), read(t, i)); })));
  }
  return objectOf(items);
}

HObject typedLocalDeviation(const HObject& images, int width, int height, PixelTypes types,
                            const std::function<bool(double, double, double)>& accepts,
                            const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(images, op, 1, types)) {
    const std::int32_t w = image->width, h = image->height;
    const std::size_t n = std::size_t(w) * std::size_t(h);
    Doubles values(n, op), squares(n, op), rowSums(n, op), rowSquares(n, op);
    const PixelReader read = readerOf(image->type());
    for (std::size_t i = 0; i < n; ++i) {
      values.values[i] = read(image->pixels(0), i);
      squares.values[i] = values.values[i] * values.values[i];
    }
    std::vector<double> prefix;
    for (std::int32_t y = 0; y < h; ++y) {
      const std::size_t row = std::size_t(y) * std::size_t(w);
      windowSumsOfRow(values.values.data() + row, w, width, prefix, rowSums.values.data() + row);
      windowSumsOfRow(squares.values.data() + row, w, width, prefix,
                      rowSquares.values.data() + row);
    }
    // The window's sums: the row sums' sums down the columns, moved one row at a time.
    Doubles sums(n, op);
    const std::int32_t half = height / 2;
    const auto slide = [&](const std::vector<double>& across, double* out) {
      std::vector<double> columns(std::size_t(w), 0.0);
      const auto row = [&](std::int32_t y) {
        return across.data() + std::size_t(mirroredIndex(y, h)) * std::size_t(w);
      };
      for (std::int32_t k = -half; k <= half; ++k) {
        for (std::size_t x = 0; x < std::size_t(w); ++x) columns[x] += row(k)[x];
      }
      for (std::int32_t y = 0; y < h; ++y) {
        const double *enter = row(y + half + 1), *leave = row(y - half);
        for (std::size_t x = 0; x < std::size_t(w); ++x) {
          out[std::size_t(y) * std::size_t(w) + x] = columns[x];
          columns[x] += enter[x] - leave[x];
        }
      }
    };
    slide(rowSums.values, sums.values.data());
    slide(rowSquares.values, squares.values.data());
    const double area = double(width) * double(height);
    items.push_back(makeRegion(runsWhere(clipRuns(*image->domain, h, w), w, [&](std::size_t i) {
      const double mean = sums.values[i] / area;
      const double deviation = std::sqrt(std::max(0.0, squares.values[i] / area - mean * mean));
      return accepts(values.values[i], mean, deviation);
    })));
  }
  return objectOf(items);
}

HObject typedSeparableFilter(const HObject& images, const std::vector<double>& alongRow,
                             const std::vector<double>& alongColumn, PixelTypes types,
                             const char* op) {
  return filterTyped(images, types, op, [&](double* values, double* scratch, PlaneSize size) {
    const auto width = std::size_t(size.width);
    for (std::int32_t y = 0; y < size.height; ++y) {
      filterRow(values + std::size_t(y) * width, size.width, alongRow,
                scratch + std::size_t(y) * width);
    }
    // Down the columns a whole row at a time, so that memory is read in order.
    const auto half = static_cast<std::int32_t>(alongColumn.size() / 2);
    for (std::int32_t y = 0; y < size.height; ++y) {
      double* out = values + std::size_t(y) * width;
      std::fill(out, out + width, 0.0);
      for (std::int32_t k = -half; k <= half; ++k) {
        const double w = alongColumn[std::size_t(k + half)];
        const double* in = scratch + std::size_t(mirroredIndex(y + k, size.height)) * width;
        for (std::size_t x = 0; x < width; ++x) out[x] += w * in[x];
      }
    }
  });
}

HObject typedPlaneFilter(const HObject& images, PixelTypes types, const char* op,
                         const std::function<void(double*, PlaneSize)>& filter) {
  return filterTyped(images, types, op,
                     [&](double* values, double*, PlaneSize size) { filter(values, size); });
}

HObject typedMeanFilter(const HObject& images, int width, int height, const char* op) {
  return filterTyped(images, kLinearFilterTypes, op,
                     [&](double* values, double* scratch, PlaneSize size) {
                       const auto w = std::size_t(size.width);
                       std::vector<double> prefix;
                       for (std::int32_t y = 0; y < size.height; ++y) {
                         windowSumsOfRow(values + std::size_t(y) * w, size.width, width, prefix,
                                         scratch + std::size_t(y) * w);
                       }
                       // Column sums over the mask's rows, moved down one row at a time.
                       const std::int32_t half = height / 2;
                       std::vector<double> columns(w, 0.0);
                       const auto row = [&](std::int32_t y) {
                         return scratch + std::size_t(mirroredIndex(y, size.height)) * w;
                       };
                       for (std::int32_t k = -half; k <= half; ++k) {
                         const double* in = row(k);
                         for (std::size_t x = 0; x < w; ++x) columns[x] += in[x];
                       }
                       const double area = double(width) * double(height);
                       for (std::int32_t y = 0; y < size.height; ++y) {
                         double* out = values + std::size_t(y) * w;
                         const double *enter = row(y + half + 1), *leave = row(y - half);
                         for (std::size_t x = 0; x < w; ++x) {
                           out[x] = columns[x] / area;
                           columns[x] += enter[x] - leave[x];
                         }
                       }
                     });
}

}  // namespace Standin
}  // namespace HalconCpp
