#include "operators/filters/sobel_bytes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/image.h"
#include "core/image_results.h"
#include "core/threads.h"

namespace HalconCpp {
namespace Standin {

namespace {

// |A| and |B| of row y: A = (1 2 1 / 0 0 0 / -1 -2 -1), B = (1 0 -1 / 2 0 -2 / 1 0 -1), the
// rows and columns beyond the edges mirrored.
void absolutes(const std::uint8_t* src, PlaneSize size, std::int32_t y, std::int16_t* absA,
               std::int16_t* absB) {
  const std::int32_t w = size.width, h = size.height;
  const std::uint8_t* up = src + rowStart(mirroredIndex(y - 1, h), w);
  const std::uint8_t* here = src + rowStart(y, w);
  const std::uint8_t* down = src + rowStart(mirroredIndex(y + 1, h), w);
  const auto one = [&](std::int32_t x, std::int32_t left, std::int32_t right) {
    const int a = up[left] + 2 * up[x] + up[right] - down[left] - 2 * down[x] - down[right];
    const int b =
        up[left] + 2 * here[left] + down[left] - up[right] - 2 * here[right] - down[right];
    absA[x] = static_cast<std::int16_t>(a < 0 ? -a : a);
    absB[x] = static_cast<std::int16_t>(b < 0 ? -b : b);
  };
  one(0, mirroredIndex(-1, w), mirroredIndex(1, w));
  // The columns with both neighbours inside: no mirroring, so the loop runs in vectors.
  for (std::int32_t x = 1; x + 1 < w; ++x) {
    const int a = up[x - 1] + 2 * up[x] + up[x + 1] - down[x - 1] - 2 * down[x] - down[x + 1];
    const int b =
        up[x - 1] + 2 * here[x - 1] + down[x - 1] - up[x + 1] - 2 * here[x + 1] - down[x + 1];
    absA[x] = static_cast<std::int16_t>(a < 0 ? -a : a);
    absB[x] = static_cast<std::int16_t>(b < 0 ? -b : b);
  }
  if (w > 1) one(w - 1, mirroredIndex(w - 2, w), mirroredIndex(w, w));
}

// value / 4 rounded half up and clamped, as clampToByte rounds a whole value over 4.
inline std::uint8_t quarter(int value) {
  return static_cast<std::uint8_t>(std::min(255, (value + 2) >> 2));
}

void sobelRows(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude, std::uint8_t* dst,
               std::int32_t y0, std::int32_t y1) {
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::int16_t> rows(6 * width);
  std::int16_t *aboveA = rows.data(), *hereA = aboveA + width, *belowA = hereA + width;
  std::int16_t *aboveB = belowA + width, *hereB = aboveB + width, *belowB = hereB + width;
  for (std::int32_t y = y0; y < y1; ++y) {
    absolutes(src, size, y, hereA, hereB);
    std::uint8_t* out = dst + rowStart(y, w);
    switch (amplitude) {
      case SobelAmplitude::SumAbs:
        for (std::int32_t x = 0; x < w; ++x) out[x] = quarter(hereA[x] + hereB[x]);
        continue;
      case SobelAmplitude::SumSqrt:
        for (std::int32_t x = 0; x < w; ++x) {
          const double a = hereA[x], b = hereB[x];
          out[x] = clampToByte(std::sqrt(a * a + b * b) / 4);
        }
        continue;
      case SobelAmplitude::ThinSumAbs:
      case SobelAmplitude::ThinMaxAbs:
        break;
    }
    absolutes(src, size, mirroredIndex(y - 1, h), aboveA, aboveB);
    absolutes(src, size, mirroredIndex(y + 1, h), belowA, belowB);
    const bool sum = amplitude == SobelAmplitude::ThinSumAbs;
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
      // A maximum holds its ground against equal neighbours: a plateau stays whole.
      const int a = hereA[x] < aboveA[x] || hereA[x] < belowA[x] ? 0 : hereA[x];
      const int b = hereB[x] < hereB[left] || hereB[x] < hereB[right] ? 0 : hereB[x];
      out[x] = quarter(sum ? a + b : std::max(a, b));
    }
  }
}

}  // namespace

void sobelBytes(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                std::uint8_t* dst) {
  const std::int64_t pixels = std::int64_t{size.width} * size.height;
  forBands(size.height, bandsFor(size.height, pixels), [&](int, std::int64_t y0, std::int64_t y1) {
    sobelRows(src, size, amplitude, dst, static_cast<std::int32_t>(y0),
              static_cast<std::int32_t>(y1));
  });
}

}  // namespace Standin
}  // namespace HalconCpp
