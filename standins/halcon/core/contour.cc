// Contours from points.
#include <memory>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void GenContourPolygonXld(HObject* Contour, const HTuple& Row, const HTuple& Col) {
  ApiScope scope("GenContourPolygonXld");
  const char* op = "gen_contour_polygon_xld";
  requireLength(Col, Row.Length(), op, 2);
  auto contour = std::make_shared<ContourObject>();
  for (Hlong i = 0; i < Row.Length(); ++i) {
    contour->rows.push_back(numberAt(Row, i, op, 1));
    contour->cols.push_back(numberAt(Col, i, op, 2));
  }
  setOutput(Contour, objectOf({contour}));
}

}  // namespace HalconCpp
