// trans_from_rgb and trans_to_rgb: the colour spaces of the reference, on byte and real images.
// Each space is defined on RGB values in [0, 1]; a byte image maps every channel's range onto
// 0 ... 255 (hue's [0, 2 pi[ and saturation's [0, 1] included) and rounds, a real image keeps
// the values themselves, hue in radians.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/colour_hsv.h"
#include "operators/filters/colour_spaces.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kTwoPi = 6.283185307179586476925;
using Triple = std::array<double, 3>;
using Matrix = std::array<Triple, 3>;

enum class Kind { Linear, Hsv, Hls, Hsi, Ihs };

struct Range {
  double low, high;
};

struct ColourSpace {
  const char* name;
  Kind kind;
  Matrix matrix;  // the linear spaces' RGB -> space matrix
  std::array<Range, 3> ranges;
};

const double kSqrt2 = std::sqrt(2.0), kSqrt3 = std::sqrt(3.0), kSqrt6 = std::sqrt(6.0);

const ColourSpace kSpaces[] = {
    {"yiq",
     Kind::Linear,
     {{{0.299, 0.587, 0.114}, {0.599, -0.276, -0.324}, {0.214, -0.522, 0.309}}},
     {{{0, 1}, {-0.599, 0.599}, {-0.522, 0.522}}}},
    {"yuv",
     Kind::Linear,
     {{{0.299, 0.587, 0.114}, {-0.147, -0.289, 0.436}, {0.615, -0.515, -0.100}}},
     {{{0, 1}, {-0.436, 0.436}, {-0.615, 0.615}}}},
    {"argyb",
     Kind::Linear,
     {{{0.30, 0.59, 0.11}, {0.50, -0.50, 0.00}, {0.25, 0.25, -0.50}}},
     {{{0, 1}, {-0.5, 0.5}, {-0.5, 0.5}}}},
    {"ciexyz",
     Kind::Linear,
     {{{0.476, 0.299, 0.175}, {0.262, 0.656, 0.082}, {0.020, 0.161, 0.909}}},
     {{{0, 0.951}, {0, 1}, {0, 1.088}}}},
    {"hsv", Kind::Hsv, {}, {{{0, kTwoPi}, {0, 1}, {0, 1}}}},
    {"hls", Kind::Hls, {}, {{{0, kTwoPi}, {0, 1}, {0, 1}}}},
    {"hsi",
     Kind::Hsi,
     {{{2 / kSqrt6, -1 / kSqrt6, -1 / kSqrt6},
       {0, 1 / kSqrt2, -1 / kSqrt2},
       {1 / kSqrt3, 1 / kSqrt3, 1 / kSqrt3}}},
     {{{0, kTwoPi}, {0, std::sqrt(2.0 / 3.0)}, {0, 1}}}},
    // Intensity first, then hue and saturation, as the name orders them.
    {"ihs", Kind::Ihs, {}, {{{0, 1}, {0, kTwoPi}, {0, 1}}}},
};

// Spaces the 11.0 reference lists that the stand-in does not compute: refused as a wrong
// value, like any name it does not know. The reference gives 'ihs' one way only: trans_to_rgb
// refuses it.
const ColourSpace& spaceNamed(const HTuple& ColorSpace, const char* op, bool inverse) {
  const std::string name = oneString(ColorSpace, op, 1);
  for (const ColourSpace& space : kSpaces) {
    if (name == space.name && !(inverse && space.kind == Kind::Ihs)) return space;
  }
  fail(op, 1301);
}

Triple times(const Matrix& m, const Triple& v) {
  Triple out{};
  for (std::size_t i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return out;
}

Matrix inverseOf(const Matrix& m) {
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  Matrix inv{};
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) {
      const std::size_t a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
      inv[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
    }
  }
  return inv;
}

// Hue in [0, 2 pi[ of the hexcone models: sixths of the circle from the largest component.
double hexconeHue(const Triple& rgb, double high, double low) {
  const double d = high - low;
  double sixths;
  if (rgb[0] == high) {
    sixths = (rgb[1] - rgb[2]) / d;
  } else if (rgb[1] == high) {
    sixths = 2 + (rgb[2] - rgb[0]) / d;
  } else {
    sixths = 4 + (rgb[0] - rgb[1]) / d;
  }
  const double hue = sixths * (kTwoPi / 6);
  return hue < 0 ? hue + kTwoPi : hue;
}

Triple fromRgb(const ColourSpace& space, const Triple& rgb) {
  const double high = std::max({rgb[0], rgb[1], rgb[2]});
  const double low = std::min({rgb[0], rgb[1], rgb[2]});
  switch (space.kind) {
    case Kind::Linear:
      return times(space.matrix, rgb);
    case Kind::Hsv:
      if (high == low) return {0, 0, high};
      return {hexconeHue(rgb, high, low), (high - low) / high, high};
    case Kind::Hls: {
      const double l = (high + low) / 2;
      if (high == low) return {0, l, 0};
      const double s = l > 0.5 ? (high - low) / (2 - high - low) : (high - low) / (high + low);
      return {hexconeHue(rgb, high, low), l, s};
    }
    case Kind::Hsi: {
      // Greys have no hue: the rounding of the matrix would give them an arbitrary one.
      if (high == low) return {0, 0, high};
      const Triple m = times(space.matrix, rgb);
      double hue = std::atan2(m[1], m[0]);
      if (hue < 0) hue += kTwoPi;
      if (hue >= kTwoPi) hue = 0;
      return {hue, std::hypot(m[0], m[1]), m[2] / kSqrt3};
    }
    case Kind::Ihs: {
      const double i = (rgb[0] + rgb[1] + rgb[2]) / 3;
      // Black has saturation 1 and greys 0, both hue 0, as the reference's cases say.
      if (i == 0) return {0, 0, 1};
      const double s = 1 - low / i;
      if (s == 0) return {i, 0, 0};
      const double x = (2 * rgb[0] - rgb[1] - rgb[2]) / 2;
      const double z =
          std::sqrt((rgb[0] - rgb[1]) * (rgb[0] - rgb[1]) + (rgb[0] - rgb[2]) * (rgb[1] - rgb[2]));
      // Rounding can carry x / z a hair past 1: acos would give NaN.
      double hue = z == 0 ? 0 : std::acos(std::clamp(x / z, -1.0, 1.0));
      if (rgb[2] > rgb[1]) hue = kTwoPi - hue;
      if (hue >= kTwoPi) hue = 0;
      return {i, hue, s};
    }
  }
  return {};
}

double hlsComponent(double m1, double m2, double hue) {
  hue = std::fmod(hue, kTwoPi);
  if (hue < 0) hue += kTwoPi;
  const double sixth = kTwoPi / 6;
  if (hue < sixth) return m1 + (m2 - m1) * hue / sixth;
  if (hue < 3 * sixth) return m2;
  if (hue < 4 * sixth) return m1 + (m2 - m1) * (4 * sixth - hue) / sixth;
  return m1;
}

Triple toRgb(const ColourSpace& space, const Matrix& inverse, const Triple& v) {
  switch (space.kind) {
    case Kind::Linear:
      return times(inverse, v);
    case Kind::Hsv: {
      const double s = v[1], value = v[2];
      if (s == 0) return {value, value, value};
      double sixths = std::fmod(v[0], kTwoPi) / (kTwoPi / 6);
      if (sixths < 0) sixths += 6;
      const double whole = std::floor(sixths), f = sixths - whole;
      const double p = value * (1 - s), q = value * (1 - s * f), t = value * (1 - s * (1 - f));
      switch (static_cast<int>(whole) % 6) {
        case 0:
          return {value, t, p};
        case 1:
          return {q, value, p};
        case 2:
          return {p, value, t};
        case 3:
          return {p, q, value};
        case 4:
          return {t, p, value};
        default:
          return {value, p, q};
      }
    }
    case Kind::Hls: {
      const double l = v[1], s = v[2];
      if (s == 0) return {l, l, l};
      const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s, m1 = 2 * l - m2;
      const double third = kTwoPi / 3;
      return {hlsComponent(m1, m2, v[0] + third), hlsComponent(m1, m2, v[0]),
              hlsComponent(m1, m2, v[0] - third)};
    }
    case Kind::Hsi: {
      // The rows of the matrix are orthonormal: its transpose undoes it.
      const Triple m{v[1] * std::cos(v[0]), v[1] * std::sin(v[0]), v[2] * kSqrt3};
      Triple rgb{};
      for (std::size_t i = 0; i < 3; ++i) {
        rgb[i] = space.matrix[0][i] * m[0] + space.matrix[1][i] * m[1] + space.matrix[2][i] * m[2];
      }
      return rgb;
    }
    case Kind::Ihs:
      break;
  }
  return {};
}

// Halves round up (clampToByte).
std::uint8_t toByte(double unit) {
  return clampToByte(unit * 255);
}

// The three inputs' images taken together: the same number (else 1502, 1503), sizes (3030)
// and types (H_ERR_WIT); each image's first channel.
struct Triplet {
  ImagePtr first, second, third;
};

std::vector<Triplet> triplets(const HObject& a, const HObject& b, const HObject& c,
                              const char* op) {
  const PixelTypes types{PixelType::Byte, PixelType::Real};
  const std::vector<ImagePtr> as = imagesWithChannels(a, op, 1, types);
  const std::vector<ImagePtr> bs = imagesWithChannels(b, op, 2, types);
  const std::vector<ImagePtr> cs = imagesWithChannels(c, op, 3, types);
  if (bs.size() != as.size()) fail(op, 1502);
  if (cs.size() != as.size()) fail(op, 1503);
  std::vector<Triplet> result;
  for (std::size_t i = 0; i < as.size(); ++i) {
    for (const ImagePtr& other : {bs[i], cs[i]}) {
      if (other->width != as[i]->width || other->height != as[i]->height) {
        fail(op, H_ERR_SIZES_DIFFER);
      }
      if (other->type() != as[i]->type()) fail(op, H_ERR_WIT);
    }
    result.push_back(Triplet{as[i], bs[i], cs[i]});
  }
  return result;
}

// Each pixel of the domain through `convert`, which maps three values to three (byte images:
// the bytes as they are, the results already coded).
template <typename Convert>
void convertPixels(const std::uint8_t* const in[3], std::uint8_t* const out[3], std::size_t i,
                   std::size_t n, bool bytes, Convert&& convert) {
  for (std::size_t end = i + n; i < end; ++i) {
    Triple v{};
    for (std::size_t k = 0; k < 3; ++k) {
      if (bytes) {
        v[k] = in[k][i];
      } else {
        float f;
        std::memcpy(&f, in[k] + 4 * i, 4);
        v[k] = f;
      }
    }
    const Triple w = convert(v, bytes);
    for (std::size_t k = 0; k < 3; ++k) {
      if (bytes) {
        out[k][i] = static_cast<std::uint8_t>(w[k]);
      } else {
        const auto f = static_cast<float>(w[k]);
        std::memcpy(out[k] + 4 * i, &f, 4);
      }
    }
  }
}

// `convertRun(in, out, first pixel, count, bytes)` over the runs of each triplet's domain, on the
// operators' threads.
template <typename ConvertRun>
void convertImages(const HObject& a, const HObject& b, const HObject& c, HObject* out1,
                   HObject* out2, HObject* out3, const char* op, ConvertRun&& convertRun) {
  std::vector<HObject::Item> items[3];
  for (const Triplet& t : triplets(a, b, c, op)) {
    const PixelType type = t.first->type();
    const bool bytes = type == PixelType::Byte;
    ImagePtr results[3] = {domainImageLike(t.first, 1, op, type),
                           domainImageLike(t.first, 1, op, type),
                           domainImageLike(t.first, 1, op, type)};
    const std::uint8_t* const in[3] = {t.first->pixels(0), t.second->pixels(0), t.third->pixels(0)};
    std::uint8_t* const out[3] = {results[0]->pixels(0), results[1]->pixels(0),
                                  results[2]->pixels(0)};
    const Runs& domain = *t.first->domain;
    const auto runs = static_cast<std::int64_t>(domain.size());
    std::int64_t pixels = 0;
    for (const Run& run : domain) pixels += run.end - run.begin + 1;
    forBands(runs, bandsFor(runs, pixels * 8), [&](int, std::int64_t r0, std::int64_t r1) {
      for (std::int64_t r = r0; r < r1; ++r) {
        const Run& run = domain[std::size_t(r)];
        convertRun(in, out, t.first->offset(run.row, run.begin),
                   std::size_t(run.end - run.begin + 1), bytes);
      }
    });
    for (std::size_t k = 0; k < 3; ++k) items[k].push_back(results[k]);
  }
  setOutput(out1, objectOf(items[0]));
  setOutput(out2, objectOf(items[1]));
  setOutput(out3, objectOf(items[2]));
}

}  // namespace

namespace Standin {

bool hasColourSpace(const std::string& name, bool toRgb) {
  for (const ColourSpace& space : kSpaces) {
    if (name == space.name && !(toRgb && space.kind == Kind::Ihs)) return true;
  }
  return false;
}

void convertColours(const HObject& input1, const HObject& input2, const HObject& input3,
                    HObject* output1, HObject* output2, HObject* output3, const HTuple& ColorSpace,
                    bool inverse, const char* op) {
  const ColourSpace& space = spaceNamed(ColorSpace, op, inverse);
  if (!inverse) {
    const auto code = [&space](const Triple& v, bool bytes) {
      if (!bytes) return fromRgb(space, v);
      const Triple w = fromRgb(space, {v[0] / 255, v[1] / 255, v[2] / 255});
      Triple coded{};
      for (std::size_t k = 0; k < 3; ++k) {
        const Range r = space.ranges[k];
        coded[k] = toByte((w[k] - r.low) / (r.high - r.low));
      }
      return coded;
    };
    return convertImages(input1, input2, input3, output1, output2, output3, op,
                         [&](const std::uint8_t* const in[3], std::uint8_t* const out[3],
                             std::size_t i, std::size_t n, bool bytes) {
                           if (bytes && space.kind == Kind::Hsv) return hsvBytes(in, out, i, n);
                           convertPixels(in, out, i, n, bytes, code);
                         });
  }
  const Matrix undo = space.kind == Kind::Linear ? inverseOf(space.matrix) : Matrix{};
  const auto decode = [&space, &undo](const Triple& v, bool bytes) {
    if (!bytes) return toRgb(space, undo, v);
    Triple decoded{};
    for (std::size_t k = 0; k < 3; ++k) {
      const Range r = space.ranges[k];
      decoded[k] = r.low + v[k] / 255 * (r.high - r.low);
    }
    const Triple rgb = toRgb(space, undo, decoded);
    return Triple{double(toByte(rgb[0])), double(toByte(rgb[1])), double(toByte(rgb[2]))};
  };
  convertImages(input1, input2, input3, output1, output2, output3, op,
                [&](const std::uint8_t* const in[3], std::uint8_t* const out[3], std::size_t i,
                    std::size_t n, bool bytes) { convertPixels(in, out, i, n, bytes, decode); });
}

}  // namespace Standin

void TransFromRgb(const HObject& ImageRed, const HObject& ImageGreen, const HObject& ImageBlue,
                  HObject* ImageResult1, HObject* ImageResult2, HObject* ImageResult3,
                  const HTuple& ColorSpace) {
  ApiScope scope("TransFromRgb");
  convertColours(ImageRed, ImageGreen, ImageBlue, ImageResult1, ImageResult2, ImageResult3,
                 ColorSpace, false, "trans_from_rgb");
}

void TransToRgb(const HObject& ImageInput1, const HObject& ImageInput2, const HObject& ImageInput3,
                HObject* ImageRed, HObject* ImageGreen, HObject* ImageBlue,
                const HTuple& ColorSpace) {
  ApiScope scope("TransToRgb");
  convertColours(ImageInput1, ImageInput2, ImageInput3, ImageRed, ImageGreen, ImageBlue, ColorSpace,
                 true, "trans_to_rgb");
}

}  // namespace HalconCpp
