// TileImagesOffset: pastes crops of several images into one new image.
#include <algorithm>
#include <cstring>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void TileImagesOffset(const HObject& Images, HObject* TiledImage, const HTuple& OffsetRow,
                      const HTuple& OffsetCol, const HTuple& Row1, const HTuple& Col1,
                      const HTuple& Row2, const HTuple& Col2, const HTuple& Width,
                      const HTuple& Height) {
  ApiScope scope("TileImagesOffset");
  const char* op = "tile_images_offset";
  const std::vector<ImagePtr> images = imagesOf(Images, op, 1);
  if (images.empty()) fail(op, 1501);
  const HTuple* perImage[] = {&OffsetRow, &OffsetCol, &Row1, &Col1, &Row2, &Col2};
  for (int n = 1; n <= 6; ++n) {
    requireLength(*perImage[n - 1], static_cast<Hlong>(images.size()), op, n);
    for (Hlong i = 0; i < perImage[n - 1]->Length(); ++i) integerAt(*perImage[n - 1], i, op, n);
  }
  const Hlong width = oneInteger(Width, op, 7);
  const Hlong height = oneInteger(Height, op, 8);
  if (width < 1 || width > kMaxImageSide) fail(op, 1307);
  if (height < 1 || height > kMaxImageSide) fail(op, 1308);
  const std::size_t channels = images.front()->channels.size();
  for (const ImagePtr& image : images) {
    if (image->channels.size() != channels) fail(op, H_ERR_CHANNELS_DIFFER);
  }

  ImagePtr tiled =
      newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), channels, op);
  for (std::size_t i = 0; i < images.size(); ++i) {
    const ImageObject& image = *images[i];
    const auto at = [&](int n) { return (*perImage[n - 1])[static_cast<Hlong>(i)].L(); };
    Hlong r1 = at(3), c1 = at(4), r2 = at(5), c2 = at(6);
    if (r1 == -1 && c1 == -1 && r2 == -1 && c2 == -1) {
      r1 = 0;
      c1 = 0;
      r2 = image.height - 1;
      c2 = image.width - 1;
    }
    if (r1 < 0 || r1 >= image.height) fail(op, 1303);
    if (c1 < 0 || c1 >= image.width) fail(op, 1304);
    if (r2 < r1 || r2 >= image.height) fail(op, 1305);
    if (c2 < c1 || c2 >= image.width) fail(op, 1306);
    // The crop's top-left lands on the offset; whatever falls outside the result is cut.
    const Hlong rowShift = at(1) - r1, colShift = at(2) - c1;
    const Hlong firstCol = std::max(c1, -colShift);
    const Hlong lastCol = std::min(c2, width - 1 - colShift);
    if (firstCol > lastCol) continue;
    for (Hlong row = std::max(r1, -rowShift); row <= std::min(r2, height - 1 - rowShift); ++row) {
      for (std::size_t c = 0; c < channels; ++c) {
        std::memcpy(
            tiled->pixels(c) + tiled->offset(static_cast<std::int32_t>(row + rowShift),
                                             static_cast<std::int32_t>(firstCol + colShift)),
            image.pixels(c) +
                image.offset(static_cast<std::int32_t>(row), static_cast<std::int32_t>(firstCol)),
            static_cast<std::size_t>(lastCol - firstCol + 1));
      }
    }
  }
  setOutput(TiledImage, objectOf({tiled}));
}

}  // namespace HalconCpp
