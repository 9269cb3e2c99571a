// Operators that regroup channels (compose2..7, decompose2..7, append_channel,
// channels_to_image, image_to_channels) and replace domains (change_domain,
// rectangle1_domain). Channels are shared planes: regrouping never copies pixels.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HOperatorsImage.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// One image per object of the first input, made of the first channel of the object at the
// same place in every input; its domain is where all their domains meet.
HObject composeImages(const std::vector<const HObject*>& inputs, const char* op) {
  std::vector<std::vector<ImagePtr>> images;
  for (std::size_t n = 0; n < inputs.size(); ++n) {
    images.push_back(imagesOf(*inputs[n], op, static_cast<int>(n) + 1, PixelTypes::all()));
    if (images[n].size() != images[0].size()) fail(op, 1501 + static_cast<Hlong>(n));
  }
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < images[0].size(); ++i) {
    const ImagePtr& first = images[0][i];
    std::vector<PlanePtr> planes;
    Runs domain = *first->domain;
    for (const auto& input : images) {
      const ImagePtr& image = input[i];
      if (image->width != first->width || image->height != first->height) {
        fail(op, H_ERR_SIZES_DIFFER);
      }
      if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
      // One image holds one type.
      if (image->type() != first->type()) fail(op, H_ERR_WIT);
      planes.push_back(image->channels.front());
      if (image != first) domain = intersectRuns(domain, *image->domain);
    }
    items.push_back(makeImage(first->width, first->height, std::move(planes),
                              std::make_shared<const Runs>(std::move(domain))));
  }
  return objectOf(items);
}

// Channel c of every image into outputs[c]; each image must have exactly as many channels
// as there are outputs.
void decomposeImages(const HObject& input, const std::vector<HObject*>& outputs, const char* op) {
  std::vector<std::vector<HObject::Item>> channels(outputs.size());
  for (const ImagePtr& image : imagesOf(input, op, 1, PixelTypes::all())) {
    if (image->channels.size() != outputs.size()) fail(op, H_ERR_CHANNEL_COUNT);
    for (std::size_t c = 0; c < outputs.size(); ++c) {
      channels[c].push_back(
          makeImage(image->width, image->height, {image->channels[c]}, image->domain));
    }
  }
  for (std::size_t c = 0; c < outputs.size(); ++c) setOutput(outputs[c], objectOf(channels[c]));
}

}  // namespace

void Compose2(const HObject& Image1, const HObject& Image2, HObject* MultiChannelImage) {
  ApiScope scope("Compose2");
  setOutput(MultiChannelImage, composeImages({&Image1, &Image2}, "compose2"));
}

void Compose3(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              HObject* MultiChannelImage) {
  ApiScope scope("Compose3");
  setOutput(MultiChannelImage, composeImages({&Image1, &Image2, &Image3}, "compose3"));
}

void Compose4(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              const HObject& Image4, HObject* MultiChannelImage) {
  ApiScope scope("Compose4");
  setOutput(MultiChannelImage, composeImages({&Image1, &Image2, &Image3, &Image4}, "compose4"));
}

void Compose5(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              const HObject& Image4, const HObject& Image5, HObject* MultiChannelImage) {
  ApiScope scope("Compose5");
  setOutput(MultiChannelImage,
            composeImages({&Image1, &Image2, &Image3, &Image4, &Image5}, "compose5"));
}

void Compose6(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              const HObject& Image4, const HObject& Image5, const HObject& Image6,
              HObject* MultiChannelImage) {
  ApiScope scope("Compose6");
  setOutput(MultiChannelImage,
            composeImages({&Image1, &Image2, &Image3, &Image4, &Image5, &Image6}, "compose6"));
}

void Compose7(const HObject& Image1, const HObject& Image2, const HObject& Image3,
              const HObject& Image4, const HObject& Image5, const HObject& Image6,
              const HObject& Image7, HObject* MultiChannelImage) {
  ApiScope scope("Compose7");
  setOutput(
      MultiChannelImage,
      composeImages({&Image1, &Image2, &Image3, &Image4, &Image5, &Image6, &Image7}, "compose7"));
}

void Decompose2(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2) {
  ApiScope scope("Decompose2");
  decomposeImages(MultiChannelImage, {Image1, Image2}, "decompose2");
}

void Decompose3(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2,
                HObject* Image3) {
  ApiScope scope("Decompose3");
  decomposeImages(MultiChannelImage, {Image1, Image2, Image3}, "decompose3");
}

void Decompose4(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2, HObject* Image3,
                HObject* Image4) {
  ApiScope scope("Decompose4");
  decomposeImages(MultiChannelImage, {Image1, Image2, Image3, Image4}, "decompose4");
}

void Decompose5(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2, HObject* Image3,
                HObject* Image4, HObject* Image5) {
  ApiScope scope("Decompose5");
  decomposeImages(MultiChannelImage, {Image1, Image2, Image3, Image4, Image5}, "decompose5");
}

void Decompose6(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2, HObject* Image3,
                HObject* Image4, HObject* Image5, HObject* Image6) {
  ApiScope scope("Decompose6");
  decomposeImages(MultiChannelImage, {Image1, Image2, Image3, Image4, Image5, Image6},
                  "decompose6");
}

void Decompose7(const HObject& MultiChannelImage, HObject* Image1, HObject* Image2, HObject* Image3,
                HObject* Image4, HObject* Image5, HObject* Image6, HObject* Image7) {
  ApiScope scope("Decompose7");
  decomposeImages(MultiChannelImage, {Image1, Image2, Image3, Image4, Image5, Image6, Image7},
                  "decompose7");
}

void AppendChannel(const HObject& MultiChannelImage, const HObject& Image, HObject* ImageExtended) {
  ApiScope scope("AppendChannel");
  const char* op = "append_channel";
  const std::vector<ImagePtr> bases = imagesOf(MultiChannelImage, op, 1, PixelTypes::all());
  const std::vector<ImagePtr> extras = imagesOf(Image, op, 2, PixelTypes::all());
  if (extras.size() != bases.size()) fail(op, 1502);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const ImagePtr& base = bases[i];
    const ImagePtr& extra = extras[i];
    if (extra->width != base->width || extra->height != base->height) {
      fail(op, H_ERR_SIZES_DIFFER);
    }
    if (!base->channels.empty() && !extra->channels.empty() && extra->type() != base->type()) {
      fail(op, H_ERR_WIT);
    }
    std::vector<PlanePtr> planes = base->channels;
    planes.insert(planes.end(), extra->channels.begin(), extra->channels.end());
    // The first input's domain: the appended channels take its pixels' places.
    items.push_back(makeImage(base->width, base->height, std::move(planes), base->domain));
  }
  setOutput(ImageExtended, objectOf(items));
}

void ChannelsToImage(const HObject& Images, HObject* MultiChannelImage) {
  ApiScope scope("ChannelsToImage");
  const char* op = "channels_to_image";
  const std::vector<ImagePtr> images = imagesOf(Images, op, 1, PixelTypes::all());
  if (images.empty()) {
    setOutput(MultiChannelImage, objectOf({}));
    return;
  }
  std::vector<PlanePtr> planes;
  Runs domain = *images.front()->domain;
  for (const ImagePtr& image : images) {
    if (image->width != images.front()->width || image->height != images.front()->height) {
      fail(op, H_ERR_SIZES_DIFFER);
    }
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
    if (image->type() != images.front()->type()) fail(op, H_ERR_WIT);
    planes.push_back(image->channels.front());
    domain = intersectRuns(domain, *image->domain);
  }
  setOutput(MultiChannelImage,
            objectOf({makeImage(images.front()->width, images.front()->height, std::move(planes),
                                std::make_shared<const Runs>(std::move(domain)))}));
}

void ImageToChannels(const HObject& MultiChannelImage, HObject* Images) {
  ApiScope scope("ImageToChannels");
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesOf(MultiChannelImage, "image_to_channels", 1, PixelTypes::all())) {
    for (const PlanePtr& plane : image->channels) {
      items.push_back(makeImage(image->width, image->height, {plane}, image->domain));
    }
  }
  setOutput(Images, objectOf(items));
}

void ChangeDomain(const HObject& Image, const HObject& NewDomain, HObject* ImageNew) {
  ApiScope scope("ChangeDomain");
  const char* op = "change_domain";
  const std::vector<ImagePtr> images = imagesOf(Image, op, 1, PixelTypes::all());
  const std::vector<const Runs*> regions = regionsOf(NewDomain, op, 2);
  if (regions.size() != 1) fail(op, 1502);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : images) {
    // The old domain is dropped; the region is cut to the image, where a domain lies.
    auto domain = std::make_shared<const Runs>(clipRuns(*regions[0], image->height, image->width));
    items.push_back(makeImage(image->width, image->height, image->channels, std::move(domain)));
  }
  setOutput(ImageNew, objectOf(items));
}

void Rectangle1Domain(const HObject& Image, HObject* ImageReduced, const HTuple& Row1,
                      const HTuple& Column1, const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("Rectangle1Domain");
  const char* op = "rectangle1_domain";
  const Hlong row1 = oneInteger(Row1, op, 1), col1 = oneInteger(Column1, op, 2);
  const Hlong row2 = oneInteger(Row2, op, 3), col2 = oneInteger(Column2, op, 4);
  if (row2 < row1) fail(op, 1303);
  if (col2 < col1) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(Image, op, 1, PixelTypes::all())) {
    // As reduce_domain with the rectangle: what of it lies in the old domain, so the
    // rectangle is cut to the image before it is built.
    const auto clamp = [](Hlong v, std::int32_t hi) {
      return static_cast<std::int32_t>(v < -1 ? -1 : (v > hi ? hi : v));
    };
    Runs box = rectangleRuns(clamp(row1, image->height), clamp(col1, image->width),
                             clamp(row2, image->height), clamp(col2, image->width));
    auto domain = std::make_shared<const Runs>(intersectRuns(box, *image->domain));
    items.push_back(makeImage(image->width, image->height, image->channels, std::move(domain)));
  }
  setOutput(ImageReduced, objectOf(items));
}

}  // namespace HalconCpp
