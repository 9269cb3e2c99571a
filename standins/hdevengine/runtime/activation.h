// One running procedure's state, and what the lines that change variables and loops do to
// it: the interpreter runs the control flow, these the assignments and loop steps.
#ifndef QUORVEX_STANDINS_HDEVENGINE_ACTIVATION_H
#define QUORVEX_STANDINS_HDEVENGINE_ACTIVATION_H

#include <cstddef>
#include <memory>
#include <vector>

#include "files/procedure_data.h"
#include "runtime/evaluator.h"

namespace HDevEngineCpp {
namespace Standin {

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
HTuple valueOf(Activation& a, const Expr& expr);
// Assigns over the variable's tuple instead of building a new one: a number over a number
// costs no tuple at all.
void writeCtrl(Frame* frame, int slot, HTuple&& value);
// A copy: charged by what it moves, so that a loop copying a long text pays for each copy.
void writeCtrl(Frame* frame, int slot, const HTuple& value);
void writeIconic(Frame* frame, int slot, HObject value);
const HObject& readIconic(const Activation& a, int slot);

// The lines. Each raises RunError for what the program got wrong.
bool condition(Activation& a, const Stmt& s);
void assign(Activation& a, const Stmt& s);
void appendInPlace(Activation& a, const Stmt& s);
void nextBranch(Activation& a, int target);
void startLoop(Activation& a, const Stmt& s);
void stepLoop(Activation& a, const Stmt& endfor, const Stmt& head);
void insertElement(Activation& a, const Stmt& s);
void assignElement(Activation& a, const Stmt& s);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
