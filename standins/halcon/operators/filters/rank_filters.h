// What the rank filters share: their Margin parameter, and the sides of rectangular masks.
#ifndef QUORVEX_STANDINS_HALCON_RANK_FILTERS_H
#define QUORVEX_STANDINS_HALCON_RANK_FILTERS_H

#include <cstdint>

#include "halconcpp/HTuple.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// 'mirrored', 'cyclic', 'continued' or a grey value 0 ... 255 (else 1300 + n).
Margin marginOf(const HTuple& value, const char* op, int n);

// The largest mask side the rectangle filters take: their pages bound them at 4095.
constexpr Hlong kLargestRankSide = 4095;

// A mask side given as an integer: odd sides from `least` up; an even one grows to the next odd
// side when `growEven`, else raises 1300 + n, as do sides out of range.
std::int32_t rankSide(const HTuple& value, const char* op, int n, Hlong least, bool growEven);

}  // namespace Standin
}  // namespace HalconCpp

#endif
