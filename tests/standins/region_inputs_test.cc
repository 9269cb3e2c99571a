// Which iconic kinds a region parameter takes: a region, or an image, whose domain it then
// is (HALCON 11.0: every iconic object has a region, an image's being its domain; area_center
// and the region operators measure and change that region alike). A contour is neither.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// An 8 x 6 image (48 pixels, rows 0..5, columns 0..7) and a region of the same pixels: every
// operator gives the same answer for both.
const std::string kImage = "gen_image_const (In, 'byte', 8, 6)";
const std::string kRegion = "gen_rectangle1 (In, 0, 0, 5, 7)";

struct Use {
  const char* name;
  Lines lines;  // reading In, writing R
  const char* expected;
};

TEST(RegionInputs, AnImageIsItsDomain) {
  const std::vector<Use> uses = {
      {"area_center", {"area_center (In, A, Row, Col)", "R := [A, Row, Col]"}, "[48, 2.5, 3.5]"},
      // one pixel more on every side: 10 x 8
      {"dilation_circle",
       {"dilation_circle (In, Out, 1.5)", "area_center (Out, A, Row, Col)", "R := A"},
       "80"},
      {"erosion1",
       {"gen_rectangle1 (S, 0, 0, 2, 2)", "erosion1 (In, S, Out, 1)",
        "area_center (Out, A, Row, Col)", "R := A"},
       "24"},
      {"connection", {"connection (In, Parts)", "count_obj (Parts, N)", "R := N"}, "1"},
      {"intersection",
       {"gen_rectangle1 (Box, 4, 4, 20, 20)", "intersection (Box, In, Out)",
        "area_center (Out, A, Row, Col)", "R := A"},
       "8"},
      {"select_shape",
       {"select_shape (In, Out, 'area', 'and', 40, 50)", "count_obj (Out, N)", "R := N"},
       "1"},
      {"boundary",
       {"boundary (In, Out, 'inner')", "area_center (Out, A, Row, Col)", "R := A"},
       "24"},
      {"reduce_domain's region",
       {"gen_image_const (Big, 'byte', 20, 20)", "reduce_domain (Big, In, Reduced)",
        "area_center (Reduced, A, Row, Col)", "R := A"},
       "48"},
      {"partition_rectangle",
       {"partition_rectangle (In, Parts, 4, 6)", "count_obj (Parts, N)", "R := N"},
       "2"},
  };
  for (const Use& use : uses) {
    for (const std::string& make : {kImage, kRegion}) {
      expectText(with({make}, use.lines), use.expected, std::string(use.name) + " of " + make);
    }
  }
}

// The rule is one for every region input, the second and third too.
TEST(RegionInputs, AContourIsNoRegion) {
  const std::string contour = "gen_contour_polygon_xld (C, [0, 5], [0, 5])";
  const std::string box = "gen_rectangle1 (B, 0, 0, 3, 3)";
  expectErrorCases({{{"dilation_circle (C, Out, 1.5)"}, 1101},
                    {{"area_center (C, A, Row, Col)"}, 1101},
                    {{box, "difference (B, C, Out)"}, 1102},
                    {{box, "hit_or_miss (B, B, C, Out, 0, 0)"}, 1103}},
                   {contour});
}

}  // namespace
