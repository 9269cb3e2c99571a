// File and folder operators a program line can call: list_files and file_exists. read_image
// and write_image are among the iconic operators.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void listFiles(const OperatorArgs& a) {
  H::ListFiles(*a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0]);
}
void fileExists(const OperatorArgs& a) {
  H::FileExists(*a.ctrlIn[0], a.ctrlOut[0]);
}

constexpr OperatorSpec kFileOperators[] = {
    {"list_files", 0, 0, 2, 1, listFiles},
    {"file_exists", 0, 0, 1, 1, fileExists},
};

}  // namespace

OperatorGroup fileOperators() {
  return {kFileOperators, sizeof kFileOperators / sizeof kFileOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
