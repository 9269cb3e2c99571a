// Bounds on one run of a program or procedure, kept apart from the interpreter so that they
// stay the same whatever form its loop takes.
#ifndef HDEVENGINE_STANDIN_RUN_LIMITS_H
#define HDEVENGINE_STANDIN_RUN_LIMITS_H

#include <string>
#include <variant>

#include "engine_errors.h"
#include "engine_state.h"

namespace HDevEngineCpp {
namespace Standin {

// The lines one run may still execute ("step_limit"); every executed line spends one, so
// that an endless loop ends in an error instead of never.
class StepBudget {
 public:
  StepBudget() : limit_(EngineState::instance().stepLimit()), left_(limit_) {}

  void spend() {
    if (--left_ < 0) {
      throw RunError{kErrStepLimit, "the run executed more than " + std::to_string(limit_) +
                                        " lines (engine attribute step_limit)"};
    }
  }

 private:
  Hlong limit_;
  Hlong left_;
};

// The most text bytes one value may hold; its elements are bounded by the engine attribute
// "value_limit". A tuple or text that doubles itself in a loop reaches them within a few
// dozen lines and fails there, long before memory runs out.
constexpr std::size_t kMaxValueTextBytes = std::size_t{1} << 24;

// Raises when a value of `length` elements is more than "value_limit" allows. Cheap: appends
// in place check it on every line, before they change their target.
inline void checkValueLength(Hlong length) {
  const Hlong limit = EngineState::instance().valueLimit();
  if (length > limit) {
    throw RunError{kErrValueSize, std::to_string(length) + " elements, more than value_limit " +
                                      std::to_string(limit)};
  }
}

// Returns `value` when it is within both bounds; raises otherwise. Only tuples that hold
// strings have text to count.
inline const HTuple& bounded(const HTuple& value) {
  checkValueLength(value.Length());
  const HalconCpp::HTupleType type = value.Type();
  if (type != HalconCpp::eElementTypeString && type != HalconCpp::eElementTypeMixed) return value;
  std::size_t text = 0;
  for (Hlong i = 0; i < value.Length(); ++i) {
    const HTuple::Element element = value.At(i);
    if (const auto* s = std::get_if<std::string>(&element)) text += s->size();
  }
  if (text > kMaxValueTextBytes) {
    throw RunError{kErrValueSize, std::to_string(text) + " bytes of text, more than " +
                                      std::to_string(kMaxValueTextBytes)};
  }
  return value;
}

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
