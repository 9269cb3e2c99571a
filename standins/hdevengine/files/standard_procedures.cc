#include "files/standard_procedures.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Any object inside this library: its address tells the library's file.
const char kAnchor = 0;

// The folder holding this library's own file, found from an address inside it: the engine
// may be installed anywhere, and the caller's working folder says nothing about where.
std::string libraryFolder() {
  std::string path;
#if defined(_WIN32)
  HMODULE module = nullptr;
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          &kAnchor, &module)) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) path.assign(buffer, length);
  }
#else
  Dl_info info;
  if (dladdr(&kAnchor, &info) && info.dli_fname) {
    path = info.dli_fname;
  }
#endif
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return path.empty() ? "" : ".";
  return path.substr(0, slash);
}

}  // namespace

std::string standardProceduresFolder() {
  if (const char* configured = std::getenv(kStandardProceduresVariable)) return configured;
  static const std::string beside = [] {
    const std::string folder = libraryFolder();
    return folder.empty() ? folder : folder + "/" + kStandardProceduresFolder;
  }();
  return beside;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
