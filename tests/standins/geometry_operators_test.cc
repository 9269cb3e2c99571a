// Point and line geometry through program lines, against values worked by hand from the
// vendor's definitions (HALCON 11.0 reference, chapter "Tools / Geometry": distance_pp,
// distance_pl, distance_ps, projection_pl, angle_lx, angle_ll, intersection_lines). Angles
// count counter-clockwise on the screen, where rows grow downwards.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

constexpr double kPi = 3.14159265358979323846;

TEST(Geometry, DistancesAndProjections) {
  expectReals({
      // distance_pp: sqrt(3^2 + 4^2) = 5, element by element
      {{"distance_pp ([0, 1], [0, 1], [3, 1], [4, 3], R)"}, {5, 2}},
      {{"distance_pp ([], [], [], [], R)"}, {}},
      // distance_pl: (0, 4) lies |0 * 4 - 4 * 4| / sqrt(32) = 2 sqrt 2 from the diagonal
      {{"distance_pl (0, 4, 0, 0, 4, 4, R)"}, {2 * std::sqrt(2.0)}},
      // the line continues past its points: (8, 8) lies on it
      {{"distance_pl (8, 8, 0, 0, 4, 4, R)"}, {0}},
      // distance_ps: the segment ends at (4, 4): (8, 8) is sqrt 32 from it, 8 sqrt 2 from (0, 0)
      {{"distance_ps (8, 8, 0, 0, 4, 4, R, Max)"}, {std::sqrt(32.0)}},
      {{"distance_ps (8, 8, 0, 0, 4, 4, Min, R)"}, {8 * std::sqrt(2.0)}},
      // projection_pl: the foot of (0, 4) on the diagonal is (2, 2)
      {{"projection_pl (0, 4, 0, 0, 4, 4, R, C)"}, {2}},
      {{"projection_pl (0, 4, 0, 0, 4, 4, Rp, R)"}, {2}},
  });
}

TEST(Geometry, AnglesCountCounterClockwiseOnTheScreen) {
  expectReals({
      // angle_lx: to growing columns 0, upwards (smaller rows) pi/2, downwards -pi/2
      {{"angle_lx (10, 10, 10, 20, R)"}, {0}},
      {{"angle_lx (10, 10, 0, 10, R)"}, {kPi / 2}},
      {{"angle_lx (10, 10, 20, 10, R)"}, {-kPi / 2}},
      {{"angle_lx (10, 10, 0, 0, R)"}, {3 * kPi / 4}},
      // angle_ll: from A (0) to B (pi/2), and from 3pi/4 to -3pi/4 the short way, +pi/2
      {{"angle_ll (0, 0, 0, 10, 0, 0, -10, 0, R)"}, {kPi / 2}},
      {{"angle_ll (10, 10, 0, 0, 10, 10, 20, 0, R)"}, {kPi / 2}},
      {{"angle_ll (0, 0, -10, 0, 0, 0, 0, 10, R)"}, {-kPi / 2}},
  });
}

TEST(Geometry, IntersectionOfLines) {
  expectReals({
      // the diagonals of the square (0, 0) ... (10, 10) cross at (5, 5)
      {{"intersection_lines (0, 0, 10, 10, 0, 10, 10, 0, R, C, O)"}, {5}},
      {{"intersection_lines (0, 0, 10, 10, 0, 10, 10, 0, Rr, R, O)"}, {5}},
      {{"intersection_lines (0, 0, 10, 10, 0, 10, 10, 0, Rr, C, R)"}, {0}},
      // lines beyond their points: (0, 0)-(1, 2) and (0, 10)-(1, 9) meet at row 10/3
      {{"intersection_lines (0, 0, 1, 2, 0, 10, 1, 9, R, C, O)"}, {10.0 / 3}},
      // parallel lines meet nowhere; one line given twice overlaps itself
      {{"intersection_lines (0, 0, 0, 10, 5, 0, 5, 10, R, C, O)"}, {}},
      {{"intersection_lines (0, 0, 0, 10, 5, 0, 5, 10, Rr, C, R)"}, {0}},
      {{"intersection_lines (0, 0, 0, 10, 0, 20, 0, 30, Rr, C, R)"}, {1}},
  });
  expectErrorCases({{{"distance_pp ([0, 1], [0, 1], [3], [4, 3], R)"}, 1403},
                    {{"intersection_lines ([], 0, 1, 1, 0, 1, 1, 0, R, C, O)"}, 1401}});
}

}  // namespace
