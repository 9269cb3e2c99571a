// The operators a program line can call, by their HDevelop names. Each module of the
// stand-ins contributes one group; the interpreter looks names up across all groups.
#ifndef QUORVEX_STANDINS_HDEVENGINE_OPERATOR_TABLE_H
#define QUORVEX_STANDINS_HDEVENGINE_OPERATOR_TABLE_H

#include <cstddef>
#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"

namespace HDevEngineCpp {
namespace Standin {

// The arguments of one operator line, each group in the vendor's parameter order: iconic
// inputs, iconic outputs, control inputs, control outputs. Every pointer is valid.
struct OperatorArgs {
  std::vector<const HalconCpp::HObject*> iconicIn;
  std::vector<HalconCpp::HObject*> iconicOut;
  std::vector<const HalconCpp::HTuple*> ctrlIn;
  std::vector<HalconCpp::HTuple*> ctrlOut;
};

struct OperatorSpec {
  const char* name;  // HDevelop name, e.g. "get_system"
  int iconicIn;
  int iconicOut;
  int ctrlIn;
  int ctrlOut;
  // Runs the operator, normally by calling the vendor function of the same name
  // (get_system: HalconCpp::GetSystem). Raises HException on failure.
  void (*run)(const OperatorArgs& args);
};

struct OperatorGroup {
  const OperatorSpec* specs;
  std::size_t count;
};

// Every group the engine knows; defined in operator_groups.cc, which lists each module's
// group function.
std::vector<OperatorGroup> allOperatorGroups();

// The operator of that HDevelop name across all groups, or null.
const OperatorSpec* findOperator(const std::string& hdevelopName);

// The name under which a fault for a program's operator line is armed: the vendor's C++
// name of the operator, get_system -> GetSystem, gen_contour_polygon_xld ->
// GenContourPolygonXld.
std::string faultNameOf(const char* hdevelopName);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
