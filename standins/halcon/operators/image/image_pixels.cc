// Operators that compute each output pixel from the same pixel of their inputs: colour to
// grey, channel access and grey-value arithmetic, clipped to bytes.
#include <cmath>
#include <string>

#include "core/image_results.h"
#include "core/params.h"
#include "core/run_sets.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsImage.h"
#include "operators/image/gray_simd.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The luminance weights .299, .587, .114 in thousandths, rounded to the nearest grey value:
// the portable loop, which finishes what the vectors leave of a run.
void weighGray(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
               std::size_t count, std::uint8_t* gray) {
  for (std::size_t i = 0; i < count; ++i) {
    gray[i] = static_cast<std::uint8_t>((299u * red[i] + 587u * green[i] + 114u * blue[i] + 500u) /
                                        1000u);
  }
}

// The pixels of the domain's runs, in bands of runs on the operators' threads, into an image
// whose pixels outside the domain are already 0.
void weighDomain(const ImagePtr& red, const ImagePtr& green, const ImagePtr& blue,
                 std::size_t redChannel, std::size_t greenChannel, std::size_t blueChannel,
                 std::uint8_t* gray) {
  const Runs& domain = *red->domain;
  const auto count = static_cast<std::int64_t>(domain.size());
  const bool vectors = vectorPathsEnabled();
  forBands(
      count, bandsFor(count, runsArea(domain)), [&](int, std::int64_t begin, std::int64_t end) {
        for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
          const Run& run = domain[i];
          const std::size_t at = red->offset(run.row, run.begin);
          const auto n = static_cast<std::size_t>(run.end - run.begin + 1);
          const std::uint8_t *r = red->pixels(redChannel) + at,
                             *g = green->pixels(greenChannel) + at,
                             *b = blue->pixels(blueChannel) + at;
          const std::size_t done = vectors ? weighGrayVectors(r, g, b, n, gray + at) : 0;
          weighGray(r + done, g + done, b + done, n - done, gray + at + done);
        }
      });
}

std::size_t pixelCount(const ImagePtr& image) {
  return static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
}

// Applies `f` to every pixel of every channel of each image; the result keeps the domain.
template <typename F>
HObject mapImages(const HObject& input, const char* op, F&& f) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      for (std::size_t i = 0, n = pixelCount(image); i < n; ++i) out[i] = f(in[i]);
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// Applies `f` to pairs of pixels; the result's domain is where both domains meet.
template <typename F>
HObject mapPairs(const HObject& first, const HObject& second, const char* op, F&& f) {
  std::vector<HObject::Item> items;
  for (const auto& [a, b] : imagePairs(first, second, op)) {
    std::vector<PlanePtr> planes;
    for (std::size_t c = 0; c < a->channels.size(); ++c) {
      auto plane = std::make_shared<Plane>(a->width, a->height, op);
      const std::uint8_t *x = a->pixels(c), *y = b->pixels(c);
      std::uint8_t* out = plane->data();
      for (std::size_t i = 0, n = pixelCount(a); i < n; ++i) out[i] = f(x[i], y[i]);
      planes.push_back(std::move(plane));
    }
    items.push_back(makeImage(a->width, a->height, std::move(planes),
                              std::make_shared<const Runs>(intersectRuns(*a->domain, *b->domain))));
  }
  return objectOf(items);
}

// A byte look-up table of a linear map, as every affine operator here reduces to one.
struct Table {
  std::uint8_t values[256];
};

}  // namespace

void Rgb1ToGray(const HObject& RGBImage, HObject* GrayImage) {
  ApiScope scope("Rgb1ToGray");
  const char* op = "rgb1_to_gray";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(RGBImage, op, 1)) {
    if (image->channels.size() == 1) {
      items.push_back(image);
      continue;
    }
    if (image->channels.size() < 3) fail(op, H_ERR_CHANNEL_COUNT);
    ImagePtr gray = domainImageLike(image, 1, op);
    weighDomain(image, image, image, 0, 1, 2, gray->pixels(0));
    items.push_back(std::move(gray));
  }
  setOutput(GrayImage, objectOf(items));
}

void Rgb3ToGray(const HObject& ImageRed, const HObject& ImageGreen, const HObject& ImageBlue,
                HObject* ImageGray) {
  ApiScope scope("Rgb3ToGray");
  const char* op = "rgb3_to_gray";
  const std::vector<ImagePtr> reds = imagesWithChannels(ImageRed, op, 1);
  const std::vector<ImagePtr> greens = imagesWithChannels(ImageGreen, op, 2);
  const std::vector<ImagePtr> blues = imagesWithChannels(ImageBlue, op, 3);
  if (greens.size() != reds.size()) fail(op, 1502);
  if (blues.size() != reds.size()) fail(op, 1503);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < reds.size(); ++i) {
    for (const ImagePtr& other : {greens[i], blues[i]}) {
      if (other->width != reds[i]->width || other->height != reds[i]->height) {
        fail(op, H_ERR_SIZES_DIFFER);
      }
    }
    ImagePtr gray = domainImageLike(reds[i], 1, op);
    weighDomain(reds[i], greens[i], blues[i], 0, 0, 0, gray->pixels(0));
    items.push_back(std::move(gray));
  }
  setOutput(ImageGray, objectOf(items));
}

void ScaleImage(const HObject& Image, HObject* ImageScaled, const HTuple& Mult, const HTuple& Add) {
  ApiScope scope("ScaleImage");
  const char* op = "scale_image";
  const double mult = oneNumber(Mult, op, 1), add = oneNumber(Add, op, 2);
  if (hasTypedImages(Image)) {
    setOutput(ImageScaled,
              mapTyped(Image, op, kRealValuedTypes, [&](double g) { return g * mult + add; }));
    return;
  }
  Table table;
  for (int g = 0; g < 256; ++g) table.values[g] = clampToByte(g * mult + add);
  setOutput(ImageScaled, mapImages(Image, op, [&](std::uint8_t g) { return table.values[g]; }));
}

void InvertImage(const HObject& Image, HObject* ImageInvert) {
  ApiScope scope("InvertImage");
  if (hasTypedImages(Image)) {
    setOutput(ImageInvert, invertTyped(Image, "invert_image"));
    return;
  }
  setOutput(ImageInvert, mapImages(Image, "invert_image", [](std::uint8_t g) {
              return static_cast<std::uint8_t>(255 - g);
            }));
}

void AddImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
              const HTuple& Mult, const HTuple& Add) {
  ApiScope scope("AddImage");
  const char* op = "add_image";
  const double mult = oneNumber(Mult, op, 1), add = oneNumber(Add, op, 2);
  if (hasTypedImages(Image1)) {
    setOutput(ImageResult, mapTypedPairs(Image1, Image2, op, kRealValuedTypes,
                                         [&](double a, double b) { return (a + b) * mult + add; }));
    return;
  }
  Table table[2];  // sums 0..510 in two halves
  for (int s = 0; s < 512; ++s) table[s / 256].values[s % 256] = clampToByte(s * mult + add);
  setOutput(ImageResult, mapPairs(Image1, Image2, op, [&](std::uint8_t a, std::uint8_t b) {
              const int s = a + b;
              return table[s >> 8].values[s & 255];
            }));
}

void SubImage(const HObject& ImageMinuend, const HObject& ImageSubtrahend, HObject* ImageSub,
              const HTuple& Mult, const HTuple& Add) {
  ApiScope scope("SubImage");
  const char* op = "sub_image";
  const double mult = oneNumber(Mult, op, 1), add = oneNumber(Add, op, 2);
  if (hasTypedImages(ImageMinuend)) {
    setOutput(ImageSub, mapTypedPairs(ImageMinuend, ImageSubtrahend, op, kRealValuedTypes,
                                      [&](double a, double b) { return (a - b) * mult + add; }));
    return;
  }
  Table table[2];  // differences -255..256 shifted by 255
  for (int d = 0; d < 512; ++d)
    table[d / 256].values[d % 256] = clampToByte((d - 255) * mult + add);
  setOutput(ImageSub,
            mapPairs(ImageMinuend, ImageSubtrahend, op, [&](std::uint8_t a, std::uint8_t b) {
              const int d = a - b + 255;
              return table[d >> 8].values[d & 255];
            }));
}

void AbsDiffImage(const HObject& Image1, const HObject& Image2, HObject* ImageAbsDiff,
                  const HTuple& Mult) {
  ApiScope scope("AbsDiffImage");
  const char* op = "abs_diff_image";
  const double mult = oneNumber(Mult, op, 1);
  Table table;
  for (int d = 0; d < 256; ++d) table.values[d] = clampToByte(d * mult);
  setOutput(ImageAbsDiff, mapPairs(Image1, Image2, op, [&](std::uint8_t a, std::uint8_t b) {
              return table.values[a > b ? a - b : b - a];
            }));
}

}  // namespace HalconCpp
