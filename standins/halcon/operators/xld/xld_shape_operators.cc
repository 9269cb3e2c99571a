// The XLD shape features as operators: one value (or one set of values) per contour, in the
// contours' order. The polygon operators close each contour from its last point to its first;
// the *_points_xld ones take its points as a cloud.
#include <cmath>
#include <functional>
#include <vector>

#include "core/contour.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "operators/xld/xld_shape.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Each contour's values, one tuple per output.
void measure(const HObject& xld, const char* op, const std::vector<HTuple*>& outputs,
             const std::function<std::vector<double>(const ContourObject&)>& values) {
  std::vector<HTuple> tuples(outputs.size());
  for (const ContourObject* contour : contoursOf(xld, op, 1)) {
    const std::vector<double> v = values(*contour);
    for (std::size_t i = 0; i < tuples.size(); ++i) tuples[i].Append(HTuple(v[i]));
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) setOutput(outputs[i], tuples[i]);
}

std::vector<double> ellipseValues(const Ellipse& e) {
  return {e.ra, e.rb, e.phi};
}

// The operators give the sums, not the moments per unit area.
std::vector<double> momentValues(const Moments& m) {
  return {m.m11 * m.area, m.m20 * m.area, m.m02 * m.area};
}

}  // namespace

void AreaCenterPointsXld(const HObject& XLD, HTuple* Area, HTuple* Row, HTuple* Column) {
  ApiScope scope("AreaCenterPointsXld");
  measure(XLD, "area_center_points_xld", {Area, Row, Column}, [](const ContourObject& c) {
    const Moments m = cloudMoments(c);
    return std::vector<double>{m.area, m.row, m.col};
  });
}

void SmallestCircleXld(const HObject& XLD, HTuple* Row, HTuple* Column, HTuple* Radius) {
  ApiScope scope("SmallestCircleXld");
  measure(XLD, "smallest_circle_xld", {Row, Column, Radius}, [](const ContourObject& c) {
    const Circle circle = enclosingCircle(convexHullOf(pointsOf(c)));
    return std::vector<double>{circle.row, circle.col, circle.radius};
  });
}

void EllipticAxisXld(const HObject& XLD, HTuple* Ra, HTuple* Rb, HTuple* Phi) {
  ApiScope scope("EllipticAxisXld");
  measure(XLD, "elliptic_axis_xld", {Ra, Rb, Phi},
          [](const ContourObject& c) { return ellipseValues(ellipseOf(polygonMoments(c))); });
}

void EllipticAxisPointsXld(const HObject& XLD, HTuple* Ra, HTuple* Rb, HTuple* Phi) {
  ApiScope scope("EllipticAxisPointsXld");
  measure(XLD, "elliptic_axis_points_xld", {Ra, Rb, Phi},
          [](const ContourObject& c) { return ellipseValues(ellipseOf(cloudMoments(c))); });
}

void OrientationXld(const HObject& XLD, HTuple* Phi) {
  ApiScope scope("OrientationXld");
  measure(XLD, "orientation_xld", {Phi},
          [](const ContourObject& c) { return std::vector<double>{orientationOf(c)}; });
}

void OrientationPointsXld(const HObject& XLD, HTuple* Phi) {
  ApiScope scope("OrientationPointsXld");
  measure(XLD, "orientation_points_xld", {Phi},
          [](const ContourObject& c) { return std::vector<double>{cloudOrientationOf(c)}; });
}

void CircularityXld(const HObject& XLD, HTuple* Circularity) {
  ApiScope scope("CircularityXld");
  measure(XLD, "circularity_xld", {Circularity},
          [](const ContourObject& c) { return std::vector<double>{circularityOf(c)}; });
}

void CompactnessXld(const HObject& XLD, HTuple* Compactness) {
  ApiScope scope("CompactnessXld");
  measure(XLD, "compactness_xld", {Compactness},
          [](const ContourObject& c) { return std::vector<double>{compactnessOf(c)}; });
}

void ConvexityXld(const HObject& XLD, HTuple* Convexity) {
  ApiScope scope("ConvexityXld");
  measure(XLD, "convexity_xld", {Convexity},
          [](const ContourObject& c) { return std::vector<double>{convexityOf(c)}; });
}

void RectangularityXld(const HObject& XLD, HTuple* Rectangularity) {
  ApiScope scope("RectangularityXld");
  measure(XLD, "rectangularity_xld", {Rectangularity},
          [](const ContourObject& c) { return std::vector<double>{rectangularityOf(c)}; });
}

void DiameterXld(const HObject& XLD, HTuple* Row1, HTuple* Column1, HTuple* Row2, HTuple* Column2,
                 HTuple* Diameter) {
  ApiScope scope("DiameterXld");
  measure(
      XLD, "diameter_xld", {Row1, Column1, Row2, Column2, Diameter}, [](const ContourObject& c) {
        const Standin::Diameter d = diameterOf(c);
        return std::vector<double>{d.first.row, d.first.col, d.second.row, d.second.col, d.length};
      });
}

void EccentricityXld(const HObject& XLD, HTuple* Anisometry, HTuple* Bulkiness,
                     HTuple* StructureFactor) {
  ApiScope scope("EccentricityXld");
  measure(XLD, "eccentricity_xld", {Anisometry, Bulkiness, StructureFactor},
          [](const ContourObject& c) {
            const Eccentricity e = eccentricityOf(c);
            return std::vector<double>{e.anisometry, e.bulkiness, e.structureFactor};
          });
}

void EccentricityPointsXld(const HObject& XLD, HTuple* Anisometry) {
  ApiScope scope("EccentricityPointsXld");
  measure(XLD, "eccentricity_points_xld", {Anisometry}, [](const ContourObject& c) {
    const Ellipse e = ellipseOf(cloudMoments(c));
    return std::vector<double>{e.rb == 0 ? 0 : e.ra / e.rb};
  });
}

void MomentsXld(const HObject& XLD, HTuple* M11, HTuple* M20, HTuple* M02) {
  ApiScope scope("MomentsXld");
  measure(XLD, "moments_xld", {M11, M20, M02},
          [](const ContourObject& c) { return momentValues(polygonMoments(c)); });
}

void MomentsPointsXld(const HObject& XLD, HTuple* M11, HTuple* M20, HTuple* M02) {
  ApiScope scope("MomentsPointsXld");
  measure(XLD, "moments_points_xld", {M11, M20, M02},
          [](const ContourObject& c) { return momentValues(cloudMoments(c)); });
}

}  // namespace HalconCpp
