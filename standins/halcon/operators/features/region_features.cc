#include "operators/features/region_features.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numbers.h"
#include "core/region_geometry.h"
#include "core/run_sets.h"
#include "operators/features/region_moments.h"

namespace HalconCpp {
namespace Standin {

namespace {

const std::pair<const char*, Feature> kFeatureNames[] = {
    {"area", Feature::Area},
    {"row", Feature::Row},
    {"column", Feature::Column},
    {"width", Feature::Width},
    {"height", Feature::Height},
    {"ratio", Feature::Ratio},
    {"row1", Feature::Row1},
    {"column1", Feature::Column1},
    {"row2", Feature::Row2},
    {"column2", Feature::Column2},
    {"circularity", Feature::Circularity},
    {"compactness", Feature::Compactness},
    {"contlength", Feature::Contlength},
    {"convexity", Feature::Convexity},
    {"rectangularity", Feature::Rectangularity},
    {"ra", Feature::Ra},
    {"rb", Feature::Rb},
    {"phi", Feature::Phi},
    {"anisometry", Feature::Anisometry},
    {"bulkiness", Feature::Bulkiness},
    {"struct_factor", Feature::StructFactor},
    {"outer_radius", Feature::OuterRadius},
    {"inner_radius", Feature::InnerRadius},
    {"inner_width", Feature::InnerWidth},
    {"inner_height", Feature::InnerHeight},
    {"dist_mean", Feature::DistMean},
    {"dist_deviation", Feature::DistDeviation},
    {"roundness", Feature::Roundness},
    {"connect_num", Feature::ConnectNum},
    {"holes_num", Feature::HolesNum},
    {"area_holes", Feature::AreaHoles},
    {"euler_number", Feature::EulerNumber},
    {"max_diameter", Feature::MaxDiameter},
    {"orientation", Feature::Orientation},
    {"rect2_phi", Feature::Rect2Phi},
    {"rect2_len1", Feature::Rect2Len1},
    {"rect2_len2", Feature::Rect2Len2},
    {"moments_m11", Feature::MomentsM11},
    {"moments_m20", Feature::MomentsM20},
    {"moments_m02", Feature::MomentsM02},
    {"moments_ia", Feature::MomentsIa},
    {"moments_ib", Feature::MomentsIb},
    {"moments_m11_invar", Feature::MomentsM11Invar},
    {"moments_m20_invar", Feature::MomentsM20Invar},
    {"moments_m02_invar", Feature::MomentsM02Invar},
    {"moments_phi1", Feature::MomentsPhi1},
    {"moments_phi2", Feature::MomentsPhi2},
    {"moments_m21", Feature::MomentsM21},
    {"moments_m12", Feature::MomentsM12},
    {"moments_m03", Feature::MomentsM03},
    {"moments_m30", Feature::MomentsM30},
    {"moments_m21_invar", Feature::MomentsM21Invar},
    {"moments_m12_invar", Feature::MomentsM12Invar},
    {"moments_m03_invar", Feature::MomentsM03Invar},
    {"moments_m30_invar", Feature::MomentsM30Invar},
    {"moments_i1", Feature::MomentsI1},
    {"moments_i2", Feature::MomentsI2},
    {"moments_i3", Feature::MomentsI3},
    {"moments_i4", Feature::MomentsI4},
    {"moments_psi1", Feature::MomentsPsi1},
    {"moments_psi2", Feature::MomentsPsi2},
    {"moments_psi3", Feature::MomentsPsi3},
    {"moments_psi4", Feature::MomentsPsi4},
    {"num_sides", Feature::NumSides},
};

double farthestFromCentre(const Runs& runs, const Moments& m) {
  double best = 0;
  for (const Run& run : runs) {
    for (const std::int32_t col : {run.begin, run.end}) {
      best = std::max(best, std::hypot(run.row - m.row, col - m.col));
    }
  }
  return best;
}

// Mean and deviation of the border pixels' distances to the centre.
std::pair<double, double> borderDistances(const Runs& runs, const Moments& m) {
  const std::vector<Point> border = contourPoints(runs);
  if (border.empty()) return {0, 0};
  double sum = 0;
  for (const Point& p : border) sum += std::hypot(p.row - m.row, p.col - m.col);
  const double mean = sum / static_cast<double>(border.size());
  double spread = 0;
  for (const Point& p : border) {
    const double d = std::hypot(p.row - m.row, p.col - m.col) - mean;
    spread += d * d;
  }
  return {mean, std::sqrt(spread / static_cast<double>(border.size()))};
}

// 1 minus the pixels by which the region and the rectangle of its moments differ, per pixel
// of that rectangle.
double rectangularityOf(const Runs& runs, const Moments& m) {
  const double root = std::sqrt((m.m20 - m.m02) * (m.m20 - m.m02) + 4 * m.m11 * m.m11);
  const double major = (m.m20 + m.m02 + root) / 2,
               minor = std::max(0.0, (m.m20 + m.m02 - root) / 2);
  // A run of n pixels has the variance (n^2 - 1) / 12: three times it is the half length
  // that reaches its end pixels' centres.
  const Runs rectangle =
      rectangle2Runs(m.row, m.col, ellipseOf(m).phi, std::sqrt(3 * major), std::sqrt(3 * minor));
  const double rectangleArea = static_cast<double>(runsArea(rectangle));
  if (rectangleArea == 0) return 0;
  const double differing = static_cast<double>(runsArea(subtractRuns(runs, rectangle)) +
                                               runsArea(subtractRuns(rectangle, runs)));
  return std::max(0.0, 1 - differing / rectangleArea);
}

}  // namespace

bool featureNamed(const std::string& name, Feature* feature) {
  for (const auto& [known, value] : kFeatureNames) {
    if (name == known) {
      *feature = value;
      return true;
    }
  }
  return false;
}

double featureOf(const Runs& runs, Feature feature) {
  if (runs.empty()) return 0;
  if (feature >= Feature::MomentsM11 && feature <= Feature::MomentsPsi4) {
    const int offset = static_cast<int>(feature) - static_cast<int>(Feature::MomentsM11);
    return momentOf(centralMomentsOf(runs), static_cast<Moment>(offset));
  }
  std::int32_t row1, col1, row2, col2;
  runsBox(runs, &row1, &col1, &row2, &col2);
  const auto area = [&] { return static_cast<double>(runsArea(runs)); };
  switch (feature) {
    case Feature::Area:
      return area();
    case Feature::Row:
      return momentsOf(runs).row;
    case Feature::Column:
      return momentsOf(runs).col;
    case Feature::Width:
      return col2 - col1 + 1;
    case Feature::Height:
      return row2 - row1 + 1;
    case Feature::Ratio:
      return static_cast<double>(row2 - row1 + 1) / (col2 - col1 + 1);
    case Feature::Row1:
      return row1;
    case Feature::Column1:
      return col1;
    case Feature::Row2:
      return row2;
    case Feature::Column2:
      return col2;
    case Feature::Circularity: {
      const Moments m = momentsOf(runs);
      const double far = farthestFromCentre(runs, m);
      return far == 0 ? 1.0 : std::min(1.0, m.area / (far * far * kPi));
    }
    case Feature::Compactness: {
      const double length = contourLength(runs);
      return std::max(1.0, length * length / (4 * area() * kPi));
    }
    case Feature::Contlength:
      return contourLength(runs);
    case Feature::Convexity:
      return area() / static_cast<double>(runsArea(convexPolygonRuns(convexHull(runs))));
    case Feature::Rectangularity:
      return rectangularityOf(runs, momentsOf(runs));
    case Feature::Ra:
      return ellipseOf(momentsOf(runs)).ra;
    case Feature::Rb:
      return ellipseOf(momentsOf(runs)).rb;
    case Feature::Phi:
      return ellipseOf(momentsOf(runs)).phi;
    case Feature::Anisometry:
    case Feature::Bulkiness:
    case Feature::StructFactor: {
      const Moments m = momentsOf(runs);
      const Ellipse e = ellipseOf(m);
      const double anisometry = e.rb == 0 ? 0 : e.ra / e.rb;
      const double bulkiness = kPi * e.ra * e.rb / m.area;
      if (feature == Feature::Anisometry) return anisometry;
      if (feature == Feature::Bulkiness) return bulkiness;
      return anisometry * bulkiness - 1;
    }
    case Feature::OuterRadius:
      return smallestCircle(runs).radius;
    case Feature::InnerRadius:
      return innerCircle(runs).radius;
    case Feature::InnerWidth: {
      const Box b = innerRectangle(runs);
      return b.col2 - b.col1 + 1;
    }
    case Feature::InnerHeight: {
      const Box b = innerRectangle(runs);
      return b.row2 - b.row1 + 1;
    }
    case Feature::DistMean:
      return borderDistances(runs, momentsOf(runs)).first;
    case Feature::DistDeviation:
      return borderDistances(runs, momentsOf(runs)).second;
    case Feature::Roundness: {
      const auto [mean, deviation] = borderDistances(runs, momentsOf(runs));
      return mean == 0 ? 0 : 1 - deviation / mean;
    }
    case Feature::NumSides: {
      // roundness's Sides, 1.4111 (Distance / Sigma)^0.4724; a region whose border pixels
      // all lie equally far from its centre has Sigma 0 and counts no sides.
      const auto [mean, deviation] = borderDistances(runs, momentsOf(runs));
      return deviation == 0 ? 0 : 1.4111 * std::pow(mean / deviation, 0.4724);
    }
    case Feature::ConnectNum:
      return static_cast<double>(connectedRuns(runs, systemNeighbourhood()).size());
    case Feature::HolesNum:
      return static_cast<double>(holesOf(runs, systemNeighbourhood()).size());
    case Feature::AreaHoles: {
      double holes = 0;
      for (const Runs& hole : holesOf(runs, systemNeighbourhood())) {
        holes += static_cast<double>(runsArea(hole));
      }
      return holes;
    }
    case Feature::EulerNumber: {
      const int neighbourhood = systemNeighbourhood();
      return static_cast<double>(connectedRuns(runs, neighbourhood).size()) -
             static_cast<double>(holesOf(runs, neighbourhood).size());
    }
    case Feature::MaxDiameter:
      return maxDiameter(runs);
    case Feature::Orientation:
      return orientationOf(runs, momentsOf(runs));
    case Feature::Rect2Phi:
      return smallestRectangle2(runs).phi;
    case Feature::Rect2Len1:
      return smallestRectangle2(runs).length1;
    case Feature::Rect2Len2:
      return smallestRectangle2(runs).length2;
    default:
      return 0;
  }
  return 0;
}

}  // namespace Standin
}  // namespace HalconCpp
