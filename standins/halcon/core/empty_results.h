// What an operator does with input that holds nothing to work on, as set_system chooses:
// 'no_object_result' for an iconic input without objects, 'empty_region_result' for an
// empty region an operator would measure.
#ifndef QUORVEX_STANDINS_HALCON_EMPTY_RESULTS_H
#define QUORVEX_STANDINS_HALCON_EMPTY_RESULTS_H

#include <vector>

#include "core/runs.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

// Raised for an empty region under 'empty_region_result' = 'exception'.
constexpr Hlong kEmptyRegionError = 3040;

// Raises 1500+n when input n holds no objects and 'no_object_result' is 'exception'.
void checkNoObjects(const HObject& object, const char* op, int n);

// True when one of the regions is empty and 'empty_region_result' is 'false', 'fail' or
// 'void': the operator then returns at once, every output empty. Raises kEmptyRegionError
// under 'exception'; false under 'true', where an empty region measures 0.
bool skipEmptyRegions(const std::vector<const Runs*>& regions, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
