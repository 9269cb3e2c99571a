// The values a window's settings take, kept once: each setter checks its value against its
// list and each query answers with the same list.
#ifndef QUORVEX_STANDINS_HALCON_WINDOW_LISTS_H
#define QUORVEX_STANDINS_HALCON_WINDOW_LISTS_H

#include <algorithm>
#include <iterator>
#include <string>

#include "core/params.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

inline constexpr const char* kDrawModes[] = {"fill", "margin"};
inline constexpr const char* kShapes[] = {"original",   "outer_circle", "inner_circle",
                                          "rectangle1", "rectangle2",   "ellipse",
                                          "convex",     "icon"};
inline constexpr const char* kPaintModes[] = {
    "default",      "histogram",           "row",
    "column",       "contourline",         "3d_plot",
    "3D-plot",      "3D-plot_hidden",      "3D-plot_point",
    "vector_field", "component_histogram", "line_histogram"};
inline constexpr const char* kInsertModes[] = {"copy", "xor", "complement"};
inline constexpr const char* kCompriseModes[] = {"object", "image"};
inline constexpr const char* kFixModes[] = {"true", "false"};
inline constexpr Hlong kColoredCounts[] = {3, 6, 12};
inline constexpr Hlong kPartStyles[] = {0, 1, 2};

// The line widths the stand-in draws.
inline constexpr Hlong kMinLineWidth = 1;
inline constexpr Hlong kMaxLineWidth = 2000;
// set_line_style takes up to five pairs of lengths.
inline constexpr std::size_t kMaxLineStyleValues = 10;

template <typename T, std::size_t N>
bool isOneOf(const T& value, const T (&list)[N]) {
  return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

template <std::size_t N>
bool isOneOf(const std::string& value, const char* const (&list)[N]) {
  return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

// The list as a tuple, in its order.
template <typename T, std::size_t N>
HTuple listTuple(const T (&list)[N]) {
  HTuple tuple;
  for (const T& value : list) tuple.Append(HTuple(value));
  return tuple;
}

// One string among `names` as control parameter n, else 140n, 120n or 130n.
template <std::size_t N>
std::string choiceOf(const HTuple& value, const char* const (&names)[N], const char* op,
                     int n = 2) {
  const std::string text = oneString(value, op, n);
  if (!isOneOf(text, names)) fail(op, 1300 + n);
  return text;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
