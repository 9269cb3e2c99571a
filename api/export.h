// How the library defines its exports: C linkage, the interface's calling convention, and
// visible from the shared library. Names that share one entry point are aliases of one
// function: on ELF targets through the linker's alias attribute, on Windows through the
// module-definition file generated from api/exports.list.
#ifndef QUORVEX_API_EXPORT_H
#define QUORVEX_API_EXPORT_H

#include "quorvex.h"

#define QUORVEX_EXPORT extern "C" QUORVEX_API

#if defined(_WIN32)
#define QUORVEX_ALIAS(declaration, target)
#elif defined(__clang__)
// clang has no warning about aliases of another type to silence.
#define QUORVEX_ALIAS(declaration, target) \
  QUORVEX_EXPORT declaration __attribute__((alias(#target)));
#else
// The aliases keep the parameter types of their own declaration in quorvex.h (a program
// handle, say, where the target takes a tuple handle); they are one function all the same.
#define QUORVEX_ALIAS(declaration, target)                                               \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wattribute-alias\"") \
      QUORVEX_EXPORT declaration __attribute__((alias(#target)));                        \
  _Pragma("GCC diagnostic pop")
#endif

#endif
