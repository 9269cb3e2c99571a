// The roads by which a program could take its host down, each ending in a record before the
// memory or the time is taken: texts repeated by functions and operators, copies charged as
// work, file reads, a long literal and a procedure path added again and again. Each road
// runs where it can in a child whose address space may grow by 256 MiB only, while the
// roads' own values would take gigabytes if they were built before they were checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "standins/bounded_child.h"
#include "standins/engine_support.h"

namespace {

using HalconCpp::Hlong;
using HalconCpp::HTuple;
using namespace quorvex::test;

constexpr unsigned kStepLimit = 21027;
constexpr unsigned kValueSize = 21028;
constexpr unsigned kOutOfMemory = 21029;
constexpr unsigned kNoMemory = 6001;    // the image-processing stand-in's bound
constexpr unsigned kFileFormat = 5202;  // a file that is not what it claims
constexpr std::uint64_t kChildRoom = std::uint64_t{256} << 20;
constexpr Hlong kSmallTextLimit = 65536;

// The error number a body ends with: 0 for none, 21029 for memory that ran out around the
// engine's own record.
template <typename Body>
std::int64_t errorNumberOf(Body&& body) {
  try {
    body();
  } catch (const HDevEngineException& e) {
    return e.HalconErrNum();
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return 0;
}

struct Road {
  const char* what;
  Lines lines;
  unsigned number;
  int line;
  const char* says;
};

// Runs each road with In1 set to `input` and checks its record; the record is read in the
// parent, the road run in a bounded child where there is one.
void expectRecords(const std::vector<Road>& roads, const HTuple& input) {
  for (const Road& road : roads) {
    std::string message;
    int line = -1;
    const std::int64_t number = runBounded(
        kChildRoom, [&] { return errorNumberOf([&] { runLines(road.lines, {input}); }); });
    EXPECT_EQ(number, road.number) << road.what;
    // The record itself, outside the child: the same road, now known to stay small.
    if (number != road.number) continue;
    const HDevEngineException error = engineErrorOf([&] { runLines(road.lines, {input}); });
    message = error.Message();
    line = error.ProgLineNum();
    EXPECT_EQ(line, road.line) << road.what;
    EXPECT_NE(message.find(road.says), std::string::npos) << road.what << ": " << message;
  }
}

class RunBoundRoads : public ::testing::Test {
 protected:
  void TearDown() override {
    HDevEngine().SetEngineAttribute("text_limit", HTuple(Hlong{1} << 24));
    HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000000}));
    HalconCpp::SetSystem("standin_text_limit", HTuple(Hlong{1} << 24));
    HalconCpp::CloseAllFiles();
  }
};

// Each road repeats a text of 60,000 bytes 100,000 times (6 GB) or pads to a width past the
// bound; each fails at its line before it takes the memory.
TEST_F(RunBoundRoads, TextsRepeatedPastTheirBound) {
  HDevEngine().SetEngineAttribute("text_limit", HTuple(kSmallTextLimit));
  const HTuple sixtyThousand(std::string(60000, 'x').c_str());
  const std::vector<Road> roads = {
      {"a constant tuple of a text",
       {"R := gen_tuple_const(100000, In1)"},
       kValueSize,
       1,
       "bytes of text, more than text_limit 65536"},
      {"its operator", {"tuple_gen_const (100000, In1, R)"}, kValueSize, 1, "bytes of text"},
      {"a field wider than the bound",
       {"R := [1:1000]$'16000000d'"},
       kValueSize,
       1,
       "bytes of text"},
      {"fields that pass the bound together",
       {"R := [1:100000]$'60000d'"},
       kValueSize,
       1,
       "bytes of text"},
      {"an index naming one text many times",
       {"I := gen_tuple_const(100000, 0)", "R := In1[I]"},
       kValueSize,
       2,
       "bytes of text"},
      {"tuple_select of one text many times",
       {"I := gen_tuple_const(100000, 0)", "tuple_select (In1, I, R)"},
       kValueSize,
       2,
       "bytes of text"},
      {"tuple_replace of many elements by one text",
       {"T := gen_tuple_const(100000, 0)", "tuple_replace (T, [0:99999], In1, R)"},
       kValueSize,
       2,
       "bytes of text"},
      {"a text added to many elements",
       {"T := gen_tuple_const(100000, 0)", "tuple_add (T, In1, R)"},
       kValueSize,
       2,
       "bytes of text"},
      {"a replacement at every position",
       {"R := regexp_replace(In1, ['', 'replace_all'], In1)"},
       kValueSize,
       1,
       "bytes of text"},
  };
  expectRecords(roads, sixtyThousand);
  // Within the bound they build as before.
  EXPECT_EQ(text(runLines({"R := strlen(sum(gen_tuple_const(65, In1)))"},
                          {HTuple(std::string(1000, 'y').c_str())})),
            "65000");
  EXPECT_EQ(text(runLines({"R := regexp_replace('abc', ['', 'replace_all'], '-')"})), "'-a-b-c-'");
}

// An empty pattern matches at every position of a text of 60,000 bytes: with two bytes put
// in at each, the result would be 180,002 bytes, past a text_limit of 131,072, and fails
// before it is built (the same under libstdc++'s engine, whose stack takes such a subject).
TEST_F(RunBoundRoads, AReplacementAtEveryPositionOfALongText) {
  HDevEngine().SetEngineAttribute("text_limit", HTuple(Hlong{131072}));
  const HTuple longText(std::string(60000, 'a').c_str());
  expectRecords({{"an empty pattern replaced all over",
                  {"R := regexp_replace(In1, ['', 'replace_all'], 'bb')"},
                  kValueSize,
                  1,
                  "bytes of text, more than text_limit 131072"},
                 {"its operator",
                  {"tuple_regexp_replace (In1, ['', 'replace_all'], 'bb', R)"},
                  kValueSize,
                  1,
                  "bytes of text"}},
                longText);
}

// Copying a long text costs steps by its bytes: a loop that copies a megabyte a thousand
// times passes a budget of 100,000 steps, as a loop over its bytes would.
TEST_F(RunBoundRoads, CopiesAreChargedByWhatTheyMove) {
  HDevEngine().SetEngineAttribute("step_limit", HTuple(Hlong{100000}));
  const HTuple megabyte(std::string(1 << 20, 'x').c_str());
  const std::vector<Road> roads = {
      {"an assignment",
       {"for I := 1 to 1000 by 1", "  T := In1", "endfor"},
       kStepLimit,
       2,
       "step_limit"},
      {"an operator's input",
       {"for I := 1 to 1000 by 1", "  tuple_strlen (In1, L)", "endfor"},
       kStepLimit,
       2,
       "step_limit"},
      {"a selection",
       {"for I := 1 to 1000 by 1", "  T := In1[0]", "endfor"},
       kStepLimit,
       2,
       "step_limit"},
  };
  expectRecords(roads, megabyte);
  // A short text copied as often stays far within the budget.
  EXPECT_EQ(text(runLines({"for I := 1 to 1000 by 1", "  T := In1", "endfor", "R := I"},
                          {HTuple("short")})),
            "1000");
}

// What one read may return is bounded by standin_text_limit: a file without line ends fails
// at the bound; a tuple file's declared sizes are checked against the file's own size.
TEST_F(RunBoundRoads, FileReadsAreBounded) {
  const std::string folder = scratchFolder();
  const std::string noEnds = folder + "/no_line_ends.txt";
  std::ofstream(noEnds, std::ios::binary) << std::string(200000, 'a');
  const std::string declared = folder + "/declared.tup";
  std::ofstream(declared, std::ios::binary) << "HTuple 1\n4 3000000000 x\n";
  const std::string manyTexts = folder + "/texts.tup";
  {
    std::ofstream out(manyTexts, std::ios::binary);
    out << "HTuple 2\n";
    for (int i = 0; i < 2; ++i) out << "4 40000 " << std::string(40000, 't') << "\n";
  }
  const std::string limit = "set_system ('standin_text_limit', 65536)";
  std::vector<Road> roads = {
      {"a line without an end",
       {limit, "open_file (In1, 'input', F)", "fread_line (F, L, E)"},
       kNoMemory,
       3,
       "fread_line"},
      {"a word without an end",
       {limit, "open_file (In1, 'input', F)", "fread_string (F, L, E)"},
       kNoMemory,
       3,
       "fread_string"},
  };
#ifdef __linux__
  roads.push_back({"a device without end",
                   {limit, "open_file ('/dev/zero', 'input', F)", "fread_line (F, L, E)"},
                   kNoMemory,
                   3,
                   "fread_line"});
#endif
  expectRecords(roads, HTuple(noEnds.c_str()));
  expectRecords(
      {{"a text longer than its file", {"read_tuple (In1, R)"}, kFileFormat, 1, "read_tuple"}},
      HTuple(declared.c_str()));
  expectRecords({{"texts past the bound together",
                  {limit, "read_tuple (In1, R)"},
                  kNoMemory,
                  2,
                  "read_tuple"}},
                HTuple(manyTexts.c_str()));
  // Within the bound the same files read as before.
  HalconCpp::SetSystem("standin_text_limit", HTuple(Hlong{1} << 24));
  EXPECT_EQ(text(runLines({"read_tuple (In1, T)", "R := strlen(T)"}, {HTuple(manyTexts.c_str())})),
            "[40000, 40000]");
}

// A literal of a million elements loads without a node per element, and a folder added a
// hundred thousand times is kept once.
TEST_F(RunBoundRoads, LongLiteralsAndRepeatedPathsStaySmall) {
  std::string literal = "R := [";
  for (int i = 0; i < 1000000; ++i) literal += i == 0 ? "-1" : ",7";
  literal += "]";
  const std::int64_t loaded = runBounded(kChildRoom, [&] {
    std::int64_t length = -1;
    const std::int64_t error = errorNumberOf([&] {
      length = runLines({literal, "R := [|R|, R[0], R[999999]]"}).Length();
    });
    return error != 0 ? error : length;
  });
  EXPECT_EQ(loaded, 3);
  EXPECT_EQ(text(runLines({"R := [1, -2, 3.5, 'a', -0.5, 1:3]"})),
            "[1, -2, 3.5, 'a', -0.5, 1, 2, 3]");

  const std::string folder = scratchFolder();
  const std::string name = uniqueName("found");
  writeProcedure(name, {{"oc", {"R"}}}, {"R := 'found'"});
  const std::int64_t added = runBounded(kChildRoom / 4, [&] {
    return errorNumberOf([&] {
#ifdef _WIN32
      const std::string path = folder;
#else
      const std::string path = folder + std::string(1000, '/');  // the same folder
#endif
      // 100 MB if each were kept.
      for (int i = 0; i < 100000; ++i) HDevEngine().AddProcedurePath(path.c_str());
      if (text(runProcedure(name.c_str(), {})[0]) != "'found'") throw std::bad_alloc();
    });
  });
  EXPECT_EQ(added, 0);
}

// A global of 32 MB seen by twenty nested frames is one value, not one copy a frame: the
// run's tally counts it once and the store gets it back when the run ends.
TEST_F(RunBoundRoads, GlobalsAreSharedNotCopiedIntoEveryFrame) {
  const std::string deep = uniqueName("deep_global");
  writeProcedure(deep, {{"ic", {"N"}}, {"oc", {"Length"}}},
                 {"global tuple Big", "Length := |Big|", "if (N > 0)",
                  "  " + deep + " (N - 1, Length)", "  Big[N] := N", "endif"});
  const Lines lines = {"global tuple Big", "Big := gen_tuple_const(4000000, 0)",
                       deep + " (20, Length)", "R := [Length, |Big|, sum(Big)]", "Big := []"};
  const std::int64_t result = runBounded(kChildRoom, [&] {
    HTuple value;
    const std::int64_t error = errorNumberOf([&] { value = runLines(lines); });
    return error != 0 ? error : static_cast<std::int64_t>(value[2].L());
  });
  EXPECT_EQ(result, 210);  // 1 + 2 + ... + 20, each frame's write seen by the caller
  EXPECT_EQ(text(runLines(lines)), "[4000000, 4000000, 210]");
  // A global the run takes from the store counts toward the run's bound.
  HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 20));
  runLines({"global tuple Big", "Big := gen_tuple_const(1048576, 0)"});
  const HDevEngineException error = engineErrorOf([&] {
    runLines({"A := gen_tuple_const(1048576, 0)", "B := A", "C := [1, 2]", deep + " (1, L)"});
  });
  EXPECT_EQ(error.HalconErrNum(), kValueSize) << error.Message();
  EXPECT_EQ(error.ProgLineNum(), 4);
  HDevEngine().SetEngineAttribute("value_limit", HTuple(Hlong{1} << 24));
  runLines({"global tuple Big", "Big := []"});
}

}  // namespace
