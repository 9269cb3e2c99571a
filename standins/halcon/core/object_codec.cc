#include "core/object_codec.h"

#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

enum Kind : std::uint8_t { kImage = 'I', kRegion = 'R', kContour = 'C' };

// Region coordinates the reader accepts: far beyond any image, yet small enough that the
// width of a run and sums over a row never overflow 32 bits.
constexpr std::int32_t kMaxStoredCoordinate = (1 << 20) - 1;
// Longest attribute name: the vendor's are short words ('angle', 'response', ...).
constexpr std::uint32_t kMaxName = 1024;

class Writer {
 public:
  void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  void bytes(const void* data, std::size_t size) {
    out_.append(static_cast<const char*>(data), size);
  }
  void text(const std::string& s) {
    u32(static_cast<std::uint32_t>(s.size()));
    bytes(s.data(), s.size());
  }
  void runs(const Runs& runs) {
    u32(static_cast<std::uint32_t>(runs.size()));
    for (const Run& run : runs) {
      i32(run.row);
      i32(run.begin);
      i32(run.end);
    }
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

class Reader {
 public:
  Reader(const std::uint8_t* bytes, std::size_t size, const char* op)
      : at_(bytes), end_(bytes + size), op_(op) {}

  [[noreturn]] void corrupt() const { fail(op_, H_ERR_FILE_FORMAT); }
  std::size_t left() const { return static_cast<std::size_t>(end_ - at_); }
  // Raises unless `count` items of `each` bytes fit in what is left.
  void need(std::uint64_t count, std::uint64_t each) const {
    if (each != 0 && count > left() / each) corrupt();
  }
  const std::uint8_t* take(std::size_t size) {
    need(size, 1);
    const std::uint8_t* p = at_;
    at_ += size;
    return p;
  }
  std::uint8_t u8() { return *take(1); }
  std::uint32_t u32() {
    const std::uint8_t* p = take(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{p[i]} << (8 * i);
    return v;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  double f64() {
    const std::uint8_t* p = take(8);
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= std::uint64_t{p[i]} << (8 * i);
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string text() {
    const std::uint32_t size = u32();
    if (size > kMaxName) corrupt();
    const std::uint8_t* p = take(size);
    return std::string(reinterpret_cast<const char*>(p), size);
  }
  Runs runs() {
    const std::uint32_t count = u32();
    need(count, 12);
    Runs runs;
    runs.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::int32_t row = i32(), begin = i32(), end = i32();
      const auto inRange = [](std::int32_t v) {
        return v >= -kMaxStoredCoordinate && v <= kMaxStoredCoordinate;
      };
      if (!inRange(row) || !inRange(begin) || !inRange(end) || begin > end) corrupt();
      runs.push_back({row, begin, end});
    }
    // A file's runs may come in any order: they are made canonical as every region's are.
    return normalizeRuns(std::move(runs));
  }
  std::vector<double> reals(std::uint32_t count) {
    need(count, 8);
    std::vector<double> values(count);
    for (double& v : values) v = f64();
    return values;
  }
  // Points are drawn and rounded to pixels: they stay finite and within the region bound.
  std::vector<double> coordinates(std::uint32_t count) {
    std::vector<double> values = reals(count);
    for (double v : values) {
      if (!(v >= -kMaxStoredCoordinate && v <= kMaxStoredCoordinate)) corrupt();
    }
    return values;
  }

 private:
  const std::uint8_t* at_;
  const std::uint8_t* end_;
  const char* op_;
};

void encodeImage(Writer& w, const ImageObject& image) {
  w.i32(image.width);
  w.i32(image.height);
  w.u32(static_cast<std::uint32_t>(image.channels.size()));
  for (const PlanePtr& plane : image.channels) w.u8(static_cast<std::uint8_t>(plane->type()));
  w.runs(*image.domain);
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  for (const PlanePtr& plane : image.channels) {
    w.bytes(plane->data(), pixels * elementSize(plane->type()));
  }
}

std::shared_ptr<IconicObject> decodeImage(Reader& r, const char* op) {
  const std::int32_t width = r.i32(), height = r.i32();
  if (width < 1 || width > kMaxImageSide || height < 1 || height > kMaxImageSide) r.corrupt();
  const std::uint32_t count = r.u32();
  r.need(count, 1);
  std::vector<PixelType> types;
  for (std::uint32_t c = 0; c < count; ++c) {
    const std::uint8_t type = r.u8();
    if (type >= kPixelTypeCount) r.corrupt();
    types.push_back(static_cast<PixelType>(type));
  }
  auto domain = std::make_shared<const Runs>(clipRuns(r.runs(), height, width));
  const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
  std::vector<PlanePtr> planes;
  for (const PixelType type : types) {
    const std::uint64_t bytes = pixels * elementSize(type);
    r.need(bytes, 1);
    auto plane = std::make_shared<Plane>(width, height, op, type, Plane::Unwritten{});
    std::memcpy(plane->data(), r.take(static_cast<std::size_t>(bytes)),
                static_cast<std::size_t>(bytes));
    planes.push_back(std::move(plane));
  }
  return makeImage(width, height, std::move(planes), std::move(domain));
}

void encodeContour(Writer& w, const ContourObject& contour) {
  w.u32(static_cast<std::uint32_t>(contour.size()));
  for (double v : contour.rows) w.f64(v);
  for (double v : contour.cols) w.f64(v);
  w.u32(static_cast<std::uint32_t>(contour.attribs.size()));
  for (const auto& [name, values] : contour.attribs) {
    w.text(name);
    for (double v : values) w.f64(v);
  }
  w.u32(static_cast<std::uint32_t>(contour.globalAttribs.size()));
  for (const auto& [name, value] : contour.globalAttribs) {
    w.text(name);
    w.f64(value);
  }
}

std::shared_ptr<IconicObject> decodeContour(Reader& r) {
  const std::uint32_t points = r.u32();
  r.need(points, 16);
  auto rows = r.coordinates(points);
  auto cols = r.coordinates(points);
  ContourPtr contour = makeContour(std::move(rows), std::move(cols));
  const std::uint32_t attribs = r.u32();
  // Each attribute takes its name's length and a value per point.
  r.need(attribs, 4 + std::uint64_t{points} * 8);
  for (std::uint32_t i = 0; i < attribs; ++i) {
    std::string name = r.text();
    contour->attribs.emplace_back(std::move(name), r.reals(points));
  }
  const std::uint32_t globals = r.u32();
  r.need(globals, 12);
  for (std::uint32_t i = 0; i < globals; ++i) {
    std::string name = r.text();
    contour->globalAttribs.emplace_back(std::move(name), r.f64());
  }
  return contour;
}

}  // namespace

std::string encodeObjects(const HObject& objects) {
  Writer w;
  w.bytes(kObjectMagic, sizeof kObjectMagic);
  w.u32(kObjectVersion);
  w.u32(static_cast<std::uint32_t>(objects.Items().size()));
  for (const HObject::Item& item : objects.Items()) {
    if (const auto* image = dynamic_cast<const ImageObject*>(item.get())) {
      w.u8(kImage);
      encodeImage(w, *image);
    } else if (const auto* region = dynamic_cast<const RegionObject*>(item.get())) {
      w.u8(kRegion);
      w.runs(region->runs);
    } else if (const auto* contour = dynamic_cast<const ContourObject*>(item.get())) {
      w.u8(kContour);
      encodeContour(w, *contour);
    }
  }
  return w.take();
}

HObject decodeObjects(const std::uint8_t* bytes, std::size_t size, const char* op) {
  Reader r(bytes, size, op);
  if (std::memcmp(r.take(sizeof kObjectMagic), kObjectMagic, sizeof kObjectMagic) != 0) {
    r.corrupt();
  }
  if (r.u32() != kObjectVersion) r.corrupt();
  const std::uint32_t count = r.u32();
  // Every object takes at least its kind and a count.
  r.need(count, 5);
  std::vector<HObject::Item> items;
  items.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    switch (r.u8()) {
      case kImage:
        items.push_back(decodeImage(r, op));
        break;
      case kRegion:
        items.push_back(makeRegion(r.runs()));
        break;
      case kContour:
        items.push_back(decodeContour(r));
        break;
      default:
        r.corrupt();
    }
  }
  if (r.left() != 0) r.corrupt();
  return HObject(std::move(items));
}

}  // namespace Standin
}  // namespace HalconCpp
