#include <string>

#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {

HException::HException(const char* message, Hlong errorCode)
    : procName_(""), message_(message), errorCode_(errorCode) {}

HException::HException(const char* procName, const char* message, Hlong errorCode)
    : procName_(procName), message_(message), errorCode_(errorCode) {}

HException::~HException() = default;

HException HException::ForOperator(const char* procName, Hlong errorCode) {
  std::string message = "HALCON error #" + std::to_string(errorCode);
  try {
    Standin::InsideScope inside;
    HTuple text;
    GetErrorText(HTuple(errorCode), &text);
    message += ": " + text.S().str();
  } catch (const HException&) {
    // A number without a text still makes a readable message.
  }
  message += std::string(" in operator ") + procName;
  return HException(procName, message.c_str(), errorCode);
}

}  // namespace HalconCpp
