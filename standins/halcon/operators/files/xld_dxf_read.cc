// Contours and polygons from DXF files (HALCON 11.0 read_contour_xld_dxf,
// read_polygon_xld_dxf): the groups of the file's BLOCKS and ENTITIES sections, the generic
// parameters, and the status the operators give back.
#include <cmath>
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
#include "operators/files/xld_dxf.h"
#include "operators/files/xld_text.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Groups the blocks of one file may hold for INSERT, and groups of one entity: beyond, 6001.
constexpr std::size_t kMaxBlockGroups = std::size_t{1} << 20;
constexpr std::size_t kMaxEntityGroups = std::size_t{1} << 21;

const bool dxfErrorsRegistered = [] {
  registerErrorText(kDxfEndOfFile, "DXF error: Unexpected end of file");
  registerErrorText(kDxfUnreadable, "DXF error: Cannot read group code or value");
  registerErrorText(kDxfAttributes, "DXF error: Inconsistent attributes of a contour");
  return true;
}();

// Group after group, with one group of look-ahead; comments (999) are skipped.
class DxfGroups {
 public:
  DxfGroups(const HTuple& fileName, const char* op)
      : file_(fileName, op, 1, kDxfUnreadable), op_(op) {}

  // False at the end of the file.
  bool next(DxfGroup* group) {
    if (held_) {
      held_ = false;
      *group = std::move(pending_);
      return true;
    }
    std::string code, value;
    do {
      if (!file_.next(&code)) return false;
      double number = 0;
      if (!parseXldNumber(trimmed(code), &number) || number != std::floor(number) ||
          std::fabs(number) > 1e6) {
        fail(op_, kDxfUnreadable);
      }
      if (!file_.next(&value)) fail(op_, kDxfEndOfFile);
      group->code = static_cast<int>(number);
      group->value = trimmed(value);
    } while (group->code == 999);
    return true;
  }
  // A group that must come: the file may not end here.
  DxfGroup take() {
    DxfGroup group;
    if (!next(&group)) fail(op_, kDxfEndOfFile);
    return group;
  }
  void putBack(DxfGroup group) {
    pending_ = std::move(group);
    held_ = true;
  }
  // The entity that begins with `start` (a group 0): its groups up to the next group 0,
  // which stays to be taken.
  DxfEntity entity(const DxfGroup& start) {
    DxfEntity e{start.value, {}};
    for (DxfGroup g = take();; g = take()) {
      if (g.code == 0) {
        putBack(std::move(g));
        return e;
      }
      if (e.groups.size() >= kMaxEntityGroups) fail(op_, H_ERR_NO_MEMORY);
      e.groups.push_back(std::move(g));
    }
  }

 private:
  XldTextFile file_;
  const char* op_;
  DxfGroup pending_;
  bool held_ = false;
};

void readBlocks(DxfGroups& groups, DxfBlocks* blocks, const char* op) {
  std::size_t stored = 0;
  std::string name;
  DxfBlock block;
  bool inBlock = false;
  for (;;) {
    const DxfGroup g = groups.take();
    if (g.code != 0) continue;
    if (g.value == "ENDSEC") return;
    DxfEntity e = groups.entity(g);
    if (e.type == "BLOCK") {
      block = DxfBlock();
      name.clear();
      for (const DxfGroup& h : e.groups) {
        if (h.code == 2) name = h.value;
        if (h.code == 10) block.baseX = dxfNumber(h, op);
        if (h.code == 20) block.baseY = dxfNumber(h, op);
      }
      inBlock = true;
    } else if (e.type == "ENDBLK") {
      if (inBlock) (*blocks)[name] = std::move(block);
      inBlock = false;
    } else if (inBlock) {
      stored += e.groups.size() + 1;
      if (stored > kMaxBlockGroups) fail(op, H_ERR_NO_MEMORY);
      block.entities.push_back(std::move(e));
    }
  }
}

void readEntities(DxfGroups& groups, DxfBuilder* builder) {
  for (;;) {
    const DxfGroup g = groups.take();
    if (g.code != 0) continue;
    if (g.value == "ENDSEC") break;
    builder->add(groups.entity(g));
  }
  builder->finish();
}

DxfOptions optionsOf(const HTuple& names, const HTuple& values, bool contours, const char* op) {
  requireLength(values, names.Length(), op, 3);
  DxfOptions options;
  for (Hlong i = 0; i < names.Length(); ++i) {
    if (names[i].Type() != eElementTypeString) fail(op, 1202);
    const std::string name = names[i].S().Text();
    const bool text = values[i].Type() == eElementTypeString;
    const double value = text ? 0 : numberAt(values, i, op, 3);
    if (name == "min_num_points") {
      if (text || !(value >= 1)) fail(op, 1303);
      options.minPoints = value;
    } else if (name == "max_approx_error") {
      if (text || !(value > 0)) fail(op, 1303);
      options.maxError = value;
    } else if (name == "read_attributes" && contours) {
      const std::string flag = text ? values[i].S().Text() : "";
      if (flag != "true" && flag != "false") fail(op, 1303);
      options.attributes = flag == "true";
    } else {
      fail(op, 1302);
    }
  }
  return options;
}

struct DxfRead {
  std::vector<DxfCurve> curves;
  HTuple status;
};

DxfRead readDxf(const HTuple& FileName, const HTuple& GenParamName, const HTuple& GenParamValue,
                bool contours, const char* op) {
  const DxfOptions options = optionsOf(GenParamName, GenParamValue, contours, op);
  DxfGroups groups(FileName, op);
  auto blocks = std::make_shared<DxfBlocks>();
  std::size_t points = 0;
  DxfBuilder builder(options, op, &points, blocks);
  for (;;) {
    DxfGroup g;
    // Every DXF file ends with EOF: without it the file was cut short.
    if (!groups.next(&g)) fail(op, kDxfEndOfFile);
    if (g.code != 0) continue;
    if (g.value == "EOF") break;
    if (g.value != "SECTION") continue;
    const DxfGroup name = groups.take();
    if (name.code != 2) fail(op, kDxfUnreadable);
    if (name.value == "ENTITIES") {
      readEntities(groups, &builder);
    } else if (name.value == "BLOCKS") {
      readBlocks(groups, blocks.get(), op);
    } else {
      for (DxfGroup skip = groups.take(); skip.code != 0 || skip.value != "ENDSEC";
           skip = groups.take()) {
      }
    }
  }
  DxfRead read;
  read.status.Append(HTuple((std::string("Number of ") + (contours ? "contours" : "polygons") +
                             " read: " + std::to_string(builder.curves.size()))
                                .c_str()));
  for (const std::string& warning : builder.warnings) read.status.Append(HTuple(warning.c_str()));
  read.curves = std::move(builder.curves);
  return read;
}

}  // namespace

void ReadContourXldDxf(HObject* Contours, const HTuple& FileName, const HTuple& GenParamName,
                       const HTuple& GenParamValue, HTuple* DxfStatus) {
  ApiScope scope("ReadContourXldDxf");
  DxfRead read = readDxf(FileName, GenParamName, GenParamValue, true, "read_contour_xld_dxf");
  std::vector<HObject::Item> items;
  for (DxfCurve& curve : read.curves) {
    ContourPtr contour = makeContour(std::move(curve.rows), std::move(curve.cols));
    contour->attribs = std::move(curve.attribs);
    contour->globalAttribs = std::move(curve.globalAttribs);
    items.push_back(contour);
  }
  setOutput(Contours, objectOf(items));
  setOutput(DxfStatus, read.status);
}

void ReadPolygonXldDxf(HObject* Polygons, const HTuple& FileName, const HTuple& GenParamName,
                       const HTuple& GenParamValue, HTuple* DxfStatus) {
  ApiScope scope("ReadPolygonXldDxf");
  DxfRead read = readDxf(FileName, GenParamName, GenParamValue, false, "read_polygon_xld_dxf");
  std::vector<HObject::Item> items;
  for (DxfCurve& curve : read.curves) {
    auto polygon = std::make_shared<PolygonObject>();
    polygon->rows = std::move(curve.rows);
    polygon->cols = std::move(curve.cols);
    items.push_back(polygon);
  }
  setOutput(Polygons, objectOf(items));
  setOutput(DxfStatus, read.status);
}

}  // namespace HalconCpp
