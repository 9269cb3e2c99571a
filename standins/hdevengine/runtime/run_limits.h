// Bounds on one run of a program or procedure, kept apart from the interpreter so that they
// stay the same whatever form its loop takes. Every bound is checked before the memory or
// time it guards is taken, and ends the run with a record that names the line.
#ifndef HDEVENGINE_STANDIN_RUN_LIMITS_H
#define HDEVENGINE_STANDIN_RUN_LIMITS_H

#include <cstddef>
#include <string>

#include "runtime/engine_errors.h"
#include "runtime/engine_state.h"

namespace HDevEngineCpp {
namespace Standin {

// The work one run may still do ("step_limit"). Every executed line spends one step, and work
// that grows with the data spends more: one step per kElementsPerStep elements and one per
// kTextBytesPerStep text bytes a line builds or copies, and kStepsPerSecond for each second a
// line waits. So one line over millions of elements, or a copy of a long text, costs what a
// loop over them would, and an endless loop or wait ends in an error.
constexpr std::size_t kElementsPerStep = 64;
constexpr std::size_t kTextBytesPerStep = 256;
constexpr double kStepsPerSecond = 1e6;

class StepBudget {
 public:
  StepBudget();
  ~StepBudget();
  StepBudget(const StepBudget&) = delete;
  StepBudget& operator=(const StepBudget&) = delete;

  void spend(Hlong steps = 1) {
    left_ -= steps;
    if (left_ < 0) exhausted();
  }

  // The steps still left; negative never, since spending past the end raises.
  Hlong left() const { return left_; }

  // The budget of the run on this thread, or null outside a run.
  static StepBudget* current();

 private:
  [[noreturn]] void exhausted() const;

  Hlong limit_;
  Hlong left_;
  StepBudget* outer_;  // a run started from within another (an operator's callback)
};

// Charges the work of building or copying `elements` elements holding `text` bytes of text to
// the running line.
inline void spendWork(Hlong elements, std::size_t text = 0) {
  const Hlong steps = elements / static_cast<Hlong>(kElementsPerStep) +
                      static_cast<Hlong>(text / kTextBytesPerStep);
  if (steps == 0) return;
  if (StepBudget* budget = StepBudget::current()) budget->spend(steps);
}

// Charges a wait before it starts: a wait the budget cannot pay fails at once.
void spendWait(double seconds);

// The most text bytes one value may hold is the engine attribute "text_limit", its elements
// "value_limit". A tuple or text that doubles itself in a loop reaches them within a few
// dozen lines and fails there, long before memory runs out.
inline std::size_t textLimit() {
  return static_cast<std::size_t>(EngineState::instance().textLimit());
}

// All values of a run together may hold this many times one value's bounds: a recursion
// that keeps a large value in every frame ends as soon as one value would.
constexpr Hlong kRunValueFactor = 3;

// Raises when a value of `length` elements is more than "value_limit" allows. Cheap: appends
// in place check it on every line, before they change their target.
inline void checkValueLength(Hlong length) {
  const Hlong limit = EngineState::instance().valueLimit();
  if (length > limit) {
    throw RunError{kErrValueSize, std::to_string(length) + " elements, more than value_limit " +
                                      std::to_string(limit)};
  }
}

[[noreturn]] void textTooLarge(unsigned long long bytes);

inline void checkValueText(unsigned long long bytes) {
  if (bytes > textLimit()) textTooLarge(bytes);
}

// The text of a result added up while it is built, checked before each part is: a function
// that repeats a text (a constant tuple, a field width, a replacement at every position)
// fails when the sum would pass the bound, before the memory is taken. In 64 bits even where
// size_t has 32: a repeated text may pass 4 GiB.
class TextTally {
 public:
  // `bytes` more, `count` times.
  void add(unsigned long long bytes, unsigned long long count = 1) {
    const unsigned long long limit = textLimit();
    if (count != 0 && bytes > (limit - total_) / count) passed(bytes, count);
    total_ += bytes * count;
  }
  // What is left before the bound.
  unsigned long long room() const { return textLimit() - total_; }

 private:
  [[noreturn]] void passed(unsigned long long bytes, unsigned long long count) const;

  unsigned long long total_ = 0;
};

// The text bytes a tuple holds; 0 for a tuple of numbers, without looking at its elements.
std::size_t textBytes(const HTuple& value);

// The text bytes of element `i`; 0 for a number.
std::size_t elementText(const HTuple& value, Hlong i);

// Raises when A + B would hold more text than a value may: texts are concatenated element by
// element, a one-element side against every element of the other.
void checkConcatenation(const HTuple& a, const HTuple& b);

// Returns `value` when it is within both bounds; raises otherwise.
inline const HTuple& bounded(const HTuple& value) {
  const std::size_t text = textBytes(value);
  checkValueLength(value.Length());
  checkValueText(text);
  spendWork(value.Length(), text);
  return value;
}

struct Frame;

// What the variables of one run hold together, elements and text: bounded by
// kRunValueFactor times one value's bounds. Checked before a value is stored, so that the
// run fails at the line that would pass the bound.
class HeldValues {
 public:
  HeldValues();
  ~HeldValues();
  HeldValues(const HeldValues&) = delete;
  HeldValues& operator=(const HeldValues&) = delete;

  // `value` replaces `old` (null when the variable had none).
  void replace(const HTuple* old, const HTuple& value);
  // A value grows in place by `elements` elements and `text` bytes.
  void grow(long long elements, long long text);
  void addFrame(const Frame& frame);
  void releaseFrame(const Frame& frame);

  // The tally of the run on this thread, or null outside a run.
  static HeldValues* current();

 private:
  void check(long long elements, long long text) const;

  // Signed, and never below 0: a value written around the tally only makes it lower.
  long long elements_ = 0;
  long long text_ = 0;
  HeldValues* outer_;
};

// A value as a message shows it: its beginning only, so that a record stays small whatever
// the value it complains about.
std::string shownValue(const HTuple& value);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
