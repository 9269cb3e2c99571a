// Parameter helpers of the XLD family: tuples that give one value per generated contour, and
// the bound on the points one operator makes.
#ifndef QUORVEX_STANDINS_HALCON_XLD_PARAMS_H
#define QUORVEX_STANDINS_HALCON_XLD_PARAMS_H

#include <string>
#include <vector>

#include "core/params.h"

namespace HalconCpp {
namespace Standin {

// More points than this in one result raise 6001, as an allocation past memory would: a
// radius of 1e9 drawn at a resolution of 1 must not take the machine's memory.
constexpr std::size_t kMaxContourPoints = std::size_t{1} << 22;

// The number of shapes several tuples describe: every tuple has that many values or one
// (shared by all); another length raises 1400+n for the first tuple that differs.
Hlong shapeCount(const std::vector<const HTuple*>& tuples, const char* op);
// Value i of tuple n (1-based position), the only one when it has one.
double numberOf(const HTuple& value, Hlong i, const char* op, int n);
std::string stringOf(const HTuple& value, Hlong i, const char* op, int n);

}  // namespace Standin
}  // namespace HalconCpp

#endif
