#include <string>

#include "hdevengine/HDevEngineCpp.h"

namespace HDevEngineCpp {

struct HDevEngineException::Data {
  std::string message;
  ExceptionCategory category;
  std::string execProcedureName;
  int progLineNum;
  std::string progLineName;
  Herror halconErrNum;
};

HDevEngineException::HDevEngineException(const char* message, ExceptionCategory category,
                                         const char* execProcedureName, int progLineNum,
                                         const char* progLineName, Herror halconErrNum)
    : data_(new Data{message ? message : "", category, execProcedureName ? execProcedureName : "",
                     progLineNum, progLineName ? progLineName : "", halconErrNum}) {}

HDevEngineException::HDevEngineException(const HDevEngineException& other)
    : data_(new Data(*other.data_)) {}

HDevEngineException& HDevEngineException::operator=(const HDevEngineException& other) {
  *data_ = *other.data_;
  return *this;
}

HDevEngineException::~HDevEngineException() = default;

ExceptionCategory HDevEngineException::Category() const {
  return data_->category;
}
const char* HDevEngineException::Message() const {
  return data_->message.c_str();
}
const char* HDevEngineException::ExecProcedureName() const {
  return data_->execProcedureName.c_str();
}
const char* HDevEngineException::ProgLineName() const {
  return data_->progLineName.c_str();
}
int HDevEngineException::ProgLineNum() const {
  return data_->progLineNum;
}
Herror HDevEngineException::HalconErrNum() const {
  return data_->halconErrNum;
}

}  // namespace HDevEngineCpp
