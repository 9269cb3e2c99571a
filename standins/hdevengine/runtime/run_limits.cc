#include "runtime/run_limits.h"

#include "files/procedure_data.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace HDevEngineCpp {
namespace Standin {
namespace {

thread_local StepBudget* currentBudget = nullptr;
thread_local HeldValues* currentHeld = nullptr;

constexpr std::size_t kMaxShownValue = 200;

}  // namespace

StepBudget::StepBudget()
    : limit_(EngineState::instance().stepLimit()), left_(limit_), outer_(currentBudget) {
  currentBudget = this;
}

StepBudget::~StepBudget() {
  currentBudget = outer_;
}

StepBudget* StepBudget::current() {
  return currentBudget;
}

void StepBudget::exhausted() const {
  throw RunError{kErrStepLimit, "the run did more than " + std::to_string(limit_) +
                                    " steps of work (engine attribute step_limit)"};
}

void textTooLarge(unsigned long long bytes) {
  throw RunError{kErrValueSize, std::to_string(bytes) + " bytes of text, more than text_limit " +
                                    std::to_string(textLimit())};
}

void TextTally::passed(unsigned long long bytes, unsigned long long count) const {
  constexpr unsigned long long kMost = std::numeric_limits<unsigned long long>::max();
  textTooLarge(bytes > (kMost - total_) / count ? kMost : total_ + bytes * count);
}

void checkConcatenation(const HTuple& a, const HTuple& b) {
  const std::size_t textA = textBytes(a);
  const std::size_t textB = textBytes(b);
  if (textA == 0 && textB == 0) return;
  const auto count = static_cast<unsigned long long>(a.Length() == 1 ? b.Length() : a.Length());
  TextTally tally;
  tally.add(textA, a.Length() == 1 ? count : 1);
  tally.add(textB, b.Length() == 1 ? count : 1);
}

void spendWait(double seconds) {
  StepBudget* budget = StepBudget::current();
  if (!budget || !(seconds > 0)) return;
  // Beyond any budget: charge the largest step count instead of overflowing.
  const double steps = seconds * kStepsPerSecond;
  const Hlong most = std::numeric_limits<Hlong>::max() / 2;
  budget->spend(steps >= static_cast<double>(most) ? most : static_cast<Hlong>(steps));
}

HeldValues::HeldValues() : outer_(currentHeld) {
  currentHeld = this;
}

HeldValues::~HeldValues() {
  currentHeld = outer_;
}

HeldValues* HeldValues::current() {
  return currentHeld;
}

void HeldValues::check(long long elements, long long text) const {
  const long long limit =
      static_cast<long long>(kRunValueFactor) * EngineState::instance().valueLimit();
  if (elements > limit) {
    throw RunError{kErrValueSize, "the run's variables would hold " + std::to_string(elements) +
                                      " elements, more than " + std::to_string(kRunValueFactor) +
                                      " times value_limit"};
  }
  const long long textBound = kRunValueFactor * static_cast<long long>(textLimit());
  if (text > textBound) {
    throw RunError{kErrValueSize, "the run's variables would hold " + std::to_string(text) +
                                      " bytes of text, more than " +
                                      std::to_string(kRunValueFactor) + " times text_limit"};
  }
}

void HeldValues::replace(const HTuple* old, const HTuple& value) {
  long long elements = elements_ + value.Length();
  long long text = text_ + static_cast<long long>(textBytes(value));
  if (old) {
    elements = std::max(0LL, elements - old->Length());
    text = std::max(0LL, text - static_cast<long long>(textBytes(*old)));
  }
  check(elements, text);
  elements_ = elements;
  text_ = text;
}

void HeldValues::grow(long long elements, long long text) {
  check(elements_ + elements, text_ + text);
  elements_ += elements;
  text_ += text;
}

void HeldValues::addFrame(const Frame& frame) {
  for (std::size_t slot = 0; slot < frame.ctrl.size(); ++slot) {
    if (!frame.ctrlSet[slot]) continue;
    elements_ += frame.ctrl[slot].Length();
    text_ += static_cast<long long>(textBytes(frame.ctrl[slot]));
  }
}

void HeldValues::releaseFrame(const Frame& frame) {
  for (std::size_t slot = 0; slot < frame.ctrl.size(); ++slot) {
    if (!frame.ctrlSet[slot]) continue;
    elements_ = std::max(0LL, elements_ - frame.ctrl[slot].Length());
    text_ = std::max(0LL, text_ - static_cast<long long>(textBytes(frame.ctrl[slot])));
  }
}

std::size_t textBytes(const HTuple& value) {
  const HalconCpp::HTupleType type = value.Type();
  if (type != HalconCpp::eElementTypeString && type != HalconCpp::eElementTypeMixed) return 0;
  std::size_t text = 0;
  for (Hlong i = 0; i < value.Length(); ++i) text += elementText(value, i);
  return text;
}

std::size_t elementText(const HTuple& value, Hlong i) {
  const std::string* s = value.StringAt(i);
  return s ? s->size() : 0;
}

std::string shownValue(const HTuple& value) {
  HTuple head;
  const Hlong shown = value.Length() < 20 ? value.Length() : 20;
  for (Hlong i = 0; i < shown; ++i) head.Append(HTuple(value[i]));
  std::string text = head.ToString().str();
  if (text.size() > kMaxShownValue) text = text.substr(0, kMaxShownValue) + "...";
  if (shown < value.Length()) {
    text += " (" + std::to_string(value.Length()) + " elements)";
  }
  return text;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
