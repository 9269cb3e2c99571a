#ifndef HALCONCPP_HIMAGE_H
#define HALCONCPP_HIMAGE_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {

// An HObject that holds exactly one image. Copies share the pixel data, as HObject copies do.
class HALCONCPP_API HImage : public HObject {
 public:
  // Uninitialised, like a default HObject.
  HImage();
  // Raises HException unless `object` holds exactly one image.
  HImage(const HObject& object);  // NOLINT: implicit like the vendor's

  HTuple Width() const;
  HTuple Height() const;
  HTuple CountChannels() const;
};

}  // namespace HalconCpp

#endif
