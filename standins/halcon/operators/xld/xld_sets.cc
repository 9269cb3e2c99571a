// The XLD Sets chapter: intersection, union, difference and symmetric difference of the
// regions closed contours or polygons enclose (see xld_clip.h for the overlay).
#include <memory>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/polygon.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_clip.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

template <typename Object>
std::vector<Ring> ringsOf(const std::vector<const Object*>& objects) {
  std::vector<Ring> rings;
  for (const Object* object : objects) rings.push_back({&object->rows, &object->cols});
  return rings;
}

// Contours carry whether they bound a hole as the global attribute 'is_hole' (1 or 0).
void combineContours(const HObject& first, const HObject& second, HObject* output,
                     SetOperation operation, const char* op) {
  const std::vector<Ring> a = ringsOf(contoursOf(first, op, 1));
  const std::vector<Ring> b = ringsOf(contoursOf(second, op, 2));
  std::vector<HObject::Item> items;
  for (Boundary& boundary : combineRegions(a, b, operation, op)) {
    ContourPtr contour = makeContour(std::move(boundary.rows), std::move(boundary.cols));
    contour->globalAttribs.emplace_back("is_hole", boundary.hole ? 1.0 : 0.0);
    items.push_back(contour);
  }
  setOutput(output, objectOf(items));
}

// Polygons have no attributes: a hole's boundary is a polygon like any other.
void combinePolygons(const HObject& first, const HObject& second, HObject* output,
                     SetOperation operation, const char* op) {
  const std::vector<Ring> a = ringsOf(polygonsOf(first, op, 1));
  const std::vector<Ring> b = ringsOf(polygonsOf(second, op, 2));
  std::vector<HObject::Item> items;
  for (Boundary& boundary : combineRegions(a, b, operation, op)) {
    auto polygon = std::make_shared<PolygonObject>();
    polygon->rows = std::move(boundary.rows);
    polygon->cols = std::move(boundary.cols);
    items.push_back(polygon);
  }
  setOutput(output, objectOf(items));
}

}  // namespace

void IntersectionClosedContoursXld(const HObject& Contours1, const HObject& Contours2,
                                   HObject* ContoursIntersection) {
  ApiScope scope("IntersectionClosedContoursXld");
  combineContours(Contours1, Contours2, ContoursIntersection, SetOperation::kIntersection,
                  "intersection_closed_contours_xld");
}

void Union2ClosedContoursXld(const HObject& Contours1, const HObject& Contours2,
                             HObject* ContoursUnion) {
  ApiScope scope("Union2ClosedContoursXld");
  combineContours(Contours1, Contours2, ContoursUnion, SetOperation::kUnion,
                  "union2_closed_contours_xld");
}

void DifferenceClosedContoursXld(const HObject& Contours, const HObject& Sub,
                                 HObject* ContoursDifference) {
  ApiScope scope("DifferenceClosedContoursXld");
  combineContours(Contours, Sub, ContoursDifference, SetOperation::kDifference,
                  "difference_closed_contours_xld");
}

void SymmDifferenceClosedContoursXld(const HObject& Contours1, const HObject& Contours2,
                                     HObject* ContoursDifference) {
  ApiScope scope("SymmDifferenceClosedContoursXld");
  combineContours(Contours1, Contours2, ContoursDifference, SetOperation::kSymmetricDifference,
                  "symm_difference_closed_contours_xld");
}

void IntersectionClosedPolygonsXld(const HObject& Polygons1, const HObject& Polygons2,
                                   HObject* PolygonsIntersection) {
  ApiScope scope("IntersectionClosedPolygonsXld");
  combinePolygons(Polygons1, Polygons2, PolygonsIntersection, SetOperation::kIntersection,
                  "intersection_closed_polygons_xld");
}

void Union2ClosedPolygonsXld(const HObject& Polygons1, const HObject& Polygons2,
                             HObject* PolygonsUnion) {
  ApiScope scope("Union2ClosedPolygonsXld");
  combinePolygons(Polygons1, Polygons2, PolygonsUnion, SetOperation::kUnion,
                  "union2_closed_polygons_xld");
}

void DifferenceClosedPolygonsXld(const HObject& Polygons, const HObject& Sub,
                                 HObject* PolygonsDifference) {
  ApiScope scope("DifferenceClosedPolygonsXld");
  combinePolygons(Polygons, Sub, PolygonsDifference, SetOperation::kDifference,
                  "difference_closed_polygons_xld");
}

void SymmDifferenceClosedPolygonsXld(const HObject& Polygons1, const HObject& Polygons2,
                                     HObject* PolygonsDifference) {
  ApiScope scope("SymmDifferenceClosedPolygonsXld");
  combinePolygons(Polygons1, Polygons2, PolygonsDifference, SetOperation::kSymmetricDifference,
                  "symm_difference_closed_polygons_xld");
}

}  // namespace HalconCpp
