// The limits of the select_* operators: Operation 'and' / 'or' and one Min / Max pair per
// feature, either end a number or left open by 'min' / 'max'.
#ifndef QUORVEX_STANDINS_HALCON_FEATURE_RANGES_H
#define QUORVEX_STANDINS_HALCON_FEATURE_RANGES_H

#include <cstddef>
#include <vector>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

class FeatureRanges {
 public:
  // Operation is control input 2, Min 3, Max 4: 1302 for another operation, 1403 / 1404
  // unless there is one limit per feature, 1303 / 1304 for another word than 'min' / 'max'.
  FeatureRanges(Hlong features, const HTuple& Operation, const HTuple& Min, const HTuple& Max,
                const char* op);

  // Whether an object is selected, valueOf(f) giving its feature f: with 'and' every value
  // in its range, with 'or' one. The features after the first that decides are not measured.
  template <typename ValueOf>
  bool keeps(ValueOf&& valueOf) const {
    for (std::size_t f = 0; f < mins_.size(); ++f) {
      const double value = valueOf(f);
      const bool inside = value >= mins_[f] && value <= maxs_[f];
      if (inside != all_) return inside;
    }
    return all_;
  }

 private:
  bool all_ = true;
  std::vector<double> mins_;
  std::vector<double> maxs_;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
