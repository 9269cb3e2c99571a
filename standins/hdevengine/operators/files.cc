// File and folder operators a program line can call: list_files and file_exists. read_image
// and write_image are among the iconic operators.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFileOperators[] = {
    bind<&H::ListFiles>("list_files"),
    bind<&H::FileExists>("file_exists"),
};

}  // namespace

OperatorGroup fileOperators() {
  return {kFileOperators, sizeof kFileOperators / sizeof kFileOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
