// fill_interlace: the two half images of a video frame, one of them recomputed from the other,
// dropped, or the two exchanged.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void FillInterlace(const HObject& ImageCamera, HObject* ImageFilled, const HTuple& Mode) {
  ApiScope scope("FillInterlace");
  const char* op = "fill_interlace";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "odd" && mode != "even" && mode != "rmodd" && mode != "rmeven" && mode != "switch") {
    fail(op, 1301);
  }
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(ImageCamera, op, 1)) {
    const std::int32_t w = image->width, h = image->height;
    const auto row = [&](std::size_t c, std::int32_t r) {
      return image->pixels(c) + image->offset(r, 0);
    };
    if (mode == "rmodd" || mode == "rmeven") {
      // The kept rows from the first (rmodd) or the second (rmeven) on, a full domain.
      const std::int32_t first = mode == "rmodd" ? 0 : 1;
      const std::int32_t rows = (h - first + 1) / 2;
      if (rows == 0) fail(op, 1301);
      ImagePtr result = newImage(w, rows, image->channels.size(), op);
      for (std::size_t c = 0; c < image->channels.size(); ++c) {
        for (std::int32_t r = 0; r < rows; ++r) {
          std::memcpy(result->pixels(c) + result->offset(r, 0), row(c, first + 2 * r),
                      static_cast<std::size_t>(w));
        }
      }
      items.push_back(result);
      continue;
    }
    ImagePtr result = imageLike(image, image->channels.size(), op);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      std::uint8_t* out = result->pixels(c);
      for (const Run& run : *image->domain) {
        const std::int32_t r = run.row;
        const std::uint8_t* source = row(c, r);
        const std::uint8_t* other = nullptr;
        if (mode == "switch") {
          // The last row of an odd height has no partner and stays.
          const std::int32_t partner = r % 2 == 0 ? r + 1 : r - 1;
          if (partner < h) source = row(c, partner);
        } else if ((r % 2 == 1) == (mode == "odd")) {
          // The mean of the rows above and below; an edge row takes its one neighbour.
          source = row(c, r > 0 ? r - 1 : r + 1 < h ? r + 1 : r);
          other = row(c, r + 1 < h ? r + 1 : r > 0 ? r - 1 : r);
        }
        for (std::int32_t x = run.begin; x <= run.end; ++x) {
          out[image->offset(r, x)] =
              other ? static_cast<std::uint8_t>((source[x] + other[x] + 1) / 2) : source[x];
        }
      }
    }
    items.push_back(result);
  }
  setOutput(ImageFilled, objectOf(items));
}

}  // namespace HalconCpp
