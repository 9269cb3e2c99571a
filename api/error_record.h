// Builders of the error records that failing exports return. Each failure gets a record of
// its own, allocated with calloc so that hclearErrorMsg can release it with free.
#ifndef QUORVEX_API_ERROR_RECORD_H
#define QUORVEX_API_ERROR_RECORD_H

#include <cstddef>

#include "engine/vendor.h"
#include "quorvex.h"

namespace quorvex::api {

// A zero-filled copy of `length` bytes of `text` plus a terminating NUL; null only when the
// allocation fails.
char* copyText(const char* text, std::size_t length);
char* copyText(const char* text);

ErrorMsg* errorFromHException(const engine::HException& e);
ErrorMsg* errorFromEngineException(const engine::HDevEngineException& e);
ErrorMsg* errorFromText(const char* text);

// Fills `record->errorText` with the vendor's text for `errorCode`. A failing lookup costs only
// that field.
void fillErrorText(int errorCode, ErrorMsg* record);

// The record returned when not even a record can be allocated. It lives in static storage;
// hclearErrorMsg recognises it and leaves it alone.
ErrorMsg* outOfMemoryRecord();

// Releases a record built by the functions above.
void releaseRecord(ErrorMsg* record);

}  // namespace quorvex::api

#endif
