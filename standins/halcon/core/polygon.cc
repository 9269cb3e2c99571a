#include "core/polygon.h"

#include "core/empty_results.h"
#include "core/params.h"

namespace HalconCpp {
namespace Standin {

std::vector<const PolygonObject*> polygonsOf(const HObject& object, const char* op, int n) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<const PolygonObject*> polygons;
  for (const HObject::Item& item : object.Items()) {
    const auto* polygon = dynamic_cast<const PolygonObject*>(item.get());
    if (!polygon) fail(op, 1100 + n);
    polygons.push_back(polygon);
  }
  return polygons;
}

ContourPtr contourOfPolygon(const PolygonObject& polygon) {
  return makeContour(polygon.rows, polygon.cols);
}

std::vector<std::shared_ptr<const ContourObject>> polylinesOf(const HObject& object, const char* op,
                                                              int n) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<std::shared_ptr<const ContourObject>> lines;
  for (const HObject::Item& item : object.Items()) {
    if (auto contour = std::dynamic_pointer_cast<const ContourObject>(item)) {
      lines.push_back(std::move(contour));
    } else if (const auto* polygon = dynamic_cast<const PolygonObject*>(item.get())) {
      lines.push_back(contourOfPolygon(*polygon));
    } else {
      fail(op, 1100 + n);
    }
  }
  return lines;
}

}  // namespace Standin
}  // namespace HalconCpp
