// The quorvex library loaded at run time, as a scripting bridge loads it: by file name, with
// every export looked up by its name. Nothing of the library is linked.
#ifndef QUORVEX_TOOLS_RUN_LIBRARY_H
#define QUORVEX_TOOLS_RUN_LIBRARY_H

#include <string>

#include "quorvex.h"

namespace quorvex::run {

class Library {
 public:
  // Raises std::runtime_error when the file cannot be loaded or lacks an export.
  explicit Library(const std::string& path);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

#define QUORVEX_RUN_EXPORT(name) decltype(&::name) name = nullptr;
#include "exports_used.inc"
#undef QUORVEX_RUN_EXPORT

 private:
  void* handle_ = nullptr;
};

}  // namespace quorvex::run

#endif
