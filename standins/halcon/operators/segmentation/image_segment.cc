// Thresholds against other images, local statistics and the histogram.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/empty_results.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsImage.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "operators/filters/image_kernels.h"
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "operators/segmentation/region_histogram.h"
#include "operators/segmentation/threshold_rows.h"
#include "operators/segmentation/window_sums.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The runs [first, last) of `domain` that `keep(offset)` accepts, appended to `out`.
template <typename Keep>
void appendRunsWhere(const Run* first, const Run* last, std::int32_t width, Keep& keep, Runs& out) {
  for (const Run* run = first; run != last; ++run) {
    const std::size_t base = static_cast<std::size_t>(run->row) * static_cast<std::size_t>(width);
    std::int32_t start = -1;
    for (std::int32_t col = run->begin; col <= run->end + 1; ++col) {
      const bool in = col <= run->end && keep(base + static_cast<std::size_t>(col));
      if (in && start < 0) start = col;
      if (!in && start >= 0) {
        out.push_back(Run{run->row, start, col - 1});
        start = -1;
      }
    }
  }
}

// The bands' runs in order, in one allocation: a noisy image gives millions.
Runs joined(std::vector<Runs>& parts) {
  std::size_t total = 0;
  for (const Runs& part : parts) total += part.size();
  Runs runs = std::move(parts.front());
  runs.reserve(total);
  for (std::size_t k = 1; k < parts.size(); ++k) {
    runs.insert(runs.end(), parts[k].begin(), parts[k].end());
  }
  return runs;
}

// The pixels of `domain` that `keep(offset)` accepts, as runs: the domain's runs in bands on
// the operators' threads, each band's runs joined in order, so the runs come out canonical.
template <typename Keep>
Runs runsWhere(const Runs& domain, std::int32_t width, Keep&& keep) {
  const int bands = bandsFor(static_cast<std::int64_t>(domain.size()), runsArea(domain));
  if (bands == 1) {
    Runs runs;
    appendRunsWhere(domain.data(), domain.data() + domain.size(), width, keep, runs);
    return runs;
  }
  std::vector<Runs> parts(static_cast<std::size_t>(bands));
  forBands(static_cast<std::int64_t>(domain.size()), bands,
           [&](int band, std::int64_t begin, std::int64_t end) {
             appendRunsWhere(domain.data() + begin, domain.data() + end, width, keep,
                             parts[static_cast<std::size_t>(band)]);
           });
  return joined(parts);
}

// The same with each domain run's answers as bits: fill(offset, n, bits) sets the bits of the
// n pixels from `offset` on (bits come cleared).
template <typename Fill>
Runs runsWhereBits(const Runs& domain, std::int32_t width, std::int32_t height, const char* op,
                   Fill&& fill) {
  const auto count = static_cast<std::int64_t>(domain.size());
  const int bands = bandsFor(count, runsArea(domain));
  DomainBits bits(domain, width, height, op);
  forBands(count, bands, [&](int, std::int64_t begin, std::int64_t end) {
    for (auto k = static_cast<std::size_t>(begin); k < static_cast<std::size_t>(end); ++k) {
      if (bits.length(k) == 0) continue;
      fill(static_cast<std::size_t>(domain[k].row) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(bits.begin(k)),
           bits.length(k), bits.words(k));
      bits.counted(k);
    }
  });
  std::vector<std::size_t> bandRuns(static_cast<std::size_t>(bands) + 1);
  for (int b = 0; b <= bands; ++b) {
    bandRuns[static_cast<std::size_t>(b)] = static_cast<std::size_t>(bandStart(count, bands, b));
  }
  return bits.runs(bandRuns);
}

enum class Side { Light, Dark, Equal, NotEqual };

Comparison comparisonOf(Side side) {
  switch (side) {
    case Side::Light:
      return Comparison::Light;
    case Side::Dark:
      return Comparison::Dark;
    case Side::Equal:
      return Comparison::Equal;
    case Side::NotEqual:
      break;
  }
  return Comparison::NotEqual;
}

Side sideOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "light") return Side::Light;
  if (name == "dark") return Side::Dark;
  if (name == "equal") return Side::Equal;
  if (name == "not_equal") return Side::NotEqual;
  fail(op, 1300 + n);
}

bool accepted(Side side, double g, double reference, double offset) {
  switch (side) {
    case Side::Light:
      return g >= reference + offset;
    case Side::Dark:
      return g <= reference - offset;
    case Side::Equal:
      return g >= reference - offset && g <= reference + offset;
    case Side::NotEqual:
      return g < reference - offset || g > reference + offset;
  }
  return false;
}

// dyn_threshold's comparison of g with a reference grey value t in whole numbers: for each t,
// the grey values in [low, high] (or, when `outside`, those not in it) are the ones accepted()
// accepts. g >= t + offset holds for a whole g exactly when g >= ceil(t + offset), the sum
// rounded as accepted() rounds it; likewise for the other bounds.
struct Acceptance {
  struct Range {
    int low, high;
  };
  Range byReference[256];
  bool outside = false;
};

int ceilingIn(double bound) {
  return static_cast<int>(std::clamp(std::ceil(bound), 0.0, 256.0));
}

int floorIn(double bound) {
  return static_cast<int>(std::clamp(std::floor(bound), -1.0, 255.0));
}

Acceptance acceptanceOf(Side side, double offset) {
  Acceptance a;
  a.outside = side == Side::NotEqual && !std::isnan(offset);
  for (int t = 0; t < 256; ++t) {
    Acceptance::Range& r = a.byReference[t];
    const double above = t + offset, below = t - offset;
    if (std::isnan(offset)) {
      r = {1, 0};  // every comparison with NaN fails
    } else if (side == Side::Light) {
      r = {ceilingIn(above), 255};
    } else if (side == Side::Dark) {
      r = {0, floorIn(below)};
    } else {
      r = {ceilingIn(below), floorIn(above)};
    }
  }
  return a;
}

// The amounts every reference value's bounds lie from it, when they are the same for every
// reference value: then low <= g - t <= high is the comparison (bounds clamped at the ends of
// the grey values come out the same either way).
bool differenceBounds(const Acceptance& a, int* low, int* high) {
  const auto shared = [&](int Acceptance::Range::*bound, int least, int most, int* amount) {
    int candidate = a.byReference[0].*bound == least ? -256 : 256;
    for (int t = 0; t < 256; ++t) {
      const int b = a.byReference[t].*bound;
      if (b > least && b < most) {
        candidate = b - t;
        break;
      }
    }
    if (candidate < -256) candidate = -256;
    if (candidate > 256) candidate = 256;
    for (int t = 0; t < 256; ++t) {
      if (a.byReference[t].*bound != std::clamp(t + candidate, least, most)) return false;
    }
    *amount = candidate;
    return true;
  };
  return shared(&Acceptance::Range::low, 0, 256, low) &&
         shared(&Acceptance::Range::high, -1, 255, high);
}

}  // namespace

void DynThreshold(const HObject& OrigImage, const HObject& ThresholdImage, HObject* RegionDynThresh,
                  const HTuple& Offset, const HTuple& LightDark) {
  ApiScope scope("DynThreshold");
  const char* op = "dyn_threshold";
  const double offset = oneNumber(Offset, op, 1);
  const Side side = sideOf(LightDark, op, 2);
  if (hasTypedImages(OrigImage) || hasTypedImages(ThresholdImage)) {
    setOutput(RegionDynThresh,
              typedDynThreshold(
                  OrigImage, ThresholdImage,
                  [&](double g, double t) { return accepted(side, g, t, offset); }, op));
    return;
  }
  std::vector<HObject::Item> items;
  for (const auto& [orig, reference] : imagePairs(OrigImage, ThresholdImage, op)) {
    const std::uint8_t *g = orig->pixels(0), *t = reference->pixels(0);
    const Runs domain = intersectRuns(*orig->domain, *reference->domain);
    const Acceptance acceptance = acceptanceOf(side, offset);
    const auto keep = [&](std::size_t i) {
      const Acceptance::Range& range = acceptance.byReference[t[i]];
      return (g[i] >= range.low && g[i] <= range.high) != acceptance.outside;
    };
    int low = 0, high = 0;
    if (vectorPathsEnabled() && thresholdVectorsRun() &&
        differenceBounds(acceptance, &low, &high)) {
      items.push_back(makeRegion(runsWhereBits(
          domain, orig->width, orig->height, op,
          [&](std::size_t base, std::size_t n, std::uint64_t* bits) {
            std::size_t done =
                differenceBits(g + base, t + base, n, low, high, acceptance.outside, bits);
            for (; done < n; ++done) {
              if (keep(base + done)) bits[done / 64] |= std::uint64_t{1} << (done % 64);
            }
          })));
      continue;
    }
    items.push_back(makeRegion(runsWhere(domain, orig->width, keep)));
  }
  setOutput(RegionDynThresh, objectOf(items));
}

void VarThreshold(const HObject& Image, HObject* Region, const HTuple& MaskWidth,
                  const HTuple& MaskHeight, const HTuple& StdDevScale, const HTuple& AbsThreshold,
                  const HTuple& LightDark) {
  ApiScope scope("VarThreshold");
  const char* op = "var_threshold";
  const Hlong maskWidth = oneInteger(MaskWidth, op, 1), maskHeight = oneInteger(MaskHeight, op, 2);
  if (maskWidth < 1 || maskWidth > 501) fail(op, 1301);
  if (maskHeight < 1 || maskHeight > 501) fail(op, 1302);
  const double scale = oneNumber(StdDevScale, op, 3), absolute = oneNumber(AbsThreshold, op, 4);
  const Side side = sideOf(LightDark, op, 5);
  const auto hw = static_cast<std::int32_t>(maskWidth / 2);
  const auto hh = static_cast<std::int32_t>(maskHeight / 2);
  const double area = double(2 * hw + 1) * double(2 * hh + 1);
  const auto limit = [&](double deviation) {
    return scale >= 0 ? std::max(scale * deviation, absolute)
                      : std::min(scale * deviation, absolute);
  };
  if (hasTypedImages(Image)) {
    setOutput(Region, typedLocalDeviation(
                          Image, 2 * hw + 1, 2 * hh + 1, kLocalDeviationTypes,
                          [&](double g, double mean, double deviation) {
                            return accepted(side, g, mean, limit(deviation));
                          },
                          op));
    return;
  }
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const PlaneSize size{image->width, image->height};
    const Runs& domain = *image->domain;
    const Extent extent = extentOf(domain, size);
    // Where each row's runs of the domain start, so that a band finds its rows' runs.
    std::vector<std::size_t> rowStart(static_cast<std::size_t>(size.height) + 1, domain.size());
    for (std::size_t i = domain.size(); i-- > 0;) {
      const std::int32_t row = domain[i].row;
      if (row >= 0 && row < size.height) rowStart[static_cast<std::size_t>(row)] = i;
    }
    for (std::size_t y = rowStart.size() - 1; y-- > 0;) {
      rowStart[y] = std::min(rowStart[y], rowStart[y + 1]);
    }
    const std::uint8_t* g = image->pixels(0);
    const int bands = windowSumBands(size, extent);
    const bool vectors = vectorPathsEnabled() && thresholdVectorsRun();
    // The pixels' answers as bits on the vector path, whose runs are made once all are known.
    std::optional<DomainBits> bits;
    if (vectors) bits.emplace(domain, size.width, size.height, op);
    std::vector<Runs> parts(static_cast<std::size_t>(bands));
    // The local deviation from the means of g and of g squared, both over the mask.
    forWindowSums(
        g, size, extent, hw, hh, bands,
        [&](int band, std::int32_t y, std::int32_t c0, std::int32_t, const std::uint64_t* sums,
            const std::uint64_t* squares) {
          const std::uint8_t* row =
              g + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width);
          const auto keep = [&](std::int32_t x) {
            const auto i = static_cast<std::size_t>(x - c0);
            const double m = double(sums[i]) / area;
            const double deviation = std::sqrt(std::max(0.0, double(squares[i]) / area - m * m));
            return accepted(side, row[x], m, limit(deviation));
          };
          Runs& out = parts[static_cast<std::size_t>(band)];
          const auto r = static_cast<std::size_t>(y);
          for (std::size_t k = rowStart[r]; k < rowStart[r + 1]; ++k) {
            if (bits) {
              const std::size_t n = bits->length(k);
              if (n == 0) continue;
              const std::int32_t begin = bits->begin(k);
              std::uint64_t* words = bits->words(k);
              const auto i0 = static_cast<std::size_t>(begin - c0);
              std::size_t done = localDeviationBits(row + begin, sums + i0, squares + i0, n, area,
                                                    scale, absolute, comparisonOf(side), words);
              for (; done < n; ++done) {
                if (keep(begin + static_cast<std::int32_t>(done))) {
                  words[done / 64] |= std::uint64_t{1} << (done % 64);
                }
              }
              bits->counted(k);
              continue;
            }
            const std::int32_t begin = std::max(domain[k].begin, 0);
            const std::int32_t end = std::min(domain[k].end, size.width - 1);
            if (begin > end) continue;
            std::int32_t start = -1;
            for (std::int32_t x = begin; x <= end + 1; ++x) {
              const bool in = x <= end && keep(x);
              if (in && start < 0) start = x;
              if (!in && start >= 0) {
                out.push_back(Run{y, start, x - 1});
                start = -1;
              }
            }
          }
        });
    if (bits) {
      // The bands of rows as bands of the domain's runs.
      std::vector<std::size_t> bandRuns(static_cast<std::size_t>(bands) + 1, domain.size());
      bandRuns[0] = 0;
      for (int b = 1; b < bands; ++b) {
        bandRuns[static_cast<std::size_t>(b)] =
            rowStart[static_cast<std::size_t>(bandStart(size.height, bands, b))];
      }
      items.push_back(makeRegion(bits->runs(bandRuns)));
      continue;
    }
    items.push_back(makeRegion(joined(parts)));
  }
  setOutput(Region, objectOf(items));
}

void BinaryThreshold(const HObject& Image, HObject* Region, const HTuple& Method,
                     const HTuple& LightDark, HTuple* UsedThreshold) {
  ApiScope scope("BinaryThreshold");
  const char* op = "binary_threshold";
  const std::string method = oneString(Method, op, 1);
  const std::string lightDark = oneString(LightDark, op, 2);
  if (method != "max_separability" && method != "smooth_histo") fail(op, 1301);
  if (lightDark != "light" && lightDark != "dark") fail(op, 1302);
  std::vector<HObject::Item> items;
  HTuple thresholds;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const std::vector<Hlong> histogram = histogramOf(*image->domain, image, op);
    int threshold = 0;
    if (method == "max_separability") {
      // Otsu: the split that maximises the variance between the two classes.
      double total = 0, sum = 0;
      for (int g = 0; g < 256; ++g) {
        total += double(histogram[std::size_t(g)]);
        sum += double(g) * double(histogram[std::size_t(g)]);
      }
      double below = 0, belowSum = 0, best = -1;
      for (int t = 0; t < 255; ++t) {
        below += double(histogram[std::size_t(t)]);
        belowSum += double(t) * double(histogram[std::size_t(t)]);
        const double above = total - below;
        if (below == 0 || above == 0) continue;
        const double difference = belowSum / below - (sum - belowSum) / above;
        const double between = below * above * difference * difference;
        if (between > best) {
          best = between;
          threshold = t;
        }
      }
    } else {
      // Smoothed until at most two maxima remain; the split is the minimum between them.
      std::vector<double> h(histogram.begin(), histogram.end());
      std::vector<int> peaks;
      for (int pass = 0; pass < 1000; ++pass) {
        peaks.clear();
        for (int g = 0; g < 256; ++g) {
          const double left = g > 0 ? h[std::size_t(g - 1)] : -1,
                       right = g < 255 ? h[std::size_t(g + 1)] : -1;
          if (h[std::size_t(g)] > left && h[std::size_t(g)] >= right) peaks.push_back(g);
        }
        if (peaks.size() <= 2) break;
        std::vector<double> smoothed(256);
        for (int g = 0; g < 256; ++g) {
          smoothed[std::size_t(g)] =
              (h[std::size_t(mirroredIndex(g - 1, 256))] + 2 * h[std::size_t(g)] +
               h[std::size_t(mirroredIndex(g + 1, 256))]) /
              4;
        }
        h.swap(smoothed);
      }
      if (peaks.size() == 2) {
        threshold = peaks[0];
        for (int g = peaks[0]; g <= peaks[1]; ++g) {
          if (h[std::size_t(g)] < h[std::size_t(threshold)]) threshold = g;
        }
      } else if (!peaks.empty()) {
        threshold = peaks[0];
      }
    }
    const bool light = lightDark == "light";
    const std::uint8_t* g = image->pixels(0);
    items.push_back(makeRegion(runsWhere(*image->domain, image->width, [&](std::size_t i) {
      return light ? g[i] > threshold : g[i] <= threshold;
    })));
    thresholds.Append(HTuple(static_cast<Hlong>(threshold)));
  }
  setOutput(Region, objectOf(items));
  setOutput(UsedThreshold, std::move(thresholds));
}

}  // namespace HalconCpp
