// The stand-in's byte form of iconic objects, shared by the object files (write_object,
// write_region) and the serialized items (serialize_object and its kin). The vendor's layout
// is not public; this one is the stand-in's own (docs/standins.md, "Object files"): a magic
// number, a version, then each object by kind, every number little-endian.
//
// Decoding checks every count against the bytes that remain before it takes memory for it,
// so that a truncated, corrupt or hostile input is 5202 (or 6001 past the pixel bound), never
// a crash or an allocation the input's size does not pay for.
#ifndef QUORVEX_STANDINS_HALCON_OBJECT_CODEC_H
#define QUORVEX_STANDINS_HALCON_OBJECT_CODEC_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

// The first bytes of every object file and serialized item.
constexpr char kObjectMagic[8] = {'Q', 'V', 'X', 'O', 'B', 'J', '\r', '\n'};
constexpr std::uint32_t kObjectVersion = 1;

std::string encodeObjects(const HObject& objects);
// Raises 5202 in `op` for bytes that are not a whole, well-formed encoding.
HObject decodeObjects(const std::uint8_t* bytes, std::size_t size, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
