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

// The most elements and text bytes one value may hold. A tuple that doubles itself in a
// loop reaches them within a few dozen lines and fails there, long before memory runs out.
constexpr Hlong kMaxValueElements = Hlong{1} << 18;
constexpr std::size_t kMaxValueTextBytes = std::size_t{1} << 22;

// Returns `value` when it is within the bounds above; raises otherwise.
inline const HTuple& bounded(const HTuple& value) {
  if (value.Length() > kMaxValueElements) {
    throw RunError{kErrValueSize, std::to_string(value.Length()) + " elements, more than " +
                                      std::to_string(kMaxValueElements)};
  }
  std::size_t text = 0;
  for (const auto& element : value.Elements()) {
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
