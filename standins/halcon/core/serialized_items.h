// The serialized items behind integer handles (serialize_object, serialize_tuple and their
// kin): immutable byte strings, counted against the pixel bound while they live. Items hold
// the stand-in's own byte forms, told apart by their first eight bytes.
#ifndef QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H
#define QUORVEX_STANDINS_HALCON_SERIALIZED_ITEMS_H

#include <cstdint>
#include <memory>
#include <string>

#include "core/memory_bounds.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

struct SerializedItem {
  SerializedItem(std::string data, const char* op) : reservation(data.size(), op) {
    bytes = std::move(data);
  }
  PixelReservation reservation;
  std::string bytes;
};
using SerializedItemPtr = std::shared_ptr<const SerializedItem>;

// The first bytes of a serialized tuple.
constexpr char kTupleMagic[8] = {'Q', 'V', 'X', 'T', 'U', 'P', '\r', '\n'};

// A new item of those bytes and its handle; 6001 in `op` past the pixel bound.
Hlong addSerializedItem(std::string bytes, const char* op);
// The item of the handle in control input `n`: one integer (140n, 120n) of a live item
// (else 130n).
SerializedItemPtr serializedItem(const HTuple& handle, const char* op, int n);
bool removeSerializedItem(Hlong handle);

// Whether the bytes begin with that magic.
bool startsWith(const std::string& bytes, const char (&magic)[8]);

// Notes the item's bytes as handed out and gives their address.
HTuple handOutItem(const SerializedItemPtr& item);
// The live handed-out item whose bytes start at `address` and hold at least `size`, or null.
SerializedItemPtr handedOutItem(std::uintptr_t address, std::uint64_t size);

}  // namespace Standin
}  // namespace HalconCpp

#endif
