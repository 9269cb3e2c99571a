// The mouse operators. The stand-in's windows are never under a pointer: a program runs
// without anyone at the screen, so the position queries fail as the vendor's do for a
// pointer outside the window, and the operators that wait for a button press fail at once
// instead of waiting for a press that cannot come.
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

}  // namespace HalconCpp
