#include <map>
#include <string>

#include "common/annotated_mutex.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace {

// The texts of every error number the stand-ins raise. A number not listed has no text:
// GetErrorText raises for it, as the vendor's does for an unknown number.
class ErrorTexts {
 public:
  ErrorTexts() {
    texts_ = {
        {2, "No error"},
        {H_ERR_TUPLE_INDEX, "Tuple index out of range"},
        {H_ERR_TUPLE_TYPE, "Tuple element has the wrong type for this access"},
        {H_ERR_TUPLE_DIV_ZERO, "Division by zero"},
        {H_ERR_TUPLE_OP_TYPE, "Operation not defined for these tuple element types"},
    };
    for (int n = 1; n <= 9; ++n) {
      const std::string number = std::to_string(n);
      texts_[1200 + n] = "Wrong type of control parameter " + number;
      texts_[1300 + n] = "Wrong value of control parameter " + number;
      texts_[1400 + n] = "Wrong number of values of control parameter " + number;
    }
  }

  void add(Hlong errorCode, const char* text) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    texts_[errorCode] = text;
  }

  bool find(Hlong errorCode, std::string* text) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    const auto it = texts_.find(errorCode);
    if (it == texts_.end()) return false;
    *text = it->second;
    return true;
  }

 private:
  quorvex::common::Mutex mutex_;
  std::map<Hlong, std::string> texts_ QUORVEX_GUARDED_BY(mutex_);
};

ErrorTexts& errorTexts() {
  static ErrorTexts* texts = new ErrorTexts;  // outlives every static destructor
  return *texts;
}

}  // namespace

void GetErrorText(const HTuple& ErrorCode, HTuple* ErrorText) {
  Standin::ApiScope scope("GetErrorText");
  if (ErrorCode.Length() != 1) throw HException::ForOperator("get_error_text", 1401);
  if (ErrorCode[0].Type() != eElementTypeLong) {
    throw HException::ForOperator("get_error_text", 1201);
  }
  std::string text;
  if (!errorTexts().find(ErrorCode[0].L(), &text)) {
    // Not ForOperator: that would look the number up again.
    throw HException("get_error_text", "HALCON error #1301: Wrong value of control parameter 1",
                     1301);
  }
  *ErrorText = HTuple(text.c_str());
}

namespace Standin {
void registerErrorText(Hlong errorCode, const char* text) {
  errorTexts().add(errorCode, text);
}
}  // namespace Standin

}  // namespace HalconCpp
