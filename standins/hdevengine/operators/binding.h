// An operator row made from the vendor function itself: bind<&HalconCpp::GenEllipse>(
// "gen_ellipse") reads the counts of iconic and control inputs and outputs off the function's
// parameters (const HObject&, HObject*, const HTuple&, HTuple*) and calls it with the line's
// arguments, each group in its order. An operator is then declared once, by its C++
// signature; only an operator whose line does more than forward keeps an adapter of its own.
#ifndef QUORVEX_STANDINS_HDEVENGINE_OPERATOR_BINDING_H
#define QUORVEX_STANDINS_HDEVENGINE_OPERATOR_BINDING_H

#include <cstddef>
#include <type_traits>
#include <utility>

#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace binding {

enum Group { kIconicIn, kIconicOut, kCtrlIn, kCtrlOut };

template <typename Parameter>
struct GroupOf {
  static_assert(!std::is_same_v<Parameter, Parameter>,
                "an operator's parameters are const HObject&, HObject*, const HTuple& or HTuple*");
};
template <>
struct GroupOf<const HalconCpp::HObject&> : std::integral_constant<Group, kIconicIn> {};
template <>
struct GroupOf<HalconCpp::HObject*> : std::integral_constant<Group, kIconicOut> {};
template <>
struct GroupOf<const HalconCpp::HTuple&> : std::integral_constant<Group, kCtrlIn> {};
template <>
struct GroupOf<HalconCpp::HTuple*> : std::integral_constant<Group, kCtrlOut> {};

template <typename... Parameters>
struct Signature {
  // One entry past the parameters, so that an operator without any still has an array.
  static constexpr Group groups[sizeof...(Parameters) + 1] = {GroupOf<Parameters>::value...,
                                                              kIconicIn};
  static constexpr int count(Group group) {
    int n = 0;
    for (std::size_t i = 0; i < sizeof...(Parameters); ++i) n += groups[i] == group;
    return n;
  }
  // The place of parameter `index` within its group.
  static constexpr std::size_t placeOf(std::size_t index) {
    std::size_t place = 0;
    for (std::size_t i = 0; i < index; ++i) place += groups[i] == groups[index];
    return place;
  }
};

template <Group kGroup, std::size_t kPlace>
decltype(auto) argument(const OperatorArgs& args) {
  if constexpr (kGroup == kIconicIn) {
    return *args.iconicIn[kPlace];
  } else if constexpr (kGroup == kIconicOut) {
    return args.iconicOut[kPlace];
  } else if constexpr (kGroup == kCtrlIn) {
    return *args.ctrlIn[kPlace];
  } else {
    return args.ctrlOut[kPlace];
  }
}

template <auto kFunction>
struct Binder;

template <typename... Parameters, void (*kFunction)(Parameters...)>
struct Binder<kFunction> {
  using Shape = Signature<Parameters...>;
  static void run(const OperatorArgs& args) {
    runWith(args, std::index_sequence_for<Parameters...>{});
  }
  template <std::size_t... kIndex>
  static void runWith(const OperatorArgs& args, std::index_sequence<kIndex...>) {
    kFunction(argument<Shape::groups[kIndex], Shape::placeOf(kIndex)>(args)...);
  }
};

// A member of the display implementation (HDevOperatorImplCpp::DevSetPart and the like),
// which answers with a status instead of raising.
template <typename Class, typename... Parameters, int (Class::*kMember)(Parameters...)>
struct Binder<kMember> {
  using Shape = Signature<Parameters...>;
  static int call(Class& object, const OperatorArgs& args) {
    return callWith(object, args, std::index_sequence_for<Parameters...>{});
  }
  template <std::size_t... kIndex>
  static int callWith(Class& object, const OperatorArgs& args, std::index_sequence<kIndex...>) {
    return (object.*kMember)(argument<Shape::groups[kIndex], Shape::placeOf(kIndex)>(args)...);
  }
};

}  // namespace binding

template <auto kFunction>
constexpr OperatorSpec bind(const char* hdevelopName) {
  using Shape = typename binding::Binder<kFunction>::Shape;
  return {hdevelopName,
          Shape::count(binding::kIconicIn),
          Shape::count(binding::kIconicOut),
          Shape::count(binding::kCtrlIn),
          Shape::count(binding::kCtrlOut),
          &binding::Binder<kFunction>::run};
}

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
