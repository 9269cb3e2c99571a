// list_files, file_exists and the vendor's system parameters as a program calls them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "standins/engine_support.h"

namespace {

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

void touch(const std::string& path) {
  std::ofstream(path) << "x";
}

// root: a.txt, b.png, sub/ (c.txt, deeper/ (d.txt))
class ListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeTempFolder("quorvex_list_");
    ASSERT_FALSE(root_.empty());
    fs::create_directories(root_ + "/sub/deeper");
    for (const char* file : {"/a.txt", "/b.png", "/sub/c.txt", "/sub/deeper/d.txt"}) {
      touch(root_ + file);
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

TEST_F(ListFiles, ADirectoryGivenWithItsSeparatorIsNotDoubled) {
  const HTuple files =
      runLines({"list_files (In1, 'files', R)"}, {HTuple((root_ + "/sub/").c_str())});
  EXPECT_EQ(files, strings({root_ + "/sub/c.txt"}));
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

TEST_F(ListFiles, FileExistsForFilesAndFolders) {
  const HTuple names = strings({root_ + "/a.txt", root_ + "/sub", root_ + "/absent", ""});
  const HTuple found = runLines({"R := []", "for I := 0 to |In1| - 1 by 1",
                                 "  file_exists (In1[I], E)", "  R := [R, E]", "endfor"},
                                {names});
  EXPECT_EQ(found, HTuple(1).Append(1).Append(0).Append(0));
}

// Each row: a parameter and its documented default as get_system gives it.
TEST(SystemParameters, DefaultsAsDocumented) {
  const std::pair<const char*, HTuple> rows[] = {
      {"parallelize_operators", HTuple("true")},
      {"clip_region", HTuple("true")},
      {"init_new_image", HTuple("true")},
      {"store_empty_region", HTuple("true")},
      {"neighborhood", HTuple(8)},
      {"border_shape_models", HTuple("false")},
      {"version", HTuple("11.0")},
  };
  for (const auto& [name, expected] : rows) {
    EXPECT_EQ(runLines({"get_system (In1, R)"}, {HTuple(name)}), expected) << name;
  }
  const HTuple counts =
      runLines({"get_system ('processor_num', P)", "get_system ('thread_num', T)", "R := [P, T]"});
  EXPECT_GE(counts[0].L(), 1);
  EXPECT_EQ(counts[1].L(), counts[0].L());
  const HTuple system = runLines({"get_system ('operating_system', R)"});
  EXPECT_GT(std::string(system[0].S().Text()).size(), 0u);
}

// Each row: a set_system call's name and value, and the error it raises (0: accepted and
// read back).
TEST(SystemParameters, SetSystemChecksWhatItDocuments) {
  const std::vector<std::tuple<const char*, HTuple, long>> rows = {
      {"neighborhood", HTuple(4), 0},
      {"neighborhood", HTuple(6), 1302},
      {"clip_region", HTuple("false"), 0},
      {"clip_region", HTuple("maybe"), 1302},
      {"thread_num", HTuple(2), 0},
      {"thread_num", HTuple(0), 1302},
      {"thread_num", HTuple("2"), 1202},
      {"processor_num", HTuple(2), 1301},
      {"operating_system", HTuple("x"), 1301},
      {"version", HTuple("12.0"), 1301},
  };
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

}  // namespace
