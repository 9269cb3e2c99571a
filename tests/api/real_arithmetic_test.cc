// Reals computed by a procedure come out bit for bit the same on every target: sums,
// differences, products and quotients whose exact value lies just beside a halfway point
// between two doubles (where rounding first to a wider format and then to double goes the
// other way), square roots, powers, exponentials, logarithms, remainders, integers near 2^53
// and reals through their text. The expected bits are IEEE 754 double results.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "quorvex.h"
#include "support/handle_owners.h"
#include "support/record_assertions.h"
#include "support/snippet.h"

namespace quorvex::test {
namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::string hex(std::uint64_t bits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(bits));
  return text;
}

class RealArithmetic : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EXPECT_OK(hinit(0)); }
};

// Each row: an expression, and the bits of the double it gives.
TEST_F(RealArithmetic, ResultsNearRoundingBoundariesAgreeBitForBit) {
  const std::pair<const char*, std::uint64_t> rows[] = {
      // 1 + 2^-53 (1 + 2^-52): just above the halfway point, so up; via 64 bits, a tie, even.
      {"1.0 + 1.1102230246251568e-16", 0x3FF0000000000001},
      {"1.000000000072849 + 1.110096172650078e-16", 0x3FF0000000050193},
      // 1 - 2^-54 (1 + 2^-52): just below the halfway point under 1, so down.
      {"1.0 - 5.551115123125784e-17", 0x3FEFFFFFFFFFFFFF},
      {"1.000000000045922 - 1.1104416419009496e-16", 0x3FF00000000327DD},
      {"1.4107599022345747 * 1.6697178378597701", 0x4002D835983B87FB},
      {"94906267.0 * 94906267.0", 0x4340000007C84BEC},
      {"1.6811180932967116 / 1.0545581580123435", 0x3FF9819DAB41A5FD},
      {"sqrt(1.0000000002035552)", 0x3FF000000006FE7D},
      {"0.1 + 0.2", 0x3FD3333333333334},
      {"pow(2.0, -1074)", 0x0000000000000001},
      {"pow(10.0, 22)", 0x4480F0CF064DD592},
      {"pow(2.0, 0.5)", 0x3FF6A09E667F3BCD},
      {"exp(1.0)", 0x4005BF0A8B145769},
      {"exp(-745.0)", 0x0000000000000001},
      {"log(10.0)", 0x40026BB1BBB55516},
      {"log(2.0)", 0x3FE62E42FEFA39EF},
      {"fmod(5.5, 1.25)", 0x3FE0000000000000},
      {"fmod(1.0e17, 3.0)", 0x3FF0000000000000},
      {"fmod(-7.5, 2.0)", 0xBFF8000000000000},
      // 2^53 + 1 and 2^53 + 3 are ties: to the even neighbour, 2^53 and 2^53 + 4.
      {"9007199254740993.0", 0x4340000000000000},
      {"9007199254740995.0", 0x4340000000000002},
      {"9007199254740992.0 + 1", 0x4340000000000000},
      {"9007199254740992.0 + 3", 0x4340000000000002},
      {"number('0.1')", 0x3FB999999999999A},
      {"number('' + (0.1 + 0.2))", 0x3FD3333333333334},
      {"number('' + 4.9406564584124654e-324)", 0x0000000000000001},
      {"number('' + 1.7976931348623157e308)", 0x7FEFFFFFFFFFFFFF},
      {"number('2.2250738585072014e-308')", 0x0010000000000000},
      {"number('' + 2.0 / 3.0)", 0x3FE5555555555555}};
  for (const auto& [expression, expected] : rows) {
    const Snippet snippet = Snippet::ran({std::string("R := ") + expression}, {"R"});
    const Tuple value = snippet.value("R");
    ASSERT_EQ(hgetTupleElemType(value.get(), 0), TupleElemDouble) << expression;
    EXPECT_EQ(hex(bitsOf(hgetTupleElemDouble(value.get(), 0))), hex(expected)) << expression;
  }
}

}  // namespace
}  // namespace quorvex::test
