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
// A LUT by name (query_lut's), as RGB values (3 to 768 integers 0..255, red, green and blue
// of each entry) or as the name of a file write_lut wrote (as given, else with '.lut');
// anything else is 1302.
HALCONCPP_API void SetLut(const HTuple& WindowHandle, const HTuple& LookUpTable);
HALCONCPP_API void GetLut(const HTuple& WindowHandle, HTuple* LookUpTable);
HALCONCPP_API void QueryLut(const HTuple& WindowHandle, HTuple* LookUpTable);
// The LUT in a tuple file (WriteTuple's form); '.lut' is appended to a name without one.
HALCONCPP_API void WriteLut(const HTuple& WindowHandle, const HTuple& FileName);
// Checks its values (Scale at least 1) and draws nothing.
HALCONCPP_API void DispLut(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                           const HTuple& Scale);
// Hue 0..1, saturation and intensity at least 0 (else 130n); initially 0, 1, 1.
HALCONCPP_API void SetLutStyle(const HTuple& WindowHandle, const HTuple& Hue,
                               const HTuple& Saturation, const HTuple& Intensity);
HALCONCPP_API void GetLutStyle(const HTuple& WindowHandle, HTuple* Hue, HTuple* Saturation,
                               HTuple* Intensity);
// 'true' or 'false', initially 'false'.
HALCONCPP_API void SetFixedLut(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void GetFixedLut(const HTuple& WindowHandle, HTuple* Mode);
// The text and mouse cursors by the names the queries list; initially 'invisible' and
// 'arrow'.
HALCONCPP_API void SetTshape(const HTuple& WindowHandle, const HTuple& TextCursor);
HALCONCPP_API void GetTshape(const HTuple& WindowHandle, HTuple* TextCursor);
HALCONCPP_API void QueryTshape(const HTuple& WindowHandle, HTuple* TextCursor);
HALCONCPP_API void SetMshape(const HTuple& WindowHandle, const HTuple& Cursor);
HALCONCPP_API void GetMshape(const HTuple& WindowHandle, HTuple* Cursor);
HALCONCPP_API void QueryMshape(const HTuple& WindowHandle, HTuple* ShapeNames);
HALCONCPP_API void SetPaint(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void SetLineWidth(const HTuple& WindowHandle, const HTuple& Width);

// Settings read back and the lists of values they take (the same lists the setters check).
HALCONCPP_API void GetShape(const HTuple& WindowHandle, HTuple* DisplayShape);
HALCONCPP_API void GetPaint(const HTuple& WindowHandle, HTuple* Mode);
// The colours as set_color named them; set_rgb's and set_gray's as '#rrggbb'.
HALCONCPP_API void GetColor(const HTuple& WindowHandle, HTuple* Colors);
HALCONCPP_API void QueryColor(const HTuple& WindowHandle, HTuple* Colors);
HALCONCPP_API void QueryAllColors(const HTuple& WindowHandle, HTuple* Colors);
HALCONCPP_API void QueryPaint(const HTuple& WindowHandle, HTuple* Mode);
HALCONCPP_API void QueryShape(HTuple* DisplayShape);
HALCONCPP_API void QueryInsert(const HTuple& WindowHandle, HTuple* Mode);
HALCONCPP_API void QueryLineWidth(HTuple* Min, HTuple* Max);
HALCONCPP_API void QueryColored(HTuple* PossibleNumberOfColors);
HALCONCPP_API void QueryGray(const HTuple& WindowHandle, HTuple* Grayval);
// Grey values 0..255 drawn as (g, g, g).
HALCONCPP_API void SetGray(const HTuple& WindowHandle, const HTuple& GrayValues);
// The drawing colour as one integer, 0xRRGGBB.
HALCONCPP_API void SetPixel(const HTuple& WindowHandle, const HTuple& Pixel);
HALCONCPP_API void GetPixel(const HTuple& WindowHandle, HTuple* Pixel);
// Hue, saturation and intensity 0..255 each, converted as trans_to_rgb 'hsi' converts bytes.
HALCONCPP_API void SetHsi(const HTuple& WindowHandle, const HTuple& Hue, const HTuple& Saturation,
                          const HTuple& Intensity);
HALCONCPP_API void GetHsi(const HTuple& WindowHandle, HTuple* Hue, HTuple* Saturation,
                          HTuple* Intensity);
// Up to five pairs of lengths (drawn, skipped) of at least 1; [] draws solid lines.
HALCONCPP_API void SetLineStyle(const HTuple& WindowHandle, const HTuple& Style);
HALCONCPP_API void GetLineStyle(const HTuple& WindowHandle, HTuple* Style);
// 'copy', 'xor' or 'complement' for regions, shapes, lines and text.
HALCONCPP_API void SetInsert(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void GetInsert(const HTuple& WindowHandle, HTuple* Mode);
HALCONCPP_API void SetFix(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void GetFix(const HTuple& WindowHandle, HTuple* Mode);
// 'object' shows an image's domain, 'image' the whole image.
HALCONCPP_API void SetComprise(const HTuple& WindowHandle, const HTuple& Mode);
HALCONCPP_API void GetComprise(const HTuple& WindowHandle, HTuple* Mode);
HALCONCPP_API void SetPartStyle(const HTuple& WindowHandle, const HTuple& Style);
HALCONCPP_API void GetPartStyle(const HTuple& WindowHandle, HTuple* Style);
HALCONCPP_API void SetLineApprox(const HTuple& WindowHandle, const HTuple& Approximation);
HALCONCPP_API void GetLineApprox(const HTuple& WindowHandle, HTuple* Approximation);
HALCONCPP_API void SetIcon(const HObject& Icon, const HTuple& WindowHandle);
HALCONCPP_API void GetIcon(HObject* Icon, const HTuple& WindowHandle);

// The kind of window open_window opens, and the defaults of the windows opened next.
HALCONCPP_API void QueryWindowType(HTuple* WindowTypes);
HALCONCPP_API void SetWindowType(const HTuple& WindowType);
HALCONCPP_API void GetWindowType(const HTuple& WindowHandle, HTuple* WindowType);
HALCONCPP_API void SetWindowAttr(const HTuple& AttributeName, const HTuple& AttributeValue);
HALCONCPP_API void GetWindowAttr(const HTuple& AttributeName, HTuple* AttributeValue);

// Rectangles of window pixels: filled with the background, copied between windows, moved.
HALCONCPP_API void ClearRectangle(const HTuple& WindowHandle, const HTuple& Row1,
                                  const HTuple& Column1, const HTuple& Row2, const HTuple& Column2);
HALCONCPP_API void CopyRectangle(const HTuple& WindowHandleSource,
                                 const HTuple& WindowHandleDestination, const HTuple& Row1,
                                 const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
                                 const HTuple& DestRow, const HTuple& DestColumn);
HALCONCPP_API void MoveRectangle(const HTuple& WindowHandle, const HTuple& Row1,
                                 const HTuple& Column1, const HTuple& Row2, const HTuple& Column2,
                                 const HTuple& DestRow, const HTuple& DestColumn);

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
// The keyboard: the same, for the operators that wait for keys.
HALCONCPP_API void ReadChar(const HTuple& WindowHandle, HTuple* Char, HTuple* Code);
HALCONCPP_API void ReadString(const HTuple& WindowHandle, const HTuple& InString,
                              const HTuple& Length, HTuple* OutString);

}  // namespace HalconCpp

#endif
