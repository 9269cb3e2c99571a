#include "library.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace quorvex::run {
namespace {

void* openLibrary(const std::string& path) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
#else
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void* lookUp(void* handle, const char* name) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

std::string loadError() {
#if defined(_WIN32)
  return "error " + std::to_string(GetLastError());
#else
  const char* error = dlerror();
  return error ? error : "unknown error";
#endif
}

}  // namespace

Library::Library(const std::string& path) : handle_(openLibrary(path)) {
  if (!handle_) throw std::runtime_error("cannot load " + path + ": " + loadError());
#define QUORVEX_RUN_EXPORT(name)                                   \
  name = reinterpret_cast<decltype(name)>(lookUp(handle_, #name)); \
  if (!name) throw std::runtime_error(path + " does not export " #name);
#include "exports_used.inc"
#undef QUORVEX_RUN_EXPORT
}

// The library stays loaded: its message callbacks and windows may still be in use while
// the process ends.
Library::~Library() = default;

}  // namespace quorvex::run
