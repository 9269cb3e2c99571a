// edges_image: the gradient amplitude and direction of the edge filters
// (operators/filters/edge_gradients.h), thinned by a non-maximum suppression and a hysteresis
// threshold that reduce the outputs' domain to the edge points left.
#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "core/image_results.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/edge_gradients.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum class Suppression { Directed, Interpolated, HorizontalVertical, None };

Suppression suppressionOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "nms") return Suppression::Directed;
  if (name == "inms") return Suppression::Interpolated;
  if (name == "hvnms") return Suppression::HorizontalVertical;
  if (name == "none") return Suppression::None;
  fail(op, 1300 + n);
}

// The amplitude at a point between pixels, bilinear; -infinity outside the image, so that
// the border never suppresses.
double amplitudeAt(const Gradients& g, double r, double c) {
  if (!(r >= 0 && c >= 0 && r <= g.height - 1.0 && c <= g.width - 1.0)) {
    return -std::numeric_limits<double>::infinity();
  }
  const auto r0 = static_cast<std::int32_t>(r), c0 = static_cast<std::int32_t>(c);
  const std::int32_t r1 = std::min(r0 + 1, g.height - 1), c1 = std::min(c0 + 1, g.width - 1);
  const double fr = r - r0, fc = c - c0;
  return (1 - fr) * ((1 - fc) * g.amp[g.at(r0, c0)] + fc * g.amp[g.at(r0, c1)]) +
         fr * ((1 - fc) * g.amp[g.at(r1, c0)] + fc * g.amp[g.at(r1, c1)]);
}

// Whether a pixel of positive amplitude is not exceeded by its neighbours across the edge.
bool isMaximum(const Gradients& g, std::int32_t r, std::int32_t c, Suppression mode) {
  const double a = g.amp[g.at(r, c)];
  if (!(a > 0)) return false;
  const auto neighbour = [&](std::int32_t dr, std::int32_t dc) {
    return amplitudeAt(g, r + dr, c + dc);
  };
  switch (mode) {
    case Suppression::Directed: {
      // The gradient's angle to the nearest eighth of a turn picks the two neighbours.
      const double angle = std::atan2(g.gr[g.at(r, c)], g.gc[g.at(r, c)]);
      const int sector = ((static_cast<int>(std::lround(angle / (kPi / 4))) % 4) + 4) % 4;
      static const std::int32_t kStep[4][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}};
      const std::int32_t dr = kStep[sector][0], dc = kStep[sector][1];
      return a >= neighbour(dr, dc) && a >= neighbour(-dr, -dc);
    }
    case Suppression::Interpolated: {
      const double ur = g.gr[g.at(r, c)] / a, uc = g.gc[g.at(r, c)] / a;
      return a >= amplitudeAt(g, r + ur, c + uc) && a >= amplitudeAt(g, r - ur, c - uc);
    }
    case Suppression::HorizontalVertical: {
      // As nonmax_suppression_amp's 'hvnms': at least the amplitudes 5 pixels either way
      // along the row, or 5 either way down the column.
      bool horizontal = true, vertical = true;
      for (std::int32_t k = 1; k <= 5; ++k) {
        horizontal = horizontal && a >= neighbour(0, -k) && a >= neighbour(0, k);
        vertical = vertical && a >= neighbour(-k, 0) && a >= neighbour(k, 0);
      }
      return horizontal || vertical;
    }
    case Suppression::None:
      break;
  }
  return true;
}

// The direction of the gradient in degrees, mathematically positive with the row axis
// pointing down the screen, halved and rounded: 0 ... 179.
double halvedDirection(double gr, double gc) {
  double degrees = std::atan2(-gr, gc) * 180 / kPi;
  if (degrees < 0) degrees += 360;
  const double halved = std::round(degrees / 2);
  return halved >= 180 ? halved - 180 : halved;
}

}  // namespace

void EdgesImage(const HObject& Image, HObject* ImaAmp, HObject* ImaDir, const HTuple& Filter,
                const HTuple& Alpha, const HTuple& NMS, const HTuple& Low, const HTuple& High) {
  ApiScope scope("EdgesImage");
  const char* op = "edges_image";
  EdgeFilter filter = EdgeFilter::Canny;
  if (!edgeFilterOf(oneString(Filter, op, 1), &filter)) fail(op, 1301);
  const double alpha = oneNumber(Alpha, op, 2);
  if (filter != EdgeFilter::SobelFast && !(alpha > 0)) fail(op, 1302);
  if (filter == EdgeFilter::Canny && !(alpha <= 50)) fail(op, 1302);
  const Suppression mode = suppressionOf(NMS, op, 3);
  const double low = oneNumber(Low, op, 4), high = oneNumber(High, op, 5);
  // A negative threshold asks for none.
  const bool hysteresis = low >= 0 && high >= 0;
  if (hysteresis && high < low) fail(op, 1305);
  std::vector<HObject::Item> amplitudes, directions;
  for (const ImagePtr& image :
       imagesWithChannels(Image, op, 1, {PixelType::Byte, PixelType::Uint2})) {
    const std::int32_t w = image->width, h = image->height;
    const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    const PixelType type = image->type();
    const PixelReader read = readerOf(type);
    std::vector<double> plane(n);
    for (std::size_t i = 0; i < n; ++i) plane[i] = read(image->pixels(0), i);
    const Gradients g = gradientsOf(plane, w, h, filter, alpha);
    auto amp = std::make_shared<Plane>(w, h, op, type);
    auto dir = std::make_shared<Plane>(w, h, op, PixelType::Direction);
    const PixelWriter writeAmp = writerOf(type), writeDir = writerOf(PixelType::Direction);
    std::vector<double> stored(n);
    for (std::size_t i = 0; i < n; ++i) {
      stored[i] = storableValue(type, g.amp[i]);
      writeAmp(amp->data(), i, stored[i]);
      writeDir(dir->data(), i, stored[i] == 0 ? 255 : halvedDirection(g.gr[i], g.gc[i]));
    }
    std::shared_ptr<const Runs> domain = image->domain;
    if (mode != Suppression::None || hysteresis) {
      // 0: not an edge point, 1: a candidate, 2: kept.
      std::vector<std::uint8_t> state(n, 0);
      for (const Run& run : clipRuns(*image->domain, h, w)) {
        for (std::int32_t c = run.begin; c <= run.end; ++c) {
          const std::size_t i = g.at(run.row, c);
          if (mode != Suppression::None && !isMaximum(g, run.row, c, mode)) continue;
          if (hysteresis && stored[i] < low) continue;
          state[i] = hysteresis && stored[i] < high ? 1 : 2;
        }
      }
      if (hysteresis) {
        // Candidates joined to a kept point through 8-neighbours are kept.
        std::vector<std::size_t> stack;
        for (std::size_t i = 0; i < n; ++i) {
          if (state[i] == 2) stack.push_back(i);
        }
        while (!stack.empty()) {
          const std::size_t i = stack.back();
          stack.pop_back();
          const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
          const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
          for (std::int32_t dr = -1; dr <= 1; ++dr) {
            for (std::int32_t dc = -1; dc <= 1; ++dc) {
              if (r + dr < 0 || r + dr >= h || c + dc < 0 || c + dc >= w) continue;
              const std::size_t j = g.at(r + dr, c + dc);
              if (state[j] == 1) state[j] = 2, stack.push_back(j);
            }
          }
        }
      }
      Runs kept;
      for (std::int32_t r = 0; r < h; ++r) {
        std::int32_t start = -1;
        for (std::int32_t c = 0; c <= w; ++c) {
          const bool in = c < w && state[g.at(r, c)] == 2;
          if (in && start < 0) start = c;
          if (!in && start >= 0) kept.push_back(Run{r, start, c - 1}), start = -1;
        }
      }
      domain = std::make_shared<const Runs>(std::move(kept));
    }
    amplitudes.push_back(makeImage(w, h, {amp}, domain));
    if (filter != EdgeFilter::SobelFast) directions.push_back(makeImage(w, h, {dir}, domain));
  }
  setOutput(ImaAmp, objectOf(amplitudes));
  setOutput(ImaDir, objectOf(directions));
}

}  // namespace HalconCpp
