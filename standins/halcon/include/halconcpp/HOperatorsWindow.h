#ifndef HALCONCPP_HOPERATORSWINDOW_H
#define HALCONCPP_HOPERATORSWINDOW_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Graphics windows: each an RGB framebuffer with its place on the screen, a background
// colour, a part (the image rectangle shown) and drawing settings. Handles are process-wide
// integers; every operation on a closed or unknown handle raises HException 5100.
namespace HalconCpp {

HALCONCPP_API void OpenWindow(const HTuple& Row, const HTuple& Column, const HTuple& Width,
                              const HTuple& Height, const HTuple& FatherWindow, const HTuple& Mode,
                              const HTuple& Machine, HTuple* WindowHandle);
HALCONCPP_API void CloseWindow(const HTuple& WindowHandle);
HALCONCPP_API void ClearWindow(const HTuple& WindowHandle);
HALCONCPP_API void SetWindowParam(const HTuple& WindowHandle, const HTuple& Param,
                                  const HTuple& Value);
HALCONCPP_API void SetWindowExtents(const HTuple& WindowHandle, const HTuple& Row,
                                    const HTuple& Column, const HTuple& Width,
                                    const HTuple& Height);
HALCONCPP_API void GetWindowExtents(const HTuple& WindowHandle, HTuple* Row, HTuple* Column,
                                    HTuple* Width, HTuple* Height);
HALCONCPP_API void GetOsWindowHandle(const HTuple& WindowHandle, HTuple* OSWindowHandle,
                                     HTuple* OSDisplayHandle);
HALCONCPP_API void SetPart(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                           const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void GetPart(const HTuple& WindowHandle, HTuple* Row1, HTuple* Column1, HTuple* Row2,
                           HTuple* Column2);

HALCONCPP_API void DispObj(const HObject& Object, const HTuple& WindowHandle);
HALCONCPP_API void DumpWindowImage(HObject* Image, const HTuple& WindowHandle);
HALCONCPP_API void DumpWindow(const HTuple& WindowHandle, const HTuple& Device,
                              const HTuple& FileName);

HALCONCPP_API void SetDraw(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void SetShape(const HTuple& WindowHandle, const HTuple& Shape);
HALCONCPP_API void SetColored(const HTuple& WindowHandle, const HTuple& NumberOfColors);
HALCONCPP_API void SetColor(const HTuple& WindowHandle, const HTuple& Color);
HALCONCPP_API void SetLut(const HTuple& WindowHandle, const HTuple& LookUpTable);
HALCONCPP_API void SetPaint(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void SetLineWidth(const HTuple& WindowHandle, const HTuple& Width);

// The mouse: no pointer is ever over a stand-in window, so each raises 5 (the vendor's
// H_MSG_FAIL for a pointer outside the window) after checking the handle (5100); the
// operators that wait for a button press do not wait.
HALCONCPP_API void GetMposition(const HTuple& WindowHandle, HTuple* Row, HTuple* Column,
                                HTuple* Button);
HALCONCPP_API void GetMpositionSubPix(const HTuple& WindowHandle, HTuple* Row, HTuple* Column,
                                      HTuple* Button);
HALCONCPP_API void GetMbutton(const HTuple& WindowHandle, HTuple* Row, HTuple* Column,
                              HTuple* Button);
HALCONCPP_API void GetMbuttonSubPix(const HTuple& WindowHandle, HTuple* Row, HTuple* Column,
                                    HTuple* Button);

}  // namespace HalconCpp

#endif
