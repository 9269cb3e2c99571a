// Contours and polygons in ARC/INFO generate files (HALCON 11.0 read/write_contour_xld_arc_info,
// read/write_polygon_xld_arc_info). A block per line: its identifier, its points one a line,
// END; a last END closes the file. The coordinates are the ones the contour holds: the
// reference has the caller transform them into world coordinates beforehand (read_world_file,
// affine_trans_contour_xld), and the first coordinate of each point is the row.
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/polygon.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsFile.h"
#include "operators/files/xld_text.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Polyline {
  std::vector<double> rows, cols;
};

std::string arcInfoText(const std::vector<const std::vector<double>*>& coordinates) {
  std::string text;
  for (std::size_t k = 0; k + 1 < coordinates.size(); k += 2) {
    text += std::to_string(k / 2 + 1) + "\n";
    const std::vector<double>& rows = *coordinates[k];
    const std::vector<double>& cols = *coordinates[k + 1];
    for (std::size_t i = 0; i < rows.size(); ++i) {
      text += xldNumberText(rows[i]) + "," + xldNumberText(cols[i]) + "\n";
    }
    text += "END\n";
  }
  return text + "END\n";
}

bool isEnd(const std::string& line) {
  return line == "END" || line == "end";
}

// A point line: two numbers apart by a comma, blanks or both.
bool parsePoint(const std::string& line, double* row, double* col) {
  std::string first, second;
  const std::size_t comma = line.find(',');
  if (comma != std::string::npos) {
    first = trimmed(line.substr(0, comma));
    second = trimmed(line.substr(comma + 1));
  } else {
    const std::size_t blank = line.find_first_of(" \t");
    if (blank == std::string::npos) return false;
    first = line.substr(0, blank);
    second = trimmed(line.substr(blank));
  }
  return parseXldNumber(first, row) && parseXldNumber(second, col);
}

// An identifier line: an integer, possibly followed by a label point the lines ignore.
bool isIdentifier(const std::string& line) {
  const std::size_t end = line.find_first_of(", \t");
  double id = 0;
  return parseXldNumber(line.substr(0, end), &id) && std::fabs(id) < 1e15 && id == std::floor(id);
}

std::vector<Polyline> readArcInfo(const HTuple& FileName, const char* op) {
  XldTextFile file(FileName, op, 1, H_ERR_FILE_FORMAT);
  std::vector<Polyline> blocks;
  std::size_t points = 0;
  std::string line;
  bool inBlock = false;
  while (file.next(&line)) {
    line = trimmed(line);
    if (line.empty()) continue;
    if (!inBlock) {
      if (isEnd(line)) return blocks;
      if (!isIdentifier(line)) fail(op, H_ERR_FILE_FORMAT);
      blocks.emplace_back();
      inBlock = true;
      continue;
    }
    if (isEnd(line)) {
      // A block without points gives no contour.
      if (blocks.back().rows.empty()) blocks.pop_back();
      inBlock = false;
      continue;
    }
    double row = 0, col = 0;
    if (!parsePoint(line, &row, &col)) fail(op, H_ERR_FILE_FORMAT);
    countXldPoints(&points, 1, op);
    blocks.back().rows.push_back(row);
    blocks.back().cols.push_back(col);
  }
  // The file ended before its closing END: cut short.
  fail(op, H_ERR_FILE_FORMAT);
}

}  // namespace

void WriteContourXldArcInfo(const HObject& Contours, const HTuple& FileName) {
  ApiScope scope("WriteContourXldArcInfo");
  const char* op = "write_contour_xld_arc_info";
  std::vector<const std::vector<double>*> coordinates;
  for (const ContourObject* c : contoursOf(Contours, op, 1)) {
    coordinates.push_back(&c->rows);
    coordinates.push_back(&c->cols);
  }
  writeXldText(FileName, arcInfoText(coordinates), op, 1);
}

void WritePolygonXldArcInfo(const HObject& Polygons, const HTuple& FileName) {
  ApiScope scope("WritePolygonXldArcInfo");
  const char* op = "write_polygon_xld_arc_info";
  std::vector<const std::vector<double>*> coordinates;
  for (const PolygonObject* p : polygonsOf(Polygons, op, 1)) {
    coordinates.push_back(&p->rows);
    coordinates.push_back(&p->cols);
  }
  writeXldText(FileName, arcInfoText(coordinates), op, 1);
}

void ReadContourXldArcInfo(HObject* Contours, const HTuple& FileName) {
  ApiScope scope("ReadContourXldArcInfo");
  std::vector<HObject::Item> items;
  for (Polyline& p : readArcInfo(FileName, "read_contour_xld_arc_info")) {
    items.push_back(makeContour(std::move(p.rows), std::move(p.cols)));
  }
  setOutput(Contours, objectOf(items));
}

void ReadPolygonXldArcInfo(HObject* Polygons, const HTuple& FileName) {
  ApiScope scope("ReadPolygonXldArcInfo");
  std::vector<HObject::Item> items;
  for (Polyline& p : readArcInfo(FileName, "read_polygon_xld_arc_info")) {
    auto polygon = std::make_shared<PolygonObject>();
    polygon->rows = std::move(p.rows);
    polygon->cols = std::move(p.cols);
    items.push_back(polygon);
  }
  setOutput(Polygons, objectOf(items));
}

}  // namespace HalconCpp
