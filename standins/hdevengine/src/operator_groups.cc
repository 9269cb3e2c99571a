// Every operator group the engine knows. A module that brings operators adds its group
// function here.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {

OperatorGroup systemOperators();

std::vector<OperatorGroup> allOperatorGroups() {
  return {
      systemOperators(),
  };
}

}  // namespace Standin
}  // namespace HDevEngineCpp
