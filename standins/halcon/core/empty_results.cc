#include "core/empty_results.h"

#include <atomic>
#include <string>

#include "core/params.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The documented values in their order; the setting is the index of one, 0 ('true') first.
const char* const kNoObjectValues[] = {"true", "false", "exception"};
const char* const kEmptyRegionValues[] = {"true", "false", "fail", "void", "exception"};

std::atomic<int> noObjectResult{0};
std::atomic<int> emptyRegionResult{0};

template <std::size_t N>
void setChoice(const HTuple& value, const char* const (&values)[N], std::atomic<int>* choice) {
  if (value.Length() != 1) fail("set_system", 1402);
  if (value[0].Type() != eElementTypeString) fail("set_system", 1202);
  const std::string text = value[0].S().str();
  for (std::size_t i = 0; i < N; ++i) {
    if (text == values[i]) {
      choice->store(static_cast<int>(i));
      return;
    }
  }
  fail("set_system", 1302);
}

void setNoObjectResult(const HTuple& value) {
  setChoice(value, kNoObjectValues, &noObjectResult);
}
HTuple getNoObjectResult() {
  return HTuple(kNoObjectValues[noObjectResult.load()]);
}
void setEmptyRegionResult(const HTuple& value) {
  setChoice(value, kEmptyRegionValues, &emptyRegionResult);
}
HTuple getEmptyRegionResult() {
  return HTuple(kEmptyRegionValues[emptyRegionResult.load()]);
}

const bool emptyResultsRegistered = [] {
  registerErrorText(kEmptyRegionError, "Empty input region");
  registerControl("no_object_result", &setNoObjectResult, &getNoObjectResult);
  registerControl("empty_region_result", &setEmptyRegionResult, &getEmptyRegionResult);
  return true;
}();

}  // namespace

void checkNoObjects(const HObject& object, const char* op, int n) {
  if (noObjectResult.load() == 2 && object.CountObj() == 0) fail(op, 1500 + n);
}

bool skipEmptyRegions(const std::vector<const Runs*>& regions, const char* op) {
  const int choice = emptyRegionResult.load();
  if (choice == 0) return false;
  for (const Runs* region : regions) {
    if (!region->empty()) continue;
    if (choice == 4) fail(op, kEmptyRegionError);
    return true;
  }
  return false;
}

}  // namespace Standin
}  // namespace HalconCpp
