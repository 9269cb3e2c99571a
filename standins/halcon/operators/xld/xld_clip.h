// Set operations on the regions closed polylines enclose (the XLD Sets chapter): each input is
// a set of boundaries whose region follows the even-odd rule, the result the boundaries of
// the combined region, each marked as enclosing the region or a hole in it.
#ifndef QUORVEX_STANDINS_HALCON_XLD_CLIP_H
#define QUORVEX_STANDINS_HALCON_XLD_CLIP_H

#include <vector>

namespace HalconCpp {
namespace Standin {

enum class SetOperation { kIntersection, kUnion, kDifference, kSymmetricDifference };

// One input boundary: a polyline, closed by joining its last point to its first.
struct Ring {
  const std::vector<double>* rows;
  const std::vector<double>* cols;
};

// One result boundary: closed (its last point repeats its first), counter-clockwise on the
// screen, starting at its top-most, then left-most point.
struct Boundary {
  std::vector<double> rows;
  std::vector<double> cols;
  bool hole = false;
};

// The boundaries of the region `a` op `b`, ordered by their first points (row, then column).
// Raises 6001 for op when the inputs need more work or memory than the stand-in allows.
std::vector<Boundary> combineRegions(const std::vector<Ring>& a, const std::vector<Ring>& b,
                                     SetOperation operation, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
