// Contour objects and the operator that makes one from points.
#include "core/contour.h"

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

const std::vector<double>* ContourObject::attrib(const std::string& name) const {
  for (const auto& entry : attribs) {
    if (entry.first == name) return &entry.second;
  }
  return nullptr;
}

bool ContourObject::closed() const {
  const std::size_t n = rows.size();
  return n > 2 && rows.front() == rows.back() && cols.front() == cols.back();
}

ContourPtr makeContour(std::vector<double> rows, std::vector<double> cols) {
  auto contour = std::make_shared<ContourObject>();
  contour->rows = std::move(rows);
  contour->cols = std::move(cols);
  return contour;
}

std::vector<const ContourObject*> contoursOf(const HObject& object, const char* op, int n) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<const ContourObject*> contours;
  for (const HObject::Item& item : object.Items()) {
    const auto* contour = dynamic_cast<const ContourObject*>(item.get());
    if (!contour) fail(op, 1100 + n);
    contours.push_back(contour);
  }
  return contours;
}

}  // namespace Standin

using namespace Standin;

void GenContourPolygonXld(HObject* Contour, const HTuple& Row, const HTuple& Col) {
  ApiScope scope("GenContourPolygonXld");
  const char* op = "gen_contour_polygon_xld";
  requireLength(Col, Row.Length(), op, 2);
  std::vector<double> rows, cols;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    rows.push_back(numberAt(Row, i, op, 1));
    cols.push_back(numberAt(Col, i, op, 2));
  }
  setOutput(Contour, objectOf({makeContour(std::move(rows), std::move(cols))}));
}

}  // namespace HalconCpp
