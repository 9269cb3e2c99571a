// runlength_features and inner_rectangle1 (HALCON 11.0 reference, chapter "Regions /
// Features"), one value per region.
#include <cmath>
#include <cstdint>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The vendor's 11.0 run is three 16-bit coordinates: its row and first and last column.
constexpr Hlong kBytesPerRun = 6;

}  // namespace

// K: the runs against the side of the square of the region's area, which needs exactly that
// many; L: the runs per row the region touches; MeanLength: pixels per run.
void RunlengthFeatures(const HObject& Regions, HTuple* NumRuns, HTuple* KFactor, HTuple* LFactor,
                       HTuple* MeanLength, HTuple* Bytes) {
  ApiScope scope("RunlengthFeatures");
  HTuple runs, k, l, mean, bytes;
  for (const Runs* region : measuredRegions(Regions, "runlength_features")) {
    const auto n = static_cast<Hlong>(region->size());
    const double area = double(runsArea(*region));
    Hlong rows = 0;
    for (std::size_t i = 0; i < region->size(); ++i) {
      rows += i == 0 || (*region)[i].row != (*region)[i - 1].row;
    }
    runs.Append(HTuple(n));
    k.Append(HTuple(area > 0 ? double(n) / std::sqrt(area) : 0.0));
    l.Append(HTuple(rows > 0 ? double(n) / double(rows) : 0.0));
    mean.Append(HTuple(n > 0 ? area / double(n) : 0.0));
    bytes.Append(HTuple(kBytesPerRun * n));
  }
  setOutput(NumRuns, std::move(runs));
  setOutput(KFactor, std::move(k));
  setOutput(LFactor, std::move(l));
  setOutput(MeanLength, std::move(mean));
  setOutput(Bytes, std::move(bytes));
}

void InnerRectangle1(const HObject& Regions, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                     HTuple* Column2) {
  ApiScope scope("InnerRectangle1");
  HTuple r1, c1, r2, c2;
  for (const Runs* region : measuredRegions(Regions, "inner_rectangle1")) {
    // An empty region has no rectangle: all four corners 0.
    const Box box = region->empty() ? Box{0, 0, 0, 0} : innerRectangle(*region);
    r1.Append(HTuple(Hlong{box.row1})), c1.Append(HTuple(Hlong{box.col1}));
    r2.Append(HTuple(Hlong{box.row2})), c2.Append(HTuple(Hlong{box.col2}));
  }
  setOutput(Row1, std::move(r1));
  setOutput(Column1, std::move(c1));
  setOutput(Row2, std::move(r2));
  setOutput(Column2, std::move(c2));
}

}  // namespace HalconCpp
