// The region moments of the HALCON 11.0 reference (moments_region_2nd, _2nd_invar,
// _2nd_rel_invar, _3rd, _3rd_invar, _central, _central_invar), their region_features /
// select_shape names and num_sides. Where a formula of the 11.0 page is only an image, the
// same operator's page of a neighbouring release with the formula as text is named.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// The 26 moment features in the operators' output order.
const char* const kMomentNames[] = {
    "moments_m11",       "moments_m20",       "moments_m02",       "moments_ia",
    "moments_ib",        "moments_m11_invar", "moments_m20_invar", "moments_m02_invar",
    "moments_phi1",      "moments_phi2",      "moments_m21",       "moments_m12",
    "moments_m03",       "moments_m30",       "moments_m21_invar", "moments_m12_invar",
    "moments_m03_invar", "moments_m30_invar", "moments_i1",        "moments_i2",
    "moments_i3",        "moments_i4",        "moments_psi1",      "moments_psi2",
    "moments_psi3",      "moments_psi4"};

// Every output of the seven operators for one region, in the order of kMomentNames.
std::vector<double> operatorMoments(const HObject& region) {
  HTuple t[26];
  MomentsRegion2nd(region, &t[0], &t[1], &t[2], &t[3], &t[4]);
  MomentsRegion2ndInvar(region, &t[5], &t[6], &t[7]);
  MomentsRegion2ndRelInvar(region, &t[8], &t[9]);
  MomentsRegion3rd(region, &t[10], &t[11], &t[12], &t[13]);
  MomentsRegion3rdInvar(region, &t[14], &t[15], &t[16], &t[17]);
  MomentsRegionCentral(region, &t[18], &t[19], &t[20], &t[21]);
  MomentsRegionCentralInvar(region, &t[22], &t[23], &t[24], &t[25]);
  std::vector<double> values;
  for (const HTuple& value : t) values.push_back(value.Length() == 1 ? value[0].D() : -1e300);
  return values;
}

void expectClose(const std::vector<double>& actual, const std::vector<double>& expected,
                 const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i], expected[i], 1e-12 * (1 + std::fabs(expected[i])))
        << what << ": " << kMomentNames[i];
  }
}

HObject pixels(const std::vector<std::pair<Hlong, Hlong>>& points) {
  HTuple rows, cols;
  for (const auto& [row, col] : points) {
    rows.Append(HTuple(row));
    cols.Append(HTuple(col));
  }
  HObject region;
  GenRegionPoints(&region, rows, cols);
  return region;
}

// moments_region_2nd (10.0.2 page, the 11.0 one shows its formulas as images): with the
// centre (Z0, S0), Mij = SUM (Z0 - Z)^i (S0 - S)^j over the pixels, rows Z, columns S;
// h = (M20 + M02) / 2, Ia = h + sqrt(h^2 - M20 M02 + M11^2), Ib = h - sqrt(...).
// moments_region_2nd_invar (5.2 page): the same sums over F^2, F the area.
// moments_region_2nd_rel_invar (6.1 page): PHI1 = V20 + V02, PHI2 = (V20 + V02)^2 + V11^2,
// V the scaled moments of moments_region_2nd_invar.
// moments_region_3rd (6.1 page): Mpq = SUM (x - x0)^p (y - y0)^q, x the row.
// moments_region_3rd_invar (6.1 page): Mpq = MUpq / MU^3, MU the area.
// moments_region_central (11.0 page, as text): I1 .. I4 of the central moments MUpq.
// moments_region_central_invar (6.1 page): PSI1 = I1 / MU^4, PSI2 = I2 / MU^10,
// PSI3 = I3 / MU^7, PSI4 = I4 / MU^11.
TEST(RegionMoments, EachOperatorOnShapesWorkedByHand) {
  struct Row {
    const char* name;
    HObject region;
    std::vector<double> expected;
  };
  const double f4 = 24.0 * 24 * 24 * 24;
  const Row rows[] = {
      // 4 rows x 6 columns, F = 24: a line of n pixels has SUM (x - x0)^2 = n (n^2 - 1) / 12,
      // so M20 = 6 * 4 * 15 / 12 = 30 and M02 = 4 * 6 * 35 / 12 = 70; M11 and every odd
      // moment vanish by symmetry; Ia = 70, Ib = 30; I1 = 30 * 70, I2 = I3 = I4 = 0
      {"4 x 6 rectangle",
       rectangle(0, 0, 3, 5),
       {0, 30,         70,         70,          30,
        0, 30.0 / 576, 70.0 / 576, 100.0 / 576, (100.0 / 576) * (100.0 / 576),
        0, 0,          0,          0,           0,
        0, 0,          0,          2100,        0,
        0, 0,          2100 / f4,  0,           0,
        0}},
      // one pixel: every central moment is 0
      {"one pixel", rectangle(7, 9, 7, 9), std::vector<double>(26, 0.0)},
      // the L of (0, 0), (1, 0), (1, 1): centre (2/3, 1/3), offsets (-2/3, -1/3),
      // (1/3, -1/3), (1/3, 2/3). M20 = M02 = 6/9, M11 = (2 - 1 + 2)/9 = 1/3; h = 2/3, the root
      // sqrt(4/9 - 4/9 + 1/9) = 1/3: Ia = 1, Ib = 1/3. Over F^2 = 9: 1/27, 2/27, 2/27;
      // PHI1 = 4/27, PHI2 = 16/729 + 1/729. M21 = (-4 - 1 + 2)/27, M12 = (-2 + 1 + 4)/27,
      // M03 = (-1 - 1 + 8)/27, M30 = (-8 + 1 + 1)/27; over F^3 = 27. I1 = 4/9 - 1/9;
      // I2 = (1/27)^2 - 4 (1/27)^2; I3 = (-2 + 1 - 2)/81; I4 = 8/81 (the page's polynomial
      // in exact fractions); PSI = I / (3^4, 3^10, 3^7, 3^11)
      {"three-pixel L",
       pixels({{0, 0}, {1, 0}, {1, 1}}),
       {1.0 / 3,      2.0 / 3,       2.0 / 3,    1,          1.0 / 3,   1.0 / 27,
        2.0 / 27,     2.0 / 27,      4.0 / 27,   17.0 / 729, -1.0 / 9,  1.0 / 9,
        2.0 / 9,      -2.0 / 9,      -1.0 / 243, 1.0 / 243,  2.0 / 243, -2.0 / 243,
        1.0 / 3,      -1.0 / 243,    -1.0 / 27,  8.0 / 81,   1.0 / 243, -1.0 / 14348907,
        -1.0 / 59049, 8.0 / 14348907}},
  };
  for (const Row& row : rows) expectClose(operatorMoments(row.region), row.expected, row.name);
}

// elliptic_axis (11.0) takes its radii from the same second moments normalised by the area:
// Ra^2 = 2 (M20 + M02 + sqrt((M20 - M02)^2 + 4 M11^2)) / F = 4 Ia / F, likewise Rb and Ib.
// A disc of gen_circle about a pixel is symmetric in rows, columns and the diagonal: M11,
// the odd moments and I2 .. I4 vanish, M20 = M02. An ellipse turned counter-clockwise
// (rows point down) rises to the right: M11 < 0; unturned, it spreads along the columns.
TEST(RegionMoments, AgreeWithEllipticAxisOnDiscsAndEllipses) {
  struct Row {
    const char* name;
    HObject region;
    int m11Sign;  // -1, 0 or 1
  };
  HObject disc, flat, turned;
  GenCircle(&disc, 20, 20, 7.5);
  GenEllipse(&flat, 40, 40, 0.0, 12, 5);
  GenEllipse(&turned, 40, 40, 0.5, 12, 5);
  const Row rows[] = {{"disc", disc, 0}, {"flat ellipse", flat, 0}, {"turned", turned, -1}};
  for (const Row& row : rows) {
    const std::vector<double> m = operatorMoments(row.region);
    HTuple area, r, c, ra, rb, phi;
    AreaCenter(row.region, &area, &r, &c);
    EllipticAxis(row.region, &ra, &rb, &phi);
    const double f = area[0].D();
    EXPECT_NEAR(m[3], f * ra[0].D() * ra[0].D() / 4, 1e-9 * m[3]) << row.name;
    EXPECT_NEAR(m[4], f * rb[0].D() * rb[0].D() / 4, 1e-9 * m[3]) << row.name;
    if (row.m11Sign == 0) {
      EXPECT_NEAR(m[0], 0, 1e-9) << row.name;
    } else {
      EXPECT_GT(m[0] * row.m11Sign, 1e-6 * m[3]) << row.name;
    }
  }
  const std::vector<double> d = operatorMoments(disc);
  EXPECT_NEAR(d[1], d[2], 1e-9 * d[1]);
  for (const int odd : {10, 11, 12, 13, 19, 20, 21}) EXPECT_NEAR(d[odd], 0, 1e-6) << odd;
  const std::vector<double> e = operatorMoments(flat);
  EXPECT_GT(e[2], e[1]);
}

// region_features and select_shape (11.0) name each moment by its operator's output; the
// values agree feature by feature. num_sides is roundness's Sides (11.0):
// 1.4111 (Distance / Sigma)^0.4724. A 3 x 3 square's border pixels lie 1 (four) and
// sqrt(2) (four) from its centre: Distance = (1 + sqrt 2) / 2, Sigma = (sqrt 2 - 1) / 2,
// Sides = 1.4111 (3 + 2 sqrt 2)^0.4724 = 3.24492198...; one pixel has Sigma 0: no sides.
// Roundness = 1 - (sqrt 2 - 1) / (sqrt 2 + 1) = 2 sqrt 2 - 2.
TEST(RegionMoments, FeatureNamesAgreeWithTheOperators) {
  HTuple names;
  for (const char* name : kMomentNames) names.Append(HTuple(name));
  const HObject shapes[] = {pixels({{0, 0}, {1, 0}, {1, 1}}), rectangle(2, 3, 9, 4)};
  for (const HObject& shape : shapes) {
    HTuple values;
    RegionFeatures(shape, names, &values);
    std::vector<double> byName;
    for (Hlong i = 0; i < values.Length(); ++i) byName.push_back(values[i].D());
    expectClose(byName, operatorMoments(shape), "region_features");
  }
  const double sides = 1.4111 * std::pow(3 + 2 * std::sqrt(2.0), 0.4724);
  HTuple value;
  RegionFeatures(rectangle(0, 0, 2, 2), "num_sides", &value);
  EXPECT_NEAR(value[0].D(), sides, 1e-12);
  RegionFeatures(rectangle(5, 5, 5, 5), "num_sides", &value);
  EXPECT_EQ(value[0].D(), 0.0);
  // roundness (11.0) gives Distance, Sigma, Roundness = 1 - Sigma / Distance and Sides
  HTuple distance, sigma, roundness, sidesOut;
  Roundness(rectangle(0, 0, 2, 2), &distance, &sigma, &roundness, &sidesOut);
  const double root2 = std::sqrt(2.0);
  const double expected[] = {(1 + root2) / 2, (root2 - 1) / 2, 2 * root2 - 2, sides};
  const HTuple* outputs[] = {&distance, &sigma, &roundness, &sidesOut};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR((*outputs[i])[0].D(), expected[i], 1e-12) << i;

  // the L (M11 = 1/3) against a rectangle (M11 = 0); the 3 x 3 square's 3.2449 sides against
  // the 4 x 5 rectangle's: its 14 border pixels lie 2.0327 from its centre on average,
  // deviating by 0.3439: 1.4111 (2.0327 / 0.3439)^0.4724 = 3.2664
  HObject both, all, selected;
  ConcatObj(pixels({{0, 0}, {1, 0}, {1, 1}}), rectangle(5, 5, 8, 9), &both);
  ConcatObj(both, rectangle(20, 20, 22, 22), &all);
  struct Selection {
    const char* feature;
    double min, max;
    std::vector<Hlong> areas;
  };
  const Selection selections[] = {{"moments_m11", 0.3, 0.4, {3}},
                                  {"moments_m21_invar", -1, -1e-9, {3}},
                                  {"num_sides", 3.24, 3.25, {9}}};
  for (const Selection& s : selections) {
    SelectShape(all, &selected, s.feature, "and", s.min, s.max);
    EXPECT_EQ(areas(selected), s.areas) << s.feature;
  }
}

// set_system (11.0) 'empty_region_result': 'true' measures an empty region as 0, 'void'
// returns nothing, 'exception' raises 3040; the moment operators' pages refer to it.
TEST(RegionMoments, EmptyRegions) {
  HObject empty, both;
  GenEmptyRegion(&empty);
  ConcatObj(rectangle(0, 0, 3, 5), empty, &both);
  HTuple m11, m20, m02, ia, ib;
  SetSystem("empty_region_result", "true");
  MomentsRegion2nd(both, &m11, &m20, &m02, &ia, &ib);
  EXPECT_EQ(text(m20), "[30.0, 0.0]");
  EXPECT_EQ(operatorMoments(empty), std::vector<double>(26, 0.0));
  SetSystem("empty_region_result", "void");
  MomentsRegionCentral(both, &m11, &m20, &m02, &ia);
  EXPECT_EQ(m20.Length(), 0);
  SetSystem("empty_region_result", "exception");
  try {
    MomentsRegion3rd(empty, &m11, &m20, &m02, &ia);
    ADD_FAILURE() << "no error for an empty region";
  } catch (const HException& e) {
    EXPECT_EQ(e.ErrorCode(), 3040);
  }
  SetSystem("empty_region_result", "true");
}

}  // namespace
