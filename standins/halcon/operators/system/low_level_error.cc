// Low-level errors: the vendor's "do_low_error" parameter and the "standin_low_level_error"
// control that reports one.
//   do_low_error 'false' (the default): low-level errors are dropped.
//   do_low_error 'true': each is printed to standard error.
//   do_low_error ['callback', Address]: each is passed to the function at Address,
//     int f(const char* text), with the stdcall convention on 32-bit x86.
// Setting 'true' or 'false' removes a callback. standin_low_level_error Text reports Text.
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/annotated_mutex.h"
#include "core/params.h"
#include "standin/controls.h"

#if defined(_MSC_VER) && defined(_M_IX86)
#define QUORVEX_STANDIN_STDCALL __stdcall
#elif defined(__i386__)
#define QUORVEX_STANDIN_STDCALL __attribute__((stdcall))
#else
#define QUORVEX_STANDIN_STDCALL
#endif

namespace HalconCpp {
namespace Standin {

namespace {

using Handler = int(QUORVEX_STANDIN_STDCALL*)(const char*);

class LowLevelErrors {
 public:
  void set(bool print, Hlong address) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    print_ = print;
    address_ = address;
  }
  void get(bool* print, Hlong* address) QUORVEX_EXCLUDES(mutex_) {
    quorvex::common::Lock lock(mutex_);
    *print = print_;
    *address = address_;
  }

 private:
  quorvex::common::Mutex mutex_;
  bool print_ QUORVEX_GUARDED_BY(mutex_) = false;
  Hlong address_ QUORVEX_GUARDED_BY(mutex_) = 0;  // 0: no callback
};

LowLevelErrors& lowLevelErrors() {
  static LowLevelErrors* instance = new LowLevelErrors;  // outlives every static destructor
  return *instance;
}

void setDoLowError(const HTuple& value) {
  const char* op = "set_system";
  if (value.Length() == 2) {
    if (value[0].Type() != eElementTypeString || value[0].S().str() != "callback") {
      fail(op, 1302);
    }
    const Hlong address = integerAt(value, 1, op, 2);
    if (address == 0) fail(op, 1302);
    lowLevelErrors().set(false, address);
    return;
  }
  const std::string mode = oneString(value, op, 2);
  if (mode != "true" && mode != "false") fail(op, 1302);
  lowLevelErrors().set(mode == "true", 0);
}

HTuple getDoLowError() {
  bool print;
  Hlong address;
  lowLevelErrors().get(&print, &address);
  if (address == 0) return HTuple(print ? "true" : "false");
  HTuple result("callback");
  result.Append(HTuple(address));
  return result;
}

void reportLowLevelError(const HTuple& value) {
  const std::string text = oneString(value, "set_system", 2);
  bool print;
  Hlong address;
  lowLevelErrors().get(&print, &address);
  // The handler runs outside the lock: it may call back into the stand-ins.
  if (address != 0) {
    reinterpret_cast<Handler>(static_cast<std::uintptr_t>(address))(text.c_str());
  } else if (print) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

const bool lowLevelErrorRegistered = [] {
  registerControl("do_low_error", &setDoLowError, &getDoLowError);
  registerControl("standin_low_level_error", &reportLowLevelError, nullptr);
  return true;
}();

}  // namespace

}  // namespace Standin
}  // namespace HalconCpp
