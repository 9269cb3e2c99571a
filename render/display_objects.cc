#include "render/display_objects.h"

#include "messages/pending.h"
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

void fitPartToImage(display::WindowEntry& entry, HTuple width, HTuple height) {
  HTuple row1, column1, row2, column2;
  HalconCpp::GetPart(entry.window, &row1, &column1, &row2, &column2);
  const HTuple partHeight = (row2 - row1) + HTuple(1);
  const HTuple partWidth = (column2 - column1) + HTuple(1);
  const bool sizeDiffers = partHeight != height || partWidth != width;
  const bool remembered = row1 == entry.row1 && column1 == entry.column1 && row2 == entry.row2 &&
                          column2 == entry.column2;
  const bool reset =
      remembered ? sizeDiffers : (row1 != HTuple(0.0) || column1 != HTuple(0.0) || sizeDiffers);
  if (!reset) return;
  HalconCpp::SetPart(entry.window, HTuple(0), HTuple(0), height - HTuple(1), width - HTuple(1));
  entry.row1 = HTuple(0.0);
  entry.column1 = HTuple(0.0);
  entry.row2 = height - HTuple(1.0);
  entry.column2 = width - HTuple(1.0);
}

}  // namespace quorvex::render

namespace quorvex::display {

// Displaying with no open window is a silent no-op: nothing is drawn and no window opens.
int HDevOperatorImplCppNative::DevDisplay(const HObject& object) {
  try {
    messages::HoldingLock lock(windowsMutex);
    if (windows.empty()) return engine::kSuccess;
    WindowEntry& active = windows.back();
    const auto [width, height] = render::firstImageSize(object);
    if (width != HTuple(0)) render::fitPartToImage(active, width, height);
    HalconCpp::DispObj(object, active.window);
    render::overlayLogo(active.window);
    return engine::kSuccess;
  } catch (const engine::HException& e) {
    return static_cast<int>(e.ErrorCode());
  }
}

}  // namespace quorvex::display
