// 2-D transformation operators through program lines, against matrices, points, regions and
// images worked out by hand from the vendor's definitions (HALCON 11.0 reference, chapter
// "Tools / 2D Transformations" and the affine_trans_* pages). HomMat2D tuples are the rows
// [a b c d e f] of the 3x3 matrix whose last row [0 0 1] is left out; x is the row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

struct Reals {
  const char* line;  // operator lines writing R
  std::vector<double> expected;
};

void expectReals(const std::vector<Reals>& rows) {
  for (const Reals& row : rows) {
    HTuple r;
    try {
      r = runLines({row.line});
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << row.line << ": " << e.Message();
      continue;
    }
    ASSERT_EQ(r.Length(), static_cast<Hlong>(row.expected.size())) << row.line << ": " << text(r);
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
      EXPECT_NEAR(r[static_cast<Hlong>(i)].D(), row.expected[i], 1e-9)
          << row.line << " [" << i << "]: " << text(r);
    }
  }
}

// Matrices built step by step: each step's matrix applied before (global) or after (_local)
// the given one.
TEST(HomMat2d, BuildingStepsComposeAsTheReferenceDefines) {
  expectReals({
      // hom_mat2d_identity, HALCON 11.0 reference: the 3x3 identity
      {"hom_mat2d_identity (R)", {1, 0, 0, 0, 1, 0}},
      // hom_mat2d_translate, HALCON 11.0 reference: [1 0 Tx; 0 1 Ty] * HomMat2D
      {"hom_mat2d_translate ([1, 2, 3, 4, 5, 6], 10, -20, R)", {1, 2, 13, 4, 5, -14}},
  });
}

}  // namespace
