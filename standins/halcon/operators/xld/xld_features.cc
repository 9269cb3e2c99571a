// The points, attributes and shape features of contours, and the selection by them.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/feature_ranges.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "operators/xld/xld_shape.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const ContourObject& oneContour(const HObject& object, const char* op) {
  if (objectCount(object, op, 1) != 1) fail(op, 1501);
  return *contoursOf(object, op, 1).front();
}

HTuple realsOf(const std::vector<double>& values) {
  HTuple tuple;
  for (double v : values) tuple.Append(HTuple(v));
  return tuple;
}

struct Bounds {
  double row1 = 0, col1 = 0, row2 = 0, col2 = 0;
};

// The enclosing axis-parallel box; a contour without points gives zeros.
Bounds boundsOf(const ContourObject& contour) {
  Bounds b;
  if (contour.size() == 0) return b;
  b.row1 = *std::min_element(contour.rows.begin(), contour.rows.end());
  b.row2 = *std::max_element(contour.rows.begin(), contour.rows.end());
  b.col1 = *std::min_element(contour.cols.begin(), contour.cols.end());
  b.col2 = *std::max_element(contour.cols.begin(), contour.cols.end());
  return b;
}

// The features select_shape_xld knows, each as the operator that measures it defines it: the
// shape factors are those of circularity_xld, convexity_xld, elliptic_axis_xld, ...
bool featureOf(const ContourObject& contour, const std::string& name, double* value) {
  if (name == "contlength") {
    *value = polylineLength(contour);
  } else if (name == "area" || name == "row" || name == "column") {
    const AreaCenter a = areaCenterOf(contour);
    *value = name == "area" ? a.area : name == "row" ? a.row : a.col;
  } else if (name == "row1" || name == "column1" || name == "row2" || name == "column2" ||
             name == "width" || name == "height") {
    const Bounds b = boundsOf(contour);
    *value = name == "row1"      ? b.row1
             : name == "column1" ? b.col1
             : name == "row2"    ? b.row2
             : name == "column2" ? b.col2
             : name == "width"   ? b.col2 - b.col1
                                 : b.row2 - b.row1;
  } else if (name == "circularity") {
    *value = circularityOf(contour);
  } else if (name == "compactness") {
    *value = compactnessOf(contour);
  } else if (name == "convexity") {
    *value = convexityOf(contour);
  } else if (name == "rectangularity") {
    *value = rectangularityOf(contour);
  } else if (name == "ra" || name == "rb" || name == "phi") {
    const Ellipse e = ellipseOf(polygonMoments(contour));
    *value = name == "ra" ? e.ra : name == "rb" ? e.rb : e.phi;
  } else if (name == "anisometry" || name == "bulkiness" || name == "struct_factor") {
    const Eccentricity e = eccentricityOf(contour);
    *value = name == "anisometry"  ? e.anisometry
             : name == "bulkiness" ? e.bulkiness
                                   : e.structureFactor;
  } else if (name == "orientation") {
    *value = orientationOf(contour);
  } else if (name == "outer_radius") {
    *value = enclosingCircle(convexHullOf(pointsOf(contour))).radius;
  } else if (name == "max_diameter") {
    *value = diameterOf(contour).length;
  } else if (name == "rect2_phi" || name == "rect2_len1" || name == "rect2_len2") {
    const Rectangle2 r = pointsRectangle2(contour.rows, contour.cols);
    *value = name == "rect2_phi" ? r.phi : name == "rect2_len1" ? r.length1 : r.length2;
  } else {
    return false;
  }
  return true;
}

}  // namespace

void GetContourXld(const HObject& Contour, HTuple* Row, HTuple* Col) {
  ApiScope scope("GetContourXld");
  const ContourObject& contour = oneContour(Contour, "get_contour_xld");
  setOutput(Row, realsOf(contour.rows));
  setOutput(Col, realsOf(contour.cols));
}

void ContourPointNumXld(const HObject& Contour, HTuple* Length) {
  ApiScope scope("ContourPointNumXld");
  HTuple counts;
  for (const ContourObject* contour : contoursOf(Contour, "contour_point_num_xld", 1)) {
    counts.Append(HTuple(static_cast<Hlong>(contour->size())));
  }
  setOutput(Length, counts);
}

void GetContourAttribXld(const HObject& Contour, const HTuple& Name, HTuple* Attrib) {
  ApiScope scope("GetContourAttribXld");
  const char* op = "get_contour_attrib_xld";
  const ContourObject& contour = oneContour(Contour, op);
  const std::vector<double>* values = contour.attrib(oneString(Name, op, 1));
  if (!values) fail(op, 1301);
  setOutput(Attrib, realsOf(*values));
}

void QueryContourAttribsXld(const HObject& Contour, HTuple* Attribs) {
  ApiScope scope("QueryContourAttribsXld");
  const ContourObject& contour = oneContour(Contour, "query_contour_attribs_xld");
  HTuple names;
  for (const auto& entry : contour.attribs) names.Append(HTuple(entry.first.c_str()));
  setOutput(Attribs, names);
}

void TestClosedXld(const HObject& XLD, HTuple* IsClosed) {
  ApiScope scope("TestClosedXld");
  HTuple closed;
  for (const ContourObject* contour : contoursOf(XLD, "test_closed_xld", 1)) {
    closed.Append(HTuple(static_cast<Hlong>(contour->closed() ? 1 : 0)));
  }
  setOutput(IsClosed, closed);
}

void LengthXld(const HObject& XLD, HTuple* Length) {
  ApiScope scope("LengthXld");
  HTuple lengths;
  for (const ContourObject* contour : contoursOf(XLD, "length_xld", 1)) {
    lengths.Append(HTuple(polylineLength(*contour)));
  }
  setOutput(Length, lengths);
}

void AreaCenterXld(const HObject& XLD, HTuple* Area, HTuple* Row, HTuple* Column,
                   HTuple* PointOrder) {
  ApiScope scope("AreaCenterXld");
  HTuple areas, rows, cols, orders;
  for (const ContourObject* contour : contoursOf(XLD, "area_center_xld", 1)) {
    const AreaCenter a = areaCenterOf(*contour);
    areas.Append(HTuple(a.area));
    rows.Append(HTuple(a.row));
    cols.Append(HTuple(a.col));
    orders.Append(HTuple(a.positive ? "positive" : "negative"));
  }
  setOutput(Area, areas);
  setOutput(Row, rows);
  setOutput(Column, cols);
  setOutput(PointOrder, orders);
}

void SmallestRectangle1Xld(const HObject& XLD, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                           HTuple* Column2) {
  ApiScope scope("SmallestRectangle1Xld");
  HTuple r1, c1, r2, c2;
  for (const ContourObject* contour : contoursOf(XLD, "smallest_rectangle1_xld", 1)) {
    const Bounds b = boundsOf(*contour);
    r1.Append(HTuple(b.row1)), c1.Append(HTuple(b.col1));
    r2.Append(HTuple(b.row2)), c2.Append(HTuple(b.col2));
  }
  setOutput(Row1, r1), setOutput(Column1, c1), setOutput(Row2, r2), setOutput(Column2, c2);
}

void SmallestRectangle2Xld(const HObject& XLD, HTuple* Row, HTuple* Column, HTuple* Phi,
                           HTuple* Length1, HTuple* Length2) {
  ApiScope scope("SmallestRectangle2Xld");
  HTuple rows, cols, phis, len1, len2;
  for (const ContourObject* contour : contoursOf(XLD, "smallest_rectangle2_xld", 1)) {
    const Rectangle2 r = pointsRectangle2(contour->rows, contour->cols);
    rows.Append(HTuple(r.row)), cols.Append(HTuple(r.col)), phis.Append(HTuple(r.phi));
    len1.Append(HTuple(r.length1)), len2.Append(HTuple(r.length2));
  }
  setOutput(Row, rows), setOutput(Column, cols), setOutput(Phi, phis);
  setOutput(Length1, len1), setOutput(Length2, len2);
}

void SelectShapeXld(const HObject& XLD, HObject* SelectedXLD, const HTuple& Features,
                    const HTuple& Operation, const HTuple& Min, const HTuple& Max) {
  ApiScope scope("SelectShapeXld");
  const char* op = "select_shape_xld";
  const Hlong count = Features.Length();
  if (count < 1) fail(op, 1401);
  std::vector<std::string> features;
  for (Hlong i = 0; i < count; ++i) {
    if (Features[i].Type() != eElementTypeString) fail(op, 1201);
    double probe;
    const ContourObject none;
    features.push_back(Features[i].S().str());
    if (!featureOf(none, features.back(), &probe)) fail(op, 1301);
  }
  const FeatureRanges ranges(count, Operation, Min, Max, op);
  const std::vector<const ContourObject*> contours = contoursOf(XLD, op, 1);
  std::vector<HObject::Item> selected;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    const auto valueOf = [&](std::size_t f) {
      double value = 0;
      featureOf(*contours[c], features[f], &value);
      return value;
    };
    if (ranges.keeps(valueOf)) selected.push_back(XLD.Items()[c]);
  }
  setOutput(SelectedXLD, objectOf(selected));
}

}  // namespace HalconCpp
