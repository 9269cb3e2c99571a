#include "core/params.h"

namespace HalconCpp {
namespace Standin {

void fail(const char* op, Hlong errorCode) {
  throw HException::ForOperator(op, errorCode);
}

void requireLength(const HTuple& value, Hlong count, const char* op, int n) {
  if (value.Length() != count) fail(op, 1400 + n);
}

Hlong oneInteger(const HTuple& value, const char* op, int n) {
  requireLength(value, 1, op, n);
  return integerAt(value, 0, op, n);
}

double oneNumber(const HTuple& value, const char* op, int n) {
  requireLength(value, 1, op, n);
  return numberAt(value, 0, op, n);
}

std::string oneString(const HTuple& value, const char* op, int n) {
  requireLength(value, 1, op, n);
  if (value[0].Type() != eElementTypeString) fail(op, 1200 + n);
  return value[0].S().str();
}

double numberAt(const HTuple& value, Hlong i, const char* op, int n) {
  const HTupleElementType type = value[i].Type();
  if (type != eElementTypeLong && type != eElementTypeDouble) fail(op, 1200 + n);
  return value[i].D();
}

Hlong integerAt(const HTuple& value, Hlong i, const char* op, int n) {
  if (value[i].Type() != eElementTypeLong) fail(op, 1200 + n);
  return value[i].L();
}

Hlong objectCount(const HObject& object, const char* op, int n) {
  if (!object.IsInitialized()) fail(op, 1500 + n);
  return object.CountObj();
}

}  // namespace Standin
}  // namespace HalconCpp
