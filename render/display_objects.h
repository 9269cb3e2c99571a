// Displaying iconic objects in a window, with its part fitted to the first image.
#ifndef QUORVEX_RENDER_DISPLAY_OBJECTS_H
#define QUORVEX_RENDER_DISPLAY_OBJECTS_H

#include <utility>

#include "engine/vendor.h"

namespace quorvex::render {

using engine::HObject;
using engine::HTuple;

// The image part the library last set on a window: first row and column, last row and column.
struct PartRef {
  HTuple& row1;
  HTuple& column1;
  HTuple& row2;
  HTuple& column2;
};

// Width and height of the first image among the objects; (0, 0) when none is an image.
std::pair<HTuple, HTuple> firstImageSize(const HObject& object);

// Resets the window's part to the whole image unless it already has the image's size (and,
// when it is not the part the library remembers, also starts at row 0 and column 0). A part
// the library set through DevSetPart survives at any offset; one set behind the library's
// back survives only as the full image. `remembered` is updated with a part it sets.
void fitPartToImage(const HTuple& window, PartRef remembered, HTuple width, HTuple height);

// Fits the part to the first image among the objects, displays them and draws the logo.
void displayObjects(const HObject& object, const HTuple& window, PartRef remembered);

}  // namespace quorvex::render

#endif
