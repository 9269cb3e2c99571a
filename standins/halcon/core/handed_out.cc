#include "core/handed_out.h"

#include <iterator>
#include <map>
#include <memory>

#include "common/annotated_mutex.h"
#include "core/serialized_items.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Entries hold weak references: a plane or object that goes away is no longer found, and an
// address the allocator gives to a new plane finds that plane only once it is handed out.
template <typename Value>
class Registry {
 public:
  void add(std::uintptr_t key, const std::shared_ptr<Value>& value, std::uint64_t bytes) {
    quorvex::common::Lock lock(mutex_);
    entries_[key] = {value, bytes};
    // Dead entries are dropped whenever the table has doubled, so that it stays as large as
    // what is alive, give or take a factor of two.
    if (entries_.size() >= 2 * livePruned_) {
      for (auto it = entries_.begin(); it != entries_.end();) {
        it = it->second.value.expired() ? entries_.erase(it) : std::next(it);
      }
      livePruned_ = entries_.size() < 64 ? 64 : entries_.size();
    }
  }
  std::shared_ptr<Value> find(std::uintptr_t key, std::uint64_t bytes) {
    quorvex::common::Lock lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end() || it->second.bytes < bytes) return nullptr;
    return it->second.value.lock();
  }

 private:
  struct Entry {
    std::weak_ptr<Value> value;
    std::uint64_t bytes = 0;
  };
  quorvex::common::Mutex mutex_;
  std::map<std::uintptr_t, Entry> entries_ QUORVEX_GUARDED_BY(mutex_);
  std::size_t livePruned_ QUORVEX_GUARDED_BY(mutex_) = 64;
};

Registry<Plane>& planes() {
  static auto* registry = new Registry<Plane>;  // outlives every static destructor
  return *registry;
}

Registry<IconicObject>& objects() {
  static auto* registry = new Registry<IconicObject>;  // outlives every static destructor
  return *registry;
}

Registry<const SerializedItem>& items() {
  static auto* registry = new Registry<const SerializedItem>;  // outlives every static destructor
  return *registry;
}

}  // namespace

HTuple handOutItem(const SerializedItemPtr& item) {
  const auto address = reinterpret_cast<std::uintptr_t>(item->bytes.data());
  items().add(address, item, item->bytes.size());
  return HTuple(static_cast<Hlong>(address));
}

SerializedItemPtr handedOutItem(std::uintptr_t address, std::uint64_t size) {
  SerializedItemPtr item = items().find(address, size);
  return item && reinterpret_cast<std::uintptr_t>(item->bytes.data()) == address ? item : nullptr;
}

HTuple handOutPlane(const PlanePtr& plane, std::uint64_t bytes) {
  const auto address = reinterpret_cast<std::uintptr_t>(plane->data());
  planes().add(address, plane, bytes);
  return HTuple(static_cast<Hlong>(address));
}

PlanePtr handedOutPlane(std::uintptr_t address, std::uint64_t bytes) {
  PlanePtr plane = planes().find(address, bytes);
  // The plane at that key may have been replaced by another at the same address since.
  return plane && reinterpret_cast<std::uintptr_t>(plane->data()) == address ? plane : nullptr;
}

Hlong handOutObject(const HObject::Item& object) {
  const auto key = reinterpret_cast<std::uintptr_t>(object.get());
  objects().add(key, object, 0);
  return static_cast<Hlong>(key);
}

HObject::Item handedOutObject(Hlong key) {
  return objects().find(static_cast<std::uintptr_t>(key), 0);
}

}  // namespace Standin
}  // namespace HalconCpp
