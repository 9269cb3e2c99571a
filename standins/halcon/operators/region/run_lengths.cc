// Operators on the runs of a region's run-length encoding themselves: runs kept by their
// length, and the histograms of the lengths of runs and of the gaps between them.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsRegion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// A run longer than any image's row: its histogram would be a tuple of that many counts, memory
// beyond what the stand-in gives one output (6001).
constexpr std::int64_t kLongestCounted = std::int64_t{1} << 22;

// counts[k] = how many lengths equal k, for k = 0 ... the longest; no lengths: the empty tuple.
HTuple histogramOf(const std::vector<std::int64_t>& lengths, const char* op) {
  if (lengths.empty()) return HTuple();
  const std::int64_t longest = *std::max_element(lengths.begin(), lengths.end());
  if (longest > kLongestCounted) fail(op, 6001);
  std::vector<Hlong> counts(static_cast<std::size_t>(longest) + 1, 0);
  for (const std::int64_t length : lengths) ++counts[static_cast<std::size_t>(length)];
  HTuple out;
  for (const Hlong count : counts) out.Append(count);
  return out;
}

}  // namespace

void EliminateRuns(const HObject& Region, HObject* RegionClipped, const HTuple& ElimShorter,
                   const HTuple& ElimLonger) {
  ApiScope scope("EliminateRuns");
  const char* op = "eliminate_runs";
  const Hlong shorter = oneInteger(ElimShorter, op, 1);
  const Hlong longer = oneInteger(ElimLonger, op, 2);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    Runs kept;
    for (const Run& run : *region) {
      const Hlong length = static_cast<Hlong>(run.end) - run.begin + 1;
      if (length >= shorter && length <= longer) kept.push_back(run);
    }
    items.push_back(makeRegion(std::move(kept)));
  }
  setOutput(RegionClipped, objectOf(items));
}

void RunlengthDistribution(const HObject& Region, HTuple* Foreground, HTuple* Background) {
  ApiScope scope("RunlengthDistribution");
  const char* op = "runlength_distribution";
  const std::vector<const Runs*> regions = regionsOf(Region, op, 1);
  if (regions.size() > 1) fail(op, 1501);
  std::vector<std::int64_t> runs, gaps;
  if (regions.empty()) {
    checkNoObjects(Region, op, 1);
  } else {
    const Runs& region = *regions.front();
    for (std::size_t i = 0; i < region.size(); ++i) {
      runs.push_back(std::int64_t{region[i].end} - region[i].begin + 1);
      // The background's runs are the gaps between two runs of a row; those reaching to the
      // row's ends are endless and not counted.
      if (i > 0 && region[i - 1].row == region[i].row) {
        gaps.push_back(std::int64_t{region[i].begin} - region[i - 1].end - 1);
      }
    }
  }
  setOutput(Foreground, histogramOf(runs, op));
  setOutput(Background, histogramOf(gaps, op));
}

}  // namespace HalconCpp
