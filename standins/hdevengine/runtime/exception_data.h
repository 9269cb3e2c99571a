// The tuple a catch receives. An operator's or the engine's own failure gives a tuple of
// fixed slots, the error code first, as the language documents; a throw passes its tuple on
// as it is. dev_get_exception_data reads the slots by name.
#ifndef QUORVEX_STANDINS_HDEVENGINE_EXCEPTION_DATA_H
#define QUORVEX_STANDINS_HDEVENGINE_EXCEPTION_DATA_H

#include <string>

#include "halconcpp/HalconCpp.h"

namespace HDevEngineCpp {
namespace Standin {

// What the engine adds to an operator's own error code, as HDevelop does.
constexpr HalconCpp::Hlong kOperatorErrorCode = 21000;

struct FailureData {
  HalconCpp::Hlong code;
  std::string message;
  HalconCpp::Hlong addCode;
  std::string addMessage;
  int line;
  std::string lineName;
  int depth;  // of the call stack, 1 in the procedure that was called from outside
  std::string procedure;
};

HalconCpp::HTuple exceptionTuple(const FailureData& failure);

// True when `exception` has the slots of exceptionTuple (possibly with user data after them).
bool isFailureTuple(const HalconCpp::HTuple& exception);

// A throw's tuple that no catch took, as an engine exception's code and message.
HalconCpp::Hlong uncaughtCode(const HalconCpp::HTuple& exception, HalconCpp::Hlong fallback);
std::string uncaughtMessage(const HalconCpp::HTuple& exception);

// Raised by a throw line; the interpreter looks for the catch.
struct ThrownException {
  HalconCpp::HTuple value;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
