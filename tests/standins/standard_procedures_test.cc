// The standard procedures HDevelop installs, called from program lines as users' files call
// them: found without any procedure path, behind the user's own procedures of the same name.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "display/display_fixture.h"
#include "procedure_file.h"
#include "standins/window_pixels.h"
#include "temp_folder.h"

namespace quorvex::test {

int hinitMode() {
  return 0;
}

namespace {

void setVariable(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

using StandardProcedures = DisplayTest;

// Each row: the image size and limits given, and the window's width and height, worked out
// from the documented rule: fit the largest size keeping the aspect ratio, grow to the
// smallest unless that passes the largest. The part always shows the whole image.
TEST_F(StandardProcedures, DevOpenWindowFitImageSizesTheWindow) {
  struct Row {
    int width, height;
    const char* limits;
    std::vector<long> expected;
  };
  const Row rows[] = {
      {640, 480, "-1, -1", {640, 480}},
      // 800 / 2000 shrinks to 800 x 120; growing to a height of 400 would pass 800.
      {2000, 300, "-1, -1", {800, 120}},
      {640, 480, "[700, 900], -1", {700, 525}},
      {640, 480, "320, 240", {320, 240}},
      // Reaching a height of 400 takes 4 times, which the largest width just allows.
      {200, 100, "[], []", {800, 400}}};
  for (const Row& row : rows) {
    const std::string size = std::to_string(row.width) + ", " + std::to_string(row.height);
    Snippet snippet({"gen_image_const (Image, 'byte', " + size + ")",
                     std::string("dev_open_window_fit_image (Image, 0, 0, ") + row.limits + ", W)",
                     "get_window_extents (W, R, C, Width, Height)",
                     "get_part (W, Row1, Column1, Row2, Column2)"},
                    {"Width", "Height", "Row1", "Column1", "Row2", "Column2"});
    ASSERT_EQ(snippet.run(), nullptr) << size;
    std::vector<long> expected = row.expected;
    expected.insert(expected.end(), {0, 0, row.height - 1, row.width - 1});
    EXPECT_EQ(snippet.firstOfEach(), expected) << size << " within " << row.limits;
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
    Snippet snippet(lines, {"W"});
    ASSERT_EQ(snippet.run(), nullptr) << row.call;
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
  Snippet snippet({"dev_open_window (0, 0, 200, 100, 'black', W)", "set_part (W, 5, 5, 54, 104)",
                   "set_rgb (W, 1, 2, 3)", "set_draw (W, 'margin')",
                   "disp_message (W, ['one', 'two'], 'image', -1, -1, ['red', 'auto'], 'true')",
                   "get_part (W, Row1, Column1, Row2, Column2)", "get_rgb (W, Red, Green, Blue)",
                   "get_draw (W, Mode)"},
                  {"Row1", "Column1", "Row2", "Column2", "Red", "Green", "Blue"});
  ASSERT_EQ(snippet.run(), nullptr);
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
    Snippet snippet({"dev_open_window (0, 0, 400, 300, 'black', W)", call}, {"W"});
    ASSERT_EQ(snippet.run(), nullptr) << call;
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    const long area = (box.row2 - box.row1 + 1) * (box.column2 - box.column1 + 1);
    const long white = countInside(pixels, {255, 255, 255}, box);
    EXPECT_EQ(white + countInside(pixels, {0, 0, 0}, box), area) << call;
    EXPECT_EQ(countInside(pixels, {255, 255, 255}, {0, 0, 299, 399}), white) << call;
    EXPECT_GT(area - white, 0) << call << ": the text shows";
  }
}

TEST_F(StandardProcedures, GenArrowContourXldMakesOneContourAnArrow) {
  Snippet snippet({"gen_arrow_contour_xld (Arrows, [10, 50], [10, 50], [10, 90], [10, 50], 5, 4)",
                   "count_obj (Arrows, Count)"},
                  {"Count"});
  ASSERT_EQ(snippet.run(), nullptr);
  EXPECT_EQ(snippet.longAt("Count"), 2);
}

TEST_F(StandardProcedures, ListImageFilesSelectsImagesByExtension) {
  const std::string folder = makeTempFolder("quorvex_images_");
  ASSERT_FALSE(folder.empty());
  for (const char* name : {"a.png", "b.JPG", "c.txt", "d.tif", "png"}) {
    std::ofstream(folder + "/" + name) << "x";
  }
  Snippet snippet({"list_image_files ('" + folder + "', 'default', [], Files)"}, {"Files"});
  Record record = snippet.run();
  std::error_code ignored;
  if (record) {
    const std::string text = describe(record.get());
    if (text.find("list_files") != std::string::npos ||
        text.find("tuple_regexp_select") != std::string::npos) {
      std::filesystem::remove_all(folder, ignored);
      GTEST_SKIP() << "the engine lacks list_files or tuple_regexp_select: " << text;
    }
  }
  ASSERT_EQ(record, nullptr) << describe(record.get());
  Tuple files = snippet.value("Files");
  std::set<std::string> names;
  for (int32_t i = 0; i < hgetTupleLength(files.get()); ++i) {
    names.insert(std::filesystem::path(stringAt(files.get(), i)).filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"a.png", "b.JPG", "d.tif"}));
  std::filesystem::remove_all(folder, ignored);
}

// A folder of the user's own procedures, on the procedure path for one test.
class UserProcedures {
 public:
  UserProcedures() : folder_(makeTempFolder("quorvex_user_procedures_")) {
    EXPECT_OK(haddProcedurePath(folder_.c_str()));
  }
  ~UserProcedures() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    EXPECT_OK(hunloadAllProcedures());
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

TEST_F(StandardProcedures, AUserProcedureOfTheSameNameWins) {
  UserProcedures user;
  writeProcedureFile(user.folder(), "set_display_font",
                     {{"ic", {"WindowHandle", "Size", "Font", "Bold", "Slant"}}},
                     {"set_system ('user_set_display_font', Size)"});
  EXPECT_OK(hunloadAllProcedures());
  Snippet snippet({"set_display_font (3600, 21, 'mono', 'true', 'false')",
                   "get_system ('user_set_display_font', Marker)"},
                  {"Marker"});
  ASSERT_EQ(snippet.run(), nullptr);
  EXPECT_EQ(snippet.longAt("Marker"), 21);
}

// Each row: the variable's value, and whether disp_message resolves.
TEST_F(StandardProcedures, TheVariableMovesOrTurnsOffTheFolder) {
  const std::pair<const char*, bool> rows[] = {{"", false}, {"/nonexistent", false}};
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
  Snippet found({"dev_open_window (0, 0, 100, 100, 'black', W)",
                 "disp_message (W, 'x', 'window', -1, -1, 'red', 'false')"});
  EXPECT_EQ(found.run(), nullptr) << "beside the engine library again";
}

}  // namespace
}  // namespace quorvex::test
