// The accumulator of the Hough transform for lines, shared by hough_line_trans, hough_lines and
// their variants that weigh the edge direction: one column per angle step from -90 to 180
// degrees, one row per whole distance from the origin, and the local maxima found in it.
#ifndef QUORVEX_STANDINS_HALCON_HOUGH_SPACE_H
#define QUORVEX_STANDINS_HALCON_HOUGH_SPACE_H

#include <cstdint>
#include <vector>

#include "core/memory_bounds.h"
#include "core/runs.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// AngleResolution: only the reference's list 1, 2, 4, 8 (else 1300 + n).
std::int32_t angleResolutionOf(const HTuple& value, const char* op, int n);

struct HoughSpace {
  std::int32_t resolution = 1;  // angle steps a degree
  std::int32_t width = 0;       // 270 * resolution + 1 angles
  std::int32_t height = 0;      // distances 0 ... height - 1
  std::vector<double> cosines, sines;
  std::vector<std::uint32_t> votes;  // row-major: votes[distance * width + angle]
  PixelReservation reservation;      // the votes' bytes, taken from the pixel bound first

  double degrees(double column) const { return -90.0 + column / resolution; }
  // Row (distance) of pixel (row, col) under the angle of `column`: d = col cos + row sin,
  // rounded to the nearest whole distance; -1 when it falls outside the rows.
  std::int32_t distanceRow(std::int32_t column, std::int32_t row, std::int32_t col) const;
};

// An empty accumulator for the pixels of `runs`: as high as the distance of its bounding box's
// lower right corner from the origin. Raises 6001 when it would pass the pixel bound.
HoughSpace houghSpaceFor(const Runs& runs, std::int32_t resolution, const char* op);

// Every pixel votes for each angle `accepts(column)` takes.
template <typename Accepts>
void voteLines(HoughSpace& space, std::int32_t row, std::int32_t col, Accepts&& accepts) {
  for (std::int32_t a = 0; a < space.width; ++a) {
    if (!accepts(a)) continue;
    const std::int32_t d = space.distanceRow(a, row, col);
    if (d >= 0) ++space.votes[static_cast<std::size_t>(d) * std::size_t(space.width) + a];
  }
}

struct HoughMaximum {
  double value;
  double row, column;  // the plateau's centre
  double cells;        // its size
};

// The plateaus of `values` (width x height) whose every 8-neighbour is lower, each at its
// centre, with a value of at least `threshold`, strongest first and of equal ones the wider
// (a line rounds alike over more angles than a chance alignment does); one that lies closer than
// angleGap columns and distGap rows to a stronger one is left out.
std::vector<HoughMaximum> houghMaxima(const std::vector<double>& values, std::int32_t width,
                                      std::int32_t height, double threshold, std::int32_t angleGap,
                                      std::int32_t distGap);

}  // namespace Standin
}  // namespace HalconCpp

#endif
