// Images of any pixel type resampled point by point: each output pixel takes the input's
// value where its centre maps to, the nearest pixel or bilinearly as the affine warps do
// (warp_rows.h), a type's integers rounding. Shared by the polar transformations and
// map_image.
#ifndef QUORVEX_STANDINS_HALCON_SAMPLED_IMAGE_H
#define QUORVEX_STANDINS_HALCON_SAMPLED_IMAGE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/pixel_access.h"
#include "core/runs.h"
#include "operators/image/warp_rows.h"

namespace HalconCpp {
namespace Standin {

// A width x height image of the input's channels and type. `source(row, col, &x, &y)` gives
// where an output pixel comes from (false: nowhere); a pixel whose source lies outside the
// input's rectangle stays 0. Without `within` every pixel is sampled and the result has its
// full domain; with it only the pixels of `within` are, and the domain holds those sampled.
template <class Source>
ImagePtr sampledImage(const ImagePtr& image, std::int32_t width, std::int32_t height, bool bilinear,
                      const char* op, Source&& source, const Runs* within = nullptr) {
  const PixelType type = image->type();
  const PixelReader read = readerOf(type);
  const PixelWriter write = writerOf(type);
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image->channels.size(); ++c) {
    planes.push_back(std::make_shared<Plane>(width, height, op, type));
  }
  Runs domain;
  const auto sample = [&](std::int32_t row, std::int32_t col) {
    double x, y;
    if (!source(row, col, &x, &y)) return;
    // Written so that NaN fails too.
    if (!(x >= -0.5 && x < image->height - 0.5 && y >= -0.5 && y < image->width - 0.5)) return;
    if (within) {
      if (!domain.empty() && domain.back().row == row && domain.back().end + 1 == col) {
        domain.back().end = col;
      } else {
        domain.push_back(Run{row, col, col});
      }
    }
    const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(col);
    const std::size_t nearest = image->offset(static_cast<std::int32_t>(std::floor(x + 0.5)),
                                              static_cast<std::int32_t>(std::floor(y + 0.5)));
    for (std::size_t c = 0; c < planes.size(); ++c) {
      const std::uint8_t* p = image->pixels(c);
      const auto sample_at = [&](std::size_t i) { return read(p, i); };
      const double value = bilinear ? bilinearOf(*image, sample_at, x, y) : read(p, nearest);
      write(planes[c]->data(), at, storableValue(type, value));
    }
  };
  if (!within) {
    for (std::int32_t row = 0; row < height; ++row) {
      for (std::int32_t col = 0; col < width; ++col) sample(row, col);
    }
    return makeImage(width, height, std::move(planes));
  }
  for (const Run& run : *within) {
    if (run.row < 0 || run.row >= height) continue;
    for (std::int32_t col = std::max(run.begin, 0); col <= std::min(run.end, width - 1); ++col) {
      sample(run.row, col);
    }
  }
  return makeImage(width, height, std::move(planes),
                   std::make_shared<const Runs>(std::move(domain)));
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
