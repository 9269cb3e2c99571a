// The edge filters of fixed 3 x 3 masks: Roberts' 2 x 2 differences, Prewitt's and Frei's two
// masks, and Kirsch's and Robinson's eight compass masks, on byte, int2 and uint2 images. The
// image is mirrored at its edges (the row above row 0 repeats row 0); the amplitude is
// rounded and clipped to the input's type, the direction follows sobel_dir: the way the image
// brightens, counterclockwise from the column axis, in halved degrees, 255 where the
// amplitude is 0.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/filters/image_kernels.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kEdgeTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2};
constexpr double kSqrt2 = 1.4142135623730950488;

// The 3 x 3 neighbourhood, row by row: n[0] above left, n[4] the pixel, n[8] below right.
using Neighbourhood = std::array<double, 9>;
struct Response {
  double amplitude;
  double degrees;  // of the direction; ignored where no direction is wanted
};

// The ring of the eight neighbours clockwise from the one above left, and the direction, in
// degrees, in which each lies from the centre.
constexpr int kRing[8] = {0, 1, 2, 5, 8, 7, 6, 3};
constexpr double kRingDegrees[8] = {135, 90, 45, 0, 315, 270, 225, 180};

// The compass filters: the mask pointing at ring position p weighs the neighbour d steps
// round the ring from p with weights[|d|]. The strongest mask gives the amplitude and its
// direction; of equal ones, the first in the ring wins.
Response compass(const Neighbourhood& n, const std::array<double, 5>& weights) {
  Response best{-HUGE_VAL, 0};
  for (int p = 0; p < 8; ++p) {
    double sum = 0;
    for (int k = 0; k < 8; ++k) {
      const int d = std::min((k - p + 8) % 8, (p - k + 8) % 8);
      sum += weights[std::size_t(d)] * n[std::size_t(kRing[k])];
    }
    if (sum > best.amplitude) best = {sum, kRingDegrees[p]};
  }
  return best;
}

// The two masks a (the row above minus the row below) and b (the left column minus the
// right), the middle ones weighted by `middle`; the larger magnitude is the amplitude.
Response twoMasks(const Neighbourhood& n, double middle) {
  const double a = n[0] + middle * n[1] + n[2] - n[6] - middle * n[7] - n[8];
  const double b = n[0] + middle * n[3] + n[6] - n[2] - middle * n[5] - n[8];
  double degrees = std::atan2(a, -b) * 57.295779513082320877;
  if (degrees < 0) degrees += 360;
  return {std::max(std::fabs(a), std::fabs(b)), degrees};
}

Response prewitt(const Neighbourhood& n) {
  return twoMasks(n, 1);
}
Response frei(const Neighbourhood& n) {
  return twoMasks(n, kSqrt2);
}
Response kirsch(const Neighbourhood& n) {
  return compass(n, {5, 5, -3, -3, -3});
}
Response robinson(const Neighbourhood& n) {
  return compass(n, {2, 1, 0, -1, -2});
}

// Amplitude (and with `direction`, the direction image) of each channel of each image,
// computed over the domain; pixels outside it stay 0.
template <typename Filter>
void edgeImages(const HObject& input, const char* op, Filter&& filter, HObject* amplitudeOut,
                HObject* directionOut) {
  std::vector<HObject::Item> amplitudes, directions;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, kEdgeTypes)) {
    const PixelType type = image->type();
    ImagePtr amplitude = imageLike(image, image->channels.size(), op, type);
    ImagePtr direction =
        directionOut ? imageLike(image, image->channels.size(), op, PixelType::Direction) : nullptr;
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    const std::int32_t w = image->width, h = image->height;
    const Runs domain = clipRuns(*image->domain, h, w);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::uint8_t* in = image->pixels(c);
      for (const Run& run : domain) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          Neighbourhood n;
          for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
              n[std::size_t((dr + 1) * 3 + dc + 1)] = read(
                  in, image->offset(mirroredIndex(run.row + dr, h), mirroredIndex(col + dc, w)));
            }
          }
          const Response response = filter(n);
          const std::size_t at = image->offset(run.row, col);
          write(amplitude->pixels(c), at, response.amplitude);
          if (!direction) continue;
          const bool none = storableValue(type, response.amplitude) == 0;
          direction->pixels(c)[at] =
              none ? 255
                   : static_cast<std::uint8_t>(int(std::floor(response.degrees / 2 + 0.5)) % 180);
        }
      }
    }
    amplitudes.push_back(std::move(amplitude));
    if (direction) directions.push_back(std::move(direction));
  }
  setOutput(amplitudeOut, objectOf(amplitudes));
  if (directionOut) setOutput(directionOut, objectOf(directions));
}

}  // namespace

// With the pixel D and its neighbours A (above left), B (above) and C (left): 'roberts_max'
// max(|A - D|, |B - C|), 'gradient_max' max(|A + B - C - D|, |A + C - B - D|) and
// 'gradient_sum' the sum of those two.
void Roberts(const HObject& Image, HObject* ImageRoberts, const HTuple& FilterType) {
  ApiScope scope("Roberts");
  const char* op = "roberts";
  const std::string type = oneString(FilterType, op, 1);
  if (type != "roberts_max" && type != "gradient_max" && type != "gradient_sum") fail(op, 1301);
  const bool diagonals = type == "roberts_max", largest = type == "gradient_max";
  edgeImages(
      Image, op,
      [diagonals, largest](const Neighbourhood& n) {
        const double a = n[0], b = n[1], c = n[3], d = n[4];
        if (diagonals) return Response{std::max(std::fabs(a - d), std::fabs(b - c)), 0};
        const double rows = std::fabs(a + b - c - d), cols = std::fabs(a + c - b - d);
        return Response{largest ? std::max(rows, cols) : rows + cols, 0};
      },
      ImageRoberts, nullptr);
}

void PrewittAmp(const HObject& Image, HObject* ImageEdgeAmp) {
  ApiScope scope("PrewittAmp");
  edgeImages(Image, "prewitt_amp", prewitt, ImageEdgeAmp, nullptr);
}

void PrewittDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir) {
  ApiScope scope("PrewittDir");
  edgeImages(Image, "prewitt_dir", prewitt, ImageEdgeAmp, ImageEdgeDir);
}

void KirschAmp(const HObject& Image, HObject* ImageEdgeAmp) {
  ApiScope scope("KirschAmp");
  edgeImages(Image, "kirsch_amp", kirsch, ImageEdgeAmp, nullptr);
}

void KirschDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir) {
  ApiScope scope("KirschDir");
  edgeImages(Image, "kirsch_dir", kirsch, ImageEdgeAmp, ImageEdgeDir);
}

void FreiAmp(const HObject& Image, HObject* ImageEdgeAmp) {
  ApiScope scope("FreiAmp");
  edgeImages(Image, "frei_amp", frei, ImageEdgeAmp, nullptr);
}

void FreiDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir) {
  ApiScope scope("FreiDir");
  edgeImages(Image, "frei_dir", frei, ImageEdgeAmp, ImageEdgeDir);
}

void RobinsonAmp(const HObject& Image, HObject* ImageEdgeAmp) {
  ApiScope scope("RobinsonAmp");
  edgeImages(Image, "robinson_amp", robinson, ImageEdgeAmp, nullptr);
}

void RobinsonDir(const HObject& Image, HObject* ImageEdgeAmp, HObject* ImageEdgeDir) {
  ApiScope scope("RobinsonDir");
  edgeImages(Image, "robinson_dir", robinson, ImageEdgeAmp, ImageEdgeDir);
}

}  // namespace HalconCpp
