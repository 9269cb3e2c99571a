// The dev_* operators of a program. The engine does not draw: it hands each of them to the
// display implementation registered with HDevEngine::SetHDevOperatorImpl.
#ifndef QUORVEX_STANDINS_HDEVENGINE_DISPLAY_OPERATORS_H
#define QUORVEX_STANDINS_HDEVENGINE_DISPLAY_OPERATORS_H

#include <string>
#include <vector>

#include "hdevengine/HDevEngineCpp.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {

struct DisplayOperator {
  const char* name;
  int iconicIn;
  int ctrlIn;
  int ctrlOut;
  // Calls the implementation's operation with the line's arguments (no iconic outputs);
  // null for operators the engine ignores, as the vendor's engine ignores dev_update_*.
  int (*call)(HDevOperatorImplCpp& impl, const OperatorArgs& args);
};

// The operator's index, or -1 when it is no display operator.
int findDisplayOperator(const std::string& name);
const DisplayOperator& displayOperator(int index);
int displayOperatorCount();

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
