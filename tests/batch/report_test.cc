// The report's data as the page reads it: JSON that cannot end its <script> element, and a
// file's pictures passed from a worker process intact.
#include "report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::run {
namespace {

TEST(ReportData, NothingInsideTheScriptCanEndItOrOpenAComment) {
  const std::string json =
      "[\"</script><!-- & \xE2\x80\xA8 \xE2\x80\xA9 Gr\xC3\xB6\xC3\x9F"
      "e\"]";
  EXPECT_EQ(scriptSafe(json),
            "[\"\\u003c/script\\u003e\\u003c!-- \\u0026 \\u2028 \\u2029 Gr\xC3\xB6\xC3\x9F"
            "e\"]");
}

TEST(ReportData, PicturesWithTabsNewlinesAndBackslashesSurviveTheTrip) {
  const std::vector<std::string> pictures = {"a\tb/c_1.png", "d\\e\nf_2.png", "g h <&>.png"};
  std::size_t index = 0;
  std::vector<std::string> decoded;
  const std::string line = encodePictures(41, pictures);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  ASSERT_TRUE(decodePictures(line, index, decoded));
  EXPECT_EQ(index, 41u);
  EXPECT_EQ(decoded, pictures);
  ASSERT_TRUE(decodePictures(encodePictures(2, {}), index, decoded));
  EXPECT_TRUE(decoded.empty());
  EXPECT_FALSE(decodePictures("row\t2\tok", index, decoded));
  EXPECT_FALSE(decodePictures("pictures\tx", index, decoded));
}

}  // namespace
}  // namespace quorvex::run
