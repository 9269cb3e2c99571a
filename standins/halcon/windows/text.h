// The stand-in's one built-in font: a 5 x 7 bitmap in a 6 x 8 cell, scaled to the pixel
// height a window's font asks for. Every font name draws with it; only the height and the
// bold flag change what a string looks like.
#ifndef QUORVEX_STANDINS_HALCON_TEXT_H
#define QUORVEX_STANDINS_HALCON_TEXT_H

#include <cstdint>
#include <string>

namespace HalconCpp {
namespace Standin {

// The columns of a character's glyph, left to right; bit 0 of each is the top row. Characters
// outside printable ASCII draw as blanks of the same width.
const std::uint8_t* glyphColumns(unsigned char c);
constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kCellColumns = 6;
constexpr int kCellRows = 8;

// The extents of the built-in font at a pixel height: every character is as wide as the
// cell, the ascent is the glyph's seven rows, the descent the cell's spare row.
struct FontMetrics {
  int height;
  int ascent;
  int descent;
  int charWidth;
};

inline FontMetrics fontMetrics(int height) {
  const int ascent = (height * kGlyphRows + kCellRows / 2) / kCellRows;
  const int charWidth = (height * kCellColumns + kCellRows / 2) / kCellRows;
  return {height, ascent, height - ascent, charWidth < 1 ? 1 : charWidth};
}

// Whether cell pixel (y, x) of character c is ink at a cell of `metrics`.
bool glyphInk(unsigned char c, const FontMetrics& metrics, bool bold, int y, int x);

}  // namespace Standin
}  // namespace HalconCpp

#endif
