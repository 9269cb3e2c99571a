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

}  // namespace
}  // namespace quorvex::run
