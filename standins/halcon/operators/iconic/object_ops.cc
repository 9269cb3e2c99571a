// Object operators that compare or drop objects (clear_obj, test_equal_obj, obj_diff) or tell
// what an object is made of (get_channel_info).
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HObject.h"
#include "halconcpp/HOperatorsIconic.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

bool sameRuns(const Runs& a, const Runs& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].row != b[i].row || a[i].begin != b[i].begin || a[i].end != b[i].end) return false;
  }
  return true;
}

// Images are equal when their sizes, channels, types and domains are, and every channel's
// grey values within the domain; what lies outside the domain does not belong to the image.
bool sameImages(const ImageObject& a, const ImageObject& b) {
  if (a.width != b.width || a.height != b.height || a.channels.size() != b.channels.size() ||
      a.type() != b.type() || !sameRuns(*a.domain, *b.domain)) {
    return false;
  }
  const std::size_t size = elementSize(a.type());
  for (std::size_t c = 0; c < a.channels.size(); ++c) {
    for (const Run& run : *a.domain) {
      const std::size_t at = a.offset(run.row, run.begin) * size;
      const std::size_t bytes = static_cast<std::size_t>(run.end - run.begin + 1) * size;
      if (std::memcmp(a.pixels(c) + at, b.pixels(c) + at, bytes) != 0) return false;
    }
  }
  return true;
}

bool sameObjects(const IconicObject* a, const IconicObject* b) {
  if (a == b) return true;
  if (std::strcmp(a->className(), b->className()) != 0) return false;
  if (const auto* image = dynamic_cast<const ImageObject*>(a)) {
    return sameImages(*image, *static_cast<const ImageObject*>(b));
  }
  if (const auto* region = dynamic_cast<const RegionObject*>(a)) {
    return sameRuns(region->runs, static_cast<const RegionObject*>(b)->runs);
  }
  const auto* ca = static_cast<const ContourObject*>(a);
  const auto* cb = static_cast<const ContourObject*>(b);
  return ca->rows == cb->rows && ca->cols == cb->cols;
}

}  // namespace

void ClearObj(const HObject& Objects) {
  ApiScope scope("ClearObj");
  // Objects are shared and go with their last holder: there is nothing to release early.
  objectCount(Objects, "clear_obj", 1);
}

void TestEqualObj(const HObject& Objects1, const HObject& Objects2, HTuple* IsEqual) {
  ApiScope scope("TestEqualObj");
  const char* op = "test_equal_obj";
  const Hlong count = objectCount(Objects1, op, 1);
  if (objectCount(Objects2, op, 2) != count) fail(op, 1502);
  bool equal = true;
  for (std::size_t i = 0; equal && i < Objects1.Items().size(); ++i) {
    equal = sameObjects(Objects1.Items()[i].get(), Objects2.Items()[i].get());
  }
  setOutput(IsEqual, HTuple(Hlong(equal ? 1 : 0)));
}

void ObjDiff(const HObject& Objects, const HObject& ObjectsSub, HObject* ObjectsDiff) {
  ApiScope scope("ObjDiff");
  const char* op = "obj_diff";
  objectCount(Objects, op, 1);
  objectCount(ObjectsSub, op, 2);
  // Objects are told apart by identity, as the vendor's object keys are: a copy made by an
  // operator is another object even when its contents are the same.
  std::vector<HObject::Item> kept;
  for (const HObject::Item& item : Objects.Items()) {
    bool removed = false;
    for (const HObject::Item& sub : ObjectsSub.Items()) removed = removed || sub == item;
    if (!removed) kept.push_back(item);
  }
  setOutput(ObjectsDiff, HObject(std::move(kept)));
}

void GetChannelInfo(const HObject& Object, const HTuple& Request, const HTuple& Channel,
                    HTuple* Information) {
  ApiScope scope("GetChannelInfo");
  const char* op = "get_channel_info";
  if (objectCount(Object, op, 1) != 1) fail(op, 1501);
  // The stand-in keeps no record of the operator that made a channel: 'creator' is refused as
  // a value it does not know.
  if (oneString(Request, op, 1) != "type") fail(op, 1301);
  const HObject::Item& item = Object.Items().front();
  const auto image = std::dynamic_pointer_cast<ImageObject>(item);
  const bool xld = std::strncmp(item->className(), "xld", 3) == 0;
  HTuple information;
  for (Hlong i = 0; i < Channel.Length(); ++i) {
    const Hlong channel = integerAt(Channel, i, op, 2);
    if (channel == 0) {
      information.Append(HTuple(xld ? "xld" : "region"));
    } else if (image && channel >= 1 && std::size_t(channel) <= image->channels.size()) {
      information.Append(HTuple(pixelTypeName(image->type())));
    } else {
      fail(op, 1302);
    }
  }
  setOutput(Information, information);
}

}  // namespace HalconCpp
