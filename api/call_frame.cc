#include "api/call_frame.h"
#include "api/handles.h"

namespace quorvex::api {

ErrorMsg* errorFromUnexpected(const char* what) {
  try {
    return errorFromText((std::string("unexpected failure: ") + what).c_str());
  } catch (...) {
    return outOfMemoryRecord();
  }
}

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
