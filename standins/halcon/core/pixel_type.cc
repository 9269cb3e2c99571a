#include "core/pixel_type.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace HalconCpp {
namespace Standin {
namespace {

struct TypeInfo {
  const char* name;
  std::size_t size;
  double lowest, highest;
};

constexpr TypeInfo kTypes[kPixelTypeCount] = {
    {"byte", 1, 0, 255},
    {"int1", 1, -128, 127},
    {"int2", 2, -32768, 32767},
    {"uint2", 2, 0, 65535},
    {"int4", 4, -2147483648.0, 2147483647.0},
    {"real", 4, -FLT_MAX, FLT_MAX},
    {"direction", 1, 0, 179},
    {"cyclic", 1, 0, 255},
    {"complex", 8, -FLT_MAX, FLT_MAX},
};

const TypeInfo& infoOf(PixelType type) {
  return kTypes[static_cast<int>(type)];
}

}  // namespace

const char* pixelTypeName(PixelType type) {
  return infoOf(type).name;
}

bool pixelTypeOf(const std::string& name, PixelType* type) {
  for (int i = 0; i < kPixelTypeCount; ++i) {
    if (name == kTypes[i].name) {
      *type = static_cast<PixelType>(i);
      return true;
    }
  }
  return false;
}

std::size_t elementSize(PixelType type) {
  return infoOf(type).size;
}

double lowestValue(PixelType type) {
  return infoOf(type).lowest;
}

double highestValue(PixelType type) {
  return infoOf(type).highest;
}

double storableValue(PixelType type, double value) {
  const TypeInfo& info = infoOf(type);
  if (type == PixelType::Real || type == PixelType::Complex) {
    if (std::isnan(value)) return value;
    return std::clamp(value, info.lowest, info.highest);
  }
  if (std::isnan(value)) return 0;
  const double rounded = std::round(value);
  if (type == PixelType::Direction) {
    return rounded >= 0 && rounded <= info.highest ? rounded : 255;
  }
  return std::clamp(rounded, info.lowest, info.highest);
}

double arithmeticValue(PixelType type, double value) {
  if (type != PixelType::Cyclic && type != PixelType::Direction) return storableValue(type, value);
  if (!std::isfinite(value)) return 0;
  const double modulus = type == PixelType::Cyclic ? 256 : 180;
  const double wrapped = std::fmod(std::round(value), modulus);
  return wrapped < 0 ? wrapped + modulus : wrapped;
}

}  // namespace Standin
}  // namespace HalconCpp
