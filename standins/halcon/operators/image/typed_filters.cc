// Thresholds and linear filters in doubles for the types beyond byte. Each plane is read once
// into doubles (its bytes charged to the pixel bound), filtered along the rows into a second
// plane and down the columns into the result.
#include "operators/image/typed_filters.h"

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

// One line of n values at `in` with the given stride, filtered into `out` (same stride).
void filterLine(const double* in, std::size_t stride, std::int32_t n,
                const std::vector<double>& weights, double* out) {
  const auto half = static_cast<std::int32_t>(weights.size() / 2);
  for (std::int32_t i = 0; i < n; ++i) {
    double sum = 0;
    for (std::int32_t k = -half; k <= half; ++k) {
      sum += weights[std::size_t(k + half)] * in[std::size_t(mirroredIndex(i + k, n)) * stride];
    }
    out[std::size_t(i) * stride] = sum;
  }
}

// The mean of each window of `side` values of a line, from sums of the mirrored line.
void meanLine(const double* in, std::size_t stride, std::int32_t n, std::int32_t side,
              std::vector<double>& prefix, double* out) {
  const std::int32_t half = side / 2;
  prefix.assign(std::size_t(n) + std::size_t(2 * half) + 1, 0.0);
  for (std::int32_t i = -half; i < n + half; ++i) {
    prefix[std::size_t(i + half + 1)] =
        prefix[std::size_t(i + half)] + in[std::size_t(mirroredIndex(i, n)) * stride];
  }
  for (std::int32_t i = 0; i < n; ++i) {
    out[std::size_t(i) * stride] =
        (prefix[std::size_t(i + 2 * half + 1)] - prefix[std::size_t(i)]) / side;
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

HObject typedSeparableFilter(const HObject& images, const std::vector<double>& alongRow,
                             const std::vector<double>& alongColumn, PixelTypes types,
                             const char* op) {
  return filterTyped(images, types, op, [&](double* values, double* scratch, PlaneSize size) {
    const auto width = std::size_t(size.width);
    for (std::int32_t y = 0; y < size.height; ++y) {
      filterLine(values + std::size_t(y) * width, 1, size.width, alongRow,
                 scratch + std::size_t(y) * width);
    }
    for (std::int32_t x = 0; x < size.width; ++x) {
      filterLine(scratch + x, width, size.height, alongColumn, values + x);
    }
  });
}

HObject typedMeanFilter(const HObject& images, int width, int height, const char* op) {
  return filterTyped(images, kLinearFilterTypes, op,
                     [&](double* values, double* scratch, PlaneSize size) {
                       const auto w = std::size_t(size.width);
                       std::vector<double> prefix;
                       for (std::int32_t y = 0; y < size.height; ++y) {
                         meanLine(values + std::size_t(y) * w, 1, size.width, width, prefix,
                                  scratch + std::size_t(y) * w);
                       }
                       for (std::int32_t x = 0; x < size.width; ++x) {
                         meanLine(scratch + x, w, size.height, height, prefix, values + x);
                       }
                     });
}

}  // namespace Standin
}  // namespace HalconCpp
