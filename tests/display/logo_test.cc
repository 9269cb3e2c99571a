// The logo overlay as a window shows it: placements by window size, the per-pixel rule, the
// channel cases of the window dump, and what the overlay leaves as it was. Windows are
// opened through the library; their pixels are read back from the stand-in directly.
#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "display/display_fixture.h"
#include "render/logo_planes.h"

namespace quorvex::test {

int hinitMode() {
  return 1;
}

namespace {

using HalconCpp::HObject;
using HalconCpp::HTuple;
namespace logo = quorvex::render;

using Corners = std::vector<std::pair<int, int>>;

int blend(int l, int w, int a) {
  return (l * a + w * (255 - a)) / 256;
}

class LogoOverlay : public DisplayTest {
 protected:
  void TearDown() override {
    setDumpChannels(3);
    DisplayTest::TearDown();
  }

  static void setDumpChannels(int channels) {
    setControl("standin_dump_channels", HTuple(static_cast<HalconCpp::Hlong>(channels)));
  }

  // Opens a width x height window with a grey background of `level` through the library.
  long openWindow(int width, int height, int level = 100) {
    char background[8];
    std::snprintf(background, sizeof background, "#%02x%02x%02x", level, level, level);
    const Snippet lines = Snippet::ran({"dev_open_window (0, 0, " + std::to_string(width) + ", " +
                                        std::to_string(height) + ", '" + background + "', W)"},
                                       {"W"});
    return lines.longAt("W");
  }

  // The window expected after one overlay run on a uniform background: every byte outside
  // the copies darkened by the alpha-0 rule, the copies blended at the given corners.
  static WindowPixels expected(int width, int height, int level, const Corners& corners) {
    const auto n = static_cast<std::size_t>(width) * height;
    const auto outside = static_cast<std::uint8_t>(blend(0, level, 0));
    WindowPixels rgb{std::vector<std::uint8_t>(n, outside), std::vector<std::uint8_t>(n, outside),
                     std::vector<std::uint8_t>(n, outside)};
    for (const auto& [top, left] : corners) {
      for (int r = 0; r < logo::logoHeight; ++r) {
        for (int c = 0; c < logo::logoWidth; ++c) {
          const std::size_t p = static_cast<std::size_t>(top + r) * width + (left + c);
          const std::size_t q = static_cast<std::size_t>(r) * logo::logoWidth + c;
          const int a = logo::logoPlaneAlpha[q];
          rgb.red[p] = static_cast<std::uint8_t>(blend(logo::logoPlaneRed[q], level, a));
          rgb.green[p] = static_cast<std::uint8_t>(blend(logo::logoPlaneGreen[q], level, a));
          rgb.blue[p] = static_cast<std::uint8_t>(blend(logo::logoPlaneBlue[q], level, a));
        }
      }
    }
    return rgb;
  }

  // No copy expected: the window keeps its background, untouched by any blend.
  static void expectShows(long window, int width, int height, const Corners& corners) {
    const WindowPixels shown = windowPixels(window);
    const std::vector<std::uint8_t> background(static_cast<std::size_t>(width) * height, 100);
    const WindowPixels wanted = corners.empty() ? WindowPixels{background, background, background}
                                                : expected(width, height, 100, corners);
    EXPECT_TRUE(shown.red == wanted.red && shown.green == wanted.green && shown.blue == wanted.blue)
        << width << " x " << height;
  }
};

const Corners kFourCorners = {{10, 10}, {10, 502}, {415, 502}, {415, 10}};

// Each row: a window size and the top-left corners of the copies it shows.
TEST_F(LogoOverlay, PlacementsByWindowSize) {
  const std::tuple<int, int, Corners> rows[] = {
      {640, 480, kFourCorners},
      {385, 166, {{10, 10}, {10, 247}, {101, 247}, {101, 10}}},
      {384, 400, {{345, 256}}},  // too small for four: one copy, bottom right
      {129, 56, {{1, 1}}},
      {128, 480, {}},  // no room at all
      {640, 55, {}}};
  for (const auto& [width, height, corners] : rows) {
    expectShows(openWindow(width, height), width, height, corners);
  }
}

TEST_F(LogoOverlay, AClearedWindowShowsItAgain) {
  const long window = openWindow(640, 480);
  Snippet::ran({"dev_clear_window ()"});
  expectShows(window, 640, 480, kFourCorners);
}

// Drawn at the requested size before the window grows to cover the monitor: the grown window
// keeps the overlaid 640 x 480 at its top left.
TEST_F(LogoOverlay, DrawnBeforeTheFullscreenChange) {
  hsetFullscreen(1);
  const WindowPixels shown = windowPixels(openWindow(640, 480));
  const WindowPixels wanted = expected(640, 480, 100, kFourCorners);
  ASSERT_GT(shown.width, std::size_t{640}) << "the window covers its monitor";
  bool same = true;
  for (std::size_t row = 0; row < 480; ++row) {
    same = same && std::equal(wanted.red.begin() + row * 640, wanted.red.begin() + (row + 1) * 640,
                              shown.red.begin() + row * shown.width);
  }
  EXPECT_TRUE(same);
}

TEST_F(LogoOverlay, ExtremeAlphasFollowTheRule) {
  const WindowPixels black = windowPixels(openWindow(640, 480, 0));
  const WindowPixels white = windowPixels(openWindow(640, 480, 255));
  int opaque = 0, clear = 0;
  for (int r = 0; r < logo::logoHeight; ++r) {
    for (int c = 0; c < logo::logoWidth; ++c) {
      const std::size_t q = static_cast<std::size_t>(r) * logo::logoWidth + c;
      const std::size_t p = static_cast<std::size_t>(10 + r) * 640 + (10 + c);
      const int a = logo::logoPlaneAlpha[q];
      if (a == 255) {
        ++opaque;
        EXPECT_EQ(black.red[p], logo::logoPlaneRed[q] * 255 / 256);
        EXPECT_EQ(white.red[p], black.red[p]) << "alpha 255 hides the window";
      } else if (a == 0) {
        ++clear;
        EXPECT_EQ(black.green[p], 0);
        EXPECT_EQ(white.green[p], 254) << "alpha 0 darkens by one level";
      }
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_GT(clear, 0);
}

TEST_F(LogoOverlay, EveryRunDarkensTheWindowOnceMore) {
  const long window = openWindow(640, 480, 100);
  Snippet::ran({"gen_empty_obj (Nothing)", "dev_display (Nothing)", "dev_display (Nothing)"});
  EXPECT_EQ(windowPixels(window).red[0], 100 * 255 / 256 * 255 / 256 * 255 / 256);
}

// The dump's channels decide how the window is read: one plane stands for all three, and
// the three blends of a pixel then follow one another in that one plane.
TEST_F(LogoOverlay, WindowDumpsOfEveryChannelCount) {
  for (int channels : {1, 2, 4}) {
    setDumpChannels(channels);
    const long window = openWindow(640, 480, 100);
    setDumpChannels(3);
    const WindowPixels shown = windowPixels(window);
    for (int r = 0; r < logo::logoHeight; r += 7) {
      for (int c = 0; c < logo::logoWidth; c += 5) {
        const std::size_t q = static_cast<std::size_t>(r) * logo::logoWidth + c;
        const std::size_t p = static_cast<std::size_t>(10 + r) * 640 + (10 + c);
        const int a = logo::logoPlaneAlpha[q];
        const int red = blend(logo::logoPlaneRed[q], 100, a);
        const int green = blend(logo::logoPlaneGreen[q], red, a);
        const int blue = blend(logo::logoPlaneBlue[q], green, a);
        ASSERT_EQ(shown.red[p], blue) << channels << " channels, logo pixel " << r << ", " << c;
        ASSERT_EQ(shown.green[p], blue);
        ASSERT_EQ(shown.blue[p], blue);
      }
    }
  }
  setDumpChannels(0);
  const long window = openWindow(640, 480, 100);
  setDumpChannels(3);
  const WindowPixels untouched = windowPixels(window);
  EXPECT_EQ(untouched.red[10 * 640 + 10], 100) << "no channel, nothing drawn";
}

TEST_F(LogoOverlay, PartAndSystemSizeAreAsBefore) {
  const Snippet lines =
      Snippet::ran({"set_system ('width', 512)", "set_system ('height', 512)",
                    "dev_open_window (0, 0, 900, 700, 'black', W)", "dev_set_part (10, 20, 30, 40)",
                    "dev_clear_window ()", "get_part (W, Row1, Column1, Row2, Column2)",
                    "get_system ('width', Width)", "get_system ('height', Height)"},
                   {"Row1", "Column1", "Row2", "Column2", "Width", "Height"});
  EXPECT_EQ(lines.firstOfEach(), (std::vector<long>{10, 20, 30, 40, 512, 512}));
}

TEST_F(LogoOverlay, FailingDumpDrawsNothingAndIsNoError) {
  const long window = openWindow(640, 480, 100);
  Snippet::ran({"set_system ('standin_fail', ['DumpWindowImage', 5200])", "dev_clear_window ()"});
  const WindowPixels shown = windowPixels(window);
  EXPECT_EQ(shown.red[10 * 640 + 10], 100) << "cleared, and no logo blended";
  EXPECT_EQ(shown.red[0], 100);
}

}  // namespace
}  // namespace quorvex::test
