#include "core/feature_ranges.h"

#include <string>

#include "core/params.h"

namespace HalconCpp {
namespace Standin {

namespace {

double limitAt(const HTuple& value, Hlong i, const char* open, double openValue, const char* op,
               int n) {
  if (value[i].Type() == eElementTypeString) {
    if (value[i].S().str() != open) fail(op, 1300 + n);
    return openValue;
  }
  return numberAt(value, i, op, n);
}

}  // namespace

FeatureRanges::FeatureRanges(Hlong features, const HTuple& Operation, const HTuple& Min,
                             const HTuple& Max, const char* op) {
  const std::string operation = oneString(Operation, op, 2);
  if (operation != "and" && operation != "or") fail(op, 1302);
  all_ = operation == "and";
  requireLength(Min, features, op, 3);
  requireLength(Max, features, op, 4);
  for (Hlong i = 0; i < features; ++i) {
    mins_.push_back(limitAt(Min, i, "min", -1e300, op, 3));
    maxs_.push_back(limitAt(Max, i, "max", 1e300, op, 4));
  }
}

}  // namespace Standin
}  // namespace HalconCpp
