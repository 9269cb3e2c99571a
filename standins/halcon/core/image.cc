// The image object itself: planes, the one place where images are made, access to the
// images of an iconic parameter, and the HImage class.
#include "core/image.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <new>
#include <utility>

#include "common/annotated_mutex.h"
#include "core/empty_results.h"
#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HImage.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Large pixel buffers that planes let go of, kept for the next plane of the same size: a
// program that filters image after image then writes into memory it has already touched,
// instead of having the system map and clear fresh pages for every result, which on a busy
// machine costs more than the filter itself. A few buffers at most, of at most 64 MiB in all.
template <typename Buffer>
class BufferCache {
 public:
  static constexpr std::size_t kSmallest = 1 << 20;
  static constexpr std::size_t kMostBytes = std::size_t{64} << 20;
  static constexpr std::size_t kMostBuffers = 4;

  bool take(std::size_t bytes, Buffer& into) {
    if (bytes < kSmallest) return false;
    quorvex::common::Lock lock(mutex_);
    for (std::size_t i = 0; i < count_; ++i) {
      if (buffers_[i].size() != bytes) continue;
      into.swap(buffers_[i]);
      held_ -= bytes;
      buffers_[i].swap(buffers_[--count_]);
      Buffer().swap(buffers_[count_]);
      return true;
    }
    return false;
  }

  void give(Buffer& from) {
    const std::size_t bytes = from.size();
    if (bytes < kSmallest || bytes > kMostBytes) return;
    quorvex::common::Lock lock(mutex_);
    // The oldest buffers make room for the newest.
    while (count_ > 0 && (count_ == kMostBuffers || held_ + bytes > kMostBytes)) {
      held_ -= buffers_[0].size();
      for (std::size_t i = 0; i + 1 < count_; ++i) buffers_[i].swap(buffers_[i + 1]);
      Buffer().swap(buffers_[--count_]);
    }
    buffers_[count_++].swap(from);
    held_ += bytes;
  }

 private:
  quorvex::common::Mutex mutex_;
  Buffer buffers_[kMostBuffers] QUORVEX_GUARDED_BY(mutex_);
  std::size_t count_ QUORVEX_GUARDED_BY(mutex_) = 0;
  std::size_t held_ QUORVEX_GUARDED_BY(mutex_) = 0;
};

template <typename Buffer>
BufferCache<Buffer>& bufferCache() {
  static auto* cache = new BufferCache<Buffer>;  // outlives every static destructor
  return *cache;
}

}  // namespace

Plane::Plane(std::int32_t width, std::int32_t height, const char* op, PixelType type)
    : Plane(width, height, op, type, Unwritten{}) {
  std::fill(owned_.begin(), owned_.end(), std::uint8_t{0});
}

Plane::Plane(std::int32_t width, std::int32_t height, const char* op, PixelType type, Unwritten)
    : reservation_(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
                       elementSize(type),
                   op),
      type_(type) {
  const std::uint64_t bytes =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * elementSize(type);
  // A 32-bit process cannot address a complex 32768 x 32768 image even under a raised bound.
  if (bytes != static_cast<std::size_t>(bytes)) fail(op, H_ERR_NO_MEMORY);
  try {
    if (!bufferCache<decltype(owned_)>().take(static_cast<std::size_t>(bytes), owned_)) {
      owned_.resize(static_cast<std::size_t>(bytes));
    }
  } catch (const std::bad_alloc&) {
    fail(op, H_ERR_NO_MEMORY);
  } catch (const std::length_error&) {
    fail(op, H_ERR_NO_MEMORY);
  }
  data_ = owned_.data();
}

Plane::Plane(std::uint8_t* external, ClearProc clear, PixelType type)
    : data_(external), clear_(clear), type_(type) {}

Plane::~Plane() {
  if (clear_) clear_(data_);
  if (!owned_.empty()) bufferCache<decltype(owned_)>().give(owned_);
}

namespace {

// Older vendor versions raise the default image size to the largest image made so far;
// code that restores "width"/"height" afterwards relies on seeing that. The two parameters
// live here rather than among the other system parameters, so that every image made reads
// them without a lock or a tuple.
std::atomic<Hlong> systemWidth{512}, systemHeight{512};

void raiseSide(std::atomic<Hlong>& side, std::int32_t size) {
  Hlong current = side.load(std::memory_order_relaxed);
  while (current < size && !side.compare_exchange_weak(current, size, std::memory_order_relaxed)) {
  }
}

void raiseSystemSize(std::int32_t width, std::int32_t height) {
  raiseSide(systemWidth, width);
  raiseSide(systemHeight, height);
}

void setSide(std::atomic<Hlong>& side, const HTuple& value) {
  if (value.Length() != 1) throw HException::ForOperator("set_system", 1402);
  if (value[0].Type() != eElementTypeLong) throw HException::ForOperator("set_system", 1202);
  if (value[0].L() < 1) throw HException::ForOperator("set_system", 1302);
  side.store(value[0].L(), std::memory_order_relaxed);
}

const bool sidesRegistered = [] {
  registerControl(
      "width", [](const HTuple& value) { setSide(systemWidth, value); },
      [] { return HTuple(systemWidth.load(std::memory_order_relaxed)); });
  registerControl(
      "height", [](const HTuple& value) { setSide(systemHeight, value); },
      [] { return HTuple(systemHeight.load(std::memory_order_relaxed)); });
  return true;
}();

}  // namespace

ImagePtr makeImage(std::int32_t width, std::int32_t height, std::vector<PlanePtr> channels,
                   std::shared_ptr<const Runs> domain) {
  auto image = std::make_shared<ImageObject>();
  image->width = width;
  image->height = height;
  image->channels = std::move(channels);
  image->domain = domain ? std::move(domain)
                         : std::make_shared<const Runs>(rectangleRuns(0, 0, height - 1, width - 1));
  if (width > 0 && height > 0) raiseSystemSize(width, height);
  return image;
}

ImagePtr newImage(std::int32_t width, std::int32_t height, std::size_t channels, const char* op,
                  PixelType type) {
  std::vector<PlanePtr> planes;
  for (std::size_t i = 0; i < channels; ++i) {
    planes.push_back(std::make_shared<Plane>(width, height, op, type));
  }
  return makeImage(width, height, std::move(planes));
}

std::vector<ImagePtr> imagesOf(const HObject& object, const char* op, int n, PixelTypes types) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<ImagePtr> images;
  for (const HObject::Item& item : object.Items()) {
    auto image = std::dynamic_pointer_cast<ImageObject>(item);
    if (!image) fail(op, 1100 + n);
    if (!types.has(image->type())) fail(op, H_ERR_WIT);
    images.push_back(std::move(image));
  }
  return images;
}

ImagePtr oneImage(const HObject& object, const char* op, int n, PixelTypes types) {
  if (objectCount(object, op, n) != 1) fail(op, 1500 + n);
  return imagesOf(object, op, n, types).front();
}

HObject objectOf(const std::vector<std::shared_ptr<IconicObject>>& items) {
  return HObject(items);
}

}  // namespace Standin

HImage::HImage() = default;

HImage::HImage(const HObject& object) : HObject(object) {
  Standin::ApiScope scope("HImage");
  Standin::oneImage(object, "HImage", 1, Standin::PixelTypes::all());
}

HTuple HImage::Width() const {
  Standin::ApiScope scope("GetImageSize");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "get_image_size", 1, Standin::PixelTypes::all())->width));
}

HTuple HImage::Height() const {
  Standin::ApiScope scope("GetImageSize");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "get_image_size", 1, Standin::PixelTypes::all())->height));
}

HTuple HImage::CountChannels() const {
  Standin::ApiScope scope("CountChannels");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "count_channels", 1, Standin::PixelTypes::all())->channels.size()));
}

}  // namespace HalconCpp
