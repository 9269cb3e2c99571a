// Grey-value statistics of regions, shared by the grey-value feature operators: the pixels of
// a region within the image's domain, their histogram, moments weighted by the grey values,
// the approximating plane, and the features by the names gray_features and select_gray read.
#ifndef QUORVEX_STANDINS_HALCON_GRAY_STATS_H
#define QUORVEX_STANDINS_HALCON_GRAY_STATS_H

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/runs.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

// The image an operator reads grey values from: one image with a channel, read as numbers so
// that a pixel type is added in one place (grayAt).
struct GrayImage {
  ImagePtr image;
  double at(std::int32_t row, std::int32_t col) const;
};
// Exactly one image (1500+n otherwise) with at least one channel (3032 otherwise).
GrayImage grayImageOf(const HObject& object, const char* op, int n);

// The regions of input n, each intersected with the image's domain, or none at all when one
// of them is empty and 'empty_region_result' says to return at once.
std::vector<Runs> measuredRegions(const HObject& regions, const GrayImage& image, const char* op,
                                  int n);

// Sums over the pixels of one region: grey values, their moments and their histogram.
struct GrayStats {
  double area = 0;  // pixels
  double sum = 0, sumR = 0, sumC = 0;
  double gray = 0, grayR = 0, grayC = 0, grayRR = 0, grayCC = 0, grayRC = 0, graySquares = 0;
  std::vector<double> histogram = std::vector<double>(256, 0.0);
  double rowSumSquares = 0, colSumSquares = 0, rowColSum = 0;

  double mean() const { return area > 0 ? gray / area : 0; }
  double deviation() const;
  // The grey value of the pixel of the given rank (0: the darkest).
  double ofRank(double rank) const;
  double median() const { return area > 0 ? ofRank(std::floor(area / 2)) : 0; }
  double minimum() const { return area > 0 ? ofRank(0) : 0; }
  double maximum() const { return area > 0 ? ofRank(area - 1) : 0; }
};
GrayStats grayStatsOf(const Runs& region, const GrayImage& image);

// moments_gray_plane's moments and plane: Image'(r, c) = alpha (r - r') + beta (c - c') + mean.
struct GrayPlane {
  double mRow = 0, mCol = 0, alpha = 0, beta = 0, mean = 0;
  double row = 0, col = 0;  // the region's centre r', c'
};
GrayPlane grayPlaneOf(const GrayStats& s);
// The deviation of the grey values from that plane.
double planeDeviationOf(const Runs& region, const GrayImage& image, const GrayPlane& plane);

// entropy_gray: the entropy of the relative histogram, and the share of it up to the median.
void entropyOf(const GrayStats& s, double* entropy, double* anisotropy);
// fuzzy_entropy with Zadeh's S-function from a to c.
double fuzzyEntropyOf(const GrayStats& s, double a, double c);

enum class GrayFeature {
  Area,
  Row,
  Column,
  Ra,
  Rb,
  Phi,
  Min,
  Max,
  Median,
  Mean,
  Deviation,
  PlaneDeviation,
  Anisotropy,
  Entropy,
  FuzzyEntropy,
  FuzzyPerimeter,
  MomentsRow,
  MomentsColumn,
  Alpha,
  Beta,
};
// False for a name the stand-in does not know.
bool grayFeatureNamed(const std::string& name, GrayFeature* feature);

// Every feature of one region, computed once and read by name.
class GrayFeatureSet {
 public:
  GrayFeatureSet(const Runs& region, const GrayImage& image);
  double operator()(GrayFeature feature);

 private:
  const Runs& region_;
  const GrayImage& image_;
  GrayStats stats_;
  bool planeDone_ = false;
  GrayPlane plane_;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
