#include "api/error_record.h"

#include <cstdlib>
#include <cstring>

namespace quorvex::api {
namespace {

ErrorMsg* newRecord(int32_t kind) {
  auto* record = static_cast<ErrorMsg*>(std::calloc(1, sizeof(ErrorMsg)));
  if (!record) return nullptr;
  record->kind = kind;
  record->errorCode = -1;
  record->progLineNum = -1;
  return record;
}

// The texts are copied while the exception still lives; the record never refers to it.
char* copyHString(const engine::HString& text) {
  return copyText(text.Text(), text.Length());
}

ErrorMsg outOfMemory = {ErrorKindMessage,
                        nullptr,
                        nullptr,
                        -1,
                        -1,
                        const_cast<char*>("out of memory while reporting an error"),
                        nullptr,
                        nullptr};

}  // namespace

char* copyText(const char* text, std::size_t length) {
  auto* copy = static_cast<char*>(std::calloc(length + 1, 1));
  if (copy && length) std::memcpy(copy, text, length);
  return copy;
}

char* copyText(const char* text) {
  return copyText(text, text ? std::strlen(text) : 0);
}

ErrorMsg* errorFromHException(const engine::HException& e) {
  ErrorMsg* record = newRecord(ErrorKindHalcon);
  if (!record) return outOfMemoryRecord();
  record->procName = copyHString(e.ProcName());
  record->errorCode = static_cast<int32_t>(e.ErrorCode());
  record->message = copyHString(e.ErrorMessage());
  fillErrorText(record->errorCode, record);
  return record;
}

ErrorMsg* errorFromEngineException(const engine::HDevEngineException& e) {
  ErrorMsg* record = newRecord(ErrorKindEngine);
  if (!record) return outOfMemoryRecord();
  record->procName = copyText(e.ExecProcedureName());
  record->errorCode = static_cast<int32_t>(e.HalconErrNum());
  record->message = copyText(e.Message());
  record->progLineName = copyText(e.ProgLineName());
  record->progLineNum = e.ProgLineNum();
  fillErrorText(record->errorCode, record);
  return record;
}

ErrorMsg* errorFromText(const char* text) {
  ErrorMsg* record = newRecord(ErrorKindMessage);
  if (!record) return outOfMemoryRecord();
  record->message = copyText(text);
  return record;
}

void fillErrorText(int errorCode, ErrorMsg* record) {
  if (!record) return;
  try {
    engine::HTuple text;
    HalconCpp::GetErrorText(engine::HTuple(static_cast<engine::Hlong>(errorCode)), &text);
    const engine::HString string = text[0].S();
    record->errorText = copyText(string.Text(), string.Length());
  } catch (...) {
    record->errorText = nullptr;
  }
}

ErrorMsg* outOfMemoryRecord() {
  return &outOfMemory;
}

void releaseRecord(ErrorMsg* record) {
  if (!record || record == &outOfMemory) return;
  std::free(record->procName);
  std::free(record->progLineName);
  std::free(record->message);
  std::free(record->errorText);
  std::free(record->reserved);
  std::free(record);
}

}  // namespace quorvex::api

// Callers read the record by position: on the 32-bit target it is eight 4-byte fields.
#if defined(__i386__) || defined(_M_IX86)
#include <cstddef>
static_assert(sizeof(ErrorMsg) == 32, "ErrorMsg is eight 32-bit fields");
static_assert(offsetof(ErrorMsg, kind) == 0 && offsetof(ErrorMsg, procName) == 4 &&
                  offsetof(ErrorMsg, progLineName) == 8 && offsetof(ErrorMsg, errorCode) == 12 &&
                  offsetof(ErrorMsg, progLineNum) == 16 && offsetof(ErrorMsg, message) == 20 &&
                  offsetof(ErrorMsg, errorText) == 24 && offsetof(ErrorMsg, reserved) == 28,
              "ErrorMsg field offsets");
#endif
