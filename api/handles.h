// Handles are the vendor's own objects, allocated by the library: the opaque pointer types
// of quorvex.h are nothing but their addresses.
#ifndef QUORVEX_API_HANDLES_H
#define QUORVEX_API_HANDLES_H

#include <initializer_list>
#include <memory>

#include "api/call_frame.h"

namespace quorvex::api {

template <typename Object, typename Handle>
Object& objectOf(Handle handle) {
  return *reinterpret_cast<Object*>(handle);
}

// A pointer argument and its name as the caller's header gives it.
struct Argument {
  const char* name;
  const void* value;
};

// A caller's NULL where the export needs a pointer is reported, not dereferenced: a
// scripting caller must not lose its process to one wrong argument. The kind-0 record
// names the export and the first NULL argument; null when every argument is set.
ErrorMsg* nullArgument(const char* exportName, std::initializer_list<Argument> arguments);

// The create pattern: the out-parameter is null before anything else and gets the object
// only once it is fully built; should building raise, the memory is released again.
template <typename Handle, typename Build>
ErrorMsg* createHandle(const char* exportName, Handle* out, const char* outName,
                       std::initializer_list<Argument> inputs, Build build) {
  if (!out) return nullArgument(exportName, {{outName, out}});
  *out = nullptr;
  if (ErrorMsg* error = nullArgument(exportName, inputs)) return error;
  return recordFrame([&] {
    auto object = build();
    *out = reinterpret_cast<Handle>(object.release());
  });
}

}  // namespace quorvex::api

#endif
