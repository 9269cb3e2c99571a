// Batch rows as worker processes pass them to the runner, and as CSV writes them.
#include <gtest/gtest.h>

#include <sstream>

#include "rows.h"

namespace quorvex::run {
namespace {

TEST(BatchRows, EveryTextSurvivesTheWorkersLineFormat) {
  Record record;
  record.kind = 2;
  record.message = "tab\there, line\nend, back\\slash \\t, quote \" and 'x'";
  record.errorText = std::string("\r");
  for (const Row& row : {successRow("a b\\c.png", 0.5, {{1, 2.5, std::string("x\ty")}, {}}),
                         failureRow("d\n.png", 0.25, 2, record)}) {
    const std::string line = encodeRow(41, row);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    std::size_t index = 0;
    Row back;
    ASSERT_TRUE(decodeRow(line, index, back)) << line;
    EXPECT_EQ(index, 41u);
    EXPECT_EQ(back.ok, row.ok);
    ASSERT_EQ(back.cells.size(), row.cells.size());
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      EXPECT_EQ(back.cells[i].json, row.cells[i].json) << i;
      EXPECT_EQ(back.cells[i].text, row.cells[i].text) << i;
    }
  }
  std::size_t index = 0;
  Row row;
  for (const char* line : {"", "pid 12", "row\tx\tok", "row\t1\tok\tlonely"}) {
    EXPECT_FALSE(decodeRow(line, index, row)) << line;
  }
}

TEST(BatchRows, CsvQuotesOnlyWhatNeedsIt) {
  std::ostringstream out;
  RowWriter writer(out, true, columnNames({"Out"}));
  Record record;
  record.message = "say \"no\", twice";
  writer.write(successRow("p.png", 0.0, {{1, 2}}));
  writer.write(failureRow("q.png", 0.0, 1, record));
  EXPECT_EQ(out.str(),
            "file,status,seconds,Out,kind,procName,progLineName,errorCode,progLineNum,message,"
            "errorText\n"
            "p.png,ok,0.0000,\"[1, 2]\",,,,,,,\n"
            "q.png,error,0.0000,,-1,,,-1,-1,\"say \"\"no\"\", twice\",\n");
}

// A spreadsheet runs a cell starting with =, +, - or @ as a formula (CWE-1236); numbers as
// the runner writes them are left alone, they are no formulas.
TEST(BatchRows, CsvCellsASpreadsheetWouldRunAreText) {
  const struct {
    const char* text;
    const char* cell;
  } rows[] = {
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+1+2", "\"'+1+2\""},
      {"-1+2", "\"'-1+2\""},
      {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"\t=1", "\"'\t=1\""},
      {"\r=1", "\"'\r=1\""},
      {"+5", "\"'+5\""},
      {"-", "\"'-\""},
      {"-5", "-5"},
      {"-2.5", "-2.5"},
      {"-1e-05", "-1e-05"},
      {"a=b", "a=b"},
      {" =1", " =1"},
      {"", ""},
  };
  for (const auto& row : rows) {
    std::ostringstream out;
    RowWriter writer(out, true, {"file"});
    Row written;
    written.cells = {{"", row.text}};
    writer.write(written);
    EXPECT_EQ(out.str(), std::string("file\n") + row.cell + "\n") << row.text;
  }
}

// JSON text is UTF-8 (RFC 8259 section 8.1); a byte outside a well-formed sequence (RFC 3629
// section 4: no overlong forms, no surrogates, nothing past U+10FFFF) is one U+FFFD each.
TEST(BatchRows, JsonIsUtf8WhateverTheBytes) {
  const struct {
    const char* bytes;
    const char* json;
  } rows[] = {
      {"caf\xc3\xa9", "\"caf\xc3\xa9\""},                        // U+00E9
      {"\xe2\x82\xac", "\"\xe2\x82\xac\""},                      // U+20AC
      {"\xf0\x9f\x98\x80", "\"\xf0\x9f\x98\x80\""},              // U+1F600
      {"\xf4\x8f\xbf\xbf", "\"\xf4\x8f\xbf\xbf\""},              // U+10FFFF
      {"caf\xe9", "\"caf\\ufffd\""},                             // Latin-1
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""},                        // overlong '/'
      {"\xe0\x80\xaf", "\"\\ufffd\\ufffd\\ufffd\""},             // overlong '/'
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},             // U+D800, a surrogate
      {"\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // past U+10FFFF
      {"\xe2\x82", "\"\\ufffd\\ufffd\""},                        // cut short
      {"\x80"
       "a",
       "\"\\ufffda\""},  // a lone continuation
      {"\xff", "\"\\ufffd\""},
  };
  for (const auto& row : rows) EXPECT_EQ(jsonString(row.bytes), row.json) << row.bytes;
}

}  // namespace
}  // namespace quorvex::run
