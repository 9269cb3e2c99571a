#include "api/call_frame.h"

namespace quorvex::api {

ErrorMsg* errorFromUnexpected(const char* what) {
  try {
    return errorFromText((std::string("unexpected failure: ") + what).c_str());
  } catch (...) {
    return outOfMemoryRecord();
  }
}

}  // namespace quorvex::api
