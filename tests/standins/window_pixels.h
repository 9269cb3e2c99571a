// Reading single pixels and counting colours in a window's dump.
#ifndef QUORVEX_TESTS_STANDINS_WINDOW_PIXELS_H
#define QUORVEX_TESTS_STANDINS_WINDOW_PIXELS_H

#include <ostream>

#include "display/display_fixture.h"

namespace quorvex::test {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& color) {
  return out << "(" << color.red << ", " << color.green << ", " << color.blue << ")";
}

// Inclusive window rows and columns.
struct Box {
  long row1, column1, row2, column2;
};

inline Rgb pixelAt(const WindowPixels& pixels, std::size_t row, std::size_t column) {
  const std::size_t at = row * pixels.width + column;
  return {pixels.red[at], pixels.green[at], pixels.blue[at]};
}

inline long countInside(const WindowPixels& pixels, const Rgb& color, const Box& box) {
  long count = 0;
  for (long row = box.row1; row <= box.row2; ++row) {
    for (long column = box.column1; column <= box.column2; ++column) {
      if (pixelAt(pixels, static_cast<std::size_t>(row), static_cast<std::size_t>(column)) ==
          color) {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace quorvex::test

#endif
