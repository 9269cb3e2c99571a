// Filters that look at the domain's edge: expand_domain_gray spreads its grey values outwards,
// gray_inside measures how high each pixel must climb to leave it.
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr int kRowStep[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kColStep[8] = {-1, 0, 1, -1, 1, -1, 0, 1};

std::vector<std::uint8_t> maskOf(const ImageObject& image) {
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(image.width) *
                                 static_cast<std::size_t>(image.height));
  for (const Run& run : *image.domain) {
    std::memset(&mask[image.offset(run.row, run.begin)], 1,
                static_cast<std::size_t>(run.end - run.begin + 1));
  }
  return mask;
}

Runs runsOf(const std::vector<std::uint8_t>& mask, std::int32_t width, std::int32_t height) {
  Runs runs;
  for (std::int32_t r = 0; r < height; ++r) {
    const std::uint8_t* line = &mask[static_cast<std::size_t>(r) * static_cast<std::size_t>(width)];
    for (std::int32_t c = 0; c < width; ++c) {
      if (!line[c]) continue;
      std::int32_t end = c;
      while (end + 1 < width && line[end + 1]) ++end;
      runs.push_back(Run{r, c, end});
      c = end;
    }
  }
  return runs;
}

}  // namespace

void ExpandDomainGray(const HObject& InputImage, HObject* ExpandedImage,
                      const HTuple& ExpansionRange) {
  ApiScope scope("ExpandDomainGray");
  const char* op = "expand_domain_gray";
  const Hlong range = oneInteger(ExpansionRange, op, 1);
  if (range < 1) fail(op, 1301);
  const PixelTypes types{PixelType::Byte,  PixelType::Int1, PixelType::Int2,
                         PixelType::Uint2, PixelType::Int4, PixelType::Real};
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(InputImage, op, 1, types)) {
    const std::int32_t w = image->width, h = image->height;
    const std::size_t channels = image->channels.size();
    ImagePtr result = newImage(w, h, channels, op, image->type());
    const std::size_t bytes =
        elementSize(image->type()) * static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    for (std::size_t c = 0; c < channels; ++c) {
      std::memcpy(result->pixels(c), image->pixels(c), bytes);
    }
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    std::vector<std::uint8_t> inside = maskOf(*image);
    // One ring of 8-neighbours a step, each new pixel the mean of its neighbours already
    // inside; the next ring lies beside the last, and the image's side stops the growth.
    std::vector<std::uint8_t> queued(inside.size());
    std::vector<std::size_t> ring;
    const auto besideOf = [&](std::int32_t r, std::int32_t col) {
      for (int k = 0; k < 8; ++k) {
        const std::int32_t y = r + kRowStep[k], x = col + kColStep[k];
        if (y < 0 || y >= h || x < 0 || x >= w) continue;
        const std::size_t j = result->offset(y, x);
        if (inside[j] || queued[j]) continue;
        queued[j] = 1;
        ring.push_back(j);
      }
    };
    for (const Run& run : *image->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) besideOf(run.row, col);
    }
    for (Hlong step = 0; step < range; ++step) {
      if (ring.empty()) break;
      for (std::size_t c = 0; c < channels; ++c) {
        std::vector<double> values(ring.size());
        for (std::size_t i = 0; i < ring.size(); ++i) {
          const auto r = static_cast<std::int32_t>(ring[i] / static_cast<std::size_t>(w));
          const auto col = static_cast<std::int32_t>(ring[i] % static_cast<std::size_t>(w));
          double sum = 0;
          int count = 0;
          for (int k = 0; k < 8; ++k) {
            const std::int32_t y = r + kRowStep[k], x = col + kColStep[k];
            if (y < 0 || y >= h || x < 0 || x >= w || !inside[result->offset(y, x)]) continue;
            sum += read(result->pixels(c), result->offset(y, x));
            ++count;
          }
          values[i] = sum / count;
        }
        for (std::size_t i = 0; i < ring.size(); ++i) write(result->pixels(c), ring[i], values[i]);
      }
      for (const std::size_t i : ring) inside[i] = 1;
      const std::vector<std::size_t> last = std::move(ring);
      ring.clear();
      for (const std::size_t i : last) {
        besideOf(static_cast<std::int32_t>(i / static_cast<std::size_t>(w)),
                 static_cast<std::int32_t>(i % static_cast<std::size_t>(w)));
      }
    }
    result->domain = std::make_shared<const Runs>(runsOf(inside, w, h));
    items.push_back(result);
  }
  setOutput(ExpandedImage, objectOf(items));
}

void GrayInside(const HObject& Image, HObject* ImageDist) {
  ApiScope scope("GrayInside");
  const char* op = "gray_inside";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const std::int32_t w = image->width, h = image->height;
    const std::uint8_t* g = image->pixels(0);
    const std::vector<std::uint8_t> inside = maskOf(*image);
    // The least highest grey value on a path of 8-neighbours in the domain from each pixel to
    // the domain's edge, found level by level from the lowest: a bucket queue.
    constexpr int kUnset = std::numeric_limits<int>::max();
    std::vector<int> level(inside.size(), kUnset);
    std::vector<std::vector<std::size_t>> buckets(256);
    for (const Run& run : *image->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        bool edge = false;
        for (int k = 0; k < 8 && !edge; ++k) {
          const std::int32_t y = run.row + kRowStep[k], x = col + kColStep[k];
          edge = y < 0 || y >= h || x < 0 || x >= w || !inside[image->offset(y, x)];
        }
        if (!edge) continue;
        const std::size_t i = image->offset(run.row, col);
        level[i] = g[i];
        buckets[g[i]].push_back(i);
      }
    }
    for (int v = 0; v < 256; ++v) {
      // The bucket grows while it is worked: a neighbour no higher joins this level.
      for (std::size_t n = 0; n < buckets[v].size(); ++n) {
        const std::size_t i = buckets[v][n];
        if (level[i] != v) continue;
        const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
        const auto col = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
        for (int k = 0; k < 8; ++k) {
          const std::int32_t y = r + kRowStep[k], x = col + kColStep[k];
          if (y < 0 || y >= h || x < 0 || x >= w) continue;
          const std::size_t j = image->offset(y, x);
          if (!inside[j]) continue;
          const int reach = g[j] > v ? g[j] : v;
          if (reach >= level[j]) continue;
          level[j] = reach;
          buckets[static_cast<std::size_t>(reach)].push_back(j);
        }
      }
      buckets[v].clear();
      buckets[v].shrink_to_fit();
    }
    ImagePtr result = imageLike(image, 1, op, PixelType::Int2);
    auto* out = result->channels[0]->as<std::int16_t>();
    for (const Run& run : *image->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const std::size_t i = image->offset(run.row, col);
        out[i] = static_cast<std::int16_t>(level[i] - g[i]);
      }
    }
    items.push_back(result);
  }
  setOutput(ImageDist, objectOf(items));
}

}  // namespace HalconCpp
