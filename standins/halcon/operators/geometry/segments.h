// Distances between points, lines and segments in image coordinates, shared by the geometry
// operators and the region distances, which measure pixel runs as segments.
#ifndef QUORVEX_STANDINS_HALCON_GEOMETRY_SEGMENTS_H
#define QUORVEX_STANDINS_HALCON_GEOMETRY_SEGMENTS_H

#include <algorithm>
#include <cmath>

namespace HalconCpp {
namespace Standin {

struct Segment {
  double r1, c1, r2, c2;
};

// The signed distance of the point from the line through the segment, times its length: its
// sign tells the side. A segment of one point has every point at 0.
inline double crossOf(const Segment& s, double r, double c) {
  return (s.r2 - s.r1) * (c - s.c1) - (s.c2 - s.c1) * (r - s.r1);
}

inline double lineDistance(const Segment& line, double r, double c) {
  const double length = std::hypot(line.r2 - line.r1, line.c2 - line.c1);
  return length > 0 ? std::fabs(crossOf(line, r, c)) / length
                    : std::hypot(r - line.r1, c - line.c1);
}

inline double segmentDistance(const Segment& s, double r, double c) {
  const double dr = s.r2 - s.r1, dc = s.c2 - s.c1, length2 = dr * dr + dc * dc;
  double t = length2 > 0 ? ((r - s.r1) * dr + (c - s.c1) * dc) / length2 : 0;
  t = std::min(1.0, std::max(0.0, t));
  return std::hypot(r - (s.r1 + t * dr), c - (s.c1 + t * dc));
}

// Whether the segments share a point, touching ends and collinear overlaps included.
inline bool segmentsMeet(const Segment& a, const Segment& b) {
  const double d1 = crossOf(a, b.r1, b.c1), d2 = crossOf(a, b.r2, b.c2);
  const double d3 = crossOf(b, a.r1, a.c1), d4 = crossOf(b, a.r2, a.c2);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  return segmentDistance(a, b.r1, b.c1) == 0 || segmentDistance(a, b.r2, b.c2) == 0 ||
         segmentDistance(b, a.r1, a.c1) == 0 || segmentDistance(b, a.r2, a.c2) == 0;
}

// Apart, the nearest points of two segments include an end of one of them.
inline double segmentsDistance(const Segment& a, const Segment& b) {
  if (segmentsMeet(a, b)) return 0;
  return std::min(std::min(segmentDistance(a, b.r1, b.c1), segmentDistance(a, b.r2, b.c2)),
                  std::min(segmentDistance(b, a.r1, a.c1), segmentDistance(b, a.r2, a.c2)));
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
