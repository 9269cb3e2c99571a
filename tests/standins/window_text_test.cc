// Text and shapes in a window as program lines draw them: the text position and how writing
// moves it, the extents of the built-in font at the sizes set, and the pixels a string and a
// rectangle leave in the window's dump.
#include <string>
#include <vector>

#include "display/display_fixture.h"
#include "standins/window_pixels.h"

namespace quorvex::test {
namespace {

using WindowText = DisplayTest;

const std::string kOpen = "dev_open_window (0, 0, 200, 100, 'black', W)";

// Each row: lines after opening W, and the text position they leave.
TEST_F(WindowText, WritingMovesThePositionByTheStringsWidth) {
  const std::pair<std::vector<std::string>, std::vector<long>> rows[] = {
      {{"set_tposition (W, 10, 20)"}, {10, 20}},
      // 16 pixels high: 12 pixels a character.
      {{"set_tposition (W, 10, 20)", "write_string (W, 'abc')"}, {10, 56}},
      // A tuple is written one element after another; numbers as the tuple prints them.
      {{"set_tposition (W, 10, 20)", "write_string (W, ['ab', 7])"}, {10, 56}},
      // A new line goes one font height down, back to the column set last.
      {{"set_tposition (W, 10, 20)", "write_string (W, 'abc')", "new_line (W)"}, {26, 20}},
      // With the part twice the window, an image pixel is half a window pixel.
      {{"set_part (W, 0, 0, 199, 399)", "set_tposition (W, 10, 20)", "write_string (W, 'ab')"},
       {10, 68}},
      {{"set_font (W, '-Arial-24-*-*-*-*-*-')", "set_tposition (W, 0, 0)", "write_string (W, 'ab')",
        "new_line (W)"},
       {24, 0}}};
  for (const auto& [body, expected] : rows) {
    std::vector<std::string> lines{kOpen};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("get_tposition (W, Row, Column)");
    Snippet snippet(lines, {"Row", "Column"});
    ASSERT_EQ(snippet.run(), nullptr) << body.back();
    EXPECT_EQ(snippet.firstOfEach(), expected) << body.back();
  }
}

// Each row: the font set (none: the default), and Ascent, Descent, Width, Height of 'Hello'.
TEST_F(WindowText, StringExtentsFollowTheFontHeight) {
  const std::pair<std::string, std::vector<long>> rows[] = {
      {"", {14, 2, 60, 16}},
      {"set_font (W, '-Arial-24-*-*-*-*-1-')", {21, 3, 90, 24}},
      {"set_font (W, 'mono-12')", {11, 1, 45, 12}},
      {"set_display_font (W, 8, 'sans', 'false', 'false')", {7, 1, 30, 8}}};
  for (const auto& [font, expected] : rows) {
    Snippet snippet(
        {kOpen, font, "get_string_extents (W, 'Hello', Ascent, Descent, Width, Height)"},
        {"Ascent", "Descent", "Width", "Height"});
    ASSERT_EQ(snippet.run(), nullptr) << font;
    EXPECT_EQ(snippet.firstOfEach(), expected) << font;
  }
}

// Each row: the call of set_display_font and the font it sets, in the Windows notation.
TEST_F(WindowText, SetDisplayFontNamesTheWindowsFont) {
  const std::pair<std::string, std::string> rows[] = {
      {"16, 'mono', 'true', 'false'", "-Courier New-16-*-0-*-*-1-"},
      {"20, 'sans', 'false', 'true'", "-Arial-20-*-1-*-*-0-"},
      {"-1, 'serif', 'false', 'false'", "-Times New Roman-16-*-0-*-*-0-"},
      {"[], 'Consolas', 'false', 'false'", "-Consolas-16-*-0-*-*-0-"}};
  for (const auto& [arguments, expected] : rows) {
    Snippet snippet({kOpen, "set_display_font (W, " + arguments + ")", "get_font (W, Font)"},
                    {"Font"});
    ASSERT_EQ(snippet.run(), nullptr) << arguments;
    EXPECT_EQ(stringAt(snippet.value("Font").get(), 0), expected) << arguments;
  }
}

TEST_F(WindowText, WrongFontsAreWrongValues) {
  for (const char* font : {"", "-", "-Arial-0-", "-Arial-x-", "mono-"}) {
    Snippet snippet({kOpen, std::string("set_font (W, '") + font + "')"});
    EXPECT_FAILS(snippet.run().release(), ErrorKindEngine, 1302) << font;
  }
}

// 'A' at 16 pixels: every glyph pixel a 2 x 2 square. Its first column lights glyph rows 1-6,
// its second rows 0 and 4; the glyph has 18 pixels in all.
TEST_F(WindowText, WriteStringPaintsTheGlyphInTheCurrentColour) {
  Snippet snippet(
      {kOpen, "set_color (W, 'red')", "set_tposition (W, 10, 20)", "write_string (W, 'A')"}, {"W"});
  ASSERT_EQ(snippet.run(), nullptr);
  const WindowPixels pixels = windowPixels(snippet.longAt("W"));
  const Rgb red{255, 0, 0}, black{0, 0, 0};
  EXPECT_EQ(pixelAt(pixels, 10, 20), black);
  EXPECT_EQ(pixelAt(pixels, 12, 20), red);
  EXPECT_EQ(pixelAt(pixels, 23, 21), red);
  EXPECT_EQ(pixelAt(pixels, 10, 22), red);
  EXPECT_EQ(pixelAt(pixels, 12, 22), black);
  EXPECT_EQ(countInside(pixels, red, {10, 20, 25, 31}), 72);
  EXPECT_EQ(countInside(pixels, red, {0, 0, 99, 199}), 72);
}

// Each row: the drawing line after a red colour, the box that must be all red and the
// number of red pixels in the whole window.
TEST_F(WindowText, ShapesFillAndOutline) {
  const std::tuple<std::string, Box, long> rows[] = {
      {"disp_rectangle1 (W, 10, 20, 19, 59)", {10, 20, 19, 59}, 400},
      {"disp_rectangle2 (W, 50, 100, 0, 10, 5)", {45, 90, 55, 110}, 231},
      {"disp_line (W, 5, 5, 5, 14)", {5, 5, 5, 14}, 10},
      {"disp_circle (W, 50, 50, 2)", {50, 48, 50, 52}, 13}};
  for (const auto& [line, box, count] : rows) {
    Snippet snippet({kOpen, "set_color (W, 'red')", line}, {"W"});
    ASSERT_EQ(snippet.run(), nullptr) << line;
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const long area = (box.row2 - box.row1 + 1) * (box.column2 - box.column1 + 1);
    EXPECT_EQ(countInside(pixels, {255, 0, 0}, box), area) << line;
    EXPECT_EQ(countInside(pixels, {255, 0, 0}, {0, 0, 99, 199}), count) << line;
  }
}

TEST_F(WindowText, SettingsReadBack) {
  Snippet snippet(
      {kOpen, "set_draw (W, 'margin')", "set_line_width (W, 3)", "set_rgb (W, 10, 20, 30)",
       "get_draw (W, Mode)", "get_line_width (W, Width)", "get_rgb (W, Red, Green, Blue)"},
      {"Width", "Red", "Green", "Blue"});
  ASSERT_EQ(snippet.run(), nullptr);
  EXPECT_EQ(snippet.firstOfEach(), (std::vector<long>{3, 10, 20, 30}));
}

}  // namespace
}  // namespace quorvex::test
