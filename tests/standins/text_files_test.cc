// Text files, tuple files, folders and count_seconds as a program calls them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "standins/engine_support.h"

namespace {

using HalconCpp::HTuple;
using namespace quorvex::test;
namespace fs = std::filesystem;

std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class TextFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeTempFolder("quorvex_text_files_");
    ASSERT_FALSE(root_.empty());
  }
  std::string path(const std::string& name) const { return root_ + "/" + name; }
  HTuple run(const std::vector<std::string>& lines, const std::string& name) {
    return runLines(lines, {HTuple(path(name).c_str())});
  }
  std::string root_;
};

// Each row: the mode, the file's bytes before, what a program writes and the bytes after:
// 'output' empties the file, 'append' adds to it. Numbers print as a tuple prints them; a
// tuple's elements follow each other with nothing between.
TEST_F(TextFiles, WritesTextAsTheProgramGivesIt) {
  const std::tuple<const char*, const char*, Lines, const char*> rows[] = {
      {"output",
       "old\n",
       {"fwrite_string (F, 'count: ')", "fwrite_string (F, 3)", "fnew_line (F)"},
       "count: 3\n"},
      {"output", "", {"fwrite_string (F, ['a', 1, 2.5, -4])"}, "a12.5-4"},
      {"output", "", {"fwrite_string (F, 5.0)", "fnew_line (F)", "fnew_line (F)"}, "5.0\n\n"},
      {"output", "", {"fwrite_string (F, [])"}, ""},
      {"append", "old\n", {"fwrite_string (F, 'new')"}, "old\nnew"}};
  for (const auto& [mode, before, body, expected] : rows) {
    writeBytes(path("out.txt"), before);
    Lines lines{std::string("open_file (In1, '") + mode + "', F)"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.insert(lines.end(), {"close_file (F)", "R := 1"});
    run(lines, "out.txt");
    EXPECT_EQ(contentsOf(path("out.txt")), expected) << body.front();
  }
}

// Each row: a file's bytes, the read line and what it gives, until its end: words skip blanks
// and empty lines, the last word comes without IsEOF, then '' with IsEOF 1; lines keep their
// end; characters end with 'eof'.
TEST_F(TextFiles, ReadsWordsLinesAndCharacters) {
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      {"  one two\n\nthree", "fread_string (F, S, E)", "[S, E]",
       "['one', 0, 'two', 0, 'three', 0, '', 1]"},
      {"  one two\n\nthree", "fread_line (F, S, E)", "[S, E]",
       "['  one two\n', 0, '\n', 0, 'three', 0, '', 1]"},
      {"a\nb", "fread_char (F, S)", "[S, S == 'eof']", "['a', 0, '\n', 0, 'b', 0, 'eof', 1]"}};
  for (const auto& [bytes, read, values, expected] : rows) {
    writeBytes(path("in.txt"), bytes);
    EXPECT_EQ(text(run({"open_file (In1, 'input', F)", "R := []", "repeat",
                        std::string("  ") + read, std::string("  Last := ") + values,
                        "  R := [R, Last]", "until (Last[1])", "close_file (F)"},
                       "in.txt")),
              expected)
        << read;
  }
}

// Each row: the lines after open_file ... F and the error they raise.
TEST_F(TextFiles, HandlesAndModesAreChecked) {
  writeBytes(path("in.txt"), "x");
  const std::pair<std::vector<std::string>, long> rows[] = {
      {{"open_file (In1 + '.absent', 'input', F)"}, 5200},
      {{"open_file (In1, 'binary', F)"}, 1302},
      {{"open_file (In1, 'input', F)", "fwrite_string (F, 'y')"}, 5204},
      {{"open_file (In1, 'input', F)", "close_file (F)", "fread_char (F, C)"}, 5203},
      {{"open_file (In1, 'input', F)", "close_file (F)", "close_file (F)"}, 5203},
      {{"open_file (In1 + '.out', 'output', F)", "fread_line (F, L, E)"}, 5204},
      {{"open_file (In1, 'input', F)", "close_all_files ()", "fread_char (F, C)"}, 5203},
      {{"fnew_line (12345)"}, 5203},
  };
  for (const auto& [lines, error] : rows) {
    std::vector<std::string> program = lines;
    program.push_back("R := 1");
    EXPECT_EQ(programError(program, {HTuple(path("in.txt").c_str())}), error) << lines.back();
  }
}

// Each row: a tuple, the file write_tuple makes of it (worked out from the format), and
// read_tuple gives the same tuple back.
TEST_F(TextFiles, TupleFilesRoundTrip) {
  const std::pair<HTuple, std::string> rows[] = {
      {HTuple(), "HTuple 0\n"},
      {HTuple(7), "HTuple 1\n1 7\n"},
      {HTuple(-2).Append(0.1).Append(3.0), "HTuple 3\n1 -2\n2 0.1\n2 3.0\n"},
      {HTuple("two words").Append("").Append("a\nb"), "HTuple 3\n4 9 two words\n4 0 \n4 3 a\nb\n"},
      {HTuple(1e300).Append(-0.5), "HTuple 2\n2 1e+300\n2 -0.5\n"},
  };
  for (const auto& [tuple, file] : rows) {
    const HTuple back = runLines({"write_tuple (In1, In2)", "read_tuple (In2, R)"},
                                 {tuple, HTuple(path("t.tup").c_str())});
    EXPECT_EQ(contentsOf(path("t.tup")), file);
    EXPECT_EQ(back, tuple) << file;
    EXPECT_EQ(text(back), text(tuple)) << "the kinds too";
  }
}

// Each row: a file's bytes that are not a tuple file (5202), or no file at all (5200).
TEST_F(TextFiles, BrokenTupleFilesRaiseErrors) {
  const std::pair<const char*, long> rows[] = {
      {"", 5202},
      {"HTuple 2\n1 5\n", 5202},
      {"HTuple 1\n1 5.5\n", 5202},
      {"HTuple 1\n3 5\n", 5202},
      {"HTuple 1\n4 10 short\n", 5202},
      {"HTuple 1\n1 5\n1 6\n", 5202},
      {"Tuple 0\n", 5202},
  };
  for (const auto& [bytes, error] : rows) {
    writeBytes(path("bad.tup"), bytes);
    EXPECT_EQ(programError({"read_tuple (In1, R)"}, {HTuple(path("bad.tup").c_str())}), error)
        << bytes;
  }
  EXPECT_EQ(programError({"read_tuple (In1, R)"}, {HTuple(path("none.tup").c_str())}), 5200);
}

TEST_F(TextFiles, FoldersAreMadeAndRemovedAndFilesDeleted) {
  const HTuple made = run({"make_dir (In1)", "file_exists (In1, A)", "remove_dir (In1)",
                           "file_exists (In1, B)", "R := [A, B]"},
                          "sub");
  EXPECT_EQ(made, HTuple(1).Append(0));
  writeBytes(path("gone.txt"), "x");
  EXPECT_EQ(run({"delete_file (In1)", "file_exists (In1, R)"}, "gone.txt"), HTuple(0));
  fs::create_directory(path("full"));
  writeBytes(path("full/x"), "x");
  // Each row: a line and the error it raises.
  const std::pair<std::string, long> rows[] = {
      {"remove_dir (In1 + '/full')", 5201},  {"remove_dir (In1 + '/none')", 5200},
      {"make_dir (In1 + '/full')", 5201},    {"make_dir (In1 + '/a/b')", 5201},
      {"delete_file (In1 + '/none')", 5200}, {"delete_file (In1 + '/full')", 5201},
  };
  for (const auto& [line, error] : rows) {
    EXPECT_EQ(programError({line, "R := 1"}, {HTuple(root_.c_str())}), error) << line;
  }
}

TEST(CountSeconds, IsARealThatNeverGoesBack) {
  const HTuple seconds = runLines(
      {"count_seconds (T1)", "wait_seconds (0.01)", "count_seconds (T2)", "R := [T1, T2]"});
  ASSERT_EQ(seconds.Length(), 2);
  EXPECT_EQ(seconds[0].Type(), HalconCpp::eElementTypeDouble);
  EXPECT_GE(seconds[1].D() - seconds[0].D(), 0.01);
}

}  // namespace
