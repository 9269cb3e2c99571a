// Text file, tuple file, folder and clock operators a program line can call.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void closeAllFiles(const OperatorArgs&) {
  H::CloseAllFiles();
}

constexpr OperatorSpec kTextFileOperators[] = {
    bind<&H::OpenFile>("open_file"),     bind<&H::FwriteString>("fwrite_string"),
    bind<&H::FnewLine>("fnew_line"),     bind<&H::FreadString>("fread_string"),
    bind<&H::FreadLine>("fread_line"),   bind<&H::FreadChar>("fread_char"),
    bind<&H::CloseFile>("close_file"),   {"close_all_files", 0, 0, 0, 0, closeAllFiles},
    bind<&H::WriteTuple>("write_tuple"), bind<&H::ReadTuple>("read_tuple"),
    bind<&H::DeleteFile>("delete_file"), bind<&H::MakeDir>("make_dir"),
    bind<&H::RemoveDir>("remove_dir"),   bind<&H::CountSeconds>("count_seconds"),
    bind<&H::CopyFile>("copy_file"),
};

}  // namespace

OperatorGroup textFileOperators() {
  return {kTextFileOperators, sizeof kTextFileOperators / sizeof kTextFileOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
