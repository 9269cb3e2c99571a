#ifndef HALCONCPP_HOBJECT_H
#define HALCONCPP_HOBJECT_H

#include <memory>
#include <vector>

#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {
struct IconicObject;
}

// A tuple of iconic objects: images, regions and contours. Copies share the objects, as the
// vendor's object keys do; pixel data that an operator writes in place is seen by every copy.
// A default-constructed object is uninitialised; GenEmptyObj gives an initialised empty one.
class HALCONCPP_API HObject {
 public:
  using Item = std::shared_ptr<Standin::IconicObject>;

  HObject();
  explicit HObject(std::vector<Item> items);
  HObject(const HObject& other);
  HObject(HObject&& other) noexcept;
  HObject& operator=(const HObject& other);
  HObject& operator=(HObject&& other) noexcept;
  virtual ~HObject();

  bool IsInitialized() const { return initialized_; }
  Hlong CountObj() const;
  // Indices count from 1, as the vendor's do.
  HObject SelectObj(Hlong index) const;
  HObject operator[](Hlong index) const { return SelectObj(index); }
  HObject ConcatObj(const HObject& other) const;
  // The class of each object: "image", "region", "xld_cont" or "xld_poly".
  HTuple GetObjClass() const;

  const std::vector<Item>& Items() const { return items_; }

 protected:
  std::vector<Item> items_;
  bool initialized_;
};

HALCONCPP_API void GenEmptyObj(HObject* EmptyObject);
HALCONCPP_API void CountObj(const HObject& Objects, HTuple* Number);
HALCONCPP_API void SelectObj(const HObject& Objects, HObject* ObjectSelected, const HTuple& Index);
HALCONCPP_API void ConcatObj(const HObject& Objects1, const HObject& Objects2,
                             HObject* ObjectsConcat);
// NumObj objects from place Index (from 1); -1 all to the end.
HALCONCPP_API void CopyObj(const HObject& Objects, HObject* ObjectsSelected, const HTuple& Index,
                           const HTuple& NumObj);
HALCONCPP_API void GetObjClass(const HObject& Object, HTuple* Class);

}  // namespace HalconCpp

#endif
