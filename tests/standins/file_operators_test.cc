// list_files, file_exists, the vendor's system parameters, text files, tuple files, folders,
// count_seconds and the 'File' image acquisition interface as a program calls them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HTuple;
using namespace quorvex::test;
namespace fs = std::filesystem;

#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

HTuple strings(const std::vector<std::string>& values) {
  HTuple result;
  for (const std::string& value : values) result.Append(value.c_str());
  return result;
}

// root: a.txt, b.png, sub/ (c.txt, deeper/ (d.txt))
class ListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeTempFolder("quorvex_list_");
    ASSERT_FALSE(root_.empty());
    fs::create_directories(root_ + "/sub/deeper");
    for (const char* file : {"/a.txt", "/b.png", "/sub/c.txt", "/sub/deeper/d.txt"}) {
      writeBytes(root_ + file, "x");
    }
  }
  HTuple list(const HTuple& options) {
    return runLines({"list_files (In1, In2, R)"}, {HTuple(root_.c_str()), options});
  }
  // Names under the root as list_files gives them.
  HTuple named(const std::vector<std::string>& relative) {
    std::vector<std::string> full;
    for (std::string name : relative) {
      for (std::size_t at = 0; (at = name.find('/', at)) != std::string::npos; at += kSep.size()) {
        name.replace(at, 1, kSep);
      }
      full.push_back(root_ + kSep + name);
    }
    return strings(full);
  }
  std::string root_;
};

// Each row: the options and the entries they give, folders ending with the separator.
TEST_F(ListFiles, OptionsSelectAndBoundTheEntries) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
      {{"files"}, {"a.txt", "b.png"}},
      {{"directories"}, {"sub/"}},
      {{}, {"a.txt", "b.png", "sub/"}},
      {{"files", "recursive"}, {"a.txt", "b.png", "sub/c.txt", "sub/deeper/d.txt"}},
      {{"files", "directories", "recursive"},
       {"a.txt", "b.png", "sub/", "sub/c.txt", "sub/deeper/", "sub/deeper/d.txt"}},
      {{"files", "recursive", "max_depth 2"}, {"a.txt", "b.png", "sub/c.txt"}},
      {{"files", "recursive", "max_files 3"}, {"a.txt", "b.png", "sub/c.txt"}},
      {{"directories", "max_depth 5"}, {"sub/"}},
  };
  for (const auto& [options, expected] : rows) {
    EXPECT_EQ(list(strings(options)), named(expected)) << strings(options).ToString().Text();
  }
}

#ifndef _WIN32
// A linked folder is entered only with 'follow_links'; a link back up the tree ends there.
TEST_F(ListFiles, LinksAreFollowedOnRequestAndLoopsEnd) {
  fs::create_directory_symlink(root_ + "/sub/deeper", root_ + "/link");
  fs::create_directory_symlink(root_, root_ + "/sub/deeper/up");
  EXPECT_EQ(list(strings({"files", "recursive"})),
            named({"a.txt", "b.png", "sub/c.txt", "sub/deeper/d.txt"}));
  EXPECT_EQ(list(strings({"files", "recursive", "follow_links"})),
            named({"a.txt", "b.png", "link/d.txt", "sub/c.txt", "sub/deeper/d.txt"}));
}
#endif

TEST_F(ListFiles, WrongOptionsAndMissingFoldersRaiseErrors) {
  const std::pair<std::vector<HTuple>, long> rows[] = {
      {{HTuple(root_.c_str()), HTuple("sorted")}, 1302},
      {{HTuple(root_.c_str()), HTuple("max_depth")}, 1302},
      {{HTuple(root_.c_str()), HTuple("max_files -1")}, 1302},
      {{HTuple((root_ + "/absent").c_str()), HTuple("files")}, 5200},
      {{HTuple(3), HTuple("files")}, 1201},
  };
  for (const auto& [inputs, error] : rows) {
    EXPECT_EQ(programError({"list_files (In1, In2, R)"}, inputs), error)
        << inputs[0].ToString().Text() << " " << inputs[1].ToString().Text();
  }
}

// A folder given with its separator is not doubled; file_exists holds for files and folders.
TEST_F(ListFiles, PathsAsGiven) {
  EXPECT_EQ(runLines({"list_files (In1, 'files', R)"}, {HTuple((root_ + "/sub/").c_str())}),
            strings({root_ + "/sub/c.txt"}));
  const HTuple names = strings({root_ + "/a.txt", root_ + "/sub", root_ + "/absent", ""});
  EXPECT_EQ(text(runLines({"R := []", "for I := 0 to |In1| - 1 by 1", "  file_exists (In1[I], E)",
                           "  R := [R, E]", "endfor"},
                          {names})),
            "[1, 1, 0, 0]");
}

// The documented defaults as get_system gives them, and the counts of processors and threads.
TEST(SystemParameters, DefaultsAsDocumented) {
  EXPECT_EQ(
      text(outputsOf({"get_system ('parallelize_operators', R)", "get_system ('clip_region', R)",
                      "get_system ('init_new_image', R)", "get_system ('store_empty_region', R)",
                      "get_system ('neighborhood', R)", "get_system ('border_shape_models', R)",
                      "get_system ('version', R)"})),
      "['true', 'true', 'true', 'true', 8, 'false', '11.0']");
  const HTuple counts =
      runLines({"get_system ('processor_num', P)", "get_system ('thread_num', T)", "R := [P, T]"});
  EXPECT_GE(counts[0].L(), 1);
  EXPECT_EQ(counts[1].L(), counts[0].L());
  const HTuple system = runLines({"get_system ('operating_system', R)"});
  EXPECT_GT(std::string(system[0].S().Text()).size(), 0u);
  // count_seconds: a real that never goes back.
  const HTuple seconds = runLines(
      {"count_seconds (T1)", "wait_seconds (0.01)", "count_seconds (T2)", "R := [T1, T2]"});
  ASSERT_EQ(seconds.Length(), 2);
  EXPECT_EQ(seconds[0].Type(), HalconCpp::eElementTypeDouble);
  EXPECT_GE(seconds[1].D() - seconds[0].D(), 0.01);
}

// Each row: a set_system call's name and value, and the error it raises (0: accepted and
// read back).
TEST(SystemParameters, SetSystemChecksWhatItDocuments) {
  // clang-format off
  const std::vector<std::tuple<const char*, HTuple, long>> rows = {
      {"neighborhood", HTuple(4), 0}, {"neighborhood", HTuple(6), 1302},
      {"clip_region", HTuple("false"), 0}, {"clip_region", HTuple("maybe"), 1302},
      {"thread_num", HTuple(2), 0}, {"thread_num", HTuple(0), 1302},
      {"thread_num", HTuple("2"), 1202}, {"processor_num", HTuple(2), 1301},
      {"operating_system", HTuple("x"), 1301}, {"version", HTuple("12.0"), 1301}};
  // clang-format on
  for (const auto& [name, value, error] : rows) {
    HTuple saved;
    HalconCpp::GetSystem(name, &saved);
    const long raised =
        programError({"set_system (In1, In2)", "get_system (In1, R)"}, {HTuple(name), value});
    EXPECT_EQ(raised, error) << name << " " << value.ToString().Text();
    if (error == 0) {
      HTuple now;
      HalconCpp::GetSystem(name, &now);
      EXPECT_EQ(now, value) << name;
      HalconCpp::SetSystem(name, saved);
    }
  }
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

const std::string kOpen =
    "open_framegrabber ('File', 1, 1, 0, 0, 0, 0, 'default', -1, 'default', -1, 'false', In1, "
    "'default', -1, -1, AcqHandle)";

// a_first.png 4x3 of 10, b_second.bmp 5x3 of 20, c_third.png 6x2 of 30, and a text file
// that is no image; sub/ holds d_fourth.png 2x2 of 40.
class FileAcquisition : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder("quorvex_acquisition_");
    ASSERT_FALSE(folder_.empty());
    writeThreeImages(folder_);
    std::ofstream(folder_ + "/notes.txt") << "not an image";
    HalconCpp::SetSystem("init_new_image", "true");
  }
  void TearDown() override { HalconCpp::CloseAllFramegrabbers(); }

  std::string folder_;
};

// Grabs N images and gives [width at open, grey values..., widths..., name].
Lines grabLoop(int count, const std::string& grab = "grab_image (Image, AcqHandle)") {
  return {kOpen,
          "get_framegrabber_param (AcqHandle, 'image_width', W0)",
          "Values := []",
          "Widths := []",
          "for I := 1 to " + std::to_string(count) + " by 1",
          "  " + grab,
          "  get_grayval (Image, 0, 0, G)",
          "  get_image_size (Image, W, H)",
          "  Values := [Values, G]",
          "  Widths := [Widths, W]",
          "endfor",
          "get_framegrabber_param (AcqHandle, ['name'], Name)",
          "close_framegrabber (AcqHandle)",
          "R := [W0, Values, Widths, Name]"};
}

// Each row: the source (under the folder), a line after opening, the grab line, the count
// and what grabLoop gives. A folder goes in name order and around again, asynchronous grabs
// too; a sequence file's paths are relative to its folder; a single image comes every time.
TEST_F(FileAcquisition, GrabOrder) {
  const std::string async = "grab_image_async (Image, AcqHandle, -1)";
  const std::tuple<std::string, const char*, std::string, int, const char*> rows[] = {
      {"", nullptr, "", 4, "[4, 10, 20, 30, 10, 4, 5, 6, 4, 'File']"},
      {"", "grab_image_start (AcqHandle, -1)", async, 3, "[4, 10, 20, 30, 4, 5, 6, 'File']"},
      {"/order.seq", nullptr, "", 3, "[6, 30, 10, 30, 6, 4, 6, 'File']"},
      {"/b_second", nullptr, "", 2, "[5, 20, 20, 5, 5, 'File']"}};
  std::ofstream(folder_ + "/order.seq") << "c_third.png\n\n" << folder_ << "/a_first.png\r\n";
  for (const auto& [source, first, grab, count, expected] : rows) {
    Lines lines = grab.empty() ? grabLoop(count) : grabLoop(count, grab);
    if (first) lines.insert(lines.begin() + 1, first);
    EXPECT_EQ(text(runLines(lines, {HTuple((folder_ + source).c_str())})), expected) << source;
  }
  // Without looping a grab past the last image fails; looping is the default.
  Lines lines = grabLoop(4);
  lines.insert(lines.begin() + 1, "set_framegrabber_param (AcqHandle, 'do_loop', 'false')");
  EXPECT_EQ(programError(lines, {HTuple(folder_.c_str())}), HalconCpp::H_ERR_ACQ_GRAB);
  EXPECT_EQ(runLines({kOpen, "get_framegrabber_param (AcqHandle, 'do_loop', R)"},
                     {HTuple(folder_.c_str())}),
            HTuple("true"));
}

// Resolution 2 keeps every second pixel, the part starts at column 1, 'gray' weighs the
// colour channels .299, .587, .114: (100, 150, 200) gives 141.
TEST_F(FileAcquisition, OpenParametersShapeTheImages) {
  HObject red = flatImage(9, 6, 100), green = flatImage(9, 6, 150), blue = flatImage(9, 6, 200);
  HObject rgb;
  HalconCpp::Compose3(red, green, blue, &rgb);
  HalconCpp::WriteImage(rgb, "png", 0, (folder_ + "/colour").c_str());
  const HTuple result = runLines(
      {"open_framegrabber ('File', 2, 2, 0, 0, 1, 1, 'default', 8, 'gray', -1, 'false', In1, "
       "'default', -1, -1, AcqHandle)",
       "grab_image (Image, AcqHandle)", "get_image_size (Image, W, H)", "count_channels (Image, C)",
       "get_grayval (Image, 0, 0, G)", "get_framegrabber_param (AcqHandle, 'image_height', FH)",
       "R := [W, H, C, G, FH]"},
      {HTuple((folder_ + "/colour.png").c_str())});
  EXPECT_EQ(result, HTuple(4).Append(2).Append(1).Append(141).Append(2));
}

// Each row: program lines after opening the folder, and the error they raise.
TEST_F(FileAcquisition, WrongUseRaisesTheInterfacesErrors) {
  const std::pair<Lines, long> rows[] = {
      {{"get_framegrabber_param (AcqHandle, 'gain', R)"}, HalconCpp::H_ERR_ACQ_PARAM},
      {{"set_framegrabber_param (AcqHandle, 'name', 'x')"}, HalconCpp::H_ERR_ACQ_PARAM},
      {{"set_framegrabber_param (AcqHandle, 'do_loop', 'sometimes')"}, HalconCpp::H_ERR_ACQ_VALUE},
      {{"close_framegrabber (AcqHandle)", "grab_image (Image, AcqHandle)"},
       HalconCpp::H_ERR_ACQ_HANDLE},
      {{"close_all_framegrabbers ()", "close_framegrabber (AcqHandle)"},
       HalconCpp::H_ERR_ACQ_HANDLE},
  };
  for (const auto& [lines, error] : rows) {
    EXPECT_EQ(programError(Lines{kOpen} + lines, {HTuple(folder_.c_str())}), error) << lines.back();
  }
  const std::pair<std::string, long> opens[] = {
      {folder_ + "/absent", 5200},
      {folder_ + "/notes.txt", 5202},
  };
  for (const auto& [cameraType, error] : opens) {
    EXPECT_EQ(programError({kOpen}, {HTuple(cameraType.c_str())}), error) << cameraType;
  }
  EXPECT_EQ(programError({"open_framegrabber ('GigEVision', 1, 1, 0, 0, 0, 0, 'default', -1, "
                          "'default', -1, 'false', 'default', 'default', -1, -1, AcqHandle)"}),
            HalconCpp::H_ERR_ACQ_INTERFACE);
  // The interface describes itself.
  const HTuple defaults = runLines({"info_framegrabber ('File', 'defaults', Information, R)"});
  EXPECT_EQ(defaults.Length(), 15);
  const HTuple parameters =
      runLines({"info_framegrabber ('File', 'parameters', Information, Values)",
                "info_framegrabber ('File', 'color_space', Information, Spaces)",
                "R := [|Values|, Spaces]"});
  EXPECT_EQ(parameters, HTuple(20).Append("default").Append("gray").Append("rgb"));
  EXPECT_EQ(programError({"info_framegrabber ('File', 'colour', Information, R)"}), 1302);
}

}  // namespace
