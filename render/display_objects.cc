#include "render/display_objects.h"

#include "render/logo_overlay.h"

namespace quorvex::render {

using engine::Hlong;

std::pair<HTuple, HTuple> firstImageSize(const HObject& object) {
  const Hlong count = object.CountObj();
  for (Hlong i = 1; i <= count; ++i) {
    const HObject single = object[i];
    HTuple objectClass;
    HalconCpp::GetObjClass(single, &objectClass);
    if (objectClass == HTuple("image")) {
      const HalconCpp::HImage image(single);
      return {image.Width(), image.Height()};
    }
  }
  return {HTuple(0), HTuple(0)};
}

void fitPartToImage(const HTuple& window, PartRef remembered, HTuple width, HTuple height) {
  HTuple row1, column1, row2, column2;
  HalconCpp::GetPart(window, &row1, &column1, &row2, &column2);
  const HTuple partHeight = (row2 - row1) + HTuple(1);
  const HTuple partWidth = (column2 - column1) + HTuple(1);
  const bool sizeDiffers = partHeight != height || partWidth != width;
  const bool isRemembered = row1 == remembered.row1 && column1 == remembered.column1 &&
                            row2 == remembered.row2 && column2 == remembered.column2;
  const bool reset =
      isRemembered ? sizeDiffers : (row1 != HTuple(0.0) || column1 != HTuple(0.0) || sizeDiffers);
  if (!reset) return;
  HalconCpp::SetPart(window, HTuple(0), HTuple(0), height - HTuple(1), width - HTuple(1));
  remembered.row1 = HTuple(0.0);
  remembered.column1 = HTuple(0.0);
  remembered.row2 = height - HTuple(1.0);
  remembered.column2 = width - HTuple(1.0);
}

void displayObjects(const HObject& object, const HTuple& window, PartRef remembered) {
  const auto [width, height] = firstImageSize(object);
  if (width != HTuple(0)) fitPartToImage(window, remembered, width, height);
  HalconCpp::DispObj(object, window);
  overlayLogo(window);
}

}  // namespace quorvex::render
