#include "core/pixel_access.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace HalconCpp {
namespace Standin {
namespace {

template <typename T>
double read(const std::uint8_t* data, std::size_t i) {
  T value;
  std::memcpy(&value, data + i * sizeof(T), sizeof(T));
  return static_cast<double>(value);
}

double readComplex(const std::uint8_t* data, std::size_t i) {
  return read<float>(data, 2 * i);
}

template <typename T, PixelType kType>
void write(std::uint8_t* data, std::size_t i, double value) {
  const T stored = static_cast<T>(storableValue(kType, value));
  std::memcpy(data + i * sizeof(T), &stored, sizeof(T));
}

void writeComplex(std::uint8_t* data, std::size_t i, double value) {
  const float parts[2] = {static_cast<float>(storableValue(PixelType::Complex, value)), 0.0f};
  std::memcpy(data + i * sizeof(parts), parts, sizeof(parts));
}

}  // namespace

PixelReader readerOf(PixelType type) {
  switch (type) {
    case PixelType::Int1:
      return read<std::int8_t>;
    case PixelType::Int2:
      return read<std::int16_t>;
    case PixelType::Uint2:
      return read<std::uint16_t>;
    case PixelType::Int4:
      return read<std::int32_t>;
    case PixelType::Real:
      return read<float>;
    case PixelType::Complex:
      return readComplex;
    case PixelType::Byte:
    case PixelType::Direction:
    case PixelType::Cyclic:
      break;
  }
  return read<std::uint8_t>;
}

PixelWriter writerOf(PixelType type) {
  switch (type) {
    case PixelType::Int1:
      return write<std::int8_t, PixelType::Int1>;
    case PixelType::Int2:
      return write<std::int16_t, PixelType::Int2>;
    case PixelType::Uint2:
      return write<std::uint16_t, PixelType::Uint2>;
    case PixelType::Int4:
      return write<std::int32_t, PixelType::Int4>;
    case PixelType::Real:
      return write<float, PixelType::Real>;
    case PixelType::Complex:
      return writeComplex;
    case PixelType::Direction:
      return write<std::uint8_t, PixelType::Direction>;
    case PixelType::Cyclic:
      return write<std::uint8_t, PixelType::Cyclic>;
    case PixelType::Byte:
      break;
  }
  return write<std::uint8_t, PixelType::Byte>;
}

ImagePtr displayBytes(const ImageObject& image, const char* op) {
  const PixelReader read = readerOf(image.type());
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const Run& run : clipRuns(*image.domain, image.height, image.width)) {
    for (std::size_t c = 0; c < image.channels.size(); ++c) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const double value = read(image.pixels(c), image.offset(run.row, col));
        if (std::isnan(value)) continue;
        low = std::min(low, value);
        high = std::max(high, value);
      }
    }
  }
  const bool spread = high > low;
  const double scale = spread ? 255 / (high - low) : 1;
  const double shift = spread ? low : 0;
  std::vector<PlanePtr> planes;
  const std::size_t count =
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  for (std::size_t c = 0; c < image.channels.size(); ++c) {
    auto plane = std::make_shared<Plane>(image.width, image.height, op);
    for (std::size_t i = 0; i < count; ++i) {
      const double value = (read(image.pixels(c), i) - shift) * scale;
      plane->data()[i] = std::isnan(value)
                             ? 0
                             : static_cast<std::uint8_t>(std::clamp(std::round(value), 0.0, 255.0));
    }
    planes.push_back(std::move(plane));
  }
  return makeImage(image.width, image.height, std::move(planes), image.domain);
}

}  // namespace Standin
}  // namespace HalconCpp
