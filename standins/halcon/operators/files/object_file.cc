// Iconic objects in files (write_object, write_region and their readers) and as serialized
// items (core/serialized_items.h), both in the stand-in's own byte form (core/object_codec.h).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/object_codec.h"
#include "core/params.h"
#include "core/region.h"
#include "core/serialized_items.h"
#include "halconcpp/HOperatorsFile.h"
#include "operators/files/file_bytes.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

namespace {

// A name without an extension gets the format's own, as the vendor's writers append it;
// the readers find the file under either name.
fs::path withExtension(const std::string& name, const char* extension) {
  fs::path path = fs::u8path(name);
  if (!path.has_extension()) path += extension;
  return path;
}

void writeBytes(const std::string& name, const char* extension, const std::string& bytes,
                const char* op) {
  std::error_code error;
  const fs::path path = withExtension(name, extension);
  if (name.empty() || fs::is_directory(path, error)) fail(op, H_ERR_FILE_WRITE);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

// The bytes stay charged to the pixel bound while they are decoded.
HObject readObjects(const std::string& name, const char* extension, const char* op) {
  if (name.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
  std::error_code error;
  fs::path path = fs::u8path(name);
  if (!fs::is_regular_file(path, error)) path = withExtension(name, extension);
  const FileBytes file = readRegularFile(path, op);
  return decodeObjects(reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size(),
                       op);
}

// Regions of a region input as region objects: an image stands for its domain.
HObject regionObjects(const HObject& input, const char* op) {
  std::vector<HObject::Item> items;
  for (const Runs* runs : regionsOf(input, op, 1)) items.push_back(makeRegion(*runs));
  return HObject(std::move(items));
}

bool allOfClass(const HObject& objects, const char* className) {
  for (const HObject::Item& item : objects.Items()) {
    if (std::string(item->className()) != className) return false;
  }
  return true;
}

Hlong serialize(const HObject& objects, const char* op) {
  return addSerializedItem(encodeObjects(objects), op);
}

// An unknown handle, and an item holding objects of another class than the operator
// restores, are wrong values of the handle.
HObject deserialize(const HTuple& handle, const char* className, const char* op) {
  const SerializedItemPtr item = serializedItem(handle, op, 1);
  // A serialized tuple is an item of another kind.
  if (startsWith(item->bytes, kTupleMagic)) fail(op, 1301);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(item->bytes.data());
  HObject objects = decodeObjects(bytes, item->bytes.size(), op);
  if (className && !allOfClass(objects, className)) fail(op, 1301);
  return objects;
}

}  // namespace

}  // namespace Standin

using namespace Standin;

void WriteObject(const HObject& Object, const HTuple& FileName) {
  ApiScope scope("WriteObject");
  const char* op = "write_object";
  const std::string name = oneString(FileName, op, 1);
  objectCount(Object, op, 1);
  writeBytes(name, ".hobj", encodeObjects(Object), op);
}

void ReadObject(HObject* Object, const HTuple& FileName) {
  ApiScope scope("ReadObject");
  const char* op = "read_object";
  setOutput(Object, readObjects(oneString(FileName, op, 1), ".hobj", op));
}

void WriteRegion(const HObject& Region, const HTuple& FileName) {
  ApiScope scope("WriteRegion");
  const char* op = "write_region";
  const std::string name = oneString(FileName, op, 1);
  writeBytes(name, ".reg", encodeObjects(regionObjects(Region, op)), op);
}

void ReadRegion(HObject* Region, const HTuple& FileName) {
  ApiScope scope("ReadRegion");
  const char* op = "read_region";
  HObject regions = readObjects(oneString(FileName, op, 1), ".reg", op);
  if (!allOfClass(regions, "region")) fail(op, H_ERR_FILE_FORMAT);
  setOutput(Region, std::move(regions));
}

void SerializeObject(const HObject& Object, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeObject");
  const char* op = "serialize_object";
  objectCount(Object, op, 1);
  setOutput(SerializedItemHandle, HTuple(serialize(Object, op)));
}

void DeserializeObject(HObject* Object, const HTuple& SerializedItemHandle) {
  ApiScope scope("DeserializeObject");
  setOutput(Object, deserialize(SerializedItemHandle, nullptr, "deserialize_object"));
}

void SerializeImage(const HObject& Image, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeImage");
  const char* op = "serialize_image";
  const std::vector<ImagePtr> images = imagesOf(Image, op, 1, PixelTypes::all());
  const std::vector<HObject::Item> objects(images.begin(), images.end());
  setOutput(SerializedItemHandle, HTuple(serialize(HObject(objects), op)));
}

void DeserializeImage(HObject* Image, const HTuple& SerializedItemHandle) {
  ApiScope scope("DeserializeImage");
  setOutput(Image, deserialize(SerializedItemHandle, "image", "deserialize_image"));
}

void SerializeRegion(const HObject& Region, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeRegion");
  const char* op = "serialize_region";
  setOutput(SerializedItemHandle, HTuple(serialize(regionObjects(Region, op), op)));
}

void DeserializeRegion(HObject* Region, const HTuple& SerializedItemHandle) {
  ApiScope scope("DeserializeRegion");
  setOutput(Region, deserialize(SerializedItemHandle, "region", "deserialize_region"));
}

void SerializeXld(const HObject& XLD, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeXld");
  const char* op = "serialize_xld";
  contoursOf(XLD, op, 1);
  setOutput(SerializedItemHandle, HTuple(serialize(XLD, op)));
}

void DeserializeXld(HObject* XLD, const HTuple& SerializedItemHandle) {
  ApiScope scope("DeserializeXld");
  setOutput(XLD, deserialize(SerializedItemHandle, "xld_cont", "deserialize_xld"));
}

void ClearSerializedItem(const HTuple& SerializedItemHandle) {
  ApiScope scope("ClearSerializedItem");
  const char* op = "clear_serialized_item";
  if (!removeSerializedItem(oneInteger(SerializedItemHandle, op, 1))) fail(op, 1301);
}

}  // namespace HalconCpp
