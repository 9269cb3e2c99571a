// Window settings read back, the lists the queries give against what the setters accept, and
// what the settings change in a dumped window, through program lines. Every window here is
// 32 x 24 with its part equal to its size, so image and window coordinates agree.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const char* const kOpen = "open_window (0, 0, 32, 24, 0, 'visible', '', W)";

// The lines in a fresh window, closed again before R is read.
Lines inWindow(const Lines& lines, const std::string& result) {
  return with(with({kOpen}, lines), {"close_window (W)", "R := " + result});
}

// The lines then the grey values of the dumped window's channel (1 red, 2 green, 3 blue) at
// the rows and columns.
Lines pixels(const Lines& lines, int channel, const std::string& rows, const std::string& cols) {
  return with(
      with({kOpen}, lines),
      {"dump_window_image (Dump, W)", "access_channel (Dump, C, " + std::to_string(channel) + ")",
       "get_grayval (C, " + rows + ", " + cols + ", V)", "close_window (W)", "R := V"});
}

TEST(WindowOptions, SettingsReadBackAsSet) {
  expectCases({
      // set_line_style, 11.0: [] (the default) draws solid lines.
      {"line style default", inWindow({"get_line_style (W, S)"}, "S"), "[]"},
      {"line style", inWindow({"set_line_style (W, [4, 2])", "get_line_style (W, S)"}, "S"),
       "[4, 2]"},
      // set_insert, 11.0; 'copy' is the one mode every display has, the default.
      {"insert default", inWindow({"get_insert (W, M)"}, "M"), "'copy'"},
      {"insert", inWindow({"set_insert (W, 'xor')", "get_insert (W, M)"}, "M"), "'xor'"},
      // set_fix, 11.0: Mode's default value is 'true'.
      {"fix", inWindow({"get_fix (W, A)", "set_fix (W, 'false')", "get_fix (W, B)"}, "[A, B]"),
       "['true', 'false']"},
      // set_comprise, 11.0: the default is 'object'.
      {"comprise",
       inWindow({"get_comprise (W, A)", "set_comprise (W, 'image')", "get_comprise (W, B)"},
                "[A, B]"),
       "['object', 'image']"},
      // set_part_style, 11.0: the three modes 0, 1, 2.
      {"part style", inWindow({"set_part_style (W, 2)", "get_part_style (W, S)"}, "S"), "2"},
      // set_line_approx, 11.0: 0 is no approximation.
      {"line approximation",
       inWindow({"get_line_approx (W, A)", "set_line_approx (W, 3)", "get_line_approx (W, B)"},
                "[A, B]"),
       "[0, 3]"},
      // set_shape, set_paint, 11.0.
      {"shape", inWindow({"set_shape (W, 'rectangle1')", "get_shape (W, S)"}, "S"), "'rectangle1'"},
      {"paint", inWindow({"set_paint (W, 'row')", "get_paint (W, P)"}, "P"), "'row'"},
      // get_color, 11.0: the colours of the latest set_color, in order.
      {"colors", inWindow({"set_color (W, ['red', 'coral'])", "get_color (W, C)"}, "C"),
       "['red', 'coral']"},
      // set_gray, 11.0: grey value g draws as red = green = blue = g.
      {"gray", inWindow({"set_gray (W, 100)", "get_rgb (W, Rd, G, B)"}, "[Rd, G, B]"),
       "[100, 100, 100]"},
      // set_pixel, get_pixel, 11.0 (on the stand-in's true-colour windows a pixel is
      // 0xRRGGBB): 0x102030 = 1056816 is red 16, green 32, blue 48.
      {"pixel",
       inWindow({"set_pixel (W, 1056816)", "get_rgb (W, Rd, G, B)", "get_pixel (W, P)"},
                "[Rd, G, B, P]"),
       "[16, 32, 48, 1056816]"},
      // set_colored (3), 11.0: red, green, blue = 0xff0000, 0x00ff00, 0x0000ff.
      {"pixels of the coloured cycle", inWindow({"set_colored (W, 3)", "get_pixel (W, P)"}, "P"),
       "[16711680, 65280, 255]"},
      // set_hsi, get_hsi as trans_to_rgb/trans_from_rgb 'hsi', 11.0: saturation 0 is grey of
      // the intensity; red (1, 0, 0) has hue 0, saturation sqrt(2/3) (the top of its range,
      // 255) and intensity 1/3 (85).
      {"hsi grey", inWindow({"set_hsi (W, 0, 0, 128)", "get_rgb (W, Rd, G, B)"}, "[Rd, G, B]"),
       "[128, 128, 128]"},
      {"hsi of red", inWindow({"set_color (W, 'red')", "get_hsi (W, H, S, I)"}, "[H, S, I]"),
       "[0, 255, 85]"},
      // set_icon, get_icon, 11.0: the region set is the one read back.
      {"icon",
       inWindow({"gen_rectangle1 (Icon, 0, 0, 2, 3)", "set_icon (Icon, W)", "get_icon (Back, W)",
                 "area_center (Back, A, Row, Col)"},
                "A"),
       "12"},
  });
}

TEST(WindowOptions, QueriesListWhatTheSettersAccept) {
  expectCases({
      // set_shape, query_shape, 11.0.
      {"shapes",
       {"query_shape (R)"},
       "['original', 'outer_circle', 'inner_circle', 'rectangle1', 'rectangle2', 'ellipse', "
       "'convex', 'icon']"},
      // query_insert, 11.0: 'copy', 'xor', 'complement'.
      {"insert modes", inWindow({"query_insert (W, M)"}, "M"), "['copy', 'xor', 'complement']"},
      // set_colored, 11.0: 3, 6 or 12 colours.
      {"coloured counts", {"query_colored (R)"}, "[3, 6, 12]"},
      {"line widths", {"query_line_width (Min, Max)", "R := [Min, Max]"}, "[1, 2000]"},
      // query_gray, 11.0, on a true-colour display: every byte value.
      {"grey values", inWindow({"query_gray (W, G)"}, "[|G|, G[0], G[255]]"), "[256, 0, 255]"},
      // Every listed colour and paint mode is one the setter takes.
      {"colours",
       inWindow({"query_color (W, C)", "query_all_colors (W, A)", "for I := 0 to |C| - 1 by 1",
                 "set_color (W, C[I])", "endfor"},
                "[|C| == |A|, C[0:4]]"),
       "[1, 'black', 'white', 'red', 'green', 'blue']"},
      {"paint modes",
       inWindow({"query_paint (W, P)", "for I := 0 to |P| - 1 by 1", "set_paint (W, P[I])",
                 "endfor", "get_paint (W, Last)"},
                "[|P|, Last]"),
       "[12, 'line_histogram']"},
  });
}

#if defined(_WIN32)
const char* const kSystemWindow = "'WIN32-Window'";
#else
const char* const kSystemWindow = "'X-Window'";
#endif

// query_window_type, set_window_type, set_window_attr, 11.0: the type and attributes apply to
// the windows opened after them.
TEST(WindowOptions, WindowTypesAndAttributesApplyToTheNextWindow) {
  const std::string types = std::string("[") + kSystemWindow + ", 'pixmap']";
  expectText({"query_window_type (R)"}, types, "types");
  expectText(inWindow({"get_window_type (W, T)"}, "T"), kSystemWindow, "the default type");
  expectText({"set_window_type ('pixmap')", kOpen, "get_window_type (W, T)", "close_window (W)",
              std::string("set_window_type (") + kSystemWindow + ")", "R := T"},
             "'pixmap'", "pixmap");
  expectText({"get_window_attr ('border_width', B)", "set_window_attr ('background_color', 'red')",
              "get_window_attr ('background_color', C)", kOpen, "dump_window_image (D, W)",
              "access_channel (D, Red, 1)", "get_grayval (Red, 5, 5, V)", "close_window (W)",
              "set_window_attr ('background_color', 'black')", "R := [B, C, V]"},
             "[2, 'red', 255]", "attributes");
}

TEST(WindowOptions, DrawingHonoursTheSettings) {
  const Lines white = {"set_color (W, 'white')"};
  expectCases({
      // set_line_style, 11.0: [4, 2] draws 4 pixels, skips 2, over again: columns 0-3, 6-9,
      // 12-15, 18-20 of the line along row 10.
      {"a dashed line",
       pixels(white + Lines{"set_line_style (W, [4, 2])", "disp_line (W, 10, 0, 10, 20)"}, 1,
              "[10, 10, 10, 10, 10, 10]", "[3, 4, 5, 6, 17, 18]"),
       "[255, 0, 0, 255, 0, 255]"},
      // The pattern runs on along a polyline: [2, 1] over (2,0)..(2,3) is on, on, off, on;
      // the corner is not counted again, so (3,3)..(6,3) are steps 4..7: on, off, on, on.
      {"a dashed polyline",
       pixels(white + Lines{"set_line_style (W, [2, 1])", "disp_polygon (W, [2, 2, 6], [0, 3, 3])"},
              1, "[2, 2, 3, 4, 5, 6]", "[2, 3, 3, 3, 3, 3]"),
       "[0, 255, 255, 0, 255, 255]"},
      // set_insert 'xor', 11.0: old xor new. Red over black, then blue: the overlap is
      // magenta; red again clears the red square's corner back to black.
      {"xor",
       pixels({"set_insert (W, 'xor')", "set_color (W, 'red')", "disp_rectangle1 (W, 0, 0, 9, 9)",
               "set_color (W, 'blue')", "disp_rectangle1 (W, 5, 5, 14, 14)", "set_color (W, 'red')",
               "disp_rectangle1 (W, 0, 0, 1, 1)"},
              1, "[0, 2, 7, 12]", "[0, 2, 7, 12]"),
       "[0, 255, 255, 0]"},
      // A wide stroke changes each pixel once, its corner too.
      {"xor stroke",
       pixels(white + Lines{"set_insert (W, 'xor')", "set_line_width (W, 3)",
                            "disp_polygon (W, [5, 5, 15], [5, 15, 15])"},
              2, "[5, 6, 5, 10]", "[15, 15, 10, 15]"),
       "[255, 255, 255, 255]"},
      // set_insert 'complement', 11.0: the old value inverted, whatever the colour.
      {"complement",
       pixels({"set_insert (W, 'complement')", "set_color (W, 'red')",
               "disp_rectangle1 (W, 0, 0, 3, 3)", "disp_rectangle1 (W, 2, 2, 5, 5)"},
              2, "[1, 3, 4]", "[1, 3, 4]"),
       "[255, 0, 255]"},
      // set_comprise, 11.0: 'object' shows the domain, 'image' the whole image.
      {"comprise",
       pixels(
           {"gen_image_const (I, 'byte', 32, 24)", "gen_image_proto (I, I, 200)",
            "gen_rectangle1 (Box, 0, 0, 4, 4)", "reduce_domain (I, Box, Rd)", "disp_image (Rd, W)",
            "dump_window_image (Before, W)", "access_channel (Before, B1, 1)",
            "get_grayval (B1, 10, 10, Outside)", "set_comprise (W, 'image')", "disp_image (Rd, W)"},
           1, "[10, 2]", "[10, 2]") +
           Lines{"R := [Outside, V]"},
       "[0, 200, 200]"},
  });
}

// clear_rectangle, move_rectangle, copy_rectangle, 11.0, in window coordinates.
TEST(WindowOptions, RectanglesClearMoveAndCopy) {
  const Lines filled = {"set_color (W, 'white')", "disp_rectangle1 (W, 0, 0, 23, 31)"};
  const Lines corner = {"set_color (W, 'white')", "disp_rectangle1 (W, 0, 0, 1, 1)"};
  expectCases({
      {"cleared to the background, clipped",
       pixels(filled + Lines{"clear_rectangle (W, [2, -5], [3, -5], [4, 0], [5, 0])"}, 1,
              "[2, 4, 5, 2, 0, 0]", "[3, 5, 5, 6, 0, 1]"),
       "[0, 0, 255, 255, 0, 255]"},
      // The source stays; (10,10) receives (1,1), the corner's last white pixel.
      {"moved",
       pixels(corner + Lines{"move_rectangle (W, 1, 1, 2, 2, 10, 10)"}, 1, "[1, 10, 11, 10]",
              "[1, 10, 11, 11]"),
       "[255, 255, 0, 0]"},
      // Overlapping: rows 0..3 of column 0 (white, white, black, black) land on rows 1..4.
      {"moved onto itself",
       pixels(corner + Lines{"move_rectangle (W, 0, 0, 3, 0, 1, 0)"}, 1, "[0, 1, 2, 3, 4]",
              "[0, 0, 0, 0, 0]"),
       "[255, 255, 255, 0, 0]"},
      {"copied to another window",
       with(with({kOpen}, corner),
            {"open_window (0, 0, 16, 16, 0, 'visible', '', W2)",
             "copy_rectangle (W, W2, 0, 0, 1, 1, 3, 4)", "dump_window_image (D, W2)",
             "access_channel (D, C, 1)", "get_grayval (C, [3, 4, 2], [4, 5, 4], V)",
             "close_window (W)", "close_window (W2)", "R := V"}),
       "[255, 255, 0]"},
  });
}

long errorInWindow(const std::string& line) {
  return programError({kOpen, "try", line, "catch (E)", "close_window (W)", "throw (E)", "endtry",
                       "close_window (W)"});
}

// Wrong values as the neighbouring window operators give them: 130n for a value outside the
// list, 140n for a wrong count, 120n for a wrong type (n the control parameter).
TEST(WindowOptions, WrongValuesAreRefused) {
  const struct {
    const char* line;
    long number;
  } cases[] = {
      {"set_line_style (W, [4])", 1402},                                   // pairs only
      {"set_line_style (W, [1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1])", 1402},  // five at most
      {"set_line_style (W, [0, 2])", 1302},
      {"set_line_style (W, ['a', 'b'])", 1202},
      {"set_insert (W, 'or')", 1302},
      {"set_fix (W, 'yes')", 1302},
      {"set_comprise (W, 'all')", 1302},
      {"set_part_style (W, 3)", 1302},
      {"set_line_approx (W, -1)", 1302},
      {"set_gray (W, 256)", 1302},
      {"set_gray (W, [])", 1402},
      {"set_pixel (W, -1)", 1302},
      {"set_hsi (W, 0, 0, 300)", 1304},
      {"set_hsi (W, [0, 0], 0, 0)", 1403},
      {"set_window_type ('Cocoa')", 1301},
      {"get_window_attr ('size', V)", 1301},
      {"set_window_attr ('border_width', -1)", 1302},
      {"set_window_attr ('background_color', 'mauve')", 1302},
      {"clear_rectangle (W, [0, 1], 0, 1, 1)", 1403},
      {"move_rectangle (W, 0, 0, 1, 1, 0.5, 0)", 1206},
  };
  for (const auto& c : cases) EXPECT_EQ(errorInWindow(c.line), c.number) << c.line;
}

// A closed window's settings are 5100, as for every window operator.
TEST(WindowOptions, ClosedWindowsAreRefused) {
  for (const char* line : {"get_line_style (W, S)", "set_insert (W, 'copy')", "get_comprise (W, M)",
                           "get_hsi (W, H, S, I)", "query_color (W, C)", "get_window_type (W, T)",
                           "clear_rectangle (W, 0, 0, 1, 1)", "get_icon (I, W)"}) {
    EXPECT_EQ(programError({kOpen, "close_window (W)", line}), 5100) << line;
  }
}

}  // namespace
