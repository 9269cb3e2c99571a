// Displaying iconic objects in the active window, with its part fitted to the first image.
#ifndef QUORVEX_RENDER_DISPLAY_OBJECTS_H
#define QUORVEX_RENDER_DISPLAY_OBJECTS_H

#include <utility>

#include "display/operator_impl.h"

namespace quorvex::render {

using engine::HObject;
using engine::HTuple;

// Width and height of the first image among the objects; (0, 0) when none is an image.
std::pair<HTuple, HTuple> firstImageSize(const HObject& object);

// Resets the window's part to the whole image unless it already has the image's size (and,
// when it is not the part the library remembers, also starts at row 0 and column 0). A part
// the library set through DevSetPart survives at any offset; one set behind the library's
// back survives only as the full image.
void fitPartToImage(display::WindowEntry& entry, HTuple width, HTuple height);

}  // namespace quorvex::render

#endif
