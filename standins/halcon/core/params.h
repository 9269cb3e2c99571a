// Checks of operator parameters with the vendor's error numbers. For a control parameter at
// position n among the control inputs (from 1): 1200+n wrong type, 1300+n wrong value,
// 1400+n wrong number of values. For an iconic input at position n: 1100+n wrong object
// class, 1500+n wrong number of objects (an uninitialised object counts as none).
#ifndef QUORVEX_STANDINS_HALCON_PARAMS_H
#define QUORVEX_STANDINS_HALCON_PARAMS_H

#include <string>
#include <utility>

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

[[noreturn]] void fail(const char* op, Hlong errorCode);

// Raises 1400+n unless `value` has exactly `count` elements.
void requireLength(const HTuple& value, Hlong count, const char* op, int n);

// One element of the given kind; `number` accepts integers and reals.
Hlong oneInteger(const HTuple& value, const char* op, int n);
double oneNumber(const HTuple& value, const char* op, int n);
std::string oneString(const HTuple& value, const char* op, int n);

// Element i as a number or an integer (a real raises 1200+n).
double numberAt(const HTuple& value, Hlong i, const char* op, int n);
Hlong integerAt(const HTuple& value, Hlong i, const char* op, int n);

// The number of objects of an iconic input; raises 1500+n for an uninitialised object.
Hlong objectCount(const HObject& object, const char* op, int n);

// Output parameters a caller passed as null are left alone.
template <typename T>
void setOutput(T* output, T value) {
  if (output) *output = std::move(value);
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
