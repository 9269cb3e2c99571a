#include "core/memory_bounds.h"

#include <atomic>
#include <string>
#include <utility>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {
namespace {

// A 32-bit process has 2 to 4 GiB of address space for everything it holds.
constexpr std::uint64_t kDefaultPixelLimit =
    sizeof(void*) >= 8 ? std::uint64_t{4} << 30 : std::uint64_t{1} << 30;
constexpr Hlong kDefaultWindowLimit = 256;

std::atomic<std::uint64_t> pixelLimit{kDefaultPixelLimit};
std::atomic<std::uint64_t> pixelsHeld{0};
std::atomic<Hlong> windowLimit{kDefaultWindowLimit};

// Takes `bytes` from the bound, or nothing when they do not fit.
bool take(std::uint64_t bytes) {
  std::uint64_t held = pixelsHeld.load(std::memory_order_relaxed);
  do {
    const std::uint64_t limit = pixelLimit.load(std::memory_order_relaxed);
    if (bytes > limit || held > limit - bytes) return false;
  } while (!pixelsHeld.compare_exchange_weak(held, held + bytes, std::memory_order_relaxed));
  return true;
}

void give(std::uint64_t bytes) {
  pixelsHeld.fetch_sub(bytes, std::memory_order_relaxed);
}

Hlong positiveInteger(const HTuple& value, const char* name) {
  const Hlong number = oneInteger(value, name, 2);
  if (number < 1) fail(name, 1302);
  return number;
}

void setPixelLimit(const HTuple& value) {
  pixelLimit = static_cast<std::uint64_t>(positiveInteger(value, "set_system"));
}
HTuple getPixelLimit() {
  return HTuple(static_cast<Hlong>(pixelLimit.load()));
}
void setWindowLimit(const HTuple& value) {
  windowLimit = positiveInteger(value, "set_system");
}
HTuple getWindowLimit() {
  return HTuple(windowLimit.load());
}
HTuple getPixelBytes() {
  return HTuple(static_cast<Hlong>(pixelsHeld.load()));
}

const bool memoryBoundsRegistered = [] {
  registerControl("standin_pixel_limit", &setPixelLimit, &getPixelLimit);
  registerControl("standin_window_limit", &setWindowLimit, &getWindowLimit);
  registerControl("standin_pixel_bytes", nullptr, &getPixelBytes);
  registerErrorText(H_ERR_WINDOW_OPEN, "Error while opening the window");
  return true;
}();

}  // namespace

PixelReservation::PixelReservation(std::uint64_t bytes, const char* op) {
  change(bytes, op);
}

PixelReservation::~PixelReservation() {
  give(bytes_);
}

PixelReservation::PixelReservation(PixelReservation&& other) noexcept
    : bytes_(std::exchange(other.bytes_, 0)) {}

PixelReservation& PixelReservation::operator=(PixelReservation&& other) noexcept {
  if (this != &other) {
    give(bytes_);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

void PixelReservation::change(std::uint64_t bytes, const char* op) {
  if (bytes > bytes_ && !take(bytes - bytes_)) {
    if (op) fail(op, H_ERR_NO_MEMORY);
    pixelsHeld.fetch_add(bytes - bytes_, std::memory_order_relaxed);
  } else if (bytes < bytes_) {
    give(bytes_ - bytes);
  }
  bytes_ = bytes;
}

void chargeRunStorage(std::uint64_t bytes) {
  if (take(bytes)) return;
  const char* entered = currentOperation();
  if (!entered) {
    pixelsHeld.fetch_add(bytes, std::memory_order_relaxed);
    return;
  }
  // The vendor's name of the operation: "AreaCenter" is area_center.
  std::string name;
  for (const char* c = entered; *c; ++c) {
    if (*c >= 'A' && *c <= 'Z') {
      if (!name.empty()) name += '_';
      name += static_cast<char>(*c - 'A' + 'a');
    } else {
      name += *c;
    }
  }
  fail(name.c_str(), H_ERR_NO_MEMORY);
}

void releaseRunStorage(std::uint64_t bytes) {
  give(bytes);
}

void checkWindowCount(std::size_t open, const char* op) {
  if (static_cast<Hlong>(open) >= windowLimit.load()) fail(op, H_ERR_WINDOW_OPEN);
}

}  // namespace Standin
}  // namespace HalconCpp
