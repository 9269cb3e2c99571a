#include "api/error_record.h"
#include "api/export.h"

QUORVEX_EXPORT void QUORVEX_CALL hclearErrorMsg(ErrorMsg* msg) {
  quorvex::api::releaseRecord(msg);
}
