// The serialized items behind integer handles, shared by every serialize_* operator.
#ifndef QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H
#define QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H

#include <string>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// A new item holding the bytes (charged to the memory bound), and its handle.
Hlong storeSerialized(std::string bytes, const char* op);
// The bytes of the item of that handle; 1301 in `op` for an unknown handle.
std::string serializedBytes(const HTuple& handle, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
