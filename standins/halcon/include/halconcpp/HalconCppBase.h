// Basic types of the image-processing stand-in, shaped like the vendor's.
#ifndef HALCONCPP_HALCONCPPBASE_H
#define HALCONCPP_HALCONCPPBASE_H

// What the library exports on Windows, as a vendor SDK marks it: exported while the library
// itself is built, imported by everyone else. Elsewhere every symbol is visible anyway.
#if defined(_WIN32)
#if defined(HALCONCPP_BUILDING)
#define HALCONCPP_API __declspec(dllexport)
#else
#define HALCONCPP_API __declspec(dllimport)
#endif
#else
#define HALCONCPP_API
#endif

namespace HalconCpp {

// The vendor's integer element: 32 bits on 32-bit targets and on 64-bit Windows' LLP64
// model it is widened explicitly, as the vendor does.
#if defined(_WIN64)
typedef long long Hlong;
#else
typedef long Hlong;
#endif

typedef unsigned int Herror;

// Success code of every operator.
constexpr Herror H_MSG_TRUE = 2;

enum HTupleElementType {
  eElementTypeUndef = 0,
  eElementTypeLong = 1,
  eElementTypeDouble = 2,
  eElementTypeString = 4,
  eElementTypeMixed = 8,
};
typedef HTupleElementType HTupleType;

}  // namespace HalconCpp

#endif
