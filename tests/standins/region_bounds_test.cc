// Regions count their runs against the pixel bound (standin_pixel_limit) before they take
// the memory: each road below builds a region of a million runs or more in a process whose
// bound leaves room for 4 MB of runs, and ends in the vendor's 6001 at its own line, in a
// child whose address space may grow by 256 MiB only.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "standins/bounded_child.h"
#include "standins/engine_support.h"

namespace quorvex::test {
namespace {

constexpr long kNoMemory = 6001;
constexpr long kOutOfMemory = -2;
constexpr std::uint64_t kChildRoom = std::uint64_t{256} << 20;

// The bound: what images and regions hold now, and 4 MB more.
const Lines kTightBound = {"get_system ('standin_pixel_bytes', Held)",
                           "set_system ('standin_pixel_limit', Held + 4000000)"};

// A region of 1024 stripes one column wide and 1024 rows high, 2 columns apart: a million
// runs of one pixel, 12 MB of runs at the least.
const Lines kStripes = {"Top := gen_tuple_const(1024, 0)",
                        "Bottom := gen_tuple_const(1024, 1023)",
                        "Left := [0:2:2046]",
                        "gen_rectangle1 (Stripes, Top, Left, Bottom, Left)",
                        "union1 (Stripes, Striped)",
                        "gen_empty_obj (Stripes)"};

struct Road {
  const char* what;
  Lines before;  // run under the default bound
  std::string line;
  const char* op;
};

class RegionBounds : public ::testing::Test {
 protected:
  void SetUp() override { HalconCpp::GetSystem("standin_pixel_limit", &limit_); }
  void TearDown() override { restoreLimit(); }
  void restoreLimit() const { HalconCpp::SetSystem("standin_pixel_limit", limit_); }

 private:
  HTuple limit_;
};

TEST_F(RegionBounds, RunsPastTheBoundEndInTheVendorsError) {
  const std::vector<Road> roads = {
      {"rectangles of a million runs together",
       {kStripes[0], kStripes[1], kStripes[2]},
       "gen_rectangle1 (Result, Top, Left, Bottom, Left)",
       "gen_rectangle1"},
      {"their union",
       {kStripes[0], kStripes[1], kStripes[2], kStripes[3]},
       "union1 (Stripes, Result)",
       "union1"},
      {"a threshold of a striped image",
       {kStripes[0], kStripes[1], kStripes[2], kStripes[3], kStripes[4], kStripes[5],
        "gen_image_const (Image, 'byte', 2048, 1024)",
        "paint_region (Striped, Image, Painted, 255, 'fill')", "gen_empty_obj (Striped)"},
       "threshold (Painted, Result, 128, 255)",
       "threshold"},
      {"the parts of a striped region", kStripes, "connection (Striped, Result)", "connection"},
      {"the gaps between stripes",
       {kStripes[0], kStripes[1], kStripes[2], kStripes[3], kStripes[4], kStripes[5],
        "gen_rectangle1 (Full, 0, 0, 1023, 2047)"},
       "difference (Full, Striped, Result)",
       "difference"},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.what);
    Lines lines = road.before;
    lines.insert(lines.end(), kTightBound.begin(), kTightBound.end());
    lines.push_back(road.line);
    const int line = static_cast<int>(lines.size());
    const std::int64_t number = runBounded(kChildRoom, [&] {
      try {
        runLines(lines);
      } catch (const HDevEngineException& e) {
        return static_cast<std::int64_t>(e.HalconErrNum());
      } catch (const std::bad_alloc&) {
        return std::int64_t{kOutOfMemory};
      }
      return std::int64_t{0};
    });
    // Where no child can be bounded the road ran here, and left its bound behind.
    restoreLimit();
    EXPECT_EQ(number, kNoMemory);
    if (number != kNoMemory) continue;
    const HDevEngineException error = engineErrorOf([&] { runLines(lines); });
    EXPECT_EQ(error.ProgLineNum(), line);
    EXPECT_NE(std::string(error.Message()).find(road.op), std::string::npos) << error.Message();
    restoreLimit();
  }
}

// The runs a failed operator took are given back, and under the default bound the same
// roads build: area_center (HALCON 11.0 reference) of the stripes is 1024 x 1024 pixels,
// of the gaps 2048 x 1024 less that; the parts are the 1024 stripes.
TEST_F(RegionBounds, WithinTheBoundTheSameRoadsBuild) {
  const std::int64_t held = [] {
    HTuple value;
    HalconCpp::GetSystem("standin_pixel_bytes", &value);
    return static_cast<std::int64_t>(value.L());
  }();
  Lines lines = kStripes;
  lines.insert(lines.end(), {"gen_rectangle1 (Full, 0, 0, 1023, 2047)",
                             "difference (Full, Striped, Gaps)", "connection (Striped, Parts)",
                             "count_obj (Parts, N)", "area_center (Striped, A1, Row1, Col1)",
                             "area_center (Gaps, A2, Row2, Col2)", "R := [A1, A2, N]"});
  EXPECT_EQ(text(runLines(lines)), "[1048576, 1048576, 1024]");
  HTuple after;
  HalconCpp::GetSystem("standin_pixel_bytes", &after);
  EXPECT_EQ(static_cast<std::int64_t>(after.L()), held);
}

}  // namespace
}  // namespace quorvex::test
