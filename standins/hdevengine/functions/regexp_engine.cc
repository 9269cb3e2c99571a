#include "functions/regexp_engine.h"

#include "runtime/engine_errors.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Units below a whole step, carried to the next string so that many cheap matches cost
// what they do together.
thread_local std::uint64_t pendingUnits = 0;
thread_local StepBudget* adoptedBudget = nullptr;

}  // namespace

MatchBudgetScope::MatchBudgetScope(StepBudget* budget) : outer_(adoptedBudget) {
  adoptedBudget = budget;
}

MatchBudgetScope::~MatchBudgetScope() {
  adoptedBudget = outer_;
}

StepBudget* matchBudget() {
  return adoptedBudget ? adoptedBudget : StepBudget::current();
}

std::uint64_t matchUnitsAllowed() {
  const StepBudget* budget = matchBudget();
  if (!budget) return kMatchLimit;
  const auto left = static_cast<std::uint64_t>(budget->left());
  if (left >= kMatchLimit / kMatchUnitsPerStep) return kMatchLimit;
  return left * kMatchUnitsPerStep;
}

void chargeMatchUnits(std::uint64_t units) {
  pendingUnits += units;
  const std::uint64_t steps = pendingUnits / kMatchUnitsPerStep;
  pendingUnits %= kMatchUnitsPerStep;
  if (steps == 0) return;
  if (StepBudget* budget = matchBudget()) budget->spend(static_cast<Hlong>(steps));
}

void matchLimitReached(const char* op, std::uint64_t allowed) {
  if (allowed < kMatchLimit) {
    // The run's budget, not the string's bound, ran out: its own record.
    if (StepBudget* budget = matchBudget()) budget->spend(budget->left() + 1);
  }
  throw RunError{kErrStepLimit,
                 std::string(op) + ": matching one string needed more than " +
                     std::to_string(kMatchLimit) +
                     " backtracking steps (a pattern that nests repetitions, such as "
                     "'(a+)+$', backtracks exponentially)"};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
