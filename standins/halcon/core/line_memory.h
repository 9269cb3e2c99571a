// Memory that begins on a 64-byte line of the cache, as OpenCV's images do: with malloc's 16
// bytes, every 64-byte vector an operator loads or stores at a multiple of 64 bytes from the
// start would touch two lines, which costs about what two loads cost.
#ifndef QUORVEX_STANDINS_HALCON_LINE_MEMORY_H
#define QUORVEX_STANDINS_HALCON_LINE_MEMORY_H

#include <cstddef>
#include <new>
#include <vector>

namespace HalconCpp {
namespace Standin {

constexpr std::size_t kCacheLine = 64;

template <typename T>
struct LineAllocator {
  using value_type = T;
  LineAllocator() = default;
  template <typename U>
  LineAllocator(const LineAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{kCacheLine}));
  }
  void deallocate(T* p, std::size_t) noexcept {
    ::operator delete (p, std::align_val_t{kCacheLine});
  }
};

template <typename T, typename U>
bool operator==(const LineAllocator<T>&, const LineAllocator<U>&) noexcept {
  return true;
}
template <typename T, typename U>
bool operator!=(const LineAllocator<T>&, const LineAllocator<U>&) noexcept {
  return false;
}

template <typename T>
using LineVector = std::vector<T, LineAllocator<T>>;

}  // namespace Standin
}  // namespace HalconCpp

#endif
