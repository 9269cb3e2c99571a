// Error records as callers see them: built from the vendor's exceptions by a failing export,
// read field by field, released by hclearErrorMsg; and what a record says when a program line
// meets what the stand-in engine refuses or does not carry: an operator it does not implement
// (at run time), a construct of a later release (at load time), an exception that no catch
// takes, a run's bound, an image file built to break a decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quorvex.h"
#include "standins/image_bytes.h"
#include "support/record_assertions.h"
#include "support/snippet.h"
#include "support/standin_control.h"
#include "support/temp_folder.h"

namespace quorvex::test {
namespace {

class ErrorRecords : public ::testing::Test {
 protected:
  FaultsCleared faultsCleared;
};

// Each row: the faults armed before hcreateTuple, and the record it gives. Every construction
// the library makes counts, the one inside the error-text lookup too: a fault armed twice fails
// the handle's construction and then the lookup of its text.
TEST_F(ErrorRecords, FieldsComeFromTheVendorsException) {
  const std::string failed1302 =
      "kind 1, errorCode 1302, procName \"HTuple\", progLineName null, progLineNum -1, message "
      "\"HALCON error #1302: Wrong value of control parameter 2 in operator HTuple\", errorText ";
  const std::pair<void (*)(), std::string> rows[] = {
      {[] { injectFault("HTuple", 1302); }, failed1302 + "\"Wrong value of control parameter 2\""},
      {[] {
         injectFault("HTuple", 1302);
         injectFault("GetErrorText", 1301);
       },
       failed1302 + "null"},
      {[] { injectFault("HTuple", 1302, 2); }, failed1302 + "null"},
      {[] { injectFault("HTuple", 9999); },
       "kind 1, errorCode 9999, procName \"HTuple\", progLineName null, progLineNum -1, message "
       "\"HALCON error #9999 in operator HTuple\", errorText null"},
      {[] { injectFault("HTuple", 1201, 1, ""); },
       "kind 1, errorCode 1201, procName \"\", progLineName null, progLineNum -1, message \"\", "
       "errorText \"Wrong type of control parameter 1\""}};
  for (const auto& [arm, expected] : rows) {
    arm();
    TupleHandle tuple = reinterpret_cast<TupleHandle>(0x1);
    Record record(hcreateTuple(&tuple));
    EXPECT_EQ(tuple, nullptr) << "the out-parameter stays null after a failed create";
    EXPECT_EQ(describe(record.get()), expected);
    EXPECT_TRUE(!record || record->reserved == nullptr);
    clearFaults();
  }
  // The fault armed twice is spent: the next construction succeeds.
  injectFault("HTuple", 1302, 2);
  TupleHandle tuple = nullptr;
  Record spent(hcreateTuple(&tuple));
  EXPECT_OK(hcreateTuple(&tuple));
  EXPECT_NE(tuple, nullptr);
  hfreeTuple(tuple);
}

TEST_F(ErrorRecords, RecordsAreIndependentOfEachOther) {
  injectFault("HTuple", 1201, 1, "first");
  TupleHandle tuple = nullptr;
  Record first(hcreateTuple(&tuple));
  injectFault("HTuple", 1202, 1, "second");
  Record second(hcreateTuple(&tuple));

  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_STREQ(first->message, "first");
  EXPECT_STREQ(second->message, "second");
  second.reset();
  EXPECT_STREQ(first->message, "first");
  hclearErrorMsg(nullptr);  // null is released as nothing
}

struct Expected {
  std::vector<std::string> lines;
  int32_t errorCode;
  int32_t line;
  const char* lineName;  // empty for a line that does not parse
  const char* says;      // in the message
};

TEST(LanguageRecords, KindTwoRecordsNameTheLine) {
  const Expected rows[] = {
      {{"R := 1", "read_shape_model ('part.shm', ModelID)"},
       21035,
       2,
       "read_shape_model",
       "read_shape_model"},
      {{"R := 1", "throw ([30002, 'part missing'])"}, 30002, 2, "throw", "part missing"},
      {{"R := 1", "try", "  R := D.key", "catch (E)", "endtry"},
       21018,
       3,
       "",
       "needs HDevelop 12.0 or later"},
      {{"T := gen_tuple_const(100, 0)", "T[100000000] := 1"}, 21028, 2, "assign", "elements"},
  };
  for (const Expected& row : rows) {
    Snippet snippet(row.lines);
    const Record record = snippet.run();
    ASSERT_TRUE(record) << row.lines.back();
    EXPECT_EQ(record->kind, ErrorKindEngine) << describe(record.get());
    EXPECT_EQ(record->errorCode, row.errorCode) << describe(record.get());
    EXPECT_EQ(record->progLineNum, row.line) << describe(record.get());
    EXPECT_STREQ(record->progLineName, row.lineName) << describe(record.get());
    EXPECT_NE(std::string(record->message).find(row.says), std::string::npos)
        << describe(record.get());
  }
}

// Image files that made the header-only decoder write out of bounds or pass memcpy a null
// pointer: read_image fails with a record, under either decoder a build can choose.
TEST(LanguageRecords, HostileImageFilesGiveARecord) {
  const std::string folder =
      std::filesystem::path(makeTempFolder("quorvex_hostile_")).generic_string();
  Snippet::ran({"gen_image_const (Image, 'byte', 8, 8)",
                "write_image (Image, 'jpeg', 0, '" + folder + "/plain.jpg')"});
  std::ifstream plain(folder + "/plain.jpg", std::ios::binary);
  const std::string jpeg{std::istreambuf_iterator<char>(plain), {}};
  const std::pair<std::string, std::string> files[] = {
      {"long_huffman.jpg", jpegWithLongHuffmanTable(jpeg)},
      {"only_empty_idat.png", pngFile(2, 1, 0, {}, true)},
  };
  for (const char* decoders : {"stb", "system"}) {
    for (const auto& [name, contents] : files) {
      std::ofstream(folder + "/" + name, std::ios::binary) << contents;
      Snippet snippet({"set_system ('standin_image_decoders', '" + std::string(decoders) + "')",
                       "read_image (Image, '" + folder + "/" + name + "')"});
      const Record record = snippet.run();
      ASSERT_TRUE(record) << name << " with " << decoders;
      EXPECT_EQ(record->kind, ErrorKindEngine) << describe(record.get());
      EXPECT_EQ(record->errorCode, 5202) << describe(record.get());
      EXPECT_EQ(record->progLineNum, 2) << describe(record.get());
      EXPECT_STREQ(record->progLineName, "read_image") << describe(record.get());
      EXPECT_STREQ(record->errorText, "Unsupported or corrupt image file")
          << describe(record.get());
    }
  }
}

}  // namespace
}  // namespace quorvex::test
