// Filters over a mask about each pixel with a choice of what lies beyond the image's edges:
// midrange_image (any region as the mask) and convol_image (a weighted mask from a tuple or a
// .fil file), and deviation_image and entropy_image (rectangles, mirrored at the edges). Each
// computes the domain of every channel; the pixels outside it stay 0.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/filters/image_kernels.h"
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// 'mirrored', 'cyclic', 'continued' or a grey value standing for every pixel beyond the edges.
struct Border {
  Margin::Kind kind = Margin::Mirrored;
  double value = 0;
};

Border borderOf(const HTuple& margin, const char* op, int n) {
  requireLength(margin, 1, op, n);
  Border border;
  if (margin[0].Type() != eElementTypeString) {
    border.kind = Margin::Constant;
    border.value = numberAt(margin, 0, op, n);
    return border;
  }
  const std::string name = margin[0].S().str();
  if (name == "mirrored") {
    border.kind = Margin::Mirrored;
  } else if (name == "cyclic") {
    border.kind = Margin::Cyclic;
  } else if (name == "continued") {
    border.kind = Margin::Continued;
  } else {
    fail(op, 1300 + n);
  }
  return border;
}

struct Tap {
  std::int32_t row, col;
  double weight;
};

// combine(values of the taps in order) for each pixel of each channel's domain.
template <typename Combine>
HObject maskImages(const HObject& input, const char* op, PixelTypes types,
                   const std::vector<Tap>& taps, const Border& border, Combine&& combine) {
  std::vector<HObject::Item> items;
  std::vector<double> values(taps.size());
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, types)) {
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    const Runs domain = clipRuns(*image->domain, image->height, image->width);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      for (const Run& run : domain) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          for (std::size_t t = 0; t < taps.size(); ++t) {
            const std::int32_t r = marginSource(border.kind, run.row + taps[t].row, image->height);
            const std::int32_t k = marginSource(border.kind, col + taps[t].col, image->width);
            values[t] = r < 0 || k < 0 ? border.value : read(in, image->offset(r, k));
          }
          write(result->pixels(c), image->offset(run.row, col), combine(values));
        }
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// The numbers of a mask: a tuple of numbers as they are, a file name (without its ".fil") as
// the numbers of that file.
std::vector<double> maskNumbers(const HTuple& mask, const char* op) {
  std::vector<double> numbers;
  if (mask.Length() == 1 && mask[0].Type() == eElementTypeString) {
    std::ifstream file(mask[0].S().str() + std::string(".fil"));
    if (!file) fail(op, 1301);
    std::string word;
    while (file >> word) {
      std::istringstream in(word);
      double value = 0;
      if (!(in >> value) || !in.eof()) fail(op, 1301);
      numbers.push_back(value);
    }
    return numbers;
  }
  for (Hlong i = 0; i < mask.Length(); ++i) numbers.push_back(numberAt(mask, i, op, 1));
  return numbers;
}

}  // namespace

// The mask's pixels are taken relative to the centre of its bounding box, which each pixel
// of the domain takes in turn.
void MidrangeImage(const HObject& Image, const HObject& Mask, HObject* ImageMidrange,
                   const HTuple& Margin) {
  ApiScope scope("MidrangeImage");
  const char* op = "midrange_image";
  const std::vector<const Runs*> masks = regionsOf(Mask, op, 2);
  if (masks.size() != 1) fail(op, 1502);
  const Border border = borderOf(Margin, op, 1);
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(*masks[0], &top, &left, &bottom, &right);
  const auto centreRow = std::int32_t(std::floor((double(top) + bottom) / 2));
  const auto centreCol = std::int32_t(std::floor((double(left) + right) / 2));
  std::vector<Tap> taps;
  // An empty mask has no extremes to average: each pixel keeps its own value.
  if (masks[0]->empty()) taps.push_back({0, 0, 1});
  for (const Run& run : *masks[0]) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      taps.push_back({run.row - centreRow, c - centreCol, 1});
    }
  }
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2, PixelType::Int4,
                         PixelType::Real};
  setOutput(ImageMidrange,
            maskImages(Image, op, types, taps, border, [](const std::vector<double>& values) {
              const auto [low, high] = std::minmax_element(values.begin(), values.end());
              return (*low + *high) / 2;
            }));
}

// The mask: its height, its width, the number the weighted sum is divided by, and height x
// width weights row by row; its centre is the pixel at (height / 2, width / 2).
void ConvolImage(const HObject& Image, HObject* ImageResult, const HTuple& FilterMask,
                 const HTuple& Margin) {
  ApiScope scope("ConvolImage");
  const char* op = "convol_image";
  const std::vector<double> numbers = maskNumbers(FilterMask, op);
  const Border border = borderOf(Margin, op, 2);
  if (numbers.size() < 3) fail(op, 1401);
  const double height = numbers[0], width = numbers[1], divisor = numbers[2];
  if (!(height >= 1 && width >= 1 && height <= 201 && width <= 201) ||
      height != std::floor(height) || width != std::floor(width) || divisor == 0) {
    fail(op, 1301);
  }
  if (numbers.size() != 3 + std::size_t(height) * std::size_t(width)) fail(op, 1401);
  std::vector<Tap> taps;
  const auto h = std::int32_t(height), w = std::int32_t(width);
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      taps.push_back({r - h / 2, c - w / 2, numbers[3 + std::size_t(r * w + c)] / divisor});
    }
  }
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2};
  setOutput(ImageResult,
            maskImages(Image, op, types, taps, border, [&taps](const std::vector<double>& values) {
              double sum = 0;
              for (std::size_t t = 0; t < taps.size(); ++t) sum += taps[t].weight * values[t];
              return sum;
            }));
}

// Twice the standard deviation (over the window's pixel count) in Width x Height windows,
// even sizes taken as the next odd ones, the image mirrored at its edges.
void DeviationImage(const HObject& Image, HObject* ImageDeviation, const HTuple& Width,
                    const HTuple& Height) {
  ApiScope scope("DeviationImage");
  const char* op = "deviation_image";
  const Hlong width = oneInteger(Width, op, 1), height = oneInteger(Height, op, 2);
  // An even size grows to the next odd one before the check: 2 counts as 3.
  if (width < 2 || width > 501) fail(op, 1301);
  if (height < 2 || height > 501) fail(op, 1302);
  const auto halfW = std::int32_t(width / 2), halfH = std::int32_t(height / 2);
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2, PixelType::Int4,
                         PixelType::Real};
  setOutput(ImageDeviation, typedPlaneFilter(Image, types, op, [&](double* values, PlaneSize size) {
              const auto w = std::size_t(size.width);
              const std::size_t n = w * std::size_t(size.height);
              // Sums along each row's window, then down each column's.
              std::vector<double> rowSums(n), rowSquares(n);
              for (std::int32_t y = 0; y < size.height; ++y) {
                const double* row = values + std::size_t(y) * w;
                for (std::int32_t x = 0; x < size.width; ++x) {
                  double s = 0, q = 0;
                  for (std::int32_t k = -halfW; k <= halfW; ++k) {
                    const double g = row[mirroredIndex(x + k, size.width)];
                    s += g, q += g * g;
                  }
                  rowSums[std::size_t(y) * w + std::size_t(x)] = s;
                  rowSquares[std::size_t(y) * w + std::size_t(x)] = q;
                }
              }
              const double area = double(2 * halfW + 1) * double(2 * halfH + 1);
              for (std::int32_t y = 0; y < size.height; ++y) {
                for (std::size_t x = 0; x < w; ++x) {
                  double s = 0, q = 0;
                  for (std::int32_t k = -halfH; k <= halfH; ++k) {
                    const std::size_t at = std::size_t(mirroredIndex(y + k, size.height)) * w + x;
                    s += rowSums[at], q += rowSquares[at];
                  }
                  const double mean = s / area;
                  values[std::size_t(y) * w + x] =
                      2 * std::sqrt(std::max(0.0, q / area - mean * mean));
                }
              }
            }));
}

// 32 times the entropy (in bits) of the grey values in Width x Height windows, even sizes taken
// as the next odd ones, the image mirrored at its edges: a histogram slides along each row.
void EntropyImage(const HObject& Image, HObject* ImageEntropy, const HTuple& Width,
                  const HTuple& Height) {
  ApiScope scope("EntropyImage");
  const char* op = "entropy_image";
  const Hlong width = oneInteger(Width, op, 1), height = oneInteger(Height, op, 2);
  if (width < 1 || width > 501) fail(op, 1301);
  if (height < 1 || height > 501) fail(op, 1302);
  const std::int32_t halfW = std::int32_t(width) / 2, halfH = std::int32_t(height) / 2;
  const double count = double(2 * halfW + 1) * double(2 * halfH + 1);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    const std::int32_t w = image->width, h = image->height;
    const Runs domain = clipRuns(*image->domain, h, w);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      for (const Run& run : domain) {
        std::vector<double> histogram(256, 0.0);
        // Adds (sign 1) or removes (-1) column x of the window about the run's row.
        const auto column = [&](std::int32_t x, double sign) {
          const std::int32_t col = mirroredIndex(x, w);
          for (std::int32_t k = -halfH; k <= halfH; ++k) {
            histogram[in[image->offset(mirroredIndex(run.row + k, h), col)]] += sign;
          }
        };
        for (std::int32_t x = run.begin - halfW; x <= run.begin + halfW; ++x) column(x, 1);
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          if (col > run.begin) column(col - halfW - 1, -1), column(col + halfW, 1);
          double entropy = 0;
          for (const double n : histogram) {
            if (n > 0) entropy -= n / count * std::log2(n / count);
          }
          out[image->offset(run.row, col)] = clampToByte(32 * entropy);
        }
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageEntropy, objectOf(items));
}

}  // namespace HalconCpp
