// The addresses the stand-in hands out as integers (get_image_pointer1/3's planes,
// obj_to_integer's object keys) and the only ones a program line may hand back. A program
// may come from anyone; an integer it passes as an address is used only when it is the start
// of a plane or the key of an object that the stand-in handed out and that is still alive.
#ifndef QUORVEX_STANDINS_HALCON_HANDED_OUT_H
#define QUORVEX_STANDINS_HALCON_HANDED_OUT_H

#include <cstdint>

#include "core/image.h"
#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

// Notes the plane as handed out and gives its address as a tuple element.
HTuple handOutPlane(const PlanePtr& plane, std::uint64_t bytes);
// The live handed-out plane that starts at `address` and holds at least `bytes`, or null.
PlanePtr handedOutPlane(std::uintptr_t address, std::uint64_t bytes);

// Notes the object as handed out and gives its key.
Hlong handOutObject(const HObject::Item& object);
// The live handed-out object of that key, or null.
HObject::Item handedOutObject(Hlong key);

}  // namespace Standin
}  // namespace HalconCpp

#endif
