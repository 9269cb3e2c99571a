// What a caller's record says when a program line meets what the stand-in engine refuses or
// does not carry: an operator it does not implement (at run time), a construct of a later
// release (at load time), an exception that no catch takes, a run's bound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/snippet.h"
#include "quorvex.h"

namespace quorvex::test {
namespace {

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

}  // namespace
}  // namespace quorvex::test
