// Control inputs of a fixed count of numbers (matrices, quaternions) and their way back into a
// tuple of reals.
#ifndef QUORVEX_STANDINS_HALCON_NUMBER_ARRAYS_H
#define QUORVEX_STANDINS_HALCON_NUMBER_ARRAYS_H

#include <array>
#include <cstddef>

#include "core/params.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// Exactly N numbers, or the parameter's error: 1400+n for another count, 1200+n for a string.
template <std::size_t N>
std::array<double, N> numbersOf(const HTuple& value, const char* op, int n) {
  requireLength(value, static_cast<Hlong>(N), op, n);
  std::array<double, N> numbers{};
  for (std::size_t i = 0; i < N; ++i) numbers[i] = numberAt(value, static_cast<Hlong>(i), op, n);
  return numbers;
}

template <std::size_t N>
HTuple tupleOfNumbers(const std::array<double, N>& numbers) {
  HTuple tuple;
  for (double v : numbers) tuple.Append(HTuple(v));
  return tuple;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
