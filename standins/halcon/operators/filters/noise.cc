// The operators of the HALCON 11.0 chapter "Filters / Noise". A distribution is a tuple of
// 513 frequencies, entry 256 + d for the noise value d (-256 ... 256); the noise is added to
// the pixels of the domain and the sums stored as the image's type holds them (clipped to its
// range, rounded for the integer types).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr std::size_t kDistributionLength = 513;
constexpr int kZeroNoise = 256;
constexpr PixelTypes kNoiseTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2,
                                 PixelType::Real};

// Each thread draws from a generator of its own, seeded once from the system. The state lives
// on the heap: the library's thread-local storage must stay small enough for it to be loaded
// at run time (dlopen) beside others.
std::mt19937_64& generator() {
  thread_local std::unique_ptr<std::mt19937_64> engine;
  if (!engine) engine = std::make_unique<std::mt19937_64>(std::random_device{}());
  return *engine;
}

// Copies of the images in which noise(generator) is added to every pixel of the domain.
template <typename Noise>
HObject withNoise(const HObject& input, const char* op, Noise&& noise) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, kNoiseTypes)) {
    const PixelType type = image->type();
    ImagePtr result = unwrittenImageLike(image, image->channels.size(), op, type);
    const std::size_t bytes =
        std::size_t(image->width) * std::size_t(image->height) * elementSize(type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    const Runs domain = clipRuns(*image->domain, image->height, image->width);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      std::memcpy(result->pixels(c), image->pixels(c), bytes);
      for (const Run& run : domain) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          const std::size_t i = image->offset(run.row, col);
          write(result->pixels(c), i, read(image->pixels(c), i) + noise(generator()));
        }
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// The frequencies of a distribution at control position n: 513 finite numbers, none negative,
// not all 0.
std::vector<double> distributionOf(const HTuple& value, const char* op, int n) {
  requireLength(value, Hlong(kDistributionLength), op, n);
  std::vector<double> frequencies(kDistributionLength);
  double sum = 0;
  for (Hlong i = 0; i < Hlong(kDistributionLength); ++i) {
    const double f = numberAt(value, i, op, n);
    if (!(f >= 0) || !std::isfinite(f)) fail(op, 1300 + n);
    frequencies[std::size_t(i)] = f;
    sum += f;
  }
  if (!(sum > 0) || !std::isfinite(sum)) fail(op, 1300 + n);
  return frequencies;
}

HTuple tupleOf(const std::vector<double>& values) {
  HTuple tuple;
  for (const double value : values) tuple.Append(HTuple(value));
  return tuple;
}

}  // namespace

void AddNoiseWhite(const HObject& Image, HObject* ImageNoise, const HTuple& Amp) {
  ApiScope scope("AddNoiseWhite");
  const char* op = "add_noise_white";
  const double amp = oneNumber(Amp, op, 1);
  if (!(amp >= 0) || !std::isfinite(amp)) fail(op, 1301);
  std::uniform_real_distribution<double> uniform(-amp, amp);
  setOutput(ImageNoise, withNoise(Image, op, [&](std::mt19937_64& engine) {
              return amp > 0 ? uniform(engine) : 0.0;
            }));
}

void AddNoiseDistribution(const HObject& Image, HObject* ImageNoise, const HTuple& Distribution) {
  ApiScope scope("AddNoiseDistribution");
  const char* op = "add_noise_distribution";
  // The frequencies need not sum to 1: each noise value is drawn with its share of the sum.
  const std::vector<double> frequencies = distributionOf(Distribution, op, 1);
  std::discrete_distribution<int> draw(frequencies.begin(), frequencies.end());
  setOutput(ImageNoise, withNoise(Image, op, [&](std::mt19937_64& engine) {
              return double(draw(engine) - kZeroNoise);
            }));
}

void GaussDistribution(const HTuple& Sigma, HTuple* Distribution) {
  ApiScope scope("GaussDistribution");
  const char* op = "gauss_distribution";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma >= 0) || !std::isfinite(sigma)) fail(op, 1301);
  std::vector<double> values(kDistributionLength, 0.0);
  if (sigma == 0) {
    values[std::size_t(kZeroNoise)] = 1;
  } else {
    // The normal density at the whole noise values, scaled to sum 1 over the 513 values.
    double sum = 0;
    for (int i = 0; i < int(kDistributionLength); ++i) {
      const double d = double(i - kZeroNoise) / sigma;
      values[std::size_t(i)] = std::exp(-0.5 * d * d);
      sum += values[std::size_t(i)];
    }
    for (double& value : values) value /= sum;
  }
  setOutput(Distribution, tupleOf(values));
}

void SpDistribution(const HTuple& PercentSalt, const HTuple& PercentPepper, HTuple* Distribution) {
  ApiScope scope("SpDistribution");
  const char* op = "sp_distribution";
  const double salt = oneNumber(PercentSalt, op, 1);
  const double pepper = oneNumber(PercentPepper, op, 2);
  if (!(salt >= 0 && salt <= 100)) fail(op, 1301);
  if (!(pepper >= 0 && salt + pepper <= 100)) fail(op, 1302);
  // Pepper lowers a pixel by 256 and salt raises it by 256: black and white after clipping.
  std::vector<double> values(kDistributionLength, 0.0);
  values[0] = pepper / 100;
  values[kDistributionLength - 1] = salt / 100;
  values[std::size_t(kZeroNoise)] = (100 - salt - pepper) / 100;
  setOutput(Distribution, tupleOf(values));
}

void NoiseDistributionMean(const HObject& ConstRegion, const HObject& Image,
                           const HTuple& FilterSize, HTuple* Distribution) {
  ApiScope scope("NoiseDistributionMean");
  const char* op = "noise_distribution_mean";
  const std::vector<const Runs*> regions = regionsOf(ConstRegion, op, 1);
  if (regions.size() != 1) fail(op, 1501);
  const ImagePtr image = oneImage(Image, op, 2);
  const Hlong size = oneInteger(FilterSize, op, 1);
  if (size < 1 || size > 501) fail(op, 1301);
  // The noise is what the mean filter takes away: the grey value less its FilterSize x
  // FilterSize mean, over the region within the domain.
  HObject smoothed;
  MeanImage(objectOf({image}), &smoothed, HTuple(size), HTuple(size));
  const ImagePtr mean = oneImage(smoothed, op, 2);
  const Runs where =
      clipRuns(intersectRuns(*regions[0], *image->domain), image->height, image->width);
  std::vector<double> values(kDistributionLength, 0.0);
  double count = 0;
  for (const Run& run : where) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const std::size_t i = image->offset(run.row, col);
      values[std::size_t(int(image->pixels(0)[i]) - int(mean->pixels(0)[i]) + kZeroNoise)] += 1;
      count += 1;
    }
  }
  if (count > 0) {
    for (double& value : values) value /= count;
  }
  setOutput(Distribution, tupleOf(values));
}

}  // namespace HalconCpp
