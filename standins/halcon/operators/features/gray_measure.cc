// Operators that measure the grey values of regions: volume and centre, the equivalent
// ellipse, the approximating plane, entropies, histograms, projections, and every feature by
// name for measuring and selecting.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/feature_ranges.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/gray_stats.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Outputs filled one value per measured region.
template <std::size_t N, typename Measure>
void measureEach(const HObject& Regions, const HObject& Image, const char* op,
                 HTuple* const (&outputs)[N], Measure&& measure) {
  const GrayImage image = grayImageOf(Image, op, 2);
  HTuple values[N];
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    GrayFeatureSet features(region, image);
    double results[N] = {};
    measure(region, image, features, results);
    for (std::size_t i = 0; i < N; ++i) values[i].Append(HTuple(results[i]));
  }
  for (std::size_t i = 0; i < N; ++i) setOutput(outputs[i], std::move(values[i]));
}

std::vector<GrayFeature> featuresNamed(const HTuple& names, const char* op, int n) {
  std::vector<GrayFeature> features;
  for (Hlong i = 0; i < names.Length(); ++i) {
    if (names[i].Type() != eElementTypeString) fail(op, 1200 + n);
    GrayFeature feature;
    if (!grayFeatureNamed(names[i].S().str(), &feature)) fail(op, 1300 + n);
    features.push_back(feature);
  }
  return features;
}

}  // namespace

void AreaCenterGray(const HObject& Regions, const HObject& Image, HTuple* Area, HTuple* Row,
                    HTuple* Column) {
  ApiScope scope("AreaCenterGray");
  HTuple* const outputs[] = {Area, Row, Column};
  measureEach(Regions, Image, "area_center_gray", outputs,
              [](const Runs&, const GrayImage&, GrayFeatureSet& f, double* r) {
                r[0] = f(GrayFeature::Area);
                r[1] = f(GrayFeature::Row);
                r[2] = f(GrayFeature::Column);
              });
}

void EllipticAxisGray(const HObject& Regions, const HObject& Image, HTuple* Ra, HTuple* Rb,
                      HTuple* Phi) {
  ApiScope scope("EllipticAxisGray");
  HTuple* const outputs[] = {Ra, Rb, Phi};
  measureEach(Regions, Image, "elliptic_axis_gray", outputs,
              [](const Runs&, const GrayImage&, GrayFeatureSet& f, double* r) {
                r[0] = f(GrayFeature::Ra);
                r[1] = f(GrayFeature::Rb);
                r[2] = f(GrayFeature::Phi);
              });
}

void MomentsGrayPlane(const HObject& Regions, const HObject& Image, HTuple* MRow, HTuple* MCol,
                      HTuple* Alpha, HTuple* Beta, HTuple* Mean) {
  ApiScope scope("MomentsGrayPlane");
  HTuple* const outputs[] = {MRow, MCol, Alpha, Beta, Mean};
  measureEach(Regions, Image, "moments_gray_plane", outputs,
              [](const Runs&, const GrayImage&, GrayFeatureSet& f, double* r) {
                r[0] = f(GrayFeature::MomentsRow);
                r[1] = f(GrayFeature::MomentsColumn);
                r[2] = f(GrayFeature::Alpha);
                r[3] = f(GrayFeature::Beta);
                r[4] = f(GrayFeature::Mean);
              });
}

void PlaneDeviation(const HObject& Regions, const HObject& Image, HTuple* Deviation) {
  ApiScope scope("PlaneDeviation");
  HTuple* const outputs[] = {Deviation};
  measureEach(Regions, Image, "plane_deviation", outputs,
              [](const Runs&, const GrayImage&, GrayFeatureSet& f, double* r) {
                r[0] = f(GrayFeature::PlaneDeviation);
              });
}

void EntropyGray(const HObject& Regions, const HObject& Image, HTuple* Entropy,
                 HTuple* Anisotropy) {
  ApiScope scope("EntropyGray");
  HTuple* const outputs[] = {Entropy, Anisotropy};
  measureEach(Regions, Image, "entropy_gray", outputs,
              [](const Runs&, const GrayImage&, GrayFeatureSet& f, double* r) {
                r[0] = f(GrayFeature::Entropy);
                r[1] = f(GrayFeature::Anisotropy);
              });
}

void FuzzyEntropy(const HObject& Regions, const HObject& Image, const HTuple& Apar,
                  const HTuple& Cpar, HTuple* Entropy) {
  ApiScope scope("FuzzyEntropy");
  const char* op = "fuzzy_entropy";
  const Hlong a = oneInteger(Apar, op, 1), c = oneInteger(Cpar, op, 2);
  if (a < 0 || a > 255) fail(op, 1301);
  if (c < 0 || c > 255 || c <= a) fail(op, 1302);
  HTuple* const outputs[] = {Entropy};
  measureEach(Regions, Image, op, outputs,
              [&](const Runs& region, const GrayImage& image, GrayFeatureSet&, double* r) {
                r[0] = fuzzyEntropyOf(grayStatsOf(region, image), double(a), double(c));
              });
}

void GrayFeatures(const HObject& Regions, const HObject& Image, const HTuple& Features,
                  HTuple* Value) {
  ApiScope scope("GrayFeatures");
  const char* op = "gray_features";
  const std::vector<GrayFeature> features = featuresNamed(Features, op, 1);
  const GrayImage image = grayImageOf(Image, op, 2);
  HTuple values;
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    GrayFeatureSet set(region, image);
    for (const GrayFeature feature : features) values.Append(HTuple(set(feature)));
  }
  setOutput(Value, std::move(values));
}

void SelectGray(const HObject& Regions, const HObject& Image, HObject* SelectedRegions,
                const HTuple& Features, const HTuple& Operation, const HTuple& Min,
                const HTuple& Max) {
  ApiScope scope("SelectGray");
  const char* op = "select_gray";
  const Hlong count = Features.Length();
  if (count < 1) fail(op, 1401);
  const std::vector<GrayFeature> features = featuresNamed(Features, op, 1);
  const FeatureRanges ranges(count, Operation, Min, Max, op);
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  const GrayImage image = grayImageOf(Image, op, 2);
  const std::vector<HObject::Item> items = Regions.Items();
  std::vector<HObject::Item> selected;
  for (std::size_t r = 0; r < regions.size(); ++r) {
    const Runs clipped = intersectRuns(*regions[r], *image.image->domain);
    GrayFeatureSet set(clipped, image);
    if (ranges.keeps([&](std::size_t f) { return set(features[f]); })) {
      selected.push_back(items[r]);
    }
  }
  setOutput(SelectedRegions, objectOf(selected));
}

void GrayHistoAbs(const HObject& Regions, const HObject& Image, const HTuple& Quantization,
                  HTuple* AbsoluteHisto) {
  ApiScope scope("GrayHistoAbs");
  const char* op = "gray_histo_abs";
  const double q = oneNumber(Quantization, op, 1);
  if (!(q >= 1)) fail(op, 1301);
  const GrayImage image = grayImageOf(Image, op, 2);
  if (objectCount(Regions, op, 1) > 1) fail(op, 1501);
  const std::vector<Runs> regions = measuredRegions(Regions, image, op, 1);
  HTuple absolute;
  if (!regions.empty()) {
    // Bin i holds the grey values g with floor(g / q) = i, over the byte range 0 ... 255.
    const GrayStats s = grayStatsOf(regions[0], image);
    std::vector<Hlong> bins(static_cast<std::size_t>(std::ceil(256 / q)), 0);
    for (std::size_t g = 0; g < s.histogram.size(); ++g) {
      bins[static_cast<std::size_t>(std::floor(double(g) / q))] +=
          static_cast<Hlong>(s.histogram[g]);
    }
    for (const Hlong count : bins) absolute.Append(HTuple(count));
  }
  setOutput(AbsoluteHisto, std::move(absolute));
}

}  // namespace HalconCpp
