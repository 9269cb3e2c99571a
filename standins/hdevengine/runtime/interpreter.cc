#include "runtime/interpreter.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <variant>

#include "operators/display.h"
#include "runtime/activation.h"
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
    if (!giveErrors_ || !HalconCpp::Standin::giveErrorChecked()) {
      // dev_set_check or set_check ('~give_error'): the program checks the error variable
      // instead.
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
        insertElement(a, s);
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
