// derivate_gauss, laplace_of_gauss and diff_of_gauss: sampled Gaussians and their derivatives
// over images of any real-valued type, in doubles.
#include <cmath>
#include <functional>
#include <string>

#include "core/image_results.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/edge_gradients.h"
#include "operators/filters/gauss_derivatives.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kDerivativeInputs{PixelType::Byte,  PixelType::Int1, PixelType::Int2,
                                       PixelType::Uint2, PixelType::Int4, PixelType::Real};

std::vector<double> planeOf(const ImageObject& image, std::size_t channel) {
  const std::size_t n =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  const PixelReader read = readerOf(image.type());
  std::vector<double> plane(n);
  for (std::size_t i = 0; i < n; ++i) plane[i] = read(image.pixels(channel), i);
  return plane;
}

// Each channel of each image turned into a plane of `type` by `compute`.
HObject filterPlanes(
    const HObject& input, const char* op, PixelTypes types, PixelType type,
    const std::function<std::vector<double>(const ImageObject&, std::size_t)>& compute) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, types)) {
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelWriter write = writerOf(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const std::vector<double> values = compute(*image, c);
      for (std::size_t i = 0; i < values.size(); ++i) write(result->pixels(c), i, values[i]);
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// An angle in [0, 2pi), -0 included as 0.
double fullTurn(double angle) {
  return angle < 0 ? angle + 2 * kPi : std::fabs(angle);
}

// The first and second derivatives at one pixel, x along the row and y down the column.
struct Local {
  double x, y, xx, xy, yy;
  double gradient2() const { return x * x + y * y; }
  double det() const { return xx * yy - xy * xy; }
  double eigen(double sign) const {
    const double a = (xx + yy) / 2;
    return a + sign * std::sqrt(std::max(0.0, a * a - det()));
  }
};

// The components computed from several derivatives; a quotient over a zero gradient is 0.
double combined(const std::string& component, const Local& g) {
  const double g2 = g.gradient2();
  const auto over = [g2](double numerator, double power) {
    return g2 > 0 ? numerator / std::pow(g2, power) : 0.0;
  };
  if (component == "gradient") return std::sqrt(g2);
  // Mathematically positive, y upwards: the row's derivative changes sign.
  if (component == "gradient_dir") return fullTurn(std::atan2(-g.y, g.x));
  if (component == "det") return g.det();
  if (component == "laplace") return g.xx + g.yy;
  if (component == "mean_curvature") {
    const double a = (1 + g.x * g.x) * g.yy, b = 2 * g.x * g.y * g.xy, c = (1 + g.y * g.y) * g.xx;
    return (a - b + c) / std::pow(1 + g2, 1.5);
  }
  if (component == "gauss_curvature") return g.det() / ((1 + g2) * (1 + g2));
  if (component == "area") return (1 + g.x * g.x) * (1 + g.y * g.y) - g.x * g.y * g.x * g.y;
  if (component == "eigenvalue1") return g.eigen(1);
  if (component == "eigenvalue2") return g.eigen(-1);
  if (component == "eigenvec_dir") {
    // Half the angle of (xx - yy, 2 xy) points along the first eigenvector; upwards it turns
    // the other way. In (-pi/2, pi/2].
    const double angle = -0.5 * std::atan2(2 * g.xy, g.xx - g.yy);
    return angle <= -kPi / 2 ? angle + kPi : angle;
  }
  const double across = g.xx * g.y * g.y + g.yy * g.x * g.x - 2 * g.xy * g.x * g.y;
  if (component == "kitchen_rosenfeld") return over(across, 1);
  if (component == "zuniga_haralick") return over(across, 1.5);
  if (component == "2nd_ddg") {
    return over(g.xx * g.x * g.x + 2 * g.xy * g.x * g.y + g.yy * g.y * g.y, 1);
  }
  // de_saint_venant
  return over(g.x * g.y * (g.xx - g.yy) - (g.x * g.x - g.y * g.y) * g.xy, 1);
}

// The single derivatives by their orders along x and y; the rest from the first two orders.
bool singleOrders(const std::string& component, int* ox, int* oy) {
  static const struct {
    const char* name;
    int x, y;
  } kSingles[] = {{"none", 0, 0}, {"x", 1, 0},   {"y", 0, 1},   {"xx", 2, 0},  {"yy", 0, 2},
                  {"xy", 1, 1},   {"xxx", 3, 0}, {"yyy", 0, 3}, {"xxy", 2, 1}, {"xyy", 1, 2}};
  for (const auto& single : kSingles) {
    if (component == single.name) return *ox = single.x, *oy = single.y, true;
  }
  return false;
}

bool knownComponent(const std::string& component) {
  static const char* const kCombined[] = {"gradient",     "gradient_dir",      "det",
                                          "laplace",      "mean_curvature",    "gauss_curvature",
                                          "area",         "eigenvalue1",       "eigenvalue2",
                                          "eigenvec_dir", "kitchen_rosenfeld", "zuniga_haralick",
                                          "2nd_ddg",      "de_saint_venant"};
  int ox = 0, oy = 0;
  if (singleOrders(component, &ox, &oy)) return true;
  for (const char* name : kCombined) {
    if (component == name) return true;
  }
  return false;
}

double positiveSigma(const HTuple& value, Hlong i, const char* op, int n) {
  const double sigma = numberAt(value, i, op, n);
  if (!(sigma > 0)) fail(op, 1300 + n);
  return sigma;
}

}  // namespace

void DerivateGauss(const HObject& Image, HObject* DerivGauss, const HTuple& Sigma,
                   const HTuple& Component) {
  ApiScope scope("DerivateGauss");
  const char* op = "derivate_gauss";
  if (Sigma.Length() != 1 && Sigma.Length() != 2) fail(op, 1401);
  const double sigmaX = positiveSigma(Sigma, 0, op, 1);
  const double sigmaY = Sigma.Length() == 2 ? positiveSigma(Sigma, 1, op, 1) : sigmaX;
  const std::string component = oneString(Component, op, 2);
  if (!knownComponent(component)) fail(op, 1302);
  setOutput(DerivGauss,
            filterPlanes(Image, op, kDerivativeInputs, PixelType::Real,
                         [&](const ImageObject& image, std::size_t channel) {
                           GaussDerivatives d(planeOf(image, channel), image.width, image.height,
                                              sigmaX, sigmaY);
                           int ox = 0, oy = 0;
                           if (singleOrders(component, &ox, &oy)) return d.get(ox, oy);
                           const std::vector<double>&x = d.get(1, 0), &y = d.get(0, 1);
                           const bool second = component != "gradient" &&
                                               component != "gradient_dir" && component != "area";
                           std::vector<double> out(x.size());
                           const std::vector<double>& xx = second ? d.get(2, 0) : x;
                           const std::vector<double>& xy = second ? d.get(1, 1) : x;
                           const std::vector<double>& yy = second ? d.get(0, 2) : x;
                           for (std::size_t i = 0; i < out.size(); ++i) {
                             out[i] = combined(component, Local{x[i], y[i], xx[i], xy[i], yy[i]});
                           }
                           return out;
                         }));
}

void LaplaceOfGauss(const HObject& Image, HObject* ImageLaplace, const HTuple& Sigma) {
  ApiScope scope("LaplaceOfGauss");
  const char* op = "laplace_of_gauss";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma > 0.7 && sigma <= 25)) fail(op, 1301);
  setOutput(
      ImageLaplace,
      filterPlanes(Image, op, kDerivativeInputs, PixelType::Int2,
                   [&](const ImageObject& image, std::size_t channel) {
                     // The mask 1 / (2 pi s^4) (r^2 / 2s^2 - 1) exp(-r^2 / 2s^2) as sampled,
                     // split into E(x) A(y) + A(x) E(y) - E(x) E(y), A(t) = t^2 / 2s^2 E(t).
                     const std::int32_t half =
                         gaussianHalf(sigma, std::max(image.width, image.height));
                     std::vector<double> e, a;
                     const double scale = 1 / (2 * kPi * std::pow(sigma, 4));
                     for (std::int32_t n = -half; n <= half; ++n) {
                       const double t = n * n / (2 * sigma * sigma);
                       e.push_back(std::exp(-t));
                       a.push_back(t * std::exp(-t));
                     }
                     const std::vector<double> plane = planeOf(image, channel);
                     const auto pass = [&](const std::vector<double>& alongRow,
                                           const std::vector<double>& downColumn) {
                       return correlateLines(
                           correlateLines(plane, image.width, image.height, alongRow, true, false),
                           image.width, image.height, downColumn, false, false);
                     };
                     const std::vector<double> ea = pass(e, a), ae = pass(a, e), ee = pass(e, e);
                     std::vector<double> out(plane.size());
                     for (std::size_t i = 0; i < out.size(); ++i) {
                       out[i] = scale * (ea[i] + ae[i] - ee[i]);
                     }
                     return out;
                   }));
}

void DiffOfGauss(const HObject& Image, HObject* DiffOfGauss, const HTuple& Sigma,
                 const HTuple& SigFactor) {
  ApiScope scope("DiffOfGauss");
  const char* op = "diff_of_gauss";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma > 0)) fail(op, 1301);
  const double factor = oneNumber(SigFactor, op, 2);
  if (!(factor > 0)) fail(op, 1302);
  // Marr's ratio: sigma1 = Sigma / sqrt(2 ln k / (k^2 - 1)), which tends to Sigma as k -> 1.
  const double ratio = factor == 1 ? 1 : 2 * std::log(factor) / (factor * factor - 1);
  const double sigma1 = sigma / std::sqrt(ratio), sigma2 = sigma1 / factor;
  setOutput(DiffOfGauss,
            filterPlanes(Image, op, {PixelType::Byte, PixelType::Uint2}, PixelType::Int2,
                         [&](const ImageObject& image, std::size_t channel) {
                           const std::int32_t side = std::max(image.width, image.height);
                           const std::vector<double> plane = planeOf(image, channel);
                           const auto smooth = [&](double s) {
                             const std::vector<double> k = gaussDerivativeKernel(s, 0, side);
                             return correlateLines(
                                 correlateLines(plane, image.width, image.height, k, true, false),
                                 image.width, image.height, k, false, false);
                           };
                           const std::vector<double> wide = smooth(sigma1), narrow = smooth(sigma2);
                           std::vector<double> out(plane.size());
                           for (std::size_t i = 0; i < out.size(); ++i)
                             out[i] = wide[i] - narrow[i];
                           return out;
                         }));
}

}  // namespace HalconCpp
