#include "runtime/activation.h"

#include <cstring>
#include <string>
#include <utility>

#include "runtime/engine_errors.h"
#include "runtime/evaluator.h"
#include "runtime/globals.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

HTuple loopValue(const HTuple& value, const char* what) {
  if (value.Length() != 1 || value[0].Type() == HalconCpp::eElementTypeString) {
    throw RunError{kErrLoopBounds, std::string("the loop's ") + what + " must be one number, not " +
                                       shownValue(value)};
  }
  return value;
}

bool inRange(const LoopState& loop) {
  return loop.up ? loop.current <= loop.end : loop.current >= loop.end;
}

bool isInteger(const HTuple& value) {
  return value[0].Type() == HalconCpp::eElementTypeLong;
}

// Steps the loop variable; false when the loop is done.
bool advance(LoopState* loop) {
  if (loop->integers) {
    Hlong next;
    if (__builtin_add_overflow(loop->currentInteger, loop->stepInteger, &next)) return false;
    loop->currentInteger = next;
    loop->current += loop->step;  // in place: a number plus a number
    return loop->up ? next <= loop->endInteger : next >= loop->endInteger;
  }
  if (isInteger(loop->current) && isInteger(loop->step)) {
    Hlong next;
    if (__builtin_add_overflow(loop->current.L(), loop->step.L(), &next)) return false;
    loop->current = HTuple(next);
  } else {
    loop->current = loop->current + loop->step;
  }
  return inRange(*loop);
}

// The text bytes variable `slot` holds, counted once and then kept up to date by the appends.
std::size_t knownTextOf(Frame* frame, int slot) {
  auto& known = frame->knownText[slot];
  const HTuple& value = frame->ctrl[slot];
  if (known.first != value.Length()) known = {value.Length(), textBytes(value)};
  return known.second;
}

// Checks every bound before variable `slot` grows where it is by `elements` elements
// holding `text` bytes, and keeps its known text up to date.
void growInPlace(Frame* frame, int slot, Hlong elements, std::size_t text,
                 std::size_t replacedText = 0) {
  const HTuple& target = frame->ctrl[slot];
  const std::size_t total = knownTextOf(frame, slot) - replacedText + text;
  checkValueLength(target.Length() + elements);
  checkValueText(total);
  if (HeldValues* held = HeldValues::current()) {
    held->grow(elements, static_cast<long long>(text) - static_cast<long long>(replacedText));
  }
  spendWork(elements, text);
  frame->knownText[slot] = {target.Length() + elements, total};
}

}  // namespace

// The value of an expression as a tuple of its own: a copy, charged as work.
HTuple valueOf(Activation& a, const Expr& expr) {
  const HTuple& value = evaluateInto(expr, *a.frame, a.temps);
  spendWork(value.Length(), textBytes(value));
  return value;
}

// Assigns over the variable's tuple instead of building a new one: a number over a number
// costs no tuple at all.
void writeCtrl(Frame* frame, int slot, HTuple&& value) {
  if (HeldValues* held = HeldValues::current()) {
    held->replace(frame->ctrlSet[slot] ? &frame->ctrl[slot] : nullptr, value);
  }
  frame->ctrl[slot] = std::move(value);
  frame->ctrlSet[slot] = 1;
  frame->knownText[slot].first = -1;
}

// A copy: charged by what it moves, so that a loop copying a long text pays for each copy.
void writeCtrl(Frame* frame, int slot, const HTuple& value) {
  spendWork(value.Length(), textBytes(value));
  writeCtrl(frame, slot, HTuple(value));
}

void writeIconic(Frame* frame, int slot, HObject value) {
  frame->iconic[slot] = std::move(value);
  frame->iconicSet[slot] = 1;
}

const HObject& readIconic(const Activation& a, int slot) {
  if (!a.frame->iconicSet[slot]) {
    throw RunError{kErrUnsetVariable, a.procedure->iconicVariables[slot]};
  }
  return a.frame->iconic[slot];
}

bool condition(Activation& a, const Stmt& s) {
  return truthOf(evaluateInto(*s.exprs[0], *a.frame, a.temps), s.name.c_str());
}

void assign(Activation& a, const Stmt& s) {
  const Expr& expr = *s.exprs[0];
  const HTuple& value = evaluateInto(expr, *a.frame, a.temps);
  if (expr.temp >= 0) {
    // The temporary is taken over; the line rebuilds it next time.
    writeCtrl(a.frame, s.slot, std::move(a.temps[expr.temp]));
  } else {
    writeCtrl(a.frame, s.slot, value);
  }
}

// X := [X, A, B, ...] appends A, B, ... to X where it is, instead of building a new tuple
// from a copy of X: a loop that collects values this way costs linear time, not quadratic.
// Every operand is evaluated before X changes, so a failing one leaves X as it was, and an
// operand that is X itself is copied first.
void appendInPlace(Activation& a, const Stmt& s) {
  const std::vector<ExprPtr>& operands = s.exprs[0]->operands;
  if (!a.frame->ctrlSet[s.slot]) throw RunError{kErrUnsetVariable, s.variable};
  HTuple& target = a.frame->ctrl[s.slot];
  if (operands.size() == 2) {
    const HTuple& tail = evaluateInto(*operands[1], *a.frame, a.temps);
    growInPlace(a.frame, s.slot, tail.Length(), textBytes(tail));
    target.Append(tail);
    return;
  }
  std::vector<HTuple> tails;
  tails.reserve(operands.size() - 1);
  Hlong length = 0;
  std::size_t text = 0;
  for (std::size_t i = 1; i < operands.size(); ++i) {
    tails.push_back(valueOf(a, *operands[i]));
    length += tails.back().Length();
    text += textBytes(tails.back());
  }
  growInPlace(a.frame, s.slot, length, text);
  for (const HTuple& tail : tails) target.Append(tail);
}

// After a failed if or elseif: tries the following elseif conditions, enters the else
// branch, or leaves at endif.
void nextBranch(Activation& a, int target) {
  const std::vector<Stmt>& body = a.procedure->body;
  while (body[target].kind == StmtKind::ElseIf) {
    a.pc = target;  // a failing condition is reported at its own line
    if (condition(a, body[target])) {
      ++a.pc;
      return;
    }
    target = body[target].jump;
  }
  a.pc = target + 1;
}

void startLoop(Activation& a, const Stmt& s) {
  LoopState& loop = a.loops[s.loopSlot];
  loop.current = loopValue(valueOf(a, *s.exprs[0]), "start");
  loop.end = loopValue(valueOf(a, *s.exprs[1]), "end");
  loop.step = s.exprs.size() > 2 ? loopValue(valueOf(a, *s.exprs[2]), "step") : HTuple(1);
  if (loop.step == HTuple(0)) throw RunError{kErrLoopBounds, "the loop's step is 0"};
  loop.up = loop.step > HTuple(0);
  if (!inRange(loop)) {
    a.pc = s.end + 1;
    return;
  }
  loop.integers = isInteger(loop.current) && isInteger(loop.end) && isInteger(loop.step);
  if (loop.integers) {
    loop.currentInteger = loop.current.L();
    loop.endInteger = loop.end.L();
    loop.stepInteger = loop.step.L();
  }
  writeCtrl(a.frame, s.slot, loop.current);
  ++a.pc;
}

// The loop counts on its own state: assigning the loop variable in the body does not
// change the number of iterations.
void stepLoop(Activation& a, const Stmt& endfor, const Stmt& head) {
  LoopState& loop = a.loops[head.loopSlot];
  if (!advance(&loop)) {
    ++a.pc;
    return;
  }
  writeCtrl(a.frame, head.slot, loop.current);
  a.pc = endfor.jump + 1;
}

// insert (Tuple, Value, Index, Result): Result is Tuple with one element replaced or added.
void insertElement(Activation& a, const Stmt& s) {
  if (!a.frame->ctrlSet[s.source]) {
    throw RunError{kErrUnsetVariable, a.procedure->ctrlVariables[s.source]};
  }
  HTuple original = a.frame->ctrl[s.source];
  const HTuple previous = a.frame->ctrlSet[s.slot] ? a.frame->ctrl[s.slot] : HTuple();
  const bool wasSet = a.frame->ctrlSet[s.slot] != 0;
  writeCtrl(a.frame, s.slot, std::move(original));
  try {
    assignElement(a, s);
  } catch (...) {
    // A failing index or value leaves Result as it was.
    a.frame->ctrl[s.slot] = previous;
    a.frame->ctrlSet[s.slot] = wasSet ? 1 : 0;
    throw;
  }
}

void assignElement(Activation& a, const Stmt& s) {
  const HTuple* index = nullptr;
  Hlong indexValue = 0;
  bool integer = true;
  if (s.appendsInPlace) {
    // T[|T|] := V: the index is T's length, read without building a tuple for it.
    if (!a.frame->ctrlSet[s.slot]) throw RunError{kErrUnsetVariable, s.variable};
    indexValue = a.frame->ctrl[s.slot].Length();
  } else {
    index = &evaluateInto(*s.exprs[0], *a.frame, a.temps);
    integer = index->Length() == 1 && isInteger(*index);
    if (integer) indexValue = index->L();
  }
  HTuple valueCopy;
  const HTuple* valueAt = &evaluateInto(*s.exprs[1], *a.frame, a.temps);
  // T[I] := T reads T as it was before the padding below.
  if (valueAt == &a.frame->ctrl[s.slot]) valueAt = &(valueCopy = *valueAt);
  const HTuple& value = *valueAt;
  const Hlong* position = integer ? &indexValue : nullptr;
  if (!position || *position < 0) {
    const std::string shown = index ? shownValue(*index) : std::to_string(indexValue);
    throw RunError{kErrIndexValue, "index " + shown + " of " + s.variable};
  }
  if (value.Length() != 1) {
    throw RunError{kErrIndexValue, "one value is assigned to an element, not " + shownValue(value)};
  }
  HTuple& target = a.frame->ctrl[s.slot];
  if (!a.frame->ctrlSet[s.slot]) {
    writeCtrl(a.frame, s.slot, HTuple());
  }
  // An index far past the end would pad the tuple with zeros: bounded before it does.
  const Hlong added = *position >= target.Length() ? *position + 1 - target.Length() : 0;
  std::size_t replaced = 0;
  if (added == 0 && target[*position].Type() == HalconCpp::eElementTypeString) {
    replaced = std::strlen(target[*position].C());
  }
  growInPlace(a.frame, s.slot, added, textBytes(value), replaced);
  // Elements between the old end and the new one are 0.
  while (target.Length() < *position) target.Append(HTuple(0));
  if (target.Length() == *position) {
    target.Append(value);
  } else {
    target[*position] = value;
  }
}

}  // namespace Standin
}  // namespace HDevEngineCpp
