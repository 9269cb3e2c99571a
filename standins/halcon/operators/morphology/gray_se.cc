// gen_disc_se and the grey-value morphology with a structuring-element image: gray_erosion,
// gray_dilation, gray_opening, gray_closing, gray_tophat and gray_bothat. The element is the
// image's domain with its grey values, about the image's centre pixel.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsMorphology.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kElementTypes{PixelType::Byte, PixelType::Uint2, PixelType::Real};

struct ElementPoint {
  std::int32_t dr, dc;
  double value;
};

// The element's pixels relative to its centre ((height - 1) / 2, (width - 1) / 2); one without
// pixels is no structuring element (1102).
std::vector<ElementPoint> elementOf(const ImagePtr& se, const char* op) {
  std::vector<ElementPoint> points;
  if (se->channels.empty()) fail(op, 1102);
  const PixelReader read = readerOf(se->type());
  const std::int32_t r0 = (se->height - 1) / 2, c0 = (se->width - 1) / 2;
  for (const Run& run : *se->domain) {
    if (run.row < 0 || run.row >= se->height) continue;
    for (std::int32_t c = std::max(0, run.begin); c <= std::min(se->width - 1, run.end); ++c) {
      points.push_back({run.row - r0, c - c0, read(se->pixels(0), se->offset(run.row, c))});
    }
  }
  if (points.empty()) fail(op, 1102);
  return points;
}

enum class Step { Erosion, Dilation };

// Dilation: max over z of f(x - z) + s(z); erosion: min over z of f(x + z) - s(z); the image
// mirrored at its edges, the result stored as the type holds it, over `extent`.
void elementPlane(const ImageObject& image, const std::uint8_t* in,
                  const std::vector<ElementPoint>& points, Step step, const Extent& extent,
                  std::uint8_t* out) {
  const PixelType type = image.type();
  const PixelReader read = readerOf(type);
  const PixelWriter write = writerOf(type);
  const std::int32_t w = image.width, h = image.height;
  const int sign = step == Step::Dilation ? -1 : 1;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
      double best = step == Step::Dilation ? -std::numeric_limits<double>::infinity()
                                           : std::numeric_limits<double>::infinity();
      for (const ElementPoint& z : points) {
        const std::int32_t r = mirroredIndex(y + sign * z.dr, h);
        const std::int32_t c = mirroredIndex(x + sign * z.dc, w);
        const double f = read(in, image.offset(r, c));
        best = step == Step::Dilation ? std::max(best, f + z.value) : std::min(best, f - z.value);
      }
      write(out, image.offset(y, x), best);
    }
  }
}

enum class Operation { Erosion, Dilation, Opening, Closing, TopHat, BotHat };

void elementMorphology(const HObject& Image, const HObject& SE, HObject* Result,
                       Operation operation, const char* op) {
  const ImagePtr se = oneImage(SE, op, 2, kElementTypes);
  const std::vector<ElementPoint> points = elementOf(se, op);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kElementTypes)) {
    if (image->type() != se->type()) fail(op, H_ERR_WIT);
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    const std::size_t bytes =
        std::size_t(image->width) * std::size_t(image->height) * elementSize(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      std::uint8_t* out = result->pixels(c);
      if (operation == Operation::Erosion || operation == Operation::Dilation) {
        elementPlane(*image, in, points,
                     operation == Operation::Erosion ? Step::Erosion : Step::Dilation, extent, out);
        continue;
      }
      // Opening (top-hat): dilation of the erosion; closing (bottom-hat): erosion of the
      // dilation. The first step covers the whole image, which the second reads.
      PixelReservation scratch(bytes, op);
      std::vector<std::uint8_t> middle(bytes);
      const bool opening = operation == Operation::Opening || operation == Operation::TopHat;
      elementPlane(*image, in, points, opening ? Step::Erosion : Step::Dilation, fullExtent(size),
                   middle.data());
      elementPlane(*image, middle.data(), points, opening ? Step::Dilation : Step::Erosion, extent,
                   out);
      if (operation == Operation::TopHat || operation == Operation::BotHat) {
        const PixelReader read = readerOf(type);
        const PixelWriter write = writerOf(type);
        for (std::int32_t y = 0; y < size.height; ++y) {
          for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)];
               ++x) {
            const std::size_t i = image->offset(y, x);
            const double difference = operation == Operation::TopHat ? read(in, i) - read(out, i)
                                                                     : read(out, i) - read(in, i);
            write(out, i, difference);
          }
        }
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(Result, objectOf(items));
}

}  // namespace

void GenDiscSe(HObject* SE, const HTuple& Type, const HTuple& Width, const HTuple& Height,
               const HTuple& Smax) {
  ApiScope scope("GenDiscSe");
  const char* op = "gen_disc_se";
  const std::string name = oneString(Type, op, 1);
  PixelType type;
  if (!pixelTypeOf(name, &type) || !kElementTypes.has(type)) fail(op, 1301);
  const Hlong width = oneInteger(Width, op, 2), height = oneInteger(Height, op, 3);
  if (width < 1 || width > 511) fail(op, 1302);
  if (height < 1 || height > 511) fail(op, 1303);
  const double smax = oneNumber(Smax, op, 4);
  if (!std::isfinite(smax)) fail(op, 1304);
  const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
  // The upper half of the ellipsoid with semi-axes Width / 2, Height / 2 and Smax over the
  // pixel centres: its domain is the ellipse, its grey values the ellipsoid's height.
  const double a = h / 2.0, b = w / 2.0, r0 = (h - 1) / 2.0, c0 = (w - 1) / 2.0;
  ImagePtr image = newImage(w, h, 1, op, type);
  const PixelWriter write = writerOf(type);
  Runs domain;
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      const double q = (r - r0) * (r - r0) / (a * a) + (c - c0) * (c - c0) / (b * b);
      if (q > 1) continue;
      write(image->pixels(0), image->offset(r, c), smax * std::sqrt(1 - q));
      if (!domain.empty() && domain.back().row == r && domain.back().end == c - 1) {
        domain.back().end = c;
      } else {
        domain.push_back(Run{r, c, c});
      }
    }
  }
  setOutput(SE, objectOf({makeImage(w, h, image->channels,
                                    std::make_shared<const Runs>(std::move(domain)))}));
}

void GrayErosion(const HObject& Image, const HObject& SE, HObject* ImageErosion) {
  ApiScope scope("GrayErosion");
  elementMorphology(Image, SE, ImageErosion, Operation::Erosion, "gray_erosion");
}

void GrayDilation(const HObject& Image, const HObject& SE, HObject* ImageDilation) {
  ApiScope scope("GrayDilation");
  elementMorphology(Image, SE, ImageDilation, Operation::Dilation, "gray_dilation");
}

void GrayOpening(const HObject& Image, const HObject& SE, HObject* ImageOpening) {
  ApiScope scope("GrayOpening");
  elementMorphology(Image, SE, ImageOpening, Operation::Opening, "gray_opening");
}

void GrayClosing(const HObject& Image, const HObject& SE, HObject* ImageClosing) {
  ApiScope scope("GrayClosing");
  elementMorphology(Image, SE, ImageClosing, Operation::Closing, "gray_closing");
}

void GrayTophat(const HObject& Image, const HObject& SE, HObject* ImageTopHat) {
  ApiScope scope("GrayTophat");
  elementMorphology(Image, SE, ImageTopHat, Operation::TopHat, "gray_tophat");
}

void GrayBothat(const HObject& Image, const HObject& SE, HObject* ImageBotHat) {
  ApiScope scope("GrayBothat");
  elementMorphology(Image, SE, ImageBotHat, Operation::BotHat, "gray_bothat");
}

}  // namespace HalconCpp
