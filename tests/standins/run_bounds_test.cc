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
      {"an element far past the end", {"T := 0", "T[16777216] := 1"}, kValueSize, 2, "elements"},
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
