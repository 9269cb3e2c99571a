#include "language/compiler.h"

#include <algorithm>
#include <array>
#include <utility>

#include "language/block_linker.h"
#include "language/parser.h"
#include "operators/display.h"
#include "operators/known_operators.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

[[noreturn]] void lineError(Hlong number, ExceptionCategory category, const std::string& detail) {
  throw LoadError{number, category, detail, ErrorPlace{}};
}

// Binds the statements of the procedure being compiled: variables to slots, calls to what
// they call. Variable kinds come first, from every call's iconic arguments and the global
// object declarations, so that an assignment that makes a variable the wrong kind is the line
// reported, not a later use of the variable.
class Binder {
 public:
  Binder(ProcedureData* procedure, ProcedureLookup* lookup, const CompileOptions& options)
      : procedure_(procedure), lookup_(lookup), options_(options) {}

  // First pass, line by line: resolves a call and declares its iconic variables.
  void declare(Stmt* stmt) {
    if (stmt->kind == StmtKind::Call) {
      resolveCall(stmt);
      if (stmt->callKind == CallKind::Unresolved) return;
      checkArgumentCount(*stmt);
      for (int i = 0; i < counts_[kIconicIn] + counts_[kIconicOut]; ++i) {
        iconicVariable(variableArgument(*stmt, *stmt->exprs[i], i));
      }
      stmt->counts = {counts_[0], counts_[1], counts_[2], counts_[3]};
    } else if (stmt->kind == StmtKind::Global && stmt->iconic) {
      iconicVariable(stmt->variable);
    }
  }

  // X := Y, where Y is iconic, makes X iconic too; repeated until nothing changes, since
  // such a chain may be written in any order.
  bool declareAssignedObject(const Stmt& stmt) {
    if (stmt.kind != StmtKind::Assign || stmt.exprs[0]->kind != ExprKind::Variable) return false;
    if (procedure_->iconicSlot(stmt.exprs[0]->name) < 0) return false;
    if (procedure_->iconicSlot(stmt.variable) >= 0) return false;
    iconicVariable(stmt.variable);
    return true;
  }

  // Second pass.
  void bind(Stmt* stmt) {
    temps_ = 0;
    bindStatement(stmt);
    procedure_->tempCount = std::max(procedure_->tempCount, temps_);
  }

 private:
  void bindStatement(Stmt* stmt) {
    switch (stmt->kind) {
      case StmtKind::Assign:
        if (procedure_->iconicSlot(stmt->variable) >= 0) {
          bindObjectAssignment(stmt);
          return;
        }
        [[fallthrough]];
      case StmtKind::AssignElement:
      case StmtKind::For:
      case StmtKind::Insert:
        stmt->slot = ctrlVariable(stmt->variable);
        if (stmt->kind == StmtKind::Insert) {
          stmt->source = ctrlVariable(stmt->exprs.back()->name);
          stmt->exprs.pop_back();
        }
        for (ExprPtr& expr : stmt->exprs) bindExpr(expr.get());
        if (stmt->kind == StmtKind::For) stmt->loopSlot = procedure_->loopCount++;
        if (stmt->kind == StmtKind::Assign) {
          const Expr& value = *stmt->exprs[0];
          stmt->appendsInPlace = value.kind == ExprKind::Tuple && !value.operands.empty() &&
                                 value.operands[0]->kind == ExprKind::Variable &&
                                 value.operands[0]->slot == stmt->slot;
        } else if (stmt->kind == StmtKind::AssignElement) {
          const Expr& index = *stmt->exprs[0];
          stmt->appendsInPlace = index.kind == ExprKind::Length &&
                                 index.operands[0]->kind == ExprKind::Variable &&
                                 index.operands[0]->slot == stmt->slot;
        }
        break;
      case StmtKind::Catch:
        stmt->slot = ctrlVariable(stmt->variable);
        break;
      case StmtKind::Global:
        declareGlobal(*stmt);
        break;
      case StmtKind::Case:
        bindCaseLabel(stmt);
        break;
      case StmtKind::Call:
        bindCall(stmt);
        break;
      case StmtKind::ErrorVar:
        bindErrorVar(stmt);
        break;
      default:
        for (ExprPtr& expr : stmt->exprs) bindExpr(expr.get());
    }
  }

  void bindObjectAssignment(Stmt* stmt) {
    const Expr& value = *stmt->exprs[0];
    if (value.kind != ExprKind::Variable || procedure_->iconicSlot(value.name) < 0) {
      lineError(kErrVariableKind, ExceptionSyntax,
                stmt->variable +
                    " is an iconic variable; only an iconic variable can be assigned "
                    "to it");
    }
    stmt->kind = StmtKind::AssignIconic;
    stmt->slot = procedure_->iconicSlot(stmt->variable);
    stmt->source = procedure_->iconicSlot(value.name);
    stmt->exprs.clear();
  }

  void declareGlobal(const Stmt& stmt) {
    const int slot = stmt.iconic ? iconicVariable(stmt.variable) : ctrlVariable(stmt.variable);
    auto& globals = stmt.iconic ? procedure_->globalIconic : procedure_->globalCtrl;
    for (const auto& global : globals) {
      if (global.first == slot) return;
    }
    globals.emplace_back(slot, stmt.variable);
  }

  // A case label is a constant: an integer, or a string, possibly negated.
  void bindCaseLabel(Stmt* stmt) {
    const Expr& label = *stmt->exprs[0];
    const bool constant =
        label.kind == ExprKind::Literal ||
        (label.kind == ExprKind::Negate && label.operands[0]->kind == ExprKind::Literal);
    if (!constant) lineError(kErrSyntax, ExceptionSyntax, "a case label must be a constant");
    bindExpr(stmt->exprs[0].get());
  }

  int ctrlVariable(const std::string& name) {
    if (procedure_->iconicSlot(name) >= 0) {
      lineError(kErrVariableKind, ExceptionSyntax, name + " is an iconic variable");
    }
    const int slot = procedure_->ctrlSlot(name);
    return slot >= 0 ? slot : procedure_->addCtrlVariable(name);
  }

  int iconicVariable(const std::string& name) {
    if (procedure_->ctrlSlot(name) >= 0) {
      lineError(kErrVariableKind, ExceptionSyntax, name + " is a control variable");
    }
    const int slot = procedure_->iconicSlot(name);
    return slot >= 0 ? slot : procedure_->addIconicVariable(name);
  }

  void bindExpr(Expr* expr) {
    if (expr->kind == ExprKind::Variable) {
      expr->slot = ctrlVariable(expr->name);
    } else if (expr->kind != ExprKind::Literal) {
      expr->temp = temps_++;
    }
    for (ExprPtr& operand : expr->operands) bindExpr(operand.get());
  }

  static const std::string& variableArgument(const Stmt& stmt, const Expr& argument,
                                             std::size_t position) {
    if (argument.kind != ExprKind::Variable) {
      lineError(
          kErrOutputNotVariable, ExceptionSyntax,
          "argument " + std::to_string(position + 1) + " of " + stmt.name + " must be a variable");
    }
    return argument.name;
  }

  // What the call calls, and how many arguments of each group it takes (counts_).
  void resolveCall(Stmt* stmt) {
    for (int& count : counts_) count = 0;
    if (resolveEngineStatement(stmt)) return;
    if ((stmt->op = findOperator(stmt->name))) {
      stmt->callKind = CallKind::Operator;
      counts_[kIconicIn] = stmt->op->iconicIn;
      counts_[kIconicOut] = stmt->op->iconicOut;
      counts_[kCtrlIn] = stmt->op->ctrlIn;
      counts_[kCtrlOut] = stmt->op->ctrlOut;
    } else if ((stmt->display = findDisplayOperator(stmt->name)) >= 0) {
      stmt->callKind = CallKind::Display;
      const DisplayOperator& display = displayOperator(stmt->display);
      counts_[kIconicIn] = display.iconicIn;
      counts_[kCtrlIn] = display.ctrlIn;
      counts_[kCtrlOut] = display.ctrlOut;
    } else if ((stmt->procedure = lookup_->find(stmt->name))) {
      stmt->callKind = CallKind::Procedure;
      for (int g = 0; g < kGroupCount; ++g) {
        counts_[g] = static_cast<int>(stmt->procedure->params[g].size());
      }
    } else if (const KnownOperator* known = findKnownOperator(stmt->name)) {
      stmt->callKind = CallKind::Unimplemented;
      for (int g = 0; g < kGroupCount; ++g) counts_[g] = known->count(g);
    } else if (options_.ignoreUnresolved) {
      stmt->callKind = CallKind::Unresolved;
      return;
    } else {
      lineError(kErrUnknownCall, ExceptionSyntax, "no operator or procedure " + stmt->name);
    }
    if (stmt->callKind != CallKind::Procedure) stmt->faultName = faultNameOf(stmt->name.c_str());
  }

  // dev_set_check and dev_error_var change how the run treats operator errors; they are the
  // engine's own statements, not operators.
  bool resolveEngineStatement(Stmt* stmt) {
    if (stmt->name == "dev_set_check") {
      stmt->kind = StmtKind::SetCheck;
      counts_[kCtrlIn] = 1;
    } else if (stmt->name == "dev_error_var") {
      stmt->kind = StmtKind::ErrorVar;
      counts_[kCtrlOut] = 1;
      counts_[kCtrlIn] = 1;
    } else {
      return false;
    }
    checkArgumentCount(*stmt);
    return true;
  }

  void checkArgumentCount(const Stmt& stmt) const {
    const std::size_t expected = counts_[0] + counts_[1] + counts_[2] + counts_[3];
    if (stmt.exprs.size() != expected) {
      lineError(kErrArgumentCount, ExceptionSyntax,
                stmt.name + " takes " + std::to_string(expected) + " arguments, not " +
                    std::to_string(stmt.exprs.size()));
    }
  }

  void bindCall(Stmt* stmt) {
    if (stmt->callKind == CallKind::Unresolved) return;
    const std::array<int, kGroupCount>& counts = stmt->counts;
    std::vector<ExprPtr> arguments = std::move(stmt->exprs);
    stmt->exprs.clear();
    std::size_t position = 0;
    for (int i = 0; i < counts[kIconicIn]; ++i, ++position) {
      stmt->iconicIn.push_back(
          iconicVariable(variableArgument(*stmt, *arguments[position], position)));
    }
    for (int i = 0; i < counts[kIconicOut]; ++i, ++position) {
      stmt->iconicOut.push_back(
          iconicVariable(variableArgument(*stmt, *arguments[position], position)));
    }
    for (int i = 0; i < counts[kCtrlIn]; ++i, ++position) {
      bindExpr(arguments[position].get());
      stmt->ctrlIn.push_back(std::move(arguments[position]));
    }
    for (int i = 0; i < counts[kCtrlOut]; ++i, ++position) {
      stmt->ctrlOut.push_back(
          ctrlVariable(variableArgument(*stmt, *arguments[position], position)));
    }
  }

  // dev_error_var (ErrorVar, Mode): the variable, then the mode.
  void bindErrorVar(Stmt* stmt) {
    stmt->slot = ctrlVariable(variableArgument(*stmt, *stmt->exprs[0], 0));
    stmt->exprs.erase(stmt->exprs.begin());
    bindExpr(stmt->exprs[0].get());
  }

  ProcedureData* procedure_;
  ProcedureLookup* lookup_;
  const CompileOptions& options_;
  int counts_[kGroupCount] = {0, 0, 0, 0};  // of the call being resolved
  int temps_ = 0;                           // temporaries of the statement being bound
};

bool isLineError(Hlong number) {
  return number == kErrSyntax || number == kErrUnknownCall || number == kErrArgumentCount ||
         number == kErrOutputNotVariable || number == kErrVariableKind ||
         number == kErrNestingDepth || number == kErrUnknownFunction ||
         number == kErrBlockStructure || number == kErrLaterRelease;
}

// The errors of a line that does not parse, which ignore_invalid_lines skips. A line that
// parses but calls an unknown operator, or passes the wrong arguments, still fails the load.
bool isParseError(Hlong number) {
  return number == kErrSyntax || number == kErrNestingDepth || number == kErrUnknownFunction ||
         number == kErrLaterRelease;
}

// Runs one compile step for line `index`, completing the place of its error or, for a line
// that does not parse while invalid lines are ignored, making it an invalid line.
template <typename Step>
void atLine(ProcedureData* procedure, const ProcedureSource& source, std::size_t index,
            const CompileOptions& options, Step step) {
  try {
    step();
  } catch (LoadError& error) {
    // A callee that cannot be loaded reports its own file; it is no fault of this line.
    if (!error.place.file.empty() || !isLineError(error.number)) throw;
    Stmt& stmt = procedure->body[index];
    if (options.ignoreInvalidLines && isParseError(error.number)) {
      stmt = Stmt{};
      stmt.kind = StmtKind::Invalid;
      return;
    }
    const std::string& text = source.lines[index].text;
    error.place.procedure = procedure->name;
    error.place.file = procedure->file;
    error.place.line = static_cast<int>(index) + 1;
    error.place.lineName = stmt.name;
    if (error.detail.empty())
      error.detail = text;
    else
      error.detail += " in '" + text + "'";
    throw;
  }
}

}  // namespace

std::unique_ptr<ProcedureData> declareProcedure(const ProcedureSource& source,
                                                const std::string& file) {
  auto procedure = std::make_unique<ProcedureData>();
  procedure->name = source.name;
  procedure->file = file;
  for (int g = 0; g < kGroupCount; ++g) procedure->params[g] = source.params[g];
  for (int g : {kIconicIn, kIconicOut}) {
    for (const std::string& name : source.params[g]) {
      procedure->paramSlots[g].push_back(procedure->addIconicVariable(name));
    }
  }
  for (int g : {kCtrlIn, kCtrlOut}) {
    for (const std::string& name : source.params[g]) {
      procedure->paramSlots[g].push_back(procedure->addCtrlVariable(name));
    }
  }
  return procedure;
}

void compileBody(ProcedureData* procedure, const ProcedureSource& source, ProcedureLookup* lookup,
                 const CompileOptions& options) {
  const std::size_t count = source.lines.size();
  std::vector<Stmt>& body = procedure->body;
  body.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (source.lines[i].comment) {
      body[i].kind = StmtKind::Comment;
      continue;
    }
    atLine(procedure, source, i, options, [&] { body[i] = parseLine(source.lines[i].text); });
  }
  Binder binder(procedure, lookup, options);
  for (std::size_t i = 0; i < count; ++i) {
    atLine(procedure, source, i, options, [&] { binder.declare(&body[i]); });
  }
  // A few rounds settle chains of object assignments written in any order.
  for (int round = 0; round < 8; ++round) {
    bool changed = false;
    for (std::size_t i = 0; i < count; ++i) {
      atLine(procedure, source, i, options,
             [&] { changed = binder.declareAssignedObject(body[i]) || changed; });
    }
    if (!changed) break;
  }
  for (std::size_t i = 0; i < count; ++i) {
    atLine(procedure, source, i, options, [&] { binder.bind(&body[i]); });
  }
  try {
    linkBlocks(procedure, options.ignoreInvalidLines);
  } catch (LoadError& error) {
    error.place.procedure = procedure->name;
    error.place.file = procedure->file;
    throw;
  }
}

}  // namespace Standin
}  // namespace HDevEngineCpp
