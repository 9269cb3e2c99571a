#include "operators/xld/xld_params.h"

namespace HalconCpp {
namespace Standin {

Hlong shapeCount(const std::vector<const HTuple*>& tuples, const char* op) {
  Hlong count = 1;
  for (const HTuple* t : tuples) {
    if (t->Length() != 1) {
      count = t->Length();
      break;
    }
  }
  for (std::size_t n = 0; n < tuples.size(); ++n) {
    const Hlong length = tuples[n]->Length();
    if (length != 1 && length != count) fail(op, 1401 + static_cast<Hlong>(n));
    if (length == 0) fail(op, 1401 + static_cast<Hlong>(n));
  }
  return count;
}

double numberOf(const HTuple& value, Hlong i, const char* op, int n) {
  return numberAt(value, value.Length() == 1 ? 0 : i, op, n);
}

std::string stringOf(const HTuple& value, Hlong i, const char* op, int n) {
  const Hlong at = value.Length() == 1 ? 0 : i;
  if (value[at].Type() != eElementTypeString) fail(op, 1200 + n);
  return value[at].S().str();
}

}  // namespace Standin
}  // namespace HalconCpp
