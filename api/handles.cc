#include "api/handles.h"

#include <string>

namespace quorvex::api {

ErrorMsg* nullArgument(const char* exportName, std::initializer_list<Argument> arguments) {
  for (const Argument& argument : arguments) {
    if (argument.value) continue;
    try {
      return errorFromText((std::string(exportName) + ": " + argument.name + " is NULL").c_str());
    } catch (...) {
      return outOfMemoryRecord();
    }
  }
  return nullptr;
}

}  // namespace quorvex::api
