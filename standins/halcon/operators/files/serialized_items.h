// Serialized items behind integer handles (serialize_object and its kin), for the other
// kinds of data that serialize themselves into the same handles: clear_serialized_item
// frees any of them.
#ifndef QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H
#define QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H

#include <string>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// A new item holding `bytes`, counted against the pixel bound (6001 in `op` beyond it).
Hlong addSerializedItem(std::string bytes, const char* op);
// The bytes of the item behind the handle (control input 1); 1301 when it is no item.
std::string serializedItemBytes(const HTuple& handle, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
