// Every road to a large value or a long run ends in a record naming the line, before the
// memory or the time is taken: element assignment far past the end, appends of text in
// place, tuples built of large parts, a large value in every frame of a recursion, lines
// whose work grows with the data, and waits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_support.h"

namespace quorvex::test {
namespace {

using HalconCpp::Hlong;

constexpr unsigned kStepLimit = 21027;
constexpr unsigned kValueSize = 21028;
constexpr Hlong kSmallValueLimit = Hlong{1} << 16;

// Small bounds for one test, the defaults again after it.
class RunBounds : public ::testing::Test {
 protected:
  void SetUp() override {
    HDevEngine().SetEngineAttribute("value_limit", HTuple(kSmallValueLimit));
  }
  void TearDown() override {
    HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 24));
    HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000000}));
  }
};

struct Road {
  const char* what;
  Lines lines;
  unsigned number;
  int line;
  const char* says;
};

TEST_F(RunBounds, EveryRoadEndsAtItsLine) {
  const std::string kilobyte = "'" + std::string(1024, 'x') + "'";
  const Road roads[] = {
      {"an element just past the bound", {"T := []", "T[65536] := 1"}, kValueSize, 2, "elements"},
      {"text appended in place",
       {"S := " + kilobyte, "A := []", "while (1)", "  A := [A, S]", "endwhile"},
       kValueSize,
       4,
       "bytes of text"},
      {"text appended by index",
       {"S := " + kilobyte, "A := []", "while (1)", "  A[|A|] := S", "endwhile"},
       kValueSize,
       4,
       "bytes of text"},
      {"a tuple of large parts, checked before it is built",
       {"A := gen_tuple_const(40000, 0)", "B := [A, A]"},
       kValueSize,
       2,
       "80000 elements"},
      {"one element's text growing",
       {"S := " + kilobyte, "while (1)", "  S := S + S", "endwhile"},
       kValueSize,
       3,
       "bytes of text"},
  };
  for (const Road& road : roads) {
    const HDevEngineException error = engineErrorOf([&] { runLines(road.lines); });
    EXPECT_EQ(error.HalconErrNum(), road.number) << road.what << ": " << error.Message();
    EXPECT_EQ(error.ProgLineNum(), road.line) << road.what;
    EXPECT_NE(std::string(error.Message()).find(road.says), std::string::npos) << error.Message();
  }
}

// Each frame of the recursion keeps a value within the bound; together they are not.
TEST_F(RunBounds, AllFramesTogetherAreBounded) {
  const std::string deep = uniqueName("deep");
  writeProcedure(
      deep, {{"ic", {"N"}}},
      {"Keep := gen_tuple_const(60000, N)", "if (N > 0)", "  " + deep + " (N - 1)", "endif"});
  const HDevEngineException error = engineErrorOf([&] { runLines({deep + " (20)"}); });
  EXPECT_EQ(error.HalconErrNum(), kValueSize) << error.Message();
  EXPECT_EQ(std::string(error.ExecProcedureName()), deep);
  EXPECT_EQ(error.ProgLineNum(), 1);
  // Frames that have returned give their values back.
  EXPECT_EQ(text(runLines({"for I := 1 to 20 by 1", "  " + deep + " (2)", "endfor", "R := I"})),
            "20");
}

TEST_F(RunBounds, WorkNotLinesIsCounted) {
  HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 24));
  HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{10000}));
  // One line over a million elements costs what a loop over them would.
  const HDevEngineException built = engineErrorOf([] {
    runLines({"R := 1", "T := gen_tuple_const(1000000, 1)"});
  });
  EXPECT_EQ(built.HalconErrNum(), kStepLimit);
  EXPECT_EQ(built.ProgLineNum(), 2);
  EXPECT_EQ(text(runLines({"T := gen_tuple_const(10000, 1)", "R := |T|"})), "10000");
  // A wait the budget cannot pay fails at once instead of waiting.
  HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000000}));
  const HDevEngineException waited = engineErrorOf([] { runLines({"wait_seconds (1000000)"}); });
  EXPECT_EQ(waited.HalconErrNum(), kStepLimit);
}

// Images and window framebuffers share one pixel bound and windows have a count bound; each
// ends at the operator line that would pass it, and what a run made is given back after it.
TEST(ImageAndWindowBounds, EndAtTheLineThatWouldPassThem) {
  struct Case {
    const char* what;
    Lines lines;
    unsigned number;
    int line;
  };
  const Case cases[] = {
      {"one image larger than the pixel bound",
       {"set_system ('standin_pixel_limit', 1000000)", "gen_image_const (I, 'byte', 1001, 1000)"},
       6001,
       2},
      {"images kept in a loop",
       {"set_system ('standin_pixel_limit', 10000000)", "gen_empty_obj (All)",
        "for I := 1 to 100 by 1", "  gen_image_const (Image, 'byte', 1000, 1000)",
        "  concat_obj (All, Image, All)", "endfor"},
       6001,
       4},
      {"a window's framebuffer",
       {"set_system ('standin_pixel_limit', 1000000)",
        "open_window (0, 0, 1000, 1000, 0, 'invisible', '', W)"},
       6001,
       2},
      {"a window grown past the pixel bound",
       {"set_system ('standin_pixel_limit', 1000000)",
        "open_window (0, 0, 100, 100, 0, 'invisible', '', W)",
        "set_window_extents (W, 0, 0, 1000, 1000)"},
       6001,
       3},
      {"windows left open",
       {"set_system ('standin_window_limit', 3)", "for I := 1 to 4 by 1",
        "  open_window (0, 0, 64, 64, 0, 'invisible', '', W)", "endfor"},
       5101,
       3},
  };
  HTuple pixelLimit, windowLimit, heldBefore;
  HalconCpp::GetSystem("standin_pixel_limit", &pixelLimit);
  HalconCpp::GetSystem("standin_window_limit", &windowLimit);
  HalconCpp::GetSystem("standin_pixel_bytes", &heldBefore);
  for (const Case& c : cases) {
    const HDevEngineException error = engineErrorOf([&] { runLines(c.lines); });
    EXPECT_EQ(error.HalconErrNum(), c.number) << c.what << ": " << error.Message();
    EXPECT_EQ(error.ProgLineNum(), c.line) << c.what;
    HalconCpp::SetSystem("standin_pixel_limit", pixelLimit);
    HalconCpp::SetSystem("standin_window_limit", windowLimit);
    // Windows stay open after a run; closing them gives their pixels back.
    HTuple open;
    HalconCpp::GetSystem("standin_native_windows", &open);
    for (Hlong i = 0; i < open.Length(); i += 9) HalconCpp::CloseWindow(open[i]);
    HTuple held;
    HalconCpp::GetSystem("standin_pixel_bytes", &held);
    EXPECT_EQ(held.L(), heldBefore.L()) << c.what;
  }
}

// A record about a large value shows its beginning, not the whole value.
TEST_F(RunBounds, RecordsStaySmall) {
  const HDevEngineException error = engineErrorOf([] {
    runLines({"T := gen_tuple_const(60000, 'abcdefgh')", "T[T] := 1"});
  });
  EXPECT_EQ(error.HalconErrNum(), 21025u);
  EXPECT_LT(std::string(error.Message()).size(), 600u) << error.Message();
  EXPECT_NE(std::string(error.Message()).find("(60000 elements)"), std::string::npos);
}

}  // namespace
}  // namespace quorvex::test
