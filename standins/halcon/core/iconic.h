// The stand-in's iconic objects behind HObject. Each kind (image, region, contour) derives
// from IconicObject in its own module.
#ifndef QUORVEX_STANDINS_HALCON_ICONIC_H
#define QUORVEX_STANDINS_HALCON_ICONIC_H

namespace HalconCpp {
namespace Standin {

struct IconicObject {
  IconicObject();
  IconicObject(const IconicObject&) = delete;
  IconicObject& operator=(const IconicObject&) = delete;
  virtual ~IconicObject();
  // "image", "region", "xld_cont" or "xld_poly".
  virtual const char* className() const = 0;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
