// Handles are the vendor's own objects, allocated by the library: the opaque pointer types
// of quorvex.h are nothing but their addresses.
#ifndef QUORVEX_API_HANDLES_H
#define QUORVEX_API_HANDLES_H

#include <memory>

#include "api/call_frame.h"

namespace quorvex::api {

template <typename Object, typename Handle>
Object& objectOf(Handle handle) {
  return *reinterpret_cast<Object*>(handle);
}

// The create pattern: the out-parameter is null before anything else and gets the object
// only once it is fully built; should building raise, the memory is released again.
template <typename Handle, typename Build>
ErrorMsg* createHandle(Handle* out, Build build) {
  *out = nullptr;
  return recordFrame([&] {
    auto object = build();
    *out = reinterpret_cast<Handle>(object.release());
  });
}

}  // namespace quorvex::api

#endif
