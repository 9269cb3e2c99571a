#ifndef HALCONCPP_HOPERATORSTEXT_H
#define HALCONCPP_HOPERATORSTEXT_H

#include "halconcpp/HTuple.h"

// Text in graphics windows. Positions are image coordinates mapped through the window's part,
// as DispObj maps objects; fonts are pixel sizes on the screen, whatever the part. Strings
// draw in the window's current colour with the stand-in's one built-in font, scaled to the
// height of the font set.
namespace HalconCpp {

HALCONCPP_API void SetTposition(const HTuple& WindowHandle, const HTuple& Row,
                                const HTuple& Column);
HALCONCPP_API void GetTposition(const HTuple& WindowHandle, HTuple* Row, HTuple* Column);
HALCONCPP_API void WriteString(const HTuple& WindowHandle, const HTuple& String);
HALCONCPP_API void NewLine(const HTuple& WindowHandle);
HALCONCPP_API void SetFont(const HTuple& WindowHandle, const HTuple& Font);
HALCONCPP_API void GetFont(const HTuple& WindowHandle, HTuple* Font);
HALCONCPP_API void QueryFont(const HTuple& WindowHandle, HTuple* Font);
HALCONCPP_API void GetStringExtents(const HTuple& WindowHandle, const HTuple& Values,
                                    HTuple* Ascent, HTuple* Descent, HTuple* Width, HTuple* Height);
HALCONCPP_API void GetFontExtents(const HTuple& WindowHandle, HTuple* MaxAscent, HTuple* MaxDescent,
                                  HTuple* MaxWidth, HTuple* MaxHeight);

}  // namespace HalconCpp

#endif
