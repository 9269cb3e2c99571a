// One shape feature of each region, by the operator that has the feature's name. Each
// gives the value region_features gives for the same name, so that both always agree.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/region_features.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Each output the feature beside it, one value per region; integers where the operator's
// output is an integer.
struct Output {
  HTuple* tuple;
  Feature feature;
  bool integer;
};

void measure(const HObject& regions, const char* op, std::initializer_list<Output> outputs) {
  std::vector<HTuple> values(outputs.size());
  for (const Runs* region : measuredRegions(regions, op)) {
    std::size_t i = 0;
    for (const Output& out : outputs) {
      const double value = featureOf(*region, out.feature);
      values[i++].Append(out.integer ? HTuple(static_cast<Hlong>(std::llround(value)))
                                     : HTuple(value));
    }
  }
  std::size_t i = 0;
  for (const Output& out : outputs) setOutput(out.tuple, std::move(values[i++]));
}

}  // namespace

void Circularity(const HObject& Regions, HTuple* Circularity) {
  ApiScope scope("Circularity");
  measure(Regions, "circularity", {{Circularity, Feature::Circularity, false}});
}

void Compactness(const HObject& Regions, HTuple* Compactness) {
  ApiScope scope("Compactness");
  measure(Regions, "compactness", {{Compactness, Feature::Compactness, false}});
}

void Convexity(const HObject& Regions, HTuple* Convexity) {
  ApiScope scope("Convexity");
  measure(Regions, "convexity", {{Convexity, Feature::Convexity, false}});
}

void Rectangularity(const HObject& Regions, HTuple* Rectangularity) {
  ApiScope scope("Rectangularity");
  measure(Regions, "rectangularity", {{Rectangularity, Feature::Rectangularity, false}});
}

void Contlength(const HObject& Regions, HTuple* ContLength) {
  ApiScope scope("Contlength");
  measure(Regions, "contlength", {{ContLength, Feature::Contlength, false}});
}

void Eccentricity(const HObject& Regions, HTuple* Anisometry, HTuple* Bulkiness,
                  HTuple* StructureFactor) {
  ApiScope scope("Eccentricity");
  measure(Regions, "eccentricity",
          {{Anisometry, Feature::Anisometry, false},
           {Bulkiness, Feature::Bulkiness, false},
           {StructureFactor, Feature::StructFactor, false}});
}

void EulerNumber(const HObject& Regions, HTuple* EulerNumber) {
  ApiScope scope("EulerNumber");
  measure(Regions, "euler_number", {{EulerNumber, Feature::EulerNumber, true}});
}

void ConnectAndHoles(const HObject& Regions, HTuple* NumConnected, HTuple* NumHoles) {
  ApiScope scope("ConnectAndHoles");
  measure(Regions, "connect_and_holes",
          {{NumConnected, Feature::ConnectNum, true}, {NumHoles, Feature::HolesNum, true}});
}

void AreaHoles(const HObject& Regions, HTuple* Area) {
  ApiScope scope("AreaHoles");
  measure(Regions, "area_holes", {{Area, Feature::AreaHoles, true}});
}

// The two pixels farthest apart are corners of the convex hull of the pixel centres; of
// equally distant pairs the first found in the hull's order, as a scan would keep it.
void DiameterRegion(const HObject& Regions, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                    HTuple* Column2, HTuple* Diameter) {
  ApiScope scope("DiameterRegion");
  HTuple rows1, cols1, rows2, cols2, diameters;
  for (const Runs* region : measuredRegions(Regions, "diameter_region")) {
    const std::vector<Point> hull = convexHull(*region);
    Point a{0, 0}, b{0, 0};
    double best = -1;
    for (std::size_t i = 0; i < hull.size(); ++i) {
      for (std::size_t j = i; j < hull.size(); ++j) {
        const double d = std::hypot(hull[i].row - hull[j].row, hull[i].col - hull[j].col);
        if (d > best) best = d, a = hull[i], b = hull[j];
      }
    }
    // Reported top pixel first, as the vendor's examples show the pair.
    if (b.row < a.row || (b.row == a.row && b.col < a.col)) std::swap(a, b);
    rows1.Append(HTuple(static_cast<Hlong>(std::lround(a.row))));
    cols1.Append(HTuple(static_cast<Hlong>(std::lround(a.col))));
    rows2.Append(HTuple(static_cast<Hlong>(std::lround(b.row))));
    cols2.Append(HTuple(static_cast<Hlong>(std::lround(b.col))));
    diameters.Append(HTuple(best < 0 ? 0.0 : best));
  }
  setOutput(Row1, std::move(rows1));
  setOutput(Column1, std::move(cols1));
  setOutput(Row2, std::move(rows2));
  setOutput(Column2, std::move(cols2));
  setOutput(Diameter, std::move(diameters));
}

}  // namespace HalconCpp
