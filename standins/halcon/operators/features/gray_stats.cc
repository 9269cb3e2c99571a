#include "operators/features/gray_stats.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"

namespace HalconCpp {
namespace Standin {

double GrayImage::at(std::int32_t row, std::int32_t col) const {
  return image->pixels(0)[image->offset(row, col)];
}

GrayImage grayImageOf(const HObject& object, const char* op, int n) {
  GrayImage gray{oneImage(object, op, n)};
  if (gray.image->channels.empty()) fail(op, 3032);
  return gray;
}

std::vector<Runs> measuredRegions(const HObject& regions, const GrayImage& image, const char* op,
                                  int n) {
  std::vector<Runs> clipped;
  for (const Runs* region : regionsOf(regions, op, n, false)) {
    clipped.push_back(intersectRuns(*region, *image.image->domain));
  }
  std::vector<const Runs*> pointers;
  for (const Runs& region : clipped) pointers.push_back(&region);
  if (skipEmptyRegions(pointers, op)) clipped.clear();
  return clipped;
}

double GrayStats::deviation() const {
  if (area <= 0) return 0;
  const double m = mean();
  return std::sqrt(std::max(0.0, graySquares / area - m * m));
}

double GrayStats::ofRank(double rank) const {
  double seen = 0;
  for (std::size_t g = 0; g < histogram.size(); ++g) {
    seen += histogram[g];
    if (seen > rank) return double(g);
  }
  return double(histogram.size() - 1);
}

GrayStats grayStatsOf(const Runs& region, const GrayImage& image) {
  GrayStats s;
  for (const Run& run : region) {
    const double r = run.row;
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double c = col, g = image.at(run.row, col);
      s.area += 1;
      s.sumR += r;
      s.sumC += c;
      s.rowSumSquares += r * r;
      s.colSumSquares += c * c;
      s.rowColSum += r * c;
      s.gray += g;
      s.grayR += g * r;
      s.grayC += g * c;
      s.grayRR += g * r * r;
      s.grayCC += g * c * c;
      s.grayRC += g * r * c;
      s.graySquares += g * g;
      s.histogram[static_cast<std::size_t>(g)] += 1;
    }
  }
  return s;
}

GrayPlane grayPlaneOf(const GrayStats& s) {
  GrayPlane p;
  if (s.area <= 0) return p;
  const double f = s.area;
  p.row = s.sumR / f;
  p.col = s.sumC / f;
  p.mean = s.mean();
  // sum (r - r') (g - mean) = sum r g - r' sum g, as sum (r - r') is 0.
  p.mRow = (s.grayR - p.row * s.gray) / (f * f);
  p.mCol = (s.grayC - p.col * s.gray) / (f * f);
  // The region's normalised central moments.
  const double m20 = s.rowSumSquares / f - p.row * p.row;
  const double m02 = s.colSumSquares / f - p.col * p.col;
  const double m11 = s.rowColSum / f - p.row * p.col;
  const double determinant = m20 * m02 - m11 * m11;
  // A line or a pixel spans no plane: the slope across it is undefined, taken as 0.
  if (std::fabs(determinant) > 1e-12) {
    p.alpha = (p.mRow * f * m02 - m11 * p.mCol * f) / determinant;
    p.beta = (m20 * p.mCol * f - p.mRow * f * m11) / determinant;
  }
  return p;
}

double planeDeviationOf(const Runs& region, const GrayImage& image, const GrayPlane& plane) {
  double n = 0, squares = 0;
  for (const Run& run : region) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double fitted =
          plane.alpha * (run.row - plane.row) + plane.beta * (col - plane.col) + plane.mean;
      const double d = image.at(run.row, col) - fitted;
      squares += d * d;
      n += 1;
    }
  }
  return n > 0 ? std::sqrt(squares / n) : 0;
}

void entropyOf(const GrayStats& s, double* entropy, double* anisotropy) {
  *entropy = 0;
  *anisotropy = 0;
  if (s.area <= 0) return;
  double total = 0, lower = 0, cumulated = 0;
  bool medianPassed = false;
  for (const double count : s.histogram) {
    const double rel = count / s.area;
    const double term = rel > 0 ? -rel * std::log2(rel) : 0;
    total += term;
    if (!medianPassed) lower += term;
    cumulated += rel;
    // k is the smallest grey value whose cumulated share reaches one half.
    if (cumulated >= 0.5) medianPassed = true;
  }
  *entropy = total;
  // A constant region has no entropy to share: its anisotropy is taken as 0.
  *anisotropy = total > 0 ? lower / total : 0;
}

namespace {

// Zadeh's S-function from a to c, crossing one half at (a + c) / 2.
double membership(double g, double a, double c) {
  if (g <= a) return 0;
  if (g >= c) return 1;
  const double b = (a + c) / 2, t = (g - a) / (c - a), u = (g - c) / (c - a);
  return g <= b ? 2 * t * t : 1 - 2 * u * u;
}

double shannon(double mu) {
  if (mu <= 0 || mu >= 1) return 0;
  return -mu * std::log(mu) - (1 - mu) * std::log(1 - mu);
}

}  // namespace

double fuzzyEntropyOf(const GrayStats& s, double a, double c) {
  if (s.area <= 0) return 0;
  double sum = 0;
  for (std::size_t g = 0; g < s.histogram.size(); ++g) {
    if (s.histogram[g] > 0) sum += s.histogram[g] * shannon(membership(double(g), a, c));
  }
  return sum / (s.area * std::log(2.0));
}

namespace {

// The sum of the membership's steps between each pixel and its right and lower neighbours
// that lie in the region too.
double fuzzyPerimeterOf(const Runs& region, const GrayImage& image, double a, double c) {
  double sum = 0;
  for (std::size_t i = 0; i < region.size(); ++i) {
    const Run& run = region[i];
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      const double mu = membership(image.at(run.row, col), a, c);
      if (col < run.end) sum += std::fabs(mu - membership(image.at(run.row, col + 1), a, c));
      if (runsContain(region, run.row + 1, col)) {
        sum += std::fabs(mu - membership(image.at(run.row + 1, col), a, c));
      }
    }
  }
  return sum;
}

struct Named {
  const char* name;
  GrayFeature feature;
};
constexpr Named kNames[] = {
    {"area", GrayFeature::Area},
    {"row", GrayFeature::Row},
    {"column", GrayFeature::Column},
    {"ra", GrayFeature::Ra},
    {"rb", GrayFeature::Rb},
    {"phi", GrayFeature::Phi},
    {"min", GrayFeature::Min},
    {"max", GrayFeature::Max},
    {"median", GrayFeature::Median},
    {"mean", GrayFeature::Mean},
    {"deviation", GrayFeature::Deviation},
    {"plane_deviation", GrayFeature::PlaneDeviation},
    {"anisotropy", GrayFeature::Anisotropy},
    {"entropy", GrayFeature::Entropy},
    {"fuzzy_entropy", GrayFeature::FuzzyEntropy},
    {"fuzzy_perimeter", GrayFeature::FuzzyPerimeter},
    {"moments_row", GrayFeature::MomentsRow},
    {"moments_column", GrayFeature::MomentsColumn},
    {"alpha", GrayFeature::Alpha},
    {"beta", GrayFeature::Beta},
};

}  // namespace

bool grayFeatureNamed(const std::string& name, GrayFeature* feature) {
  for (const Named& n : kNames) {
    if (name == n.name) {
      *feature = n.feature;
      return true;
    }
  }
  return false;
}

GrayFeatureSet::GrayFeatureSet(const Runs& region, const GrayImage& image)
    : region_(region), image_(image), stats_(grayStatsOf(region, image)) {}

double GrayFeatureSet::operator()(GrayFeature feature) {
  const GrayStats& s = stats_;
  if (!planeDone_) {
    plane_ = grayPlaneOf(s);
    planeDone_ = true;
  }
  double entropy = 0, anisotropy = 0;
  switch (feature) {
    case GrayFeature::Area:
      return s.gray;
    case GrayFeature::Row:
      return s.gray > 0 ? s.grayR / s.gray : 0;
    case GrayFeature::Column:
      return s.gray > 0 ? s.grayC / s.gray : 0;
    case GrayFeature::Ra:
    case GrayFeature::Rb:
    case GrayFeature::Phi: {
      Moments m;
      if (s.gray > 0) {
        m.area = s.gray;
        m.row = s.grayR / s.gray;
        m.col = s.grayC / s.gray;
        m.m20 = std::max(0.0, s.grayRR / s.gray - m.row * m.row);
        m.m02 = std::max(0.0, s.grayCC / s.gray - m.col * m.col);
        m.m11 = s.grayRC / s.gray - m.row * m.col;
      }
      const Ellipse e = ellipseOf(m);
      return feature == GrayFeature::Ra ? e.ra : feature == GrayFeature::Rb ? e.rb : e.phi;
    }
    case GrayFeature::Min:
      return s.minimum();
    case GrayFeature::Max:
      return s.maximum();
    case GrayFeature::Median:
      return s.median();
    case GrayFeature::Mean:
      return s.mean();
    case GrayFeature::Deviation:
      return s.deviation();
    case GrayFeature::PlaneDeviation:
      return planeDeviationOf(region_, image_, plane_);
    case GrayFeature::Anisotropy:
      entropyOf(s, &entropy, &anisotropy);
      return anisotropy;
    case GrayFeature::Entropy:
      entropyOf(s, &entropy, &anisotropy);
      return entropy;
    case GrayFeature::FuzzyEntropy:
      return fuzzyEntropyOf(s, 0, 255);
    case GrayFeature::FuzzyPerimeter:
      return fuzzyPerimeterOf(region_, image_, 0, 255);
    case GrayFeature::MomentsRow:
      return plane_.mRow;
    case GrayFeature::MomentsColumn:
      return plane_.mCol;
    case GrayFeature::Alpha:
      return plane_.alpha;
    case GrayFeature::Beta:
      return plane_.beta;
  }
  return 0;
}

}  // namespace Standin
}  // namespace HalconCpp
