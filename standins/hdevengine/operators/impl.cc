// The display implementation's base: every operation does nothing and succeeds.
#include "hdevengine/HDevEngineCpp.h"

namespace HDevEngineCpp {
namespace {
constexpr int kSuccess = static_cast<int>(HalconCpp::H_MSG_TRUE);
}

HDevOperatorImplCpp::HDevOperatorImplCpp() = default;
HDevOperatorImplCpp::~HDevOperatorImplCpp() = default;

int HDevOperatorImplCpp::DevClearWindow() {
  return kSuccess;
}
int HDevOperatorImplCpp::DevCloseWindow() {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetWindow(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevGetWindow(HTuple*) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevDisplay(const HObject&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetWindowExtents(const HTuple&, const HTuple&, const HTuple&,
                                             const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetDraw(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetShape(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetColored(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetColor(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetLut(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetPaint(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetPart(const HTuple&, const HTuple&, const HTuple&, const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevSetLineWidth(const HTuple&) {
  return kSuccess;
}
int HDevOperatorImplCpp::DevOpenWindow(const HTuple&, const HTuple&, const HTuple&, const HTuple&,
                                       const HTuple&, HTuple*) {
  return kSuccess;
}

}  // namespace HDevEngineCpp
