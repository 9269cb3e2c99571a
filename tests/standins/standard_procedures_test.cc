// The standard procedures HDevelop installs, called from program lines as users' files call
// them: found without any procedure path, behind the user's own procedures of the same name.
// And the window text and shapes they draw with: the text position and how writing moves it,
// the extents of the built-in font at the sizes set, and the pixels a string and a rectangle
// leave in the window's dump.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "display/display_fixture.h"
#include "standins/window_pixels.h"
#include "support/environment.h"
#include "support/procedure_file.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace quorvex::test {

int hinitMode() {
  return 0;
}

namespace {

using StandardProcedures = DisplayTest;

// Each row: lines opening W fitted to an image (640 x 480 unless said) or resizing the window
// opened at (10, 20), and W's row, column, width, height and last part row and column, worked
// out from the documented rule: fit the largest size keeping the aspect ratio, grow to the
// smallest unless that passes the largest. The part always shows the whole image; a negative
// row or column keeps the window where it was.
TEST_F(StandardProcedures, FittingProceduresSizeTheWindow) {
  const std::pair<std::vector<std::string>, std::vector<long>> rows[] = {
      {{"dev_open_window_fit_image (Image, 0, 0, -1, -1, W)"}, {0, 0, 640, 480, 479, 639}},
      // 800 / 2000 shrinks to 800 x 120; growing to a height of 400 would pass 800.
      {{"gen_image_const (Wide, 'byte', 2000, 300)",
        "dev_open_window_fit_image (Wide, 0, 0, -1, -1, W)"},
       {0, 0, 800, 120, 299, 1999}},
      {{"dev_open_window_fit_image (Image, 0, 0, [700, 900], -1, W)"}, {0, 0, 700, 525, 479, 639}},
      {{"dev_open_window_fit_image (Image, 0, 0, 320, 240, W)"}, {0, 0, 320, 240, 479, 639}},
      // Reaching a height of 400 takes 4 times, which the largest width just allows.
      {{"gen_image_const (Small, 'byte', 200, 100)",
        "dev_open_window_fit_image (Small, 0, 0, [], [], W)"},
       {0, 0, 800, 400, 99, 199}},
      {{"dev_resize_window_fit_image (Image, -1, -1, -1, -1)"}, {10, 20, 640, 480, 479, 639}},
      {{"dev_resize_window_fit_image (Image, 5, 6, 320, 240)"}, {5, 6, 320, 240, 479, 639}},
      {{"dev_resize_window_fit_size (0, 0, 2000, 300, -1, -1)"}, {0, 0, 800, 120, 299, 1999}},
      {{"dev_resize_window_fit_size (-1, 30, 200, 100, [], [])"}, {10, 30, 800, 400, 99, 199}},
      {{"dev_resize_window_fit_size (0, 0, 640, 480, [700, 900], -1)"},
       {0, 0, 700, 525, 479, 639}}};
  for (const auto& [fit, expected] : rows) {
    std::vector<std::string> lines{"gen_image_const (Image, 'byte', 640, 480)"};
    if (fit.back().rfind("dev_resize", 0) == 0) {
      lines.push_back("dev_open_window (10, 20, 300, 200, 'black', W)");
    }
    lines.insert(lines.end(), fit.begin(), fit.end());
    lines.insert(lines.end(), {"get_window_extents (W, R, C, Width, Height)",
                               "get_part (W, Row1, Column1, Row2, Column2)"});
    const Snippet snippet =
        Snippet::ran(lines, {"R", "C", "Width", "Height", "Row1", "Column1", "Row2", "Column2"});
    std::vector<long> withPartOrigin = expected;
    withPartOrigin.insert(withPartOrigin.begin() + 4, {0, 0});
    EXPECT_EQ(snippet.firstOfEach(), withPartOrigin) << fit.back();
    closeRegisteredWindows();
  }
}

// 'Hi' on a box: ' Hi ' is 4 characters of 12 pixels, so the box covers rows 10-25 and
// columns 20-67; 'H' (17 glyph pixels) and 'i' (9) take 4 window pixels each.
TEST_F(StandardProcedures, DispMessageWritesOnItsBox) {
  struct Row {
    const char* call;
    Box box;
    long boxPixels;
  };
  const Row rows[] = {
      {"disp_message (W, 'Hi', 'window', 10, 20, 'red', 'true')", {10, 20, 25, 67}, 768 - 104},
      {"disp_message (W, 'Hi', 'window', 10, 20, 'red', 'false')", {10, 20, 25, 43}, 0},
      {"disp_message (W, 'Hi', 'window', 10, 20, 'red', 'yellow')", {10, 20, 25, 67}, 768 - 104},
      // Twice zoomed, image (5, 10) is window (10.5, 20.5): the text lands at (11, 21).
      {"dev_set_part (0, 0, 49, 99)", {11, 21, 26, 68}, 768 - 104}};
  for (const Row& row : rows) {
    std::vector<std::string> lines{"dev_open_window (0, 0, 200, 100, 'black', W)", row.call};
    if (std::string(row.call).rfind("dev_set_part", 0) == 0) {
      lines.push_back("disp_message (W, 'Hi', 'image', 5, 10, 'red', 'true')");
    }
    const Snippet snippet = Snippet::ran(lines, {"W"});
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const Rgb red{255, 0, 0};
    const Rgb boxColor = std::string(row.call).find("yellow") != std::string::npos
                             ? Rgb{255, 255, 0}
                             : Rgb{255, 255, 255};
    EXPECT_EQ(countInside(pixels, red, row.box), 104) << row.call;
    EXPECT_EQ(countInside(pixels, red, {0, 0, 99, 199}), 104) << row.call;
    EXPECT_EQ(countInside(pixels, boxColor, row.box), row.boxPixels) << row.call;
    EXPECT_EQ(countInside(pixels, boxColor, {0, 0, 99, 199}), row.boxPixels) << row.call;
  }
}

TEST_F(StandardProcedures, DispMessageLeavesTheWindowsSettings) {
  const Snippet snippet =
      Snippet::ran({"dev_open_window (0, 0, 200, 100, 'black', W)", "set_part (W, 5, 5, 54, 104)",
                    "set_rgb (W, 1, 2, 3)", "set_draw (W, 'margin')",
                    "disp_message (W, ['one', 'two'], 'image', -1, -1, ['red', 'auto'], 'true')",
                    "get_part (W, Row1, Column1, Row2, Column2)", "get_rgb (W, Red, Green, Blue)",
                    "get_draw (W, Mode)"},
                   {"Row1", "Column1", "Row2", "Column2", "Red", "Green", "Blue"});
  EXPECT_EQ(snippet.firstOfEach(), (std::vector<long>{5, 5, 54, 104, 1, 2, 3}));
}

// The continue message sits 12 pixels off the lower right corner: ' Press Run (F5) to
// continue ' is 28 characters, 336 pixels wide and 16 high, in a 400 x 300 window.
TEST_F(StandardProcedures, ContinueAndEndMessagesSitInTheLowerRightCorner) {
  const std::pair<const char*, Box> rows[] = {
      {"disp_continue_message (W, 'black', 'true')", {272, 52, 287, 387}},
      // ' End of program ': 16 characters, 192 pixels.
      {"disp_end_of_program_message (W, 'black', 'true')", {272, 196, 287, 387}}};
  for (const auto& [call, box] : rows) {
    const Snippet snippet =
        Snippet::ran({"dev_open_window (0, 0, 400, 300, 'black', W)", call}, {"W"});
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const long area = (box.row2 - box.row1 + 1) * (box.column2 - box.column1 + 1);
    const long white = countInside(pixels, {255, 255, 255}, box);
    EXPECT_EQ(white + countInside(pixels, {0, 0, 0}, box), area) << call;
    EXPECT_EQ(countInside(pixels, {255, 255, 255}, {0, 0, 299, 399}), white) << call;
    EXPECT_GT(area - white, 0) << call << ": the text shows";
  }
}

TEST_F(StandardProcedures, GenArrowContourXldMakesOneContourAnArrow) {
  const Snippet snippet =
      Snippet::ran({"gen_arrow_contour_xld (Arrows, [10, 50], [10, 50], [10, 90], [10, 50], 5, 4)",
                    "count_obj (Arrows, Count)"},
                   {"Count"});
  EXPECT_EQ(snippet.longAt("Count"), 2);
}

TEST_F(StandardProcedures, ListImageFilesSelectsImagesByExtension) {
  const std::string folder = makeTempFolder("quorvex_images_");
  ASSERT_FALSE(folder.empty());
  for (const char* name : {"a.png", "b.JPG", "c.txt", "d.tif", "png"}) {
    std::ofstream(folder + "/" + name) << "x";
  }
  const Snippet snippet =
      Snippet::ran({"list_image_files ('" + folder + "', 'default', [], Files)"}, {"Files"});
  Tuple files = snippet.value("Files");
  std::set<std::string> names;
  for (int32_t i = 0; i < hgetTupleLength(files.get()); ++i) {
    names.insert(std::filesystem::path(stringAt(files.get(), i)).filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"a.png", "b.JPG", "d.tif"}));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

// Points found along a horizontal profile (Phi 0) show as vertical lines Length2 (10) above
// and below them, 21 pixels each; along a vertical profile as horizontal ones.
TEST_F(StandardProcedures, DevDisplayProfilePointsDrawsLinesAcrossTheProfile) {
  struct Row {
    const char* call;
    std::vector<Box> lines;
  };
  const Row rows[] = {
      {"dev_display_profile_points ([50, 50], [30, 80], 50, 55, 0, 40, 10)",
       {{40, 30, 60, 30}, {40, 80, 60, 80}}},
      {"dev_display_profile_points (70, 100, 50, 100, rad(90), 40, 10)", {{70, 90, 70, 110}}}};
  for (const Row& row : rows) {
    const Snippet snippet = Snippet::ran(
        {"dev_open_window (0, 0, 200, 100, 'black', W)", "dev_set_color ('red')", row.call}, {"W"});
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const Rgb red{255, 0, 0};
    for (const Box& line : row.lines) {
      EXPECT_EQ(countInside(pixels, red, line), 21) << row.call;
    }
    EXPECT_EQ(countInside(pixels, red, {0, 0, 99, 199}), 21 * static_cast<long>(row.lines.size()))
        << row.call;
    closeRegisteredWindows();
  }
}

// A match at (50, 100), angle 0: the cross covers rows 42-58 and columns 92-108, the arrow
// runs to column 124 with its head 3 rows either side. Each model's matches take its colour;
// without matches nothing is drawn.
TEST_F(StandardProcedures, DevDisplayNccMatchingResultsMarksEachMatchInItsModelsColour) {
  const Snippet snippet =
      Snippet::ran({"dev_open_window (0, 0, 300, 200, 'black', W)",
                    "dev_display_ncc_matching_results ([7, 8], ['green', 'red'], [50, 150], "
                    "[100, 100], [0, 0], [0, 1])"},
                   {"W"});
  const WindowPixels pixels = windowPixels(snippet.longAt("W"));
  const Rgb green{0, 255, 0}, red{255, 0, 0};
  const Box first{42, 92, 58, 124}, second{142, 92, 158, 124};
  const long greenInside = countInside(pixels, green, first);
  EXPECT_GT(greenInside, 40);
  EXPECT_EQ(countInside(pixels, green, {0, 0, 199, 299}), greenInside);
  EXPECT_EQ(countInside(pixels, green, {50, 92, 50, 108}), 17) << "the cross's arm";
  EXPECT_EQ(countInside(pixels, green, {42, 100, 58, 100}), 17) << "the cross's other arm";
  const long redInside = countInside(pixels, red, second);
  EXPECT_EQ(redInside, greenInside) << "the same marker, 100 rows lower";
  EXPECT_EQ(countInside(pixels, red, {0, 0, 199, 299}), redInside);
  const Snippet none =
      Snippet::ran({"dev_open_window (0, 0, 100, 100, 'black', W)",
                    "dev_display_ncc_matching_results (7, 'green', [], [], [], [])"},
                   {"W"});
  EXPECT_EQ(countInside(windowPixels(none.longAt("W")), {0, 0, 0}, {0, 0, 99, 99}), 10000)
      << "without matches nothing is drawn";
}

// Lines up to 6 pixels wide (half width 3): Sigma 3 / sqrt(3), and the bar's response
// 2 * 3 / (sqrt(2 pi) * sqrt(3)^3) * exp(-3 / 2) = 0.10278689 per grey value of contrast.
// Under sqrt(3) pixels the width is raised to sqrt(3) and the contrast lowered with it:
// Sigma 0.5, and High = 60 / sqrt(3) * 8 sqrt(3) / sqrt(2 pi) * exp(-3 / 2) = 42.727706.
TEST_F(StandardProcedures, CalculateLinesGaussParametersFollowsTheBarsResponse) {
  struct Row {
    const char* arguments;
    double sigma, low, high;
  };
  const Row rows[] = {{"6, 60", 1.7320508, 2.0557377, 6.1672132},
                      {"6, [60, 10]", 1.7320508, 1.0278689, 6.1672132},
                      {"1, 60", 0.5, 14.242569, 42.727706}};
  for (const Row& row : rows) {
    const Snippet snippet = Snippet::ran(
        {std::string("calculate_lines_gauss_parameters (") + row.arguments + ", Sigma, Low, High)"},
        {"Sigma", "Low", "High"});
    const double expected[] = {row.sigma, row.low, row.high};
    const char* names[] = {"Sigma", "Low", "High"};
    for (int i = 0; i < 3; ++i) {
      Tuple value = snippet.value(names[i]);
      ASSERT_EQ(hgetTupleLength(value.get()), 1) << names[i];
      EXPECT_NEAR(hgetTupleElemDouble(value.get(), 0), expected[i], 1e-6)
          << row.arguments << ": " << names[i];
    }
  }
  for (const char* wrong : {"0, 60", "[6, 7], 60", "6, [10, 20]", "6, -5", "'wide', 60"}) {
    Snippet snippet(
        {std::string("calculate_lines_gauss_parameters (") + wrong + ", Sigma, Low, High)"});
    EXPECT_NE(snippet.run(), nullptr) << wrong;
  }
}

// The shape model's contours are operators the stand-in lacks: the procedure runs up to them,
// and not at all when there is nothing to show. The 3D coordinate system is drawn throughout.
TEST_F(StandardProcedures, MatchingAnd3dDisplaysRunUpToTheOperatorsTheyNeed) {
  const std::pair<const char*, const char*> rows[] = {
      {"dev_display_shape_matching_results (ModelID, 'green', [], [], [], 1.0, 1.0, 0)", nullptr},
      {"dev_display_shape_matching_results (ModelID, 'green', 10, 20, 0.5, 1.0, 1.0, [])",
       "get_shape_model_contours"},
      {"disp_3d_coord_system (W, [0.016, 0, 7.4e-6, 7.4e-6, 320, 240, 640, 480], [0, 0, 1, 0, "
       "0, 0], 0.1)",
       nullptr},
      {"disp_3d_coord_system (W, [0.016, 0, 7.4e-6, 7.4e-6, 320, 240, 640, 480], [0, 0, 1, 0, "
       "0, 0, 0], 0.1)",
       nullptr}};
  for (const auto& [call, missing] : rows) {
    Snippet snippet({"dev_open_window (0, 0, 100, 100, 'black', W)", "ModelID := 5", call});
    Record record = snippet.run();
    if (!missing) {
      EXPECT_EQ(record, nullptr) << call << ": " << describe(record.get());
      continue;
    }
    ASSERT_NE(record, nullptr) << call;
    EXPECT_EQ(record->errorCode, 21035) << describe(record.get());
    EXPECT_STREQ(record->progLineName, missing) << describe(record.get());
  }
}

// The user's folder goes again after the test, and with it the user's procedure.
TEST_F(StandardProcedures, AUserProcedureOfTheSameNameWins) {
  const std::string folder = makeTempFolder("quorvex_user_procedures_");
  EXPECT_OK(haddProcedurePath(folder.c_str()));
  writeProcedureFile(folder, "set_display_font",
                     {{"ic", {"WindowHandle", "Size", "Font", "Bold", "Slant"}}},
                     {"set_system ('user_set_display_font', Size)"});
  EXPECT_OK(hunloadAllProcedures());
  const Snippet snippet = Snippet::ran({"set_display_font (3600, 21, 'mono', 'true', 'false')",
                                        "get_system ('user_set_display_font', Marker)"},
                                       {"Marker"});
  EXPECT_EQ(snippet.longAt("Marker"), 21);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  EXPECT_OK(hunloadAllProcedures());
}

// A procedure calling every standard procedure with arguments of the kinds users pass loads:
// each call has the vendor's number of parameters in the vendor's groups.
TEST_F(StandardProcedures, EveryStandardProcedureLoadsWithTheVendorsParameters) {
  useTestProcedures();
  ProcedureHandle procedure = nullptr;
  EXPECT_OK(hcreateProcedure("calls_every_standard_procedure", &procedure));
  hfreeProcedure(procedure);
}

// Each row: the variable's value, and whether disp_message resolves.
TEST_F(StandardProcedures, TheVariableMovesOrTurnsOffTheFolder) {
  std::vector<std::pair<const char*, bool>> rows = {{"/nonexistent", false}};
#ifndef _WIN32
  // Windows holds no empty variable: setting one to "" removes it.
  rows.insert(rows.begin(), {"", false});
#endif
  for (const auto& [value, resolves] : rows) {
    setVariable("QUORVEX_STANDARD_PROCEDURES", value);
    EXPECT_OK(hunloadAllProcedures());
    Snippet snippet({"dev_open_window (0, 0, 100, 100, 'black', W)",
                     "disp_message (W, 'x', 'window', -1, -1, 'red', 'false')"});
    Record record = snippet.run();
    EXPECT_EQ(record == nullptr, resolves) << value << ": " << describe(record.get());
  }
  setVariable("QUORVEX_STANDARD_PROCEDURES", nullptr);
  EXPECT_OK(hunloadAllProcedures());
  const Snippet found = Snippet::ran({"dev_open_window (0, 0, 100, 100, 'black', W)",
                                      "disp_message (W, 'x', 'window', -1, -1, 'red', 'false')"});
}

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
    const Snippet snippet = Snippet::ran(lines, {"Row", "Column"});
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
    const Snippet snippet = Snippet::ran(
        {kOpen, font, "get_string_extents (W, 'Hello', Ascent, Descent, Width, Height)"},
        {"Ascent", "Descent", "Width", "Height"});
    EXPECT_EQ(snippet.firstOfEach(), expected) << font;
  }
}

// Each row: the call of set_display_font and the font it sets, in the Windows notation.
TEST_F(WindowText, FontsAreNamedInTheWindowsNotation) {
  const std::pair<std::string, std::string> rows[] = {
      {"16, 'mono', 'true', 'false'", "-Courier New-16-*-0-*-*-1-"},
      {"20, 'sans', 'false', 'true'", "-Arial-20-*-1-*-*-0-"},
      {"-1, 'serif', 'false', 'false'", "-Times New Roman-16-*-0-*-*-0-"},
      {"[], 'Consolas', 'false', 'false'", "-Consolas-16-*-0-*-*-0-"}};
  for (const auto& [arguments, expected] : rows) {
    const Snippet snippet = Snippet::ran(
        {kOpen, "set_display_font (W, " + arguments + ")", "get_font (W, Font)"}, {"Font"});
    EXPECT_EQ(stringAt(snippet.value("Font").get(), 0), expected) << arguments;
  }
  // Fonts that name no size are wrong values.
  for (const char* font : {"", "-", "-Arial-0-", "-Arial-x-", "mono-"}) {
    Snippet snippet({kOpen, std::string("set_font (W, '") + font + "')"});
    EXPECT_FAILS(snippet.run().release(), ErrorKindEngine, 1302) << font;
  }
}

// 'A' at 16 pixels: every glyph pixel a 2 x 2 square. Its first column lights glyph rows 1-6,
// its second rows 0 and 4; the glyph has 18 pixels in all.
TEST_F(WindowText, WriteStringPaintsTheGlyphInTheCurrentColour) {
  const Snippet snippet = Snippet::ran(
      {kOpen, "set_color (W, 'red')", "set_tposition (W, 10, 20)", "write_string (W, 'A')"}, {"W"});
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
    const Snippet snippet = Snippet::ran({kOpen, "set_color (W, 'red')", line}, {"W"});
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const long area = (box.row2 - box.row1 + 1) * (box.column2 - box.column1 + 1);
    EXPECT_EQ(countInside(pixels, {255, 0, 0}, box), area) << line;
    EXPECT_EQ(countInside(pixels, {255, 0, 0}, {0, 0, 99, 199}), count) << line;
  }
}

TEST_F(WindowText, SettingsReadBack) {
  const Snippet snippet = Snippet::ran(
      {kOpen, "set_draw (W, 'margin')", "set_line_width (W, 3)", "set_rgb (W, 10, 20, 30)",
       "get_draw (W, Mode)", "get_line_width (W, Width)", "get_rgb (W, Red, Green, Blue)"},
      {"Width", "Red", "Green", "Blue"});
  EXPECT_EQ(snippet.firstOfEach(), (std::vector<long>{3, 10, 20, 30}));
}

}  // namespace
}  // namespace quorvex::test
