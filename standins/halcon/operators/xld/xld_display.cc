// disp_xld: contours only, drawn as disp_obj draws them.
#include "core/contour.h"
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
  const std::vector<const ContourObject*> contours = contoursOf(XLDObject, op, 1);
  const Hlong handle = handleOf(WindowHandle, op);
  windowTable().with(handle, op, [&](Window& window) {
    const std::vector<Rgb> colors = drawingColors(window);
    std::size_t next = 0;
    for (const ContourObject* contour : contours) {
      drawContour(window, *contour, colors[next++ % colors.size()]);
    }
  });
}

}  // namespace HalconCpp
