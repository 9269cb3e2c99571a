// histo_2dim: how often each pair of grey values of two images meets at one pixel of a region.
#include <cstdint>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/gray_stats.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void Histo2dim(const HObject& Regions, const HObject& ImageCol, const HObject& ImageRow,
               HObject* Histo2Dim) {
  ApiScope scope("Histo2dim");
  const char* op = "histo_2dim";
  const ImagePtr first = oneImage(ImageCol, op, 2, kByteSizedTypes);
  const ImagePtr second = oneImage(ImageRow, op, 3, kByteSizedTypes);
  if (first->channels.empty() || second->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  if (first->width != second->width || first->height != second->height) {
    fail(op, H_ERR_SIZES_DIFFER);
  }
  const GrayImage image{first};
  std::vector<HObject::Item> items;
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    ImagePtr histogram = newImage(256, 256, 1, op, PixelType::Int4);
    std::int32_t* counts = histogram->channels[0]->as<std::int32_t>();
    const std::uint8_t* rows = first->pixels(0);
    const std::uint8_t* cols = second->pixels(0);
    for (const Run& run : region) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const std::size_t at = first->offset(run.row, col);
        // The first image's value picks the row, the second's the column.
        ++counts[std::size_t(rows[at]) * 256 + cols[at]];
      }
    }
    items.push_back(std::move(histogram));
  }
  setOutput(Histo2Dim, objectOf(items));
}

}  // namespace HalconCpp
