// DXF entities turned into polylines for read_contour_xld_dxf and read_polygon_xld_dxf
// (HALCON 11.0): LINE, POINT, POLYLINE with its VERTEX entities, LWPOLYLINE (both with
// bulges), CIRCLE, ARC, ELLIPSE, SPLINE, and INSERT of a BLOCK. DXF x and y become column
// and row; z is dropped. Curves are sampled as the generic parameters ask.
#ifndef QUORVEX_STANDINS_HALCON_XLD_DXF_H
#define QUORVEX_STANDINS_HALCON_XLD_DXF_H

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace HalconCpp {
namespace Standin {

// DXF errors: the file ends inside its structure (or without EOF); a group code or a number
// that cannot be read; extended data of a contour whose attribute counts disagree.
constexpr long kDxfEndOfFile = 5800;
constexpr long kDxfUnreadable = 5801;
constexpr long kDxfAttributes = 5802;
// The registered application of the extended data write_contour_xld_dxf writes, and the
// meanings of its lists (1000 meaning, 1002 "{", 1070 count, the items, 1002 "}").
constexpr const char* kDxfApplication = "HALCON";
constexpr const char* kDxfAttributeValues = "contour attributes";
constexpr const char* kDxfGlobalValues = "global contour attributes";
constexpr const char* kDxfAttributeNames = "names of contour attributes";
constexpr const char* kDxfGlobalNames = "names of global contour attributes";

struct DxfGroup {
  int code;
  std::string value;
};

struct DxfEntity {
  std::string type;
  std::vector<DxfGroup> groups;
};

// One list of the extended data of kDxfApplication: names (1000) or values (1040).
struct DxfList {
  std::string meaning;
  bool names = false;
  std::vector<std::string> texts;
  std::vector<double> values;
};
// The lists of an entity's extended data of kDxfApplication, raising kDxfAttributes in `op`
// for one that is not well formed.
std::vector<DxfList> dxfLists(const DxfEntity& entity, const char* op);

struct DxfOptions {
  double minPoints = 20;   // 'min_num_points': points of a full circle or ellipse at least
  double maxError = 0.25;  // 'max_approx_error': the farthest a chord may leave the curve
  bool attributes = true;  // 'read_attributes'
};

struct DxfCurve {
  std::vector<double> rows, cols;
  std::vector<std::pair<std::string, std::vector<double>>> attribs;
  std::vector<std::pair<std::string, double>> globalAttribs;
};

struct DxfBlock {
  double baseX = 0, baseY = 0;
  std::vector<DxfEntity> entities;
};
using DxfBlocks = std::map<std::string, DxfBlock>;

class DxfBuilder {
 public:
  // `points` counts every point made against the bound of one file.
  DxfBuilder(const DxfOptions& options, const char* op, std::size_t* points,
             std::shared_ptr<DxfBlocks> blocks, int depth = 0);
  // The entities in the file's order: a POLYLINE takes the VERTEX entities after it up to
  // its SEQEND.
  void add(const DxfEntity& entity);
  // Raises kDxfEndOfFile when a POLYLINE has not ended.
  void finish();

  std::vector<DxfCurve> curves;
  std::vector<std::string> warnings;  // each once

 private:
  void warn(const std::string& text);
  void addCurve(DxfCurve curve);
  void beginPolyline(const DxfEntity& entity);
  void addVertex(const DxfEntity& entity);
  void endPolyline();
  void addLwPolyline(const DxfEntity& entity);
  void addArc(const DxfEntity& entity, bool full);
  void addEllipse(const DxfEntity& entity);
  void addSpline(const DxfEntity& entity);
  void addInsert(const DxfEntity& entity);

  DxfOptions options_;
  const char* op_;
  std::size_t* points_;
  std::shared_ptr<DxfBlocks> blocks_;
  int depth_;
  // The POLYLINE being gathered: its vertices and bulges, and the attributes its extended
  // data names.
  bool inPolyline_ = false;
  bool closed_ = false;
  std::vector<double> xs_, ys_, bulges_;
  std::vector<std::string> attribNames_;
  std::vector<std::vector<double>> attribValues_;
  std::vector<std::pair<std::string, double>> globals_;
};

// The number of a group's value, raising kDxfUnreadable in `op` when it is none.
double dxfNumber(const DxfGroup& group, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
