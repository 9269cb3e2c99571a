// Bilinear zooms to half of each side. Output pixel (r, c) sits at input (2r + 0.5, 2c + 0.5),
// so its four bilinear weights are all one half: the portable path's doubles are exactly the
// mean (a + b + c + d) / 4 of the 2 x 2 input pixels, whose rounding half up is
// (a + b + c + d + 2) >> 2; its nearest input pixel, which decides the domain, is (2r + 1, 2c + 1).
// No coordinate tables and no search: each output row reads its runs off one input row.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/threads.h"
#include "operators/image/warp_domain.h"
#include "operators/image/warp_rows.h"
#include "operators/image/warp_simd.h"

namespace HalconCpp {
namespace Standin {

ImagePtr halveImage(const ImagePtr& image, const char* op) {
  const std::int32_t width = image->width / 2, height = image->height / 2;
  const std::int32_t lastOdd = 2 * width - 1;
  std::vector<PlanePtr> planes = unwrittenPlanes(*image, width, height, op);
  const DomainRows domain(*image);
  const int bands = bandsFor(height, std::int64_t{width} * height);
  std::vector<Runs> bandRuns(static_cast<std::size_t>(bands));
  forBands(height, bands, [&](int band, std::int64_t begin, std::int64_t end) {
    Runs& runs = bandRuns[static_cast<std::size_t>(band)];
    runs.reserve(static_cast<std::size_t>(end - begin));
    const auto first = static_cast<std::int32_t>(begin);
    if (domain.full()) {
      // The band's rows in one go.
      for (std::int32_t r = first; r < end; ++r) runs.push_back(Run{r, 0, width - 1});
      for (std::size_t ch = 0; ch < planes.size(); ++ch) {
        halveBlocks(image->pixels(ch) + image->offset(2 * first, 0), image->width, 0, width,
                    static_cast<std::int32_t>(end - begin),
                    planes[ch]->data() + std::size_t(first) * std::size_t(width), width);
      }
      return;
    }
    for (std::int32_t r = first; r < end; ++r) {
      const std::size_t at = runs.size();
      // Odd columns 2c + 1 in [begin, end]: c from begin / 2 to (end - 1) / 2, rounded down;
      // runs one even column apart meet.
      for (const Run* run = domain.begin(2 * r + 1); run != domain.end(2 * r + 1); ++run) {
        const std::int32_t lo = std::max(run->begin, 0) / 2;
        const std::int32_t hi = (std::min(run->end, lastOdd) - 1) >> 1;
        if (lo > hi) continue;
        if (runs.size() > at && runs.back().end + 1 >= lo) {
          runs.back().end = std::max(runs.back().end, hi);
        } else {
          runs.push_back(Run{r, lo, hi});
        }
      }
      const std::size_t out = static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
      for (std::size_t ch = 0; ch < planes.size(); ++ch) {
        const std::uint8_t* top = image->pixels(ch) + image->offset(2 * r, 0);
        std::uint8_t* q = planes[ch]->data() + out;
        std::int32_t c = 0;
        for (std::size_t k = at; k < runs.size(); ++k) {
          std::fill(q + c, q + runs[k].begin, std::uint8_t{0});
          halveBlocks(top, image->width, runs[k].begin, runs[k].end + 1, 1, q, width);
          c = runs[k].end + 1;
        }
        std::fill(q + c, q + width, std::uint8_t{0});
      }
    }
  });
  return joined(width, height, std::move(planes), bandRuns);
}

}  // namespace Standin
}  // namespace HalconCpp
