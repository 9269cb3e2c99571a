#include <utility>

#include "core/iconic.h"
#include "core/params.h"
#include "halconcpp/HObject.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {
IconicObject::IconicObject() {
  countLive("objects", 1);
}
IconicObject::~IconicObject() {
  countLive("objects", -1);
}
}  // namespace Standin

HObject::HObject() : initialized_(false) {}

HObject::HObject(std::vector<Item> items) : items_(std::move(items)), initialized_(true) {}

HObject::HObject(const HObject& other) = default;
HObject::HObject(HObject&& other) noexcept = default;
HObject& HObject::operator=(const HObject& other) = default;
HObject& HObject::operator=(HObject&& other) noexcept = default;
HObject::~HObject() = default;

Hlong HObject::CountObj() const {
  return static_cast<Hlong>(items_.size());
}

HObject HObject::SelectObj(Hlong index) const {
  if (index < 1 || index > CountObj()) throw HException::ForOperator("select_obj", 1302);
  return HObject(std::vector<Item>{items_[static_cast<std::size_t>(index - 1)]});
}

HObject HObject::ConcatObj(const HObject& other) const {
  std::vector<Item> items = items_;
  items.insert(items.end(), other.items_.begin(), other.items_.end());
  return HObject(std::move(items));
}

HTuple HObject::GetObjClass() const {
  Standin::InsideScope inside;
  HTuple classes;
  for (const Item& item : items_) classes.Append(HTuple(item->className()));
  return classes;
}

void GenEmptyObj(HObject* EmptyObject) {
  Standin::ApiScope scope("GenEmptyObj");
  *EmptyObject = HObject(std::vector<HObject::Item>{});
}

void CountObj(const HObject& Objects, HTuple* Number) {
  Standin::ApiScope scope("CountObj");
  *Number = HTuple(Objects.CountObj());
}

void SelectObj(const HObject& Objects, HObject* ObjectSelected, const HTuple& Index) {
  Standin::ApiScope scope("SelectObj");
  // Index is an integer tuple: the objects at those places, in its order, repeats included.
  std::vector<HObject::Item> selected;
  selected.reserve(static_cast<std::size_t>(Index.Length()));
  for (Hlong i = 0; i < Index.Length(); ++i) {
    if (Index[i].Type() != eElementTypeLong) throw HException::ForOperator("select_obj", 1201);
    selected.push_back(Objects.SelectObj(Index[i].L()).Items().front());
  }
  *ObjectSelected = HObject(std::move(selected));
}

void ConcatObj(const HObject& Objects1, const HObject& Objects2, HObject* ObjectsConcat) {
  Standin::ApiScope scope("ConcatObj");
  *ObjectsConcat = Objects1.ConcatObj(Objects2);
}

void CopyObj(const HObject& Objects, HObject* ObjectsSelected, const HTuple& Index,
             const HTuple& NumObj) {
  Standin::ApiScope scope("CopyObj");
  const char* op = "copy_obj";
  const Hlong index = Standin::oneInteger(Index, op, 1);
  const Hlong number = Standin::oneInteger(NumObj, op, 2);
  const Hlong count = Standin::objectCount(Objects, op, 1);
  if (index < 1 || index > count) Standin::fail(op, 1301);
  if (number < -1 || number == 0 || (number > 0 && index - 1 + number > count)) {
    Standin::fail(op, 1302);
  }
  const auto begin = Objects.Items().begin() + (index - 1);
  const auto end = number == -1 ? Objects.Items().end() : begin + number;
  Standin::setOutput(ObjectsSelected, HObject(std::vector<HObject::Item>(begin, end)));
}

void GetObjClass(const HObject& Object, HTuple* Class) {
  Standin::ApiScope scope("GetObjClass");
  *Class = Object.GetObjClass();
}

}  // namespace HalconCpp
