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
// Keys of NumObj objects from place Index (from 1; -1 all to the end), as CopyObj counts.
HALCONCPP_API void ObjToInteger(const HObject& Objects, const HTuple& Index, const HTuple& Number,
                                HTuple* SurrogateTuple);
// The objects of keys that ObjToInteger gave and that are still alive; any other integer is
// 1301, never read as an address.
HALCONCPP_API void IntegerToObj(HObject* Objects, const HTuple& SurrogateTuple);
// Nothing to release: objects go with their last holder.
HALCONCPP_API void ClearObj(const HObject& Objects);
// 1 when the objects at each place are equal (same class; regions the same pixels; images
// the same size, channels, type, domain and grey values in it; contours the same points).
// Different counts: 1502.
HALCONCPP_API void TestEqualObj(const HObject& Objects1, const HObject& Objects2, HTuple* IsEqual);
// The objects of Objects that are not among ObjectsSub, told apart by identity.
HALCONCPP_API void ObjDiff(const HObject& Objects, const HObject& ObjectsSub, HObject* ObjectsDiff);

}  // namespace HalconCpp

#endif
