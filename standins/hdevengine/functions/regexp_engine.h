// The engine that matches the regular expression functions' patterns: PCRE2 where the build
// has it, else libstdc++'s ECMAScript matcher (the 32-bit and Windows cross builds). Both
// backtrack, so both count their work: one string may cost at most kMatchLimit units (PCRE2's
// own default match limit), and every unit is charged to the run's step budget, so that a
// pattern that nests repetitions ('(a+)+$') ends in the step-limit error within a second
// instead of doubling its time with every character of the subject.
#ifndef QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_REGEXP_ENGINE_H
#define QUORVEX_STANDINS_HDEVENGINE_FUNCTIONS_REGEXP_ENGINE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace HDevEngineCpp {
namespace Standin {

class StepBudget;

constexpr std::uint64_t kMatchLimit = 10000000;
// Units of matching work (PCRE2's backtracking points, the fallback's character tests) that
// cost one step, as kElementsPerStep elements do.
constexpr std::uint64_t kMatchUnitsPerStep = 64;

struct RegexOptions {
  bool ignoreCase = false;
  bool multiline = false;
  bool dotMatchesAll = false;
  bool ignoreSpace = false;
  enum class Newline { kLf, kCr, kCrLf } newline = Newline::kLf;
};

class CompiledRegex {
 public:
  virtual ~CompiledRegex() = default;
  virtual std::size_t groups() const = 0;
  // Searches `subject` from byte `start` (earlier bytes are still seen by lookbehinds and
  // anchors); `notEmptyAt` refuses an empty match at `start`, and then only a match at `start`
  // counts, as a global replace retries after an empty match. On success `spans` holds begin
  // and end of the match and of every group, -1 for a group that took no part.
  virtual bool search(const char* op, const std::string& subject, std::size_t start,
                      bool notEmptyAt, std::vector<std::ptrdiff_t>* spans) const = 0;
  // Runs `work`, which matches subjects of at most `longest` bytes, where its matches have
  // the stack they need: libstdc++ recurses once a character, so a function's whole loop
  // runs on one thread with a stack sized for its longest subject (a thread a match would
  // be millions of threads for a replacement at every position of a long text).
  virtual void onStackFor(const char* op, std::size_t longest,
                          const std::function<void()>& work) const = 0;
};

// Null when `pattern` is no valid expression.
std::shared_ptr<const CompiledRegex> compileRegex(const std::string& pattern,
                                                  const RegexOptions& options);

// The name of the engine this build matches with: "pcre2" or "std".
const char* regexEngineName();

// How many units of work the next string may cost: kMatchLimit, or less when the run's
// budget has less left.
std::uint64_t matchUnitsAllowed();

// Makes `budget` (the caller's, taken on its thread) the one matches on this thread charge,
// for as long as it lives: a match on a thread of its own still spends the run's steps.
class MatchBudgetScope {
 public:
  explicit MatchBudgetScope(StepBudget* budget);
  ~MatchBudgetScope();
  MatchBudgetScope(const MatchBudgetScope&) = delete;
  MatchBudgetScope& operator=(const MatchBudgetScope&) = delete;

 private:
  StepBudget* outer_;
};

// The budget matches on this thread charge: the adopted one, else the run's own.
StepBudget* matchBudget();

// Charges `units` to the run's budget.
void chargeMatchUnits(std::uint64_t units);

// Raises the step-limit error for a string whose match needed more than `allowed` units:
// the budget's own when it was the budget that ran out.
[[noreturn]] void matchLimitReached(const char* op, std::uint64_t allowed);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
