#ifndef HALCONCPP_HOPERATORSDRAWING_H
#define HALCONCPP_HOPERATORSDRAWING_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Shapes drawn straight into a graphics window, and the drawing settings read back. Shape
// coordinates are image coordinates mapped through the window's part; each parameter may
// hold several values, one shape each, drawn in the colours of the window in turn.
namespace HalconCpp {

HALCONCPP_API void DispRectangle1(const HTuple& WindowHandle, const HTuple& Row1,
                                  const HTuple& Column1, const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void DispRectangle2(const HTuple& WindowHandle, const HTuple& CenterRow,
                                  const HTuple& CenterCol, const HTuple& Phi, const HTuple& Length1,
                                  const HTuple& Length2);
HALCONCPP_API void DispCircle(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                              const HTuple& Radius);
HALCONCPP_API void DispLine(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                            const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void DispCross(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                             const HTuple& Size, const HTuple& Angle);
HALCONCPP_API void DispArrow(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                             const HTuple& Row2, const HTuple& Column2, const HTuple& Size);
HALCONCPP_API void DispEllipse(const HTuple& WindowHandle, const HTuple& CenterRow,
                               const HTuple& CenterCol, const HTuple& Phi, const HTuple& Radius1,
                               const HTuple& Radius2);
HALCONCPP_API void DispArc(const HTuple& WindowHandle, const HTuple& CenterRow,
                           const HTuple& CenterCol, const HTuple& Angle, const HTuple& BeginRow,
                           const HTuple& BeginCol);
HALCONCPP_API void DispPolygon(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column);
HALCONCPP_API void DispImage(const HObject& Image, const HTuple& WindowHandle);
HALCONCPP_API void DispColor(const HObject& ColorImage, const HTuple& WindowHandle);
HALCONCPP_API void DispChannel(const HObject& MultichannelImage, const HTuple& WindowHandle,
                               const HTuple& Channel);
HALCONCPP_API void DispRegion(const HObject& DispRegions, const HTuple& WindowHandle);

HALCONCPP_API void GetDraw(const HTuple& WindowHandle, HTuple* Mode);
HALCONCPP_API void GetLineWidth(const HTuple& WindowHandle, HTuple* Width);
HALCONCPP_API void SetRgb(const HTuple& WindowHandle, const HTuple& Red, const HTuple& Green,
                          const HTuple& Blue);
HALCONCPP_API void GetRgb(const HTuple& WindowHandle, HTuple* Red, HTuple* Green, HTuple* Blue);

}  // namespace HalconCpp

#endif
