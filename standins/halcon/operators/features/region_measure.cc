// Operators that measure regions: enclosing and inner shapes, the equivalent ellipse and
// every feature by name.
#include <string>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "halconcpp/HOperatorsRegion.h"
#include "operators/features/region_features.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void SmallestRectangle1(const HObject& Regions, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                        HTuple* Column2) {
  ApiScope scope("SmallestRectangle1");
  HTuple rows1, cols1, rows2, cols2;
  for (const Runs* region : measuredRegions(Regions, "smallest_rectangle1")) {
    std::int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    runsBox(*region, &r1, &c1, &r2, &c2);
    rows1.Append(HTuple(static_cast<Hlong>(r1)));
    cols1.Append(HTuple(static_cast<Hlong>(c1)));
    rows2.Append(HTuple(static_cast<Hlong>(r2)));
    cols2.Append(HTuple(static_cast<Hlong>(c2)));
  }
  setOutput(Row1, std::move(rows1));
  setOutput(Column1, std::move(cols1));
  setOutput(Row2, std::move(rows2));
  setOutput(Column2, std::move(cols2));
}

void SmallestRectangle2(const HObject& Regions, HTuple* Row, HTuple* Column, HTuple* Phi,
                        HTuple* Length1, HTuple* Length2) {
  ApiScope scope("SmallestRectangle2");
  HTuple rows, cols, phis, lengths1, lengths2;
  for (const Runs* region : measuredRegions(Regions, "smallest_rectangle2")) {
    const Rectangle2 r = smallestRectangle2(*region);
    rows.Append(HTuple(r.row));
    cols.Append(HTuple(r.col));
    phis.Append(HTuple(r.phi));
    lengths1.Append(HTuple(r.length1));
    lengths2.Append(HTuple(r.length2));
  }
  setOutput(Row, std::move(rows));
  setOutput(Column, std::move(cols));
  setOutput(Phi, std::move(phis));
  setOutput(Length1, std::move(lengths1));
  setOutput(Length2, std::move(lengths2));
}

namespace {

template <typename Fit>
void circles(const HObject& Regions, const char* op, Fit&& fit, HTuple* Row, HTuple* Column,
             HTuple* Radius) {
  HTuple rows, cols, radii;
  for (const Runs* region : measuredRegions(Regions, op)) {
    const Circle c = fit(*region);
    rows.Append(HTuple(c.row));
    cols.Append(HTuple(c.col));
    radii.Append(HTuple(c.radius));
  }
  setOutput(Row, std::move(rows));
  setOutput(Column, std::move(cols));
  setOutput(Radius, std::move(radii));
}

}  // namespace

void SmallestCircle(const HObject& Regions, HTuple* Row, HTuple* Column, HTuple* Radius) {
  ApiScope scope("SmallestCircle");
  circles(Regions, "smallest_circle", smallestCircle, Row, Column, Radius);
}

void InnerCircle(const HObject& Regions, HTuple* Row, HTuple* Column, HTuple* Radius) {
  ApiScope scope("InnerCircle");
  circles(Regions, "inner_circle", innerCircle, Row, Column, Radius);
}

void EllipticAxis(const HObject& Regions, HTuple* Ra, HTuple* Rb, HTuple* Phi) {
  ApiScope scope("EllipticAxis");
  HTuple ras, rbs, phis;
  for (const Runs* region : measuredRegions(Regions, "elliptic_axis")) {
    const Ellipse e = ellipseOf(momentsOf(*region));
    ras.Append(HTuple(e.ra));
    rbs.Append(HTuple(e.rb));
    phis.Append(HTuple(e.phi));
  }
  setOutput(Ra, std::move(ras));
  setOutput(Rb, std::move(rbs));
  setOutput(Phi, std::move(phis));
}

void OrientationRegion(const HObject& Regions, HTuple* Phi) {
  ApiScope scope("OrientationRegion");
  HTuple phis;
  for (const Runs* region : measuredRegions(Regions, "orientation_region")) {
    phis.Append(HTuple(region->empty() ? 0.0 : orientationOf(*region, momentsOf(*region))));
  }
  setOutput(Phi, std::move(phis));
}

void Roundness(const HObject& Regions, HTuple* Distance, HTuple* Sigma, HTuple* Roundness,
               HTuple* Sides) {
  ApiScope scope("Roundness");
  HTuple distances, sigmas, roundnesses, sides;
  for (const Runs* region : measuredRegions(Regions, "roundness")) {
    distances.Append(HTuple(featureOf(*region, Feature::DistMean)));
    sigmas.Append(HTuple(featureOf(*region, Feature::DistDeviation)));
    roundnesses.Append(HTuple(featureOf(*region, Feature::Roundness)));
    sides.Append(HTuple(featureOf(*region, Feature::NumSides)));
  }
  setOutput(Distance, std::move(distances));
  setOutput(Sigma, std::move(sigmas));
  setOutput(Roundness, std::move(roundnesses));
  setOutput(Sides, std::move(sides));
}

void RegionFeatures(const HObject& Regions, const HTuple& Features, HTuple* Value) {
  ApiScope scope("RegionFeatures");
  const char* op = "region_features";
  std::vector<Feature> features;
  for (Hlong i = 0; i < Features.Length(); ++i) {
    if (Features[i].Type() != eElementTypeString) fail(op, 1201);
    Feature feature;
    if (!featureNamed(Features[i].S().str(), &feature)) fail(op, 1301);
    features.push_back(feature);
  }
  HTuple values;
  for (const Runs* region : measuredRegions(Regions, op)) {
    for (const Feature feature : features) values.Append(HTuple(featureOf(*region, feature)));
  }
  setOutput(Value, std::move(values));
}

}  // namespace HalconCpp
