// The serialized items' table, tuples as serialized items, and items at raw addresses
// (create_serialized_item_ptr, get_serialized_item_ptr).
#include "core/serialized_items.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "common/handle_table.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFile.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

quorvex::common::HandleTable<Hlong, SerializedItemPtr>& items() {
  static auto* table =  // outlives every static destructor
      new quorvex::common::HandleTable<Hlong, SerializedItemPtr>(1);
  return *table;
}

constexpr std::uint32_t kTupleVersion = 1;
enum : std::uint8_t { kInteger = 1, kReal = 2, kString = 4 };

void putBytes(std::string* out, std::uint64_t value, int count) {
  for (int i = 0; i < count; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::string encodeTuple(const HTuple& tuple) {
  std::string out(kTupleMagic, sizeof kTupleMagic);
  putBytes(&out, kTupleVersion, 4);
  putBytes(&out, static_cast<std::uint64_t>(tuple.Length()), 4);
  for (Hlong i = 0; i < tuple.Length(); ++i) {
    const HTupleElement element = tuple[i];
    if (element.Type() == eElementTypeString) {
      const std::string text = element.S().str();
      out.push_back(static_cast<char>(kString));
      putBytes(&out, text.size(), 4);
      out += text;
    } else if (element.Type() == eElementTypeDouble) {
      const double value = element.D();
      std::uint64_t bits = 0;
      std::memcpy(&bits, &value, sizeof bits);
      out.push_back(static_cast<char>(kReal));
      putBytes(&out, bits, 8);
    } else {
      out.push_back(static_cast<char>(kInteger));
      putBytes(&out, static_cast<std::uint64_t>(static_cast<std::int64_t>(element.L())), 8);
    }
  }
  return out;
}

// Reads the encoding back; every count is checked against the bytes left before memory is
// taken for it. Anything but one whole encoding is 5202.
class TupleReader {
 public:
  TupleReader(const std::string& bytes, const char* op) : bytes_(bytes), op_(op) {}

  HTuple read() {
    at_ = sizeof kTupleMagic;
    if (number(4) != kTupleVersion) bad();
    const std::uint64_t count = number(4);
    // Every element takes at least five bytes.
    if (count > (bytes_.size() - at_) / 5) bad();
    HTuple tuple;
    for (std::uint64_t i = 0; i < count; ++i) tuple.Append(element());
    if (at_ != bytes_.size()) bad();
    return tuple;
  }

 private:
  [[noreturn]] void bad() const { fail(op_, H_ERR_FILE_FORMAT); }

  std::uint64_t number(int count) {
    if (bytes_.size() - at_ < static_cast<std::size_t>(count)) bad();
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
      value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
    }
    at_ += static_cast<std::size_t>(count);
    return value;
  }

  HTuple element() {
    const auto kind = static_cast<std::uint8_t>(number(1));
    if (kind == kString) {
      const std::uint64_t size = number(4);
      if (size > bytes_.size() - at_) bad();
      const std::string text = bytes_.substr(at_, static_cast<std::size_t>(size));
      at_ += static_cast<std::size_t>(size);
      return HTuple(text.c_str());
    }
    const std::uint64_t bits = number(8);
    if (kind == kReal) {
      double value = 0;
      std::memcpy(&value, &bits, sizeof value);
      return HTuple(value);
    }
    if (kind != kInteger) bad();
    const auto value = static_cast<std::int64_t>(bits);
    // A 32-bit Hlong cannot hold what a 64-bit one wrote.
    if (value < std::numeric_limits<Hlong>::min() || value > std::numeric_limits<Hlong>::max()) {
      bad();
    }
    return HTuple(static_cast<Hlong>(value));
  }

  const std::string& bytes_;
  const char* op_;
  std::size_t at_ = 0;
};

}  // namespace

Hlong addSerializedItem(std::string bytes, const char* op) {
  return items().add(std::make_shared<const SerializedItem>(std::move(bytes), op));
}

SerializedItemPtr serializedItem(const HTuple& handle, const char* op, int n) {
  const Hlong key = oneInteger(handle, op, n);
  return items().with(
      key, [op, n] { fail(op, 1300 + n); }, [](SerializedItemPtr& held) { return held; });
}

bool removeSerializedItem(Hlong handle) {
  return items().remove(handle);
}

bool startsWith(const std::string& bytes, const char (&magic)[8]) {
  return bytes.size() >= sizeof magic && bytes.compare(0, sizeof magic, magic, sizeof magic) == 0;
}

}  // namespace Standin

using namespace Standin;

void SerializeTuple(const HTuple& Tuple, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeTuple");
  setOutput(SerializedItemHandle, HTuple(addSerializedItem(encodeTuple(Tuple), "serialize_tuple")));
}

void DeserializeTuple(const HTuple& SerializedItemHandle, HTuple* Tuple) {
  ApiScope scope("DeserializeTuple");
  const char* op = "deserialize_tuple";
  const SerializedItemPtr item = serializedItem(SerializedItemHandle, op, 1);
  // An item of another kind is a wrong value of the handle, as for the object deserializers.
  if (!startsWith(item->bytes, kTupleMagic)) fail(op, 1301);
  setOutput(Tuple, TupleReader(item->bytes, op).read());
}

void CreateSerializedItemPtr(const HTuple& Pointer, const HTuple& Size, const HTuple& Copy,
                             HTuple* SerializedItemHandle) {
  const bool fromOutside = calledFromOutside();
  ApiScope scope("CreateSerializedItemPtr");
  const char* op = "create_serialized_item_ptr";
  const Hlong pointer = oneInteger(Pointer, op, 1);
  const Hlong size = oneInteger(Size, op, 2);
  const std::string copy = oneString(Copy, op, 3);
  if (size < 1) fail(op, 1302);
  if (copy != "true" && copy != "false") fail(op, 1303);
  const auto address = static_cast<std::uintptr_t>(pointer);
  const auto bytes = static_cast<std::uint64_t>(size);
  std::string data;
  if (fromOutside) {
    // A C++ caller's memory, taken at its word as the vendor's library does.
    if (address == 0) fail(op, 1301);
    const PixelReservation held(bytes, op);
    data.assign(reinterpret_cast<const char*>(address), static_cast<std::size_t>(bytes));
  } else {
    // A program line: only the start of an item's bytes that get_serialized_item_ptr handed
    // out, with at least that many bytes.
    const SerializedItemPtr item = handedOutItem(address, bytes);
    if (!item) fail(op, 1301);
    data = item->bytes.substr(0, static_cast<std::size_t>(bytes));
  }
  // 'false' would share the caller's memory; a copy behaves the same for every caller
  // that keeps the memory alive, as the reference asks of it.
  setOutput(SerializedItemHandle, HTuple(addSerializedItem(std::move(data), op)));
}

void GetSerializedItemPtr(const HTuple& SerializedItemHandle, HTuple* Pointer, HTuple* Size) {
  ApiScope scope("GetSerializedItemPtr");
  const SerializedItemPtr item = serializedItem(SerializedItemHandle, "get_serialized_item_ptr", 1);
  setOutput(Pointer, handOutItem(item));
  setOutput(Size, HTuple(static_cast<Hlong>(item->bytes.size())));
}

}  // namespace HalconCpp
