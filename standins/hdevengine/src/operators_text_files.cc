// Text file, tuple file, folder and clock operators a program line can call.
#include "operator_table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

void openFile(const OperatorArgs& a) {
  H::OpenFile(*a.ctrlIn[0], *a.ctrlIn[1], a.ctrlOut[0]);
}
void fwriteString(const OperatorArgs& a) {
  H::FwriteString(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void fnewLine(const OperatorArgs& a) {
  H::FnewLine(*a.ctrlIn[0]);
}
void freadString(const OperatorArgs& a) {
  H::FreadString(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1]);
}
void freadLine(const OperatorArgs& a) {
  H::FreadLine(*a.ctrlIn[0], a.ctrlOut[0], a.ctrlOut[1]);
}
void freadChar(const OperatorArgs& a) {
  H::FreadChar(*a.ctrlIn[0], a.ctrlOut[0]);
}
void closeFile(const OperatorArgs& a) {
  H::CloseFile(*a.ctrlIn[0]);
}
void closeAllFiles(const OperatorArgs&) {
  H::CloseAllFiles();
}
void writeTuple(const OperatorArgs& a) {
  H::WriteTuple(*a.ctrlIn[0], *a.ctrlIn[1]);
}
void readTuple(const OperatorArgs& a) {
  H::ReadTuple(*a.ctrlIn[0], a.ctrlOut[0]);
}
void deleteFile(const OperatorArgs& a) {
  H::DeleteFile(*a.ctrlIn[0]);
}
void makeDir(const OperatorArgs& a) {
  H::MakeDir(*a.ctrlIn[0]);
}
void removeDir(const OperatorArgs& a) {
  H::RemoveDir(*a.ctrlIn[0]);
}
void countSeconds(const OperatorArgs& a) {
  H::CountSeconds(a.ctrlOut[0]);
}

constexpr OperatorSpec kTextFileOperators[] = {
    {"open_file", 0, 0, 2, 1, openFile},     {"fwrite_string", 0, 0, 2, 0, fwriteString},
    {"fnew_line", 0, 0, 1, 0, fnewLine},     {"fread_string", 0, 0, 1, 2, freadString},
    {"fread_line", 0, 0, 1, 2, freadLine},   {"fread_char", 0, 0, 1, 1, freadChar},
    {"close_file", 0, 0, 1, 0, closeFile},   {"close_all_files", 0, 0, 0, 0, closeAllFiles},
    {"write_tuple", 0, 0, 2, 0, writeTuple}, {"read_tuple", 0, 0, 1, 1, readTuple},
    {"delete_file", 0, 0, 1, 0, deleteFile}, {"make_dir", 0, 0, 1, 0, makeDir},
    {"remove_dir", 0, 0, 1, 0, removeDir},   {"count_seconds", 0, 0, 0, 1, countSeconds},
};

}  // namespace

OperatorGroup textFileOperators() {
  return {kTextFileOperators, sizeof kTextFileOperators / sizeof kTextFileOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
