// disp_xld: contours and polygons, drawn as disp_obj draws them.
#include "core/empty_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "standin/controls.h"
#include "windows/draw.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

void DispXld(const HObject& XLDObject, const HTuple& WindowHandle) {
  ApiScope scope("DispXld");
  logWindowCall("DispXld", XLDObject, WindowHandle);
  const char* op = "disp_xld";
  objectCount(XLDObject, op, 1);
  checkNoObjects(XLDObject, op, 1);
  for (const HObject::Item& item : XLDObject.Items()) {
    if (!isXld(*item)) fail(op, 1101);
  }
  const Hlong handle = handleOf(WindowHandle, op);
  windowTable().with(handle, op, [&](Window& window) {
    const std::vector<Rgb> colors = drawingColors(window);
    std::size_t next = 0;
    for (const HObject::Item& item : XLDObject.Items()) {
      drawXld(window, *item, colors[next++ % colors.size()]);
    }
  });
}

}  // namespace HalconCpp
