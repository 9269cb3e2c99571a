// Bounds on one run of a program or procedure, kept apart from the interpreter so that they
// stay the same whatever form its loop takes.
#ifndef HDEVENGINE_STANDIN_RUN_LIMITS_H
#define HDEVENGINE_STANDIN_RUN_LIMITS_H

#include <string>

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

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
