// Operators on images' domains and on parts cut out of images.
#include <algorithm>
#include <cstring>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsImage.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A new image of the part [row1, row2] x [col1, col2] of every channel, with the full domain.
ImagePtr cut(const ImagePtr& image, std::int32_t row1, std::int32_t col1, std::int32_t row2,
             std::int32_t col2, const char* op) {
  const std::int32_t width = col2 - col1 + 1, height = row2 - row1 + 1;
  const std::size_t size = elementSize(image->type());
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image->channels.size(); ++c) {
    auto plane = std::make_shared<Plane>(width, height, op, image->type());
    for (std::int32_t y = 0; y < height; ++y) {
      std::memcpy(
          plane->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * size,
          image->pixels(c) + image->offset(row1 + y, col1) * size,
          static_cast<std::size_t>(width) * size);
    }
    planes.push_back(std::move(plane));
  }
  return makeImage(width, height, std::move(planes));
}

}  // namespace

void ReduceDomain(const HObject& Image, const HObject& Region, HObject* ImageReduced) {
  ApiScope scope("ReduceDomain");
  const char* op = "reduce_domain";
  const std::vector<ImagePtr> images = imagesOf(Image, op, 1, PixelTypes::all());
  const std::vector<const Runs*> regions = regionsOf(Region, op, 2, false);
  if (regions.size() != 1) fail(op, 1502);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : images) {
    // The new domain is the region within the old domain; the old domain lies inside the
    // image, so the result does too.
    auto domain = std::make_shared<const Runs>(intersectRuns(*regions[0], *image->domain));
    items.push_back(makeImage(image->width, image->height, image->channels, std::move(domain)));
  }
  setOutput(ImageReduced, objectOf(items));
}

void GetDomain(const HObject& Image, HObject* Domain) {
  ApiScope scope("GetDomain");
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, "get_domain", 1, PixelTypes::all())) {
    items.push_back(makeRegion(*image->domain));
  }
  setOutput(Domain, objectOf(items));
}

void CropDomain(const HObject& Image, HObject* ImagePart) {
  ApiScope scope("CropDomain");
  const char* op = "crop_domain";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(*image->domain, &row1, &col1, &row2, &col2)) fail(op, 3040);
    ImagePtr part = cut(image, row1, col1, row2, col2, op);
    Runs shifted = *image->domain;
    for (Run& run : shifted) run = Run{run.row - row1, run.begin - col1, run.end - col1};
    items.push_back(makeImage(part->width, part->height, part->channels,
                              std::make_shared<const Runs>(std::move(shifted))));
  }
  setOutput(ImagePart, objectOf(items));
}

// The domain's bounding box, each side moved inwards by its parameter (outwards when
// negative) and kept within the image; the part keeps the domain's pixels within the box.
void CropDomainRel(const HObject& Image, HObject* ImagePart, const HTuple& Top, const HTuple& Left,
                   const HTuple& Bottom, const HTuple& Right) {
  ApiScope scope("CropDomainRel");
  const char* op = "crop_domain_rel";
  const Hlong top = oneInteger(Top, op, 1), left = oneInteger(Left, op, 2);
  const Hlong bottom = oneInteger(Bottom, op, 3), right = oneInteger(Right, op, 4);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    std::int32_t r1, c1, r2, c2;
    if (!runsBox(*image->domain, &r1, &c1, &r2, &c2)) fail(op, 3040);
    const Hlong row1 = std::max<Hlong>(0, r1 + top), col1 = std::max<Hlong>(0, c1 + left);
    const Hlong row2 = std::min<Hlong>(image->height - 1, r2 - bottom);
    const Hlong col2 = std::min<Hlong>(image->width - 1, c2 - right);
    // Sides moved past each other leave nothing to cut.
    if (row1 > row2) fail(op, bottom > top ? 1303 : 1301);
    if (col1 > col2) fail(op, right > left ? 1304 : 1302);
    ImagePtr part = cut(image, std::int32_t(row1), std::int32_t(col1), std::int32_t(row2),
                        std::int32_t(col2), op);
    Runs inside =
        intersectRuns(*image->domain, rectangleRuns(std::int32_t(row1), std::int32_t(col1),
                                                    std::int32_t(row2), std::int32_t(col2)));
    for (Run& run : inside) {
      run = Run{run.row - std::int32_t(row1), run.begin - std::int32_t(col1),
                run.end - std::int32_t(col1)};
    }
    items.push_back(makeImage(part->width, part->height, part->channels,
                              std::make_shared<const Runs>(std::move(inside))));
  }
  setOutput(ImagePart, objectOf(items));
}

void AddChannels(const HObject& Regions, const HObject& Image, HObject* GrayRegions) {
  ApiScope scope("AddChannels");
  const char* op = "add_channels";
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1);
  const ImagePtr image = oneImage(Image, op, 2, PixelTypes::all());
  std::vector<HObject::Item> items;
  for (const Runs* region : regions) {
    items.push_back(
        makeImage(image->width, image->height, image->channels,
                  std::make_shared<const Runs>(clipRuns(*region, image->height, image->width))));
  }
  setOutput(GrayRegions, objectOf(items));
}

void CropPart(const HObject& Image, HObject* ImagePart, const HTuple& Row, const HTuple& Column,
              const HTuple& Width, const HTuple& Height) {
  ApiScope scope("CropPart");
  const char* op = "crop_part";
  const Hlong row = oneInteger(Row, op, 1), col = oneInteger(Column, op, 2);
  const Hlong width = oneInteger(Width, op, 3), height = oneInteger(Height, op, 4);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    if (row < 0 || row >= image->height) fail(op, 1301);
    if (col < 0 || col >= image->width) fail(op, 1302);
    if (width < 1 || col + width > image->width) fail(op, 1303);
    if (height < 1 || row + height > image->height) fail(op, 1304);
    items.push_back(cut(image, static_cast<std::int32_t>(row), static_cast<std::int32_t>(col),
                        static_cast<std::int32_t>(row + height - 1),
                        static_cast<std::int32_t>(col + width - 1), op));
  }
  setOutput(ImagePart, objectOf(items));
}

void CropRectangle1(const HObject& Image, HObject* ImagePart, const HTuple& Row1,
                    const HTuple& Column1, const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("CropRectangle1");
  const char* op = "crop_rectangle1";
  const Hlong row1 = oneInteger(Row1, op, 1), col1 = oneInteger(Column1, op, 2);
  const Hlong row2 = oneInteger(Row2, op, 3), col2 = oneInteger(Column2, op, 4);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    if (row1 < 0 || row1 >= image->height) fail(op, 1301);
    if (col1 < 0 || col1 >= image->width) fail(op, 1302);
    if (row2 < row1 || row2 >= image->height) fail(op, 1303);
    if (col2 < col1 || col2 >= image->width) fail(op, 1304);
    items.push_back(cut(image, static_cast<std::int32_t>(row1), static_cast<std::int32_t>(col1),
                        static_cast<std::int32_t>(row2), static_cast<std::int32_t>(col2), op));
  }
  setOutput(ImagePart, objectOf(items));
}

// The image's top left Width x Height: a smaller size cuts the right and lower parts off, a
// larger one adds pixels of 0 there; the domain is the old one cut to the new size.
void ChangeFormat(const HObject& Image, HObject* ImagePart, const HTuple& Width,
                  const HTuple& Height) {
  ApiScope scope("ChangeFormat");
  const char* op = "change_format";
  const Hlong width = oneInteger(Width, op, 1), height = oneInteger(Height, op, 2);
  if (width < 1 || width > kMaxImageSide) fail(op, 1301);
  if (height < 1 || height > kMaxImageSide) fail(op, 1302);
  const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    const std::size_t size = elementSize(image->type());
    const std::int32_t rows = std::min(h, image->height), cols = std::min(w, image->width);
    std::vector<PlanePtr> planes;
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      auto plane = std::make_shared<Plane>(w, h, op, image->type());
      for (std::int32_t y = 0; y < rows; ++y) {
        std::memcpy(
            plane->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * size,
            image->pixels(c) + image->offset(y, 0) * size, static_cast<std::size_t>(cols) * size);
      }
      planes.push_back(std::move(plane));
    }
    items.push_back(makeImage(w, h, std::move(planes),
                              std::make_shared<const Runs>(clipRuns(*image->domain, h, w))));
  }
  setOutput(ImagePart, objectOf(items));
}

}  // namespace HalconCpp
