#include "entry/engine_entry.h"

#include <string>

#include "hdevengine/HDevEngineCpp.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

std::string textOf(Hlong number) {
  HalconCpp::Standin::InsideScope inside;
  try {
    HTuple text;
    HalconCpp::GetErrorText(HTuple(number), &text);
    return text.S().str();
  } catch (const HalconCpp::HException&) {
    return "HALCON error #" + std::to_string(number);
  }
}

}  // namespace

void checkEntryFault(const char* name) {
  if (!HalconCpp::Standin::calledFromOutside()) return;
  HalconCpp::Standin::Fault fault;
  if (!HalconCpp::Standin::takeFault(name, &fault)) return;
  const std::string message = fault.hasMessage ? fault.message : textOf(fault.errorCode);
  throw HDevEngineException(message.c_str(), ExceptionGeneral, "", -1, "",
                            static_cast<Herror>(fault.errorCode));
}

void notLoaded(const char* what) {
  throw engineError(kErrNotLoaded, ExceptionGeneral, what);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
