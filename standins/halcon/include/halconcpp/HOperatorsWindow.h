#ifndef HALCONCPP_HOPERATORSWINDOW_H
#define HALCONCPP_HOPERATORSWINDOW_H

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

// Graphics windows: each an RGB framebuffer with its place on the screen, a background
// colour, a part (the image rectangle shown) and drawing settings. Handles are process-wide
// integers; every operation on a closed or unknown handle raises HException 5100.
namespace HalconCpp {

void OpenWindow(const HTuple& Row, const HTuple& Column, const HTuple& Width, const HTuple& Height,
                const HTuple& FatherWindow, const HTuple& Mode, const HTuple& Machine,
                HTuple* WindowHandle);
void CloseWindow(const HTuple& WindowHandle);
void ClearWindow(const HTuple& WindowHandle);
void SetWindowParam(const HTuple& WindowHandle, const HTuple& Param, const HTuple& Value);
void SetWindowExtents(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                      const HTuple& Width, const HTuple& Height);
void GetWindowExtents(const HTuple& WindowHandle, HTuple* Row, HTuple* Column, HTuple* Width,
                      HTuple* Height);
void GetOsWindowHandle(const HTuple& WindowHandle, HTuple* OSWindowHandle, HTuple* OSDisplayHandle);
void SetPart(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
             const HTuple& Row2, const HTuple& Column2);
void GetPart(const HTuple& WindowHandle, HTuple* Row1, HTuple* Column1, HTuple* Row2,
             HTuple* Column2);

void DispObj(const HObject& Object, const HTuple& WindowHandle);
void DumpWindowImage(HObject* Image, const HTuple& WindowHandle);
void DumpWindow(const HTuple& WindowHandle, const HTuple& Device, const HTuple& FileName);

void SetDraw(const HTuple& WindowHandle, const HTuple& Mode);
void SetShape(const HTuple& WindowHandle, const HTuple& Shape);
void SetColored(const HTuple& WindowHandle, const HTuple& NumberOfColors);
void SetColor(const HTuple& WindowHandle, const HTuple& Color);
void SetLut(const HTuple& WindowHandle, const HTuple& LookUpTable);
void SetPaint(const HTuple& WindowHandle, const HTuple& Mode);
void SetLineWidth(const HTuple& WindowHandle, const HTuple& Width);

}  // namespace HalconCpp

#endif
