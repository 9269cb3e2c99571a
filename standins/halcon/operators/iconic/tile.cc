// Pasting several images, or an image's channels, into one new image: tile_images,
// tile_channels and tile_images_offset.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The planes of `from` whose rows [r1, r2] and columns [c1, c2] land with their top-left at
// (row, col) of `to`; what falls outside `to` is cut.
void paste(const std::vector<PlanePtr>& from, std::int32_t fromWidth,
           const std::vector<PlanePtr>& to, std::int32_t toWidth, std::int32_t toHeight, Hlong r1,
           Hlong c1, Hlong r2, Hlong c2, Hlong row, Hlong col) {
  const Hlong rowShift = row - r1, colShift = col - c1;
  const Hlong firstCol = std::max(c1, -colShift);
  const Hlong lastCol = std::min(c2, toWidth - 1 - colShift);
  if (firstCol > lastCol || from.empty()) return;
  const std::size_t size = elementSize(from.front()->type());
  for (Hlong r = std::max(r1, -rowShift); r <= std::min(r2, toHeight - 1 - rowShift); ++r) {
    for (std::size_t c = 0; c < from.size(); ++c) {
      std::memcpy(
          to[c]->data() + std::size_t((r + rowShift) * toWidth + firstCol + colShift) * size,
          from[c]->data() + std::size_t(r * fromWidth + firstCol) * size,
          std::size_t(lastCol - firstCol + 1) * size);
    }
  }
}

// The runs moved by (row, col), appended to `to`.
void appendMoved(Runs& to, const Runs& from, Hlong row, Hlong col) {
  for (const Run& run : from) {
    to.push_back(Run{run.row + std::int32_t(row), run.begin + std::int32_t(col),
                     run.end + std::int32_t(col)});
  }
}

// Where tile i of n goes, in tiles: 'horizontal' fills rows first, 'vertical' columns first.
struct Grid {
  Hlong columns, rows;
  bool vertical;
  Hlong rowOf(Hlong i) const { return vertical ? i % rows : i / columns; }
  Hlong colOf(Hlong i) const { return vertical ? i / rows : i % columns; }
};

Grid gridOf(Hlong count, const HTuple& NumColumns, const HTuple& TileOrder, const char* op) {
  const Hlong columns = oneInteger(NumColumns, op, 1);
  if (columns < 1 || columns > kMaxImageSide) fail(op, 1301);
  const std::string order = oneString(TileOrder, op, 2);
  if (order != "horizontal" && order != "vertical") fail(op, 1302);
  return Grid{columns, (count + columns - 1) / columns, order == "vertical"};
}

// A new image of `columns` x `rows` tiles of tileWidth x tileHeight; too many columns or rows
// for the largest side are a wrong NumColumns.
ImagePtr tiledImage(const Grid& grid, std::int32_t tileWidth, std::int32_t tileHeight,
                    std::size_t channels, PixelType type, const char* op) {
  const Hlong width = grid.columns * tileWidth, height = grid.rows * tileHeight;
  if (width > kMaxImageSide) fail(op, 1301);
  if (height > kMaxImageSide) fail(op, 1301);
  return newImage(std::int32_t(width), std::int32_t(height), channels, op, type);
}

}  // namespace

void TileImages(const HObject& Images, HObject* TiledImage, const HTuple& NumColumns,
                const HTuple& TileOrder) {
  ApiScope scope("TileImages");
  const char* op = "tile_images";
  const std::vector<ImagePtr> images = imagesOf(Images, op, 1, PixelTypes::all());
  const Grid grid = gridOf(Hlong(images.size()), NumColumns, TileOrder, op);
  if (images.empty()) return setOutput(TiledImage, objectOf({}));
  std::int32_t tileWidth = 0, tileHeight = 0;
  for (const ImagePtr& image : images) {
    if (image->channels.size() != images.front()->channels.size()) {
      fail(op, H_ERR_CHANNELS_DIFFER);
    }
    if (image->type() != images.front()->type()) fail(op, H_ERR_WIT);
    tileWidth = std::max(tileWidth, image->width);
    tileHeight = std::max(tileHeight, image->height);
  }
  ImagePtr tiled = tiledImage(grid, tileWidth, tileHeight, images.front()->channels.size(),
                              images.front()->type(), op);
  // Each image at its tile's top-left; the domain is the inputs' domains moved there.
  Runs domain;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const ImageObject& image = *images[i];
    const Hlong row = grid.rowOf(Hlong(i)) * tileHeight, col = grid.colOf(Hlong(i)) * tileWidth;
    paste(image.channels, image.width, tiled->channels, tiled->width, tiled->height, 0, 0,
          image.height - 1, image.width - 1, row, col);
    appendMoved(domain, *image.domain, row, col);
  }
  setOutput(TiledImage,
            objectOf({makeImage(tiled->width, tiled->height, tiled->channels,
                                std::make_shared<const Runs>(normalizeRuns(std::move(domain))))}));
}

void TileChannels(const HObject& Image, HObject* TiledImage, const HTuple& NumColumns,
                  const HTuple& TileOrder) {
  ApiScope scope("TileChannels");
  const char* op = "tile_channels";
  std::vector<HObject::Item> items;
  const std::vector<ImagePtr> images = imagesOf(Image, op, 1, PixelTypes::all());
  for (const ImagePtr& image : images) {
    const Hlong count = Hlong(image->channels.size());
    const Grid grid = gridOf(count, NumColumns, TileOrder, op);
    ImagePtr tiled = tiledImage(grid, image->width, image->height, 1, image->type(), op);
    Runs domain;
    for (Hlong i = 0; i < count; ++i) {
      const Hlong row = grid.rowOf(i) * image->height, col = grid.colOf(i) * image->width;
      paste({image->channels[std::size_t(i)]}, image->width, tiled->channels, tiled->width,
            tiled->height, 0, 0, image->height - 1, image->width - 1, row, col);
      appendMoved(domain, *image->domain, row, col);
    }
    items.push_back(makeImage(tiled->width, tiled->height, tiled->channels,
                              std::make_shared<const Runs>(normalizeRuns(std::move(domain)))));
  }
  if (images.empty()) gridOf(0, NumColumns, TileOrder, op);
  setOutput(TiledImage, objectOf(items));
}

void TileImagesOffset(const HObject& Images, HObject* TiledImage, const HTuple& OffsetRow,
                      const HTuple& OffsetCol, const HTuple& Row1, const HTuple& Col1,
                      const HTuple& Row2, const HTuple& Col2, const HTuple& Width,
                      const HTuple& Height) {
  ApiScope scope("TileImagesOffset");
  const char* op = "tile_images_offset";
  const std::vector<ImagePtr> images = imagesOf(Images, op, 1, PixelTypes::all());
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
    if (image->type() != images.front()->type()) fail(op, H_ERR_WIT);
  }

  ImagePtr tiled = newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                            channels, op, images.front()->type());
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
    paste(image.channels, image.width, tiled->channels, tiled->width, tiled->height, r1, c1, r2, c2,
          at(1), at(2));
  }
  setOutput(TiledImage, objectOf({tiled}));
}

}  // namespace HalconCpp
