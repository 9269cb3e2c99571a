// The parsed form of program lines: expressions and statements. Built once when a procedure
// is loaded and shared, read-only, by every call that runs it.
#ifndef QUORVEX_STANDINS_HDEVENGINE_SYNTAX_H
#define QUORVEX_STANDINS_HDEVENGINE_SYNTAX_H

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {

// Deepest expression tree a line may have; deeper ones are refused when loading, so that
// neither the parser nor the evaluator can run out of stack.
constexpr int kMaxExpressionDepth = 128;

struct ProcedureData;

enum class ExprKind {
  Literal,
  Variable,
  Tuple,
  Negate,
  Not,
  Binary,
  Length,
  Index,
  Slice,
  Function
};

enum class BinaryOp {
  Add,
  Subtract,
  Multiply,
  Divide,
  Modulo,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  And,
  Or,
  Xor,
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind = ExprKind::Literal;
  BinaryOp op = BinaryOp::Add;
  HalconCpp::HTuple value;        // Literal
  std::string name;               // Variable and Function
  int slot = -1;                  // Variable: its control slot, bound by the compiler
  int function = -1;              // Function: its index in the function table
  std::vector<ExprPtr> operands;  // in source order; Index: base, index; Slice: base, from, to
  int depth = 1;                  // height of the tree below and including this node
  // Every node but a variable or literal: where its value goes while the line runs, an
  // index into the running call's temporaries, reused line after line.
  int temp = -1;
};

enum class StmtKind {
  Empty,
  Comment,
  Invalid,  // a line that did not parse, skipped because the engine was told to
  Assign,
  AssignElement,
  Call,
  If,
  ElseIf,
  Else,
  EndIf,
  For,
  EndFor,
  While,
  EndWhile,
  Repeat,
  Until,
  Break,
  Continue,
  Return,
  Stop,
  Exit,   // ends the whole run, from any procedure
  Try,    // jump: its catch; end: its endtry
  Catch,  // the variable receives the exception; end: its endtry
  EndTry,
  Throw,   // exprs: the exception tuple
  Switch,  // exprs: the value; cases: its case and default lines; end: its endswitch
  Case,    // exprs: the constant
  Default,
  EndSwitch,
  Global,        // a declaration: the compiler links the variable to the global one
  AssignIconic,  // slot: the iconic target; source: the iconic variable assigned
  Insert,        // insert (Tuple, Value, Index, Result): exprs index, value; source: Tuple
  SetCheck,      // dev_set_check: exprs the mode
  ErrorVar,      // dev_error_var: slot the variable, exprs the mode
};

// Unimplemented: an operator of the vendor's reference (known_operators.h) that the stand-in
// does not implement; the line loads and fails when it runs.
enum class CallKind { Operator, Display, Procedure, Unimplemented, Unresolved };

struct Stmt {
  StmtKind kind = StmtKind::Empty;
  // The line's name in error reports: the operator or procedure called, "assign" for an
  // assignment, otherwise the keyword.
  std::string name;
  std::string variable;  // Assign/AssignElement/For: the variable assigned
  int slot = -1;         // its control slot
  // X := [X, ...] or X[|X|] := V: the compiler saw that the line appends to the variable
  // itself, so it appends in place.
  bool appendsInPlace = false;
  // Assign: value; AssignElement: index, value; If/ElseIf/While/Until: condition;
  // For: from, to and an optional step; Call: the arguments as written, until the compiler
  // moves the control inputs to ctrlIn.
  std::vector<ExprPtr> exprs;

  // Control flow, as body indices filled in by the compiler. If/ElseIf: `jump` is the next
  // branch, `end` the endif. Else: `end` is the endif. For/While/Repeat: `end` is the closing
  // line. EndFor/EndWhile/Until: `jump` is the opening line. Break: `end` is the loop's
  // closing line; Continue: `jump` is where the next iteration starts.
  int jump = -1;
  int end = -1;
  int loopSlot = -1;       // For: which loop state of the running call it uses
  int source = -1;         // AssignIconic: the iconic slot read; Insert: the control slot read
  bool iconic = false;     // Global: an object, not a tuple
  std::vector<int> cases;  // Switch: its case lines, then its default line if any
  int defaultLine = -1;    // Switch: its default line

  // Call.
  CallKind callKind = CallKind::Unresolved;
  std::string faultName;  // operators: the name a fault for this line is armed under
  const OperatorSpec* op = nullptr;
  int display = -1;                          // index in the display operator table
  const ProcedureData* procedure = nullptr;  // owned by the program or the loaded procedures
  std::array<int, 4> counts{};               // arguments of each parameter group
  std::vector<int> iconicIn;                 // iconic slots
  std::vector<int> iconicOut;
  std::vector<ExprPtr> ctrlIn;
  std::vector<int> ctrlOut;  // control slots
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
