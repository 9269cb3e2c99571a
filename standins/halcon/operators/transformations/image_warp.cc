// Each output pixel samples the input where its centre maps back to: the nearest pixel, or
// bilinearly with the border pixels repeated for the half pixel between the last centre and
// the image's edge.
#include "operators/transformations/image_warp.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/runs.h"
#include "operators/image/warp_rows.h"

namespace HalconCpp {
namespace Standin {

ImagePtr warpedImage(const ImagePtr& image, const BackMap& back, std::int32_t width,
                     std::int32_t height, bool interpolate, bool domainOnly, const char* op) {
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image->channels.size(); ++c) {
    planes.push_back(std::make_shared<Plane>(width, height, op));
  }
  Runs domain;
  for (std::int32_t row = 0; row < height; ++row) {
    for (std::int32_t col = 0; col < width; ++col) {
      double x, y;
      if (!back(row, col, &x, &y)) continue;
      if (!(x >= -0.5 && x < image->height - 0.5 && y >= -0.5 && y < image->width - 0.5)) {
        continue;
      }
      const auto sr = static_cast<std::int32_t>(std::floor(x + 0.5));
      const auto sc = static_cast<std::int32_t>(std::floor(y + 0.5));
      if (domainOnly && !runsContain(*image->domain, sr, sc)) continue;
      if (!domain.empty() && domain.back().row == row && domain.back().end + 1 == col) {
        domain.back().end = col;
      } else {
        domain.push_back(Run{row, col, col});
      }
      for (std::size_t c = 0; c < planes.size(); ++c) {
        const std::uint8_t* p = image->pixels(c);
        planes[c]->data()[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(col)] =
            interpolate ? clampToByte(bilinearAt(*image, p, x, y)) : p[image->offset(sr, sc)];
      }
    }
  }
  return makeImage(width, height, std::move(planes),
                   std::make_shared<const Runs>(std::move(domain)));
}

}  // namespace Standin
}  // namespace HalconCpp
