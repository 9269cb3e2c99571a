// dots_image on byte images: the matched filter of a dot, the mean over a disc of the dot's
// diameter less the mean over the ring one pixel wide around it, over the image mirrored at its
// edges. Each row of the mask is one span, summed from prefix sums of the mirrored rows.
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum class DotKind { Light, Dark, All };

// Half the width of the disc of `diameter` in each row dy = -reach ... reach (-1 where the row
// holds none): the pixels whose centres lie within diameter / 2 of the centre.
std::vector<std::int32_t> discSpans(Hlong diameter, std::int32_t reach) {
  const double r2 = double(diameter) * double(diameter) / 4;
  std::vector<std::int32_t> spans;
  for (std::int32_t dy = -reach; dy <= reach; ++dy) {
    const double rest = r2 - double(dy) * dy;
    spans.push_back(rest < 0 ? -1 : static_cast<std::int32_t>(std::floor(std::sqrt(rest))));
  }
  return spans;
}

std::int64_t spanArea(const std::vector<std::int32_t>& spans) {
  std::int64_t area = 0;
  for (const std::int32_t s : spans) area += s < 0 ? 0 : 2 * s + 1;
  return area;
}

void dotsPlane(const std::uint8_t* src, PlaneSize size, Hlong diameter, DotKind kind, double scale,
               std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto reach = static_cast<std::int32_t>(diameter / 2 + 1);
  const std::vector<std::int32_t> inner = discSpans(diameter, reach),
                                  outer = discSpans(diameter + 2, reach);
  const double innerArea = double(spanArea(inner)), ringArea = double(spanArea(outer)) - innerArea;
  // Prefix sums of each row continued by `reach` mirrored pixels each way.
  const auto stride = static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(reach) + 1;
  std::vector<std::uint32_t> prefix(stride * static_cast<std::size_t>(h));
  for (std::int32_t y = 0; y < h; ++y) {
    const std::uint8_t* row = src + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    std::uint32_t* p = prefix.data() + stride * static_cast<std::size_t>(y);
    p[0] = 0;
    for (std::size_t i = 1; i < stride; ++i) {
      p[i] = p[i - 1] + row[mirroredIndex(static_cast<std::int32_t>(i) - 1 - reach, w)];
    }
  }
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint8_t* out = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    for (std::int32_t x = 0; x < w; ++x) {
      std::int64_t in = 0, all = 0;
      const std::size_t centre = static_cast<std::size_t>(x + reach) + 1;
      for (std::int32_t dy = -reach; dy <= reach; ++dy) {
        const std::uint32_t* p =
            prefix.data() + stride * static_cast<std::size_t>(mirroredIndex(y + dy, h));
        const std::int32_t a = inner[static_cast<std::size_t>(dy + reach)],
                           b = outer[static_cast<std::size_t>(dy + reach)];
        if (a >= 0) in += p[centre + std::size_t(a)] - p[centre - std::size_t(a) - 1];
        if (b >= 0) all += p[centre + std::size_t(b)] - p[centre - std::size_t(b) - 1];
      }
      double response = double(in) / innerArea - double(all - in) / ringArea;
      if (kind == DotKind::Dark) response = -response;
      if (kind == DotKind::All) response = std::fabs(response);
      out[x] = clampToByte(response * scale);
    }
  }
}

}  // namespace

void DotsImage(const HObject& Image, HObject* DotImage, const HTuple& Diameter,
               const HTuple& FilterType, const HTuple& PixelShift) {
  ApiScope scope("DotsImage");
  const char* op = "dots_image";
  const Hlong diameter = oneInteger(Diameter, op, 1);
  const std::string type = oneString(FilterType, op, 2);
  const Hlong shift = oneInteger(PixelShift, op, 3);
  if (diameter < 3 || diameter > 23 || diameter % 2 == 0) fail(op, 1301);
  DotKind kind = DotKind::All;
  if (type == "light") {
    kind = DotKind::Light;
  } else if (type == "dark") {
    kind = DotKind::Dark;
  } else if (type != "all") {
    fail(op, 1302);
  }
  if (shift < -1 || shift > 2) fail(op, 1303);
  const double scale = std::ldexp(1.0, static_cast<int>(shift));
  setOutput(DotImage,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize s, std::uint8_t* out) {
              dotsPlane(in, s, diameter, kind, scale, out);
            }));
}

}  // namespace HalconCpp
