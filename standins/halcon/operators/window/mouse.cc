// The mouse and keyboard operators. The stand-in's windows are never under a pointer: a
// program runs without anyone at the screen, so the position queries fail as the vendor's do
// for a pointer outside the window, and the operators that wait for a button press or for
// keys fail at once, the same way, instead of waiting for input that cannot come.
#include "core/params.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// H_MSG_FAIL: the vendor's result for "the pointer is not in the window".
constexpr Hlong kNoPointer = 5;

const bool mouseRegistered = [] {
  registerErrorText(kNoPointer, "The mouse pointer is not in the window");
  return true;
}();

[[noreturn]] void noPointer(const HTuple& WindowHandle, const char* name, const char* op) {
  logWindowCall(name, WindowHandle);
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  fail(op, kNoPointer);
}

}  // namespace

void GetMposition(const HTuple& WindowHandle, HTuple*, HTuple*, HTuple*) {
  ApiScope scope("GetMposition");
  noPointer(WindowHandle, "GetMposition", "get_mposition");
}

void GetMpositionSubPix(const HTuple& WindowHandle, HTuple*, HTuple*, HTuple*) {
  ApiScope scope("GetMpositionSubPix");
  noPointer(WindowHandle, "GetMpositionSubPix", "get_mposition_sub_pix");
}

void GetMbutton(const HTuple& WindowHandle, HTuple*, HTuple*, HTuple*) {
  ApiScope scope("GetMbutton");
  noPointer(WindowHandle, "GetMbutton", "get_mbutton");
}

void GetMbuttonSubPix(const HTuple& WindowHandle, HTuple*, HTuple*, HTuple*) {
  ApiScope scope("GetMbuttonSubPix");
  noPointer(WindowHandle, "GetMbuttonSubPix", "get_mbutton_sub_pix");
}

void ReadChar(const HTuple& WindowHandle, HTuple*, HTuple*) {
  ApiScope scope("ReadChar");
  noPointer(WindowHandle, "ReadChar", "read_char");
}

void ReadString(const HTuple& WindowHandle, const HTuple& InString, const HTuple& Length, HTuple*) {
  ApiScope scope("ReadString");
  const char* op = "read_string";
  oneString(InString, op, 2);
  if (oneInteger(Length, op, 3) < 1) fail(op, 1303);
  noPointer(WindowHandle, "ReadString", op);
}

}  // namespace HalconCpp
