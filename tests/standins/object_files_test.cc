// Iconic objects in files and serialized items as programs use them, and the readers against
// truncated, corrupt and hostile files. Each expectation is what the HALCON 11.0 page it names
// defines: the reader gives back exactly what the writer was given.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::HObject;

const std::string& folder() {
  static const std::string path = makeTempFolder("quorvex_objects_") + "/";
  return path;
}

HTuple inFolder(const Lines& lines) {
  return runLines(lines, {HTuple(folder().c_str())});
}

// A 2 x 1 image (grey 7 and 9) reduced to its right pixel, the 2 x 2 square at (1, 1), and a
// two-point contour, in one tuple O.
const Lines kMixed{
    "gen_image_const (I, 'byte', 2, 1)",   "set_grayval (I, [0, 0], [0, 1], [7, 9])",
    "gen_rectangle1 (Right, 0, 1, 0, 1)",  "reduce_domain (I, Right, IR)",
    "gen_rectangle1 (Square, 1, 1, 2, 2)", "gen_contour_polygon_xld (C, [0.5, 1.5], [2.5, 3.5])",
    "concat_obj (IR, Square, O1)",         "concat_obj (O1, C, O)"};

// After restoring O into B: classes, B's image's grey values (whole image), its domain's area,
// the square's area and the contour's points.
const Lines kInspect{
    "get_obj_class (B, Classes)",          "select_obj (B, BI, 1)",
    "get_grayval (BI, [0, 0], [0, 1], G)", "get_domain (BI, D)",
    "area_center (D, DA, DR, DC)",         "select_obj (B, BS, 2)",
    "area_center (BS, SA, SR, SC)",        "select_obj (B, BC, 3)",
    "get_contour_xld (BC, Rows, Cols)",    "R := [Classes, G, DA, DC, SA, Rows, Cols]"};
const char* kMixedBack = "['image', 'region', 'xld_cont', 7, 9, 1, 1.0, 4, 0.5, 1.5, 2.5, 3.5]";

// write_object / read_object, HALCON 11.0: a mixed tuple of images, regions and XLD written
// and read back whole; with no extension '.hobj' is appended (write_object, HALCON 12.0, the
// 11.0 page's description cut short). write_region / read_region, HALCON 11.0: regions, '.reg'
// appended to a name without an extension, and the name found without it.
TEST(ObjectFiles, GiveBackWhatWasWritten) {
  const std::vector<ProgramCase> cases{
      {"write_object, read_object",
       with(with(kMixed, {"write_object (O, In1 + 'mixed')", "read_object (B, In1 + 'mixed')"}),
            kInspect),
       kMixedBack},
      {"'.hobj' appended, the name read with or without it",
       {"gen_empty_obj (E)", "write_object (E, In1 + 'empty')",
        "file_exists (In1 + 'empty.hobj', X)", "read_object (B, In1 + 'empty.hobj')",
        "count_obj (B, N)", "R := [X, N]"},
       "[1, 0]"},
      {"write_region of the square and an image (its domain), '.reg' appended",
       with(kMixed, {"concat_obj (Square, IR, SI)", "write_region (SI, In1 + 'regions')",
                     "file_exists (In1 + 'regions.reg', X)", "read_region (B, In1 + 'regions')",
                     "get_obj_class (B, Classes)", "area_center (B, A, Row, Col)",
                     "R := [X, Classes, A, Col]"}),
       "[1, 'region', 'region', 4, 1, 1.5, 1.0]"},
      {"serialize_object, deserialize_object",
       with(with(kMixed, {"serialize_object (O, H)", "deserialize_object (B, H)"}), kInspect),
       kMixedBack},
      {"serialize_image, deserialize_image: a 2-channel int2 image",
       {"gen_image_const (A, 'int2', 1, 1)", "set_grayval (A, 0, 0, -300)", "compose2 (A, A, A2)",
        "serialize_image (A2, H)", "deserialize_image (B, H)", "get_image_type (B, T)",
        "get_grayval (B, 0, 0, G)", "R := [T, G]"},
       "['int2', -300, -300]"},
      {"serialize_region of an image is its domain",
       with(kMixed, {"serialize_region (IR, H)", "deserialize_region (B, H)",
                     "area_center (B, A, Row, Col)", "R := [A, Col]"}),
       "[1, 1.0]"},
      {"serialize_xld, deserialize_xld",
       with(kMixed, {"serialize_xld (C, H)", "deserialize_xld (B, H)",
                     "get_contour_xld (B, Rows, Cols)", "R := [Rows, Cols]"}),
       "[0.5, 1.5, 2.5, 3.5]"},
  };
  for (const ProgramCase& c : cases) {
    try {
      EXPECT_EQ(text(inFolder(c.lines)), c.expected) << c.what;
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << c.what << ": " << e.Message();
    }
  }
}

// The error numbers: 5200 no such file; 5202 not an object file, or read_region of a file
// holding an image (read_region, HALCON 11.0: regions only); 1301 a handle that is not a
// serialized item (cleared, or never made) or an item of another class.
TEST(ObjectFiles, RefuseWhatTheyCannotRestore) {
  const std::vector<ErrorRow> rows{
      {"read_object (B, In1 + 'none')", 5200},
      {"read_region (B, In1 + 'none')", 5200},
      {"open_file (In1 + 'text.hobj', 'output', F)\nfwrite_string (F, 'HTuple 1')\n"
       "close_file (F)\nread_object (B, In1 + 'text')",
       5202},
      {"gen_image_const (I, 'byte', 1, 1)\nwrite_object (I, In1 + 'image')\n"
       "read_region (B, In1 + 'image.hobj')",
       5202},
      {"gen_image_const (I, 'byte', 1, 1)\nserialize_object (I, H)\nclear_serialized_item (H)\n"
       "deserialize_object (B, H)",
       1301},
      {"gen_image_const (I, 'byte', 1, 1)\nserialize_image (I, H)\ndeserialize_region (B, H)",
       1301},
      {"deserialize_xld (B, 123456)", 1301},
      {"clear_serialized_item (123456)", 1301},
  };
  for (const ErrorRow& row : rows) {
    long error = 0;
    try {
      inFolder(split(row.input));
    } catch (const HDevEngineException& e) {
      error = static_cast<long>(e.HalconErrNum());
    }
    EXPECT_EQ(error, row.number) << row.input;
  }
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

long readError(const std::string& bytes) {
  const std::string path = folder() + "hostile.hobj";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  try {
    HObject objects;
    HalconCpp::ReadObject(&objects, path.c_str());
  } catch (const HException& e) {
    return static_cast<long>(e.ErrorCode());
  }
  return 0;
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Every prefix of a good file is truncated and refused; counts, sizes and kinds that the
// file's bytes cannot hold are refused before any memory is taken for them.
TEST(ObjectFiles, RefuseTruncatedAndHostileFiles) {
  inFolder(with(kMixed, {"write_object (O, In1 + 'good')", "R := 0"}));
  const std::string good = bytesOf(folder() + "good.hobj");
  ASSERT_GT(good.size(), 20u);
  EXPECT_EQ(readError(good), 0);
  for (std::size_t size = 0; size < good.size(); ++size) {
    ASSERT_EQ(readError(good.substr(0, size)), 5202) << size << " bytes";
  }
  EXPECT_EQ(readError(good + "x"), 5202) << "a byte after the last object";
  // The layout (docs/standins.md): 8 magic bytes, the version at 8, the count at 12, the first
  // object's kind at 16, an image's width at 17 and height at 21, its channel count at 25.
  // One region: the header for one object, kind 'R', then its run count at 17.
  std::string region = good.substr(0, 16) + "R" + std::string(4 + 12, '\0');
  putU32(region, 12, 1);
  putU32(region, 17, 1);
  EXPECT_EQ(readError(region), 0) << "the run (0, 0, 0)";
  std::string magic = good;
  magic[0] = 'X';
  EXPECT_EQ(readError(magic), 5202) << "magic";
  std::string kind = good;
  kind[16] = 'Z';
  EXPECT_EQ(readError(kind), 5202) << "kind";
  struct Change {
    const std::string* file;
    std::vector<std::pair<std::size_t, std::uint32_t>> words;
    const char* what;
  };
  const Change changes[] = {
      {&good, {{8, 2}}, "version"},
      {&good, {{12, 0xFFFFFFFFu}}, "object count"},
      {&good, {{17, 32768}, {21, 32768}}, "an image larger than the file"},
      {&good, {{17, 0}}, "width 0"},
      {&good, {{25, 0x7FFFFFFFu}}, "channel count"},
      {&region, {{17, 0x7FFFFFFFu}}, "run count"},
      {&region, {{21, 1u << 30}}, "a row beyond the coordinates' bound"},
      {&region, {{29, 0xFFFFFFFFu}}, "a run ending before it begins"},
  };
  for (const Change& change : changes) {
    std::string bad = *change.file;
    for (const auto& [at, value] : change.words) putU32(bad, at, value);
    EXPECT_EQ(readError(bad), 5202) << change.what;
  }
}

}  // namespace
