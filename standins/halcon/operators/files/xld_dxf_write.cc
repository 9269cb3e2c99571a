// Contours and polygons into DXF files (HALCON 11.0 write_contour_xld_dxf,
// write_polygon_xld_dxf): an AutoCAD Release 12 (AC1009) text file with one POLYLINE a
// contour, its points as VERTEX entities (column as x, row as y). A contour's attributes and
// global attributes go along as extended data of the application HALCON in the layout the
// page gives: each VERTEX the list of its attribute values, the POLYLINE the lists of the
// global attribute values and of both kinds of names.
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/params.h"
#include "core/polygon.h"
#include "halconcpp/HOperatorsFile.h"
#include "operators/files/xld_dxf.h"
#include "operators/files/xld_text.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

class DxfText {
 public:
  void group(int code, const std::string& value) {
    std::string number = std::to_string(code);
    // Group codes right-aligned in three places, as AutoCAD writes them.
    if (number.size() < 3) number.insert(0, 3 - number.size(), ' ');
    text_ += number + "\n" + value + "\n";
  }
  void number(int code, double value) { group(code, xldNumberText(value)); }
  // The head of a list of extended data; its items and its closing "}" follow.
  void list(const char* meaning, std::size_t count) {
    group(1000, meaning);
    group(1002, "{");
    group(1070, std::to_string(count));
  }

  void begin() {
    group(0, "SECTION");
    group(2, "HEADER");
    group(9, "$ACADVER");
    group(1, "AC1009");
    group(0, "ENDSEC");
    // Extended data names an application the file registers.
    group(0, "SECTION");
    group(2, "TABLES");
    group(0, "TABLE");
    group(2, "APPID");
    group(70, "1");
    group(0, "APPID");
    group(2, kDxfApplication);
    group(70, "0");
    group(0, "ENDTAB");
    group(0, "ENDSEC");
    group(0, "SECTION");
    group(2, "ENTITIES");
  }
  const std::string& end() {
    group(0, "ENDSEC");
    group(0, "EOF");
    return text_;
  }

  // One polyline; `contour` adds its attributes, null for a polygon.
  void polyline(const std::vector<double>& rows, const std::vector<double>& cols,
                const ContourObject* contour) {
    group(0, "POLYLINE");
    group(8, "0");
    group(66, "1");
    number(10, 0);
    number(20, 0);
    number(30, 0);
    group(70, "0");
    const bool attributes =
        contour && (!contour->attribs.empty() || !contour->globalAttribs.empty());
    if (attributes) {
      group(1001, kDxfApplication);
      list(kDxfGlobalValues, contour->globalAttribs.size());
      for (const auto& global : contour->globalAttribs) number(1040, global.second);
      group(1002, "}");
      list(kDxfAttributeNames, contour->attribs.size());
      for (const auto& attribute : contour->attribs) group(1000, attribute.first);
      group(1002, "}");
      list(kDxfGlobalNames, contour->globalAttribs.size());
      for (const auto& global : contour->globalAttribs) group(1000, global.first);
      group(1002, "}");
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
      group(0, "VERTEX");
      group(8, "0");
      number(10, cols[i]);
      number(20, rows[i]);
      number(30, 0);
      if (attributes) {
        group(1001, kDxfApplication);
        list(kDxfAttributeValues, contour->attribs.size());
        for (const auto& attribute : contour->attribs) number(1040, attribute.second[i]);
        group(1002, "}");
      }
    }
    group(0, "SEQEND");
    group(8, "0");
  }

 private:
  std::string text_;
};

}  // namespace

void WriteContourXldDxf(const HObject& Contours, const HTuple& FileName) {
  ApiScope scope("WriteContourXldDxf");
  const char* op = "write_contour_xld_dxf";
  DxfText dxf;
  dxf.begin();
  for (const ContourObject* c : contoursOf(Contours, op, 1)) dxf.polyline(c->rows, c->cols, c);
  writeXldText(FileName, dxf.end(), op, 1);
}

void WritePolygonXldDxf(const HObject& Polygons, const HTuple& FileName) {
  ApiScope scope("WritePolygonXldDxf");
  const char* op = "write_polygon_xld_dxf";
  DxfText dxf;
  dxf.begin();
  for (const PolygonObject* p : polygonsOf(Polygons, op, 1)) {
    dxf.polyline(p->rows, p->cols, nullptr);
  }
  writeXldText(FileName, dxf.end(), op, 1);
}

}  // namespace HalconCpp
