#include "runtime/interpreter.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <variant>

#include "operators/display.h"
#include "runtime/engine_errors.h"
#include "runtime/engine_state.h"
#include "runtime/evaluator.h"
#include "runtime/exception_data.h"
#include "runtime/globals.h"
#include "runtime/run_limits.h"
#include "standin/controls.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::HException;

struct LoopState {
  HTuple current;
  HTuple end;
  HTuple step;
  bool up = true;
  // All three integers: the loop counts in these instead.
  bool integers = false;
  Hlong currentInteger = 0;
  Hlong endInteger = 0;
  Hlong stepInteger = 0;
};

// One running procedure: its variables, the line it is at and its for-loops.
struct Activation {
  Activation(const ProcedureData* called, Frame* given)
      : procedure(called),
        owned(given ? nullptr : std::make_unique<Frame>(*called)),
        frame(given ? given : owned.get()),
        loops(called->loopCount),
        temps(called->tempCount) {}

  const ProcedureData* procedure;
  std::unique_ptr<Frame> owned;
  Frame* frame;
  std::size_t pc = 0;
  std::vector<LoopState> loops;
  Temps temps;  // where the running line's expressions put their values
};

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

// The text bytes variable `slot` holds, counted once and then kept up to date by the appends.
std::size_t knownTextOf(Frame* frame, int slot) {
  auto& known = frame->knownText[slot];
  const HTuple& value = frame->ctrl[slot];
  if (known.first != value.Length()) known = {value.Length(), textBytes(value)};
  return known.second;
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

class Interpreter {
 public:
  Interpreter(const ProcedureData& procedure, Frame* frame)
      : depthLimit_(static_cast<std::size_t>(EngineState::instance().callDepthLimit())) {
    stack_.push_back(std::make_unique<Activation>(&procedure, frame));
    globals_.take(procedure, stack_.back()->frame);
    held_.addFrame(*stack_.back()->frame);
  }

  void run() {
    // What the run did to the globals reaches the store however it ends.
    struct Publish {
      RunGlobals& globals;
      ~Publish() { globals.publish(); }
    } publish{globals_};
    while (!stack_.empty()) {
      Activation& a = *stack_.back();
      try {
        // Handing outputs back can meet a bound: it fails at the caller's line.
        if (a.pc >= a.procedure->body.size()) {
          finish();
          continue;
        }
        steps_.spend();
        execute(a, a.procedure->body[a.pc]);
      } catch (const HException& e) {
        handleOperatorError(e);
      } catch (const RunError& e) {
        handleRunError(e);
      } catch (const ThrownException& e) {
        handleThrow(e.value);
      } catch (const std::bad_alloc&) {
        // The failed allocation's memory is free again: enough for the record.
        throw engineError(kErrOutOfMemory, ExceptionRuntime, placeOf(*stack_.back()),
                          "out of memory");
      } catch (const std::exception& e) {
        throw engineError(kErrInternal, ExceptionRuntime, placeOf(*stack_.back()), e.what());
      }
    }
  }

 private:
  // Failures are handled at the line that raised them: the top activation's current line.
  void handleOperatorError(const HException& e) {
    Activation& a = *stack_.back();
    const Hlong code = e.ErrorCode();
    if (!giveErrors_) {
      // dev_set_check ('~give_error'): the program checks the error variable instead.
      setErrorVar(a, code);
      ++a.pc;
      return;
    }
    const std::string message = e.ErrorMessage().Text();
    if (catchFailure(failureTuple(a, code, message, kOperatorErrorCode, "HALCON operator error"))) {
      return;
    }
    throw HDevEngineException(message.c_str(), ExceptionRuntime, a.procedure->name.c_str(),
                              lineNumber(a), a.procedure->body[a.pc].name.c_str(),
                              static_cast<Herror>(code));
  }

  void handleRunError(const RunError& e) {
    Activation& a = *stack_.back();
    // The run's own bounds end it: a catch in a loop would otherwise meet them forever.
    const bool bound = e.number == kErrStepLimit || e.number == kErrValueSize;
    if (!bound &&
        catchFailure(failureTuple(a, e.number, engineErrorText(e.number), e.number, e.detail))) {
      return;
    }
    throw engineError(e.number, ExceptionRuntime, placeOf(a), e.detail);
  }

  void handleThrow(const HTuple& exception) {
    if (catchFailure(exception)) return;
    Activation& a = *stack_.back();
    throw HDevEngineException(uncaughtMessage(exception).c_str(), ExceptionRuntime,
                              a.procedure->name.c_str(), lineNumber(a),
                              a.procedure->body[a.pc].name.c_str(),
                              static_cast<Herror>(uncaughtCode(exception, kErrUserException)));
  }

  HTuple failureTuple(const Activation& a, Hlong code, const std::string& message, Hlong addCode,
                      const std::string& addMessage) const {
    return exceptionTuple(FailureData{code, message, addCode, addMessage, lineNumber(a),
                                      a.procedure->body[a.pc].name, static_cast<int>(stack_.size()),
                                      a.procedure->name});
  }

  // The innermost try block around the line each activation is at, from the failing one
  // outwards; the activations inside it are left. False when no try block is around.
  bool catchFailure(const HTuple& exception) {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      Activation& a = *stack_[k];
      const int catchLine = enclosingCatch(*a.procedure, static_cast<int>(a.pc));
      if (catchLine < 0) continue;
      while (stack_.size() > k + 1) leave();
      writeCtrl(a.frame, a.procedure->body[catchLine].slot, exception);
      a.pc = static_cast<std::size_t>(catchLine) + 1;
      return true;
    }
    return false;
  }

  static int enclosingCatch(const ProcedureData& procedure, int line) {
    int bestTry = -1;
    int catchLine = -1;
    for (const auto& [tryLine, catchAt] : procedure.tryBlocks) {
      if (tryLine < line && line < catchAt && tryLine > bestTry) {
        bestTry = tryLine;
        catchLine = catchAt;
      }
    }
    return catchLine;
  }

  // Drops the top activation without handing back outputs; its globals are kept, and the
  // activation below takes them back.
  void leave() {
    Activation& done = *stack_.back();
    globals_.give(*done.procedure, done.frame, false);
    held_.releaseFrame(*done.frame);
    if (errorVar_.activation == &done) errorVar_ = ErrorVarBinding{};
    stack_.pop_back();
    if (!stack_.empty()) globals_.take(*stack_.back()->procedure, stack_.back()->frame);
  }

  void setErrorVar(Activation& a, Hlong code) {
    if (errorVar_.activation == &a) writeCtrl(a.frame, errorVar_.slot, HTuple(code));
  }

  static int lineNumber(const Activation& a) { return static_cast<int>(a.pc) + 1; }

  static ErrorPlace placeOf(const Activation& a) {
    ErrorPlace place;
    place.procedure = a.procedure->name;
    place.file = a.procedure->file;
    place.line = lineNumber(a);
    place.lineName = a.procedure->body[a.pc].name;
    return place;
  }

  // Runs the line at a.pc and moves on. After a call or a return `a` may no longer be the
  // running activation.
  void execute(Activation& a, const Stmt& s) {
    const std::vector<Stmt>& body = a.procedure->body;
    switch (s.kind) {
      case StmtKind::Assign:
        if (s.appendsInPlace) {
          appendInPlace(a, s);
        } else {
          assign(a, s);
        }
        ++a.pc;
        return;
      case StmtKind::AssignElement:
        assignElement(a, s);
        ++a.pc;
        return;
      case StmtKind::Call:
        call(a, s);
        return;
      case StmtKind::If:
        if (condition(a, s)) {
          ++a.pc;
        } else {
          nextBranch(a, s.jump);
        }
        return;
      case StmtKind::ElseIf:
      case StmtKind::Else:
        // Reached from the end of the branch before it: that branch ran.
        a.pc = s.end + 1;
        return;
      case StmtKind::For:
        startLoop(a, s);
        return;
      case StmtKind::EndFor:
        stepLoop(a, s, body[s.jump]);
        return;
      case StmtKind::While:
        a.pc = condition(a, s) ? a.pc + 1 : s.end + 1;
        return;
      case StmtKind::EndWhile:
        a.pc = s.jump;
        return;
      case StmtKind::Until:
        a.pc = condition(a, s) ? a.pc + 1 : s.jump + 1;
        return;
      case StmtKind::Break:
        a.pc = s.end + 1;
        return;
      case StmtKind::Continue:
        a.pc = s.jump;
        return;
      case StmtKind::Return:
        finish();
        return;
      case StmtKind::Exit:
        exitRun();
        return;
      case StmtKind::Catch:
        // Reached from the end of the try block: nothing failed.
        a.pc = s.end + 1;
        return;
      case StmtKind::Throw:
        throw ThrownException{valueOf(a, *s.exprs[0])};
      case StmtKind::Switch:
        a.pc = switchTarget(a, s) + 1;
        return;
      case StmtKind::AssignIconic:
        writeIconic(a.frame, s.slot, readIconic(a, s.source));
        ++a.pc;
        return;
      case StmtKind::Insert:
        insert(a, s);
        ++a.pc;
        return;
      case StmtKind::SetCheck:
        setCheck(valueOf(a, *s.exprs[0]));
        ++a.pc;
        return;
      case StmtKind::ErrorVar:
        bindErrorVar(a, s);
        ++a.pc;
        return;
      case StmtKind::Empty:
      case StmtKind::Comment:
      case StmtKind::Invalid:
      case StmtKind::EndIf:
      case StmtKind::Repeat:
      case StmtKind::Stop:
      case StmtKind::Try:
      case StmtKind::EndTry:
      case StmtKind::Case:
      case StmtKind::Default:
      case StmtKind::EndSwitch:
      case StmtKind::Global:
        ++a.pc;
        return;
    }
  }

  // The line a switch goes on after: the matching case, else the default, else endswitch.
  static int switchTarget(Activation& a, const Stmt& s) {
    const HTuple value = valueOf(a, *s.exprs[0]);
    if (value.Length() != 1) {
      throw RunError{kErrCondition, "switch needs one value, not " + shownValue(value)};
    }
    for (int line : s.cases) {
      if (valueOf(a, *a.procedure->body[line].exprs[0]) == value) return line;
    }
    return s.defaultLine >= 0 ? s.defaultLine : s.end;
  }

  // Ends the run from any depth; the outermost procedure's variables stay as they are.
  void exitRun() {
    while (stack_.size() > 1) leave();
    Activation& outer = *stack_.back();
    outer.pc = outer.procedure->body.size();
  }

  void setCheck(const HTuple& modes) {
    for (Hlong i = 0; i < modes.Length(); ++i) {
      if (modes[i].Type() != HalconCpp::eElementTypeString) continue;
      const std::string mode = modes[i].S().Text();
      if (mode == "give_error") giveErrors_ = true;
      if (mode == "~give_error") giveErrors_ = false;
    }
  }

  // dev_error_var (Var, 1) makes Var receive each operator's result in this procedure;
  // dev_error_var (Var, 0) stops it.
  void bindErrorVar(Activation& a, const Stmt& s) {
    const HTuple mode = valueOf(a, *s.exprs[0]);
    if (truthOf(mode, "dev_error_var")) {
      errorVar_ = ErrorVarBinding{&a, s.slot};
    } else if (errorVar_.activation == &a) {
      errorVar_ = ErrorVarBinding{};
    }
  }

  static bool condition(Activation& a, const Stmt& s) {
    return truthOf(evaluateInto(*s.exprs[0], *a.frame, a.temps), s.name.c_str());
  }

  static void assign(Activation& a, const Stmt& s) {
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
  static void appendInPlace(Activation& a, const Stmt& s) {
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

  // Checks every bound before variable `slot` grows where it is by `elements` elements
  // holding `text` bytes, and keeps its known text up to date.
  static void growInPlace(Frame* frame, int slot, Hlong elements, std::size_t text,
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

  // After a failed if or elseif: tries the following elseif conditions, enters the else
  // branch, or leaves at endif.
  static void nextBranch(Activation& a, int target) {
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

  static void startLoop(Activation& a, const Stmt& s) {
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
  static void stepLoop(Activation& a, const Stmt& endfor, const Stmt& head) {
    LoopState& loop = a.loops[head.loopSlot];
    if (!advance(&loop)) {
      ++a.pc;
      return;
    }
    writeCtrl(a.frame, head.slot, loop.current);
    a.pc = endfor.jump + 1;
  }

  // insert (Tuple, Value, Index, Result): Result is Tuple with one element replaced or added.
  static void insert(Activation& a, const Stmt& s) {
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

  static void assignElement(Activation& a, const Stmt& s) {
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
      throw RunError{kErrIndexValue,
                     "one value is assigned to an element, not " + shownValue(value)};
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

  void call(Activation& a, const Stmt& s) {
    switch (s.callKind) {
      case CallKind::Operator:
        callOperator(a, s);
        setErrorVar(a, HalconCpp::H_MSG_TRUE);
        ++a.pc;
        return;
      case CallKind::Display:
        callDisplay(a, s);
        setErrorVar(a, HalconCpp::H_MSG_TRUE);
        ++a.pc;
        return;
      case CallKind::Procedure:
        callProcedure(a, s);
        return;
      case CallKind::Unimplemented:
        throw RunError{kErrNotImplemented, "operator " + s.name};
      case CallKind::Unresolved:
        throw RunError{kErrUnresolvedAtRun, s.name};
    }
  }

  // A program's own operator line meets faults armed for the operator, as a call of the
  // operator from outside would.
  static void checkLineFault(const Stmt& s) {
    HalconCpp::Standin::Fault fault;
    if (HalconCpp::Standin::takeFault(s.faultName.c_str(), &fault)) {
      HalconCpp::Standin::raiseFault(s.name.c_str(), fault);
    }
  }

  static std::vector<HTuple> controlInputs(Activation& a, const Stmt& s) {
    std::vector<HTuple> inputs;
    inputs.reserve(s.ctrlIn.size());
    for (const ExprPtr& expr : s.ctrlIn) inputs.push_back(valueOf(a, *expr));
    return inputs;
  }

  static std::vector<HObject> iconicInputs(const Activation& a, const Stmt& s) {
    std::vector<HObject> inputs;
    inputs.reserve(s.iconicIn.size());
    for (int slot : s.iconicIn) inputs.push_back(readIconic(a, slot));
    return inputs;
  }

  static void callOperator(Activation& a, const Stmt& s) {
    checkLineFault(s);
    const std::vector<HTuple> ctrlIn = controlInputs(a, s);
    const std::vector<HObject> iconicIn = iconicInputs(a, s);
    std::vector<HTuple> ctrlOut(s.ctrlOut.size());
    std::vector<HObject> iconicOut(s.iconicOut.size());
    OperatorArgs args;
    for (const HObject& object : iconicIn) args.iconicIn.push_back(&object);
    for (HObject& object : iconicOut) args.iconicOut.push_back(&object);
    for (const HTuple& tuple : ctrlIn) args.ctrlIn.push_back(&tuple);
    for (HTuple& tuple : ctrlOut) args.ctrlOut.push_back(&tuple);
    s.op->run(args);
    for (const HTuple& output : ctrlOut) spendWork(output.Length(), textBytes(output));
    for (std::size_t i = 0; i < ctrlOut.size(); ++i) {
      writeCtrl(a.frame, s.ctrlOut[i], std::move(ctrlOut[i]));
    }
    for (std::size_t i = 0; i < iconicOut.size(); ++i) {
      writeIconic(a.frame, s.iconicOut[i], std::move(iconicOut[i]));
    }
  }

  static void callDisplay(Activation& a, const Stmt& s) {
    checkLineFault(s);
    const DisplayOperator& display = displayOperator(s.display);
    const std::vector<HTuple> ctrlIn = controlInputs(a, s);
    const std::vector<HObject> iconicIn = iconicInputs(a, s);
    std::vector<HTuple> ctrlOut(s.ctrlOut.size());
    HDevOperatorImplCpp* impl = display.call ? EngineState::instance().operatorImpl() : nullptr;
    if (impl) {
      OperatorArgs args;
      for (const HObject& object : iconicIn) args.iconicIn.push_back(&object);
      for (const HTuple& tuple : ctrlIn) args.ctrlIn.push_back(&tuple);
      for (HTuple& tuple : ctrlOut) args.ctrlOut.push_back(&tuple);
      int result;
      {
        // The implementation is the caller's code: its calls into the stand-ins are calls
        // from outside, and it runs without any engine lock held.
        HalconCpp::Standin::OutsideScope outside;
        result = display.call(*impl, args);
      }
      if (result != static_cast<int>(HalconCpp::H_MSG_TRUE)) {
        throw HException::ForOperator(s.name.c_str(), result);
      }
    }
    for (std::size_t i = 0; i < ctrlOut.size(); ++i) {
      writeCtrl(a.frame, s.ctrlOut[i], std::move(ctrlOut[i]));
    }
  }

  void callProcedure(Activation& a, const Stmt& s) {
    if (stack_.size() >= depthLimit_) {
      throw RunError{kErrCallDepth, "calling " + s.name + " would nest more than " +
                                        std::to_string(depthLimit_) +
                                        " procedure calls (engine attribute call_depth_limit)"};
    }
    const ProcedureData& callee = *s.procedure;
    auto next = std::make_unique<Activation>(&callee, nullptr);
    for (std::size_t i = 0; i < s.ctrlIn.size(); ++i) {
      writeCtrl(next->frame, callee.paramSlots[kCtrlIn][i], valueOf(a, *s.ctrlIn[i]));
    }
    for (std::size_t i = 0; i < s.iconicIn.size(); ++i) {
      writeIconic(next->frame, callee.paramSlots[kIconicIn][i], readIconic(a, s.iconicIn[i]));
    }
    // A global the run does not hold yet is copied from the store: counted and charged here.
    globals_.give(*a.procedure, a.frame, false);
    const CopiedGlobals copied = globals_.take(callee, next->frame);
    spendWork(copied.elements, static_cast<std::size_t>(copied.text));
    held_.grow(copied.elements, copied.text);
    stack_.push_back(std::move(next));
  }

  // Ends the running activation; a called procedure's outputs go to the caller's variables,
  // an output never assigned as an empty tuple or uninitialised object.
  void finish() {
    const std::unique_ptr<Activation> done = std::move(stack_.back());
    stack_.pop_back();
    globals_.give(*done->procedure, done->frame, stack_.empty());
    // Its outputs are counted again as the caller's variables receive them.
    held_.releaseFrame(*done->frame);
    if (errorVar_.activation == done.get()) errorVar_ = ErrorVarBinding{};
    if (stack_.empty()) return;
    Activation& caller = *stack_.back();
    globals_.take(*caller.procedure, caller.frame);
    const Stmt& call = caller.procedure->body[caller.pc];
    const ProcedureData& callee = *done->procedure;
    Frame& results = *done->frame;
    for (std::size_t i = 0; i < call.ctrlOut.size(); ++i) {
      const int slot = callee.paramSlots[kCtrlOut][i];
      writeCtrl(caller.frame, call.ctrlOut[i],
                results.ctrlSet[slot] ? std::move(results.ctrl[slot]) : HTuple());
    }
    for (std::size_t i = 0; i < call.iconicOut.size(); ++i) {
      const int slot = callee.paramSlots[kIconicOut][i];
      writeIconic(caller.frame, call.iconicOut[i],
                  results.iconicSet[slot] ? std::move(results.iconic[slot]) : HObject());
    }
    ++caller.pc;
  }

  struct ErrorVarBinding {
    const Activation* activation = nullptr;
    int slot = -1;
  };

  const std::size_t depthLimit_;
  StepBudget steps_;
  HeldValues held_;
  RunGlobals globals_;
  bool giveErrors_ = true;  // dev_set_check: operator errors raise, as by default
  ErrorVarBinding errorVar_;
  std::vector<std::unique_ptr<Activation>> stack_;
};

}  // namespace

void runProcedure(const ProcedureData& procedure, Frame* frame) {
  Interpreter(procedure, frame).run();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
