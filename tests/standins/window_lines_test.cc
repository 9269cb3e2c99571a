// Window operators as program lines meet them, for the lines no other suite runs: a window
// parameter, a dump to a file, the font list and a region drawn.
#include <gtest/gtest.h>

#include <filesystem>

#include "standins/engine_support.h"

namespace quorvex::test {
namespace {

using HalconCpp::HTuple;

const char* const kOpen = "open_window (0, 0, 64, 48, 0, 'visible', '', W)";

TEST(WindowLines, BackgroundColourShowsFromTheNextClear) {
  const HTuple red =
      runLines({kOpen, "set_window_param (W, 'background_color', 'red')", "clear_window (W)",
                "dump_window_image (Dump, W)", "access_channel (Dump, Red, 1)",
                "get_grayval (Red, 10, 10, R)", "close_window (W)"});
  EXPECT_EQ(red[0].L(), 255);
  EXPECT_EQ(programError({kOpen, "try", "set_window_param (W, 'border', 'red')", "catch (E)",
                          "close_window (W)", "throw (E)", "endtry"}),
            1302);
}

TEST(WindowLines, DumpToAPngFile) {
  const std::string folder = makeTempFolder("quorvex_dump_");
  const std::string stem = folder + "/dumped";
  EXPECT_EQ(runLines({kOpen, "dump_window (W, 'png', In1)", "close_window (W)",
                      "file_exists (In1 + '.png', R)"},
                     {HTuple(stem.c_str())})[0]
                .L(),
            1);
  EXPECT_TRUE(std::filesystem::exists(stem + ".png"));
  EXPECT_EQ(programError({kOpen, "try", "dump_window (W, 'bmp', 'x')", "catch (E)",
                          "close_window (W)", "throw (E)", "endtry"}),
            1302);
  std::filesystem::remove_all(folder);
}

TEST(WindowLines, TheFontList) {
  EXPECT_GT(runLines({kOpen, "query_font (W, Fonts)", "close_window (W)", "R := |Fonts|"})[0].L(),
            0);
}

TEST(WindowLines, ARegionDrawnInTheCurrentColour) {
  const HTuple grays = runLines({kOpen, "set_color (W, 'white')", "set_draw (W, 'fill')",
                                 "gen_rectangle1 (Box, 10, 10, 20, 20)", "disp_region (Box, W)",
                                 "dump_window_image (Dump, W)", "access_channel (Dump, Red, 1)",
                                 "get_grayval (Red, [15, 30], [15, 30], R)", "close_window (W)"});
  ASSERT_EQ(grays.Length(), 2);
  EXPECT_EQ(grays[0].L(), 255) << "inside the region";
  EXPECT_EQ(grays[1].L(), 0) << "outside it";
}

TEST(WindowLines, ExtentsHandleAndColouredMode) {
  const HTuple values =
      runLines({kOpen, "set_window_extents (W, 5, 6, 70, 50)",
                "get_window_extents (W, Row, Column, Width, Height)",
                "get_os_window_handle (W, OsHandle, OsDisplay)", "set_colored (W, 12)",
                "close_window (W)", "R := [Row, Column, Width, Height, |OsHandle|]"});
  EXPECT_EQ(values.ToString().str(), "[5, 6, 70, 50, 1]");
  EXPECT_NE(programError({kOpen, "try", "set_colored (W, 5)", "catch (E)", "close_window (W)",
                          "throw (E)", "endtry"}),
            0)
      << "6, 12 and 24 colours only";
}

}  // namespace
}  // namespace quorvex::test
