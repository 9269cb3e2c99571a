#include "compiler.h"

#include <algorithm>
#include <utility>

#include "display_operators.h"
#include "engine_errors.h"
#include "parser.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

[[noreturn]] void lineError(Hlong number, ExceptionCategory category, const std::string& detail) {
  throw LoadError{number, category, detail, ErrorPlace{}};
}

// Binds one statement's variables and call in the procedure being compiled.
class Binder {
 public:
  Binder(ProcedureData* procedure, ProcedureLookup* lookup, const CompileOptions& options)
      : procedure_(procedure), lookup_(lookup), options_(options) {}

  void bind(Stmt* stmt) {
    temps_ = 0;
    bindStatement(stmt);
    procedure_->tempCount = std::max(procedure_->tempCount, temps_);
  }

 private:
  void bindStatement(Stmt* stmt) {
    switch (stmt->kind) {
      case StmtKind::Assign:
      case StmtKind::AssignElement:
      case StmtKind::For:
        stmt->slot = ctrlVariable(stmt->variable);
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
      case StmtKind::Call:
        bindCall(stmt);
        break;
      default:
        for (ExprPtr& expr : stmt->exprs) bindExpr(expr.get());
    }
  }

  int ctrlVariable(const std::string& name) {
    if (procedure_->iconicSlot(name) >= 0) {
      lineError(kErrVariableKind, ExceptionSyntax, name + " is an iconic variable");
    }
    int slot = procedure_->ctrlSlot(name);
    if (slot < 0) {
      slot = static_cast<int>(procedure_->ctrlVariables.size());
      procedure_->ctrlVariables.push_back(name);
    }
    return slot;
  }

  int iconicVariable(const std::string& name) {
    if (procedure_->ctrlSlot(name) >= 0) {
      lineError(kErrVariableKind, ExceptionSyntax, name + " is a control variable");
    }
    int slot = procedure_->iconicSlot(name);
    if (slot < 0) {
      slot = static_cast<int>(procedure_->iconicVariables.size());
      procedure_->iconicVariables.push_back(name);
    }
    return slot;
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

  void bindCall(Stmt* stmt) {
    int counts[kGroupCount] = {0, 0, 0, 0};
    if ((stmt->op = findOperator(stmt->name))) {
      stmt->callKind = CallKind::Operator;
      counts[kIconicIn] = stmt->op->iconicIn;
      counts[kIconicOut] = stmt->op->iconicOut;
      counts[kCtrlIn] = stmt->op->ctrlIn;
      counts[kCtrlOut] = stmt->op->ctrlOut;
    } else if ((stmt->display = findDisplayOperator(stmt->name)) >= 0) {
      stmt->callKind = CallKind::Display;
      const DisplayOperator& display = displayOperator(stmt->display);
      counts[kIconicIn] = display.iconicIn;
      counts[kCtrlIn] = display.ctrlIn;
      counts[kCtrlOut] = display.ctrlOut;
    } else if ((stmt->procedure = lookup_->find(stmt->name))) {
      stmt->callKind = CallKind::Procedure;
      for (int g = 0; g < kGroupCount; ++g) {
        counts[g] = static_cast<int>(stmt->procedure->params[g].size());
      }
    } else if (options_.ignoreUnresolved) {
      stmt->callKind = CallKind::Unresolved;
      return;
    } else {
      lineError(kErrUnknownCall, ExceptionSyntax, "no operator or procedure " + stmt->name);
    }
    if (stmt->callKind != CallKind::Procedure) stmt->faultName = faultNameOf(stmt->name.c_str());

    const std::size_t expected = counts[0] + counts[1] + counts[2] + counts[3];
    if (stmt->exprs.size() != expected) {
      lineError(kErrArgumentCount, ExceptionSyntax,
                stmt->name + " takes " + std::to_string(expected) + " arguments, not " +
                    std::to_string(stmt->exprs.size()));
    }
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

  ProcedureData* procedure_;
  ProcedureLookup* lookup_;
  const CompileOptions& options_;
  int temps_ = 0;  // temporaries of the statement being bound
};

bool isLineError(Hlong number) {
  return number == kErrSyntax || number == kErrUnknownCall || number == kErrArgumentCount ||
         number == kErrOutputNotVariable || number == kErrVariableKind ||
         number == kErrNestingDepth || number == kErrUnknownFunction ||
         number == kErrBlockStructure;
}

// Links if/elseif/else/endif, the loops and their break/continue statements. A statement
// without its partner fails the load, or, when invalid lines are ignored, is skipped.
class BlockLinker {
 public:
  BlockLinker(ProcedureData* procedure, bool ignoreInvalid)
      : body_(procedure->body), ignoreInvalid_(ignoreInvalid) {}

  void link() {
    for (int i = 0; i < static_cast<int>(body_.size()); ++i) {
      switch (body_[i].kind) {
        case StmtKind::If:
        case StmtKind::For:
        case StmtKind::While:
        case StmtKind::Repeat:
          open_.push_back(Block{i, {i}, {}, false});
          break;
        case StmtKind::ElseIf:
        case StmtKind::Else:
          branch(i);
          break;
        case StmtKind::EndIf:
          close(i, StmtKind::If);
          break;
        case StmtKind::EndFor:
          close(i, StmtKind::For);
          break;
        case StmtKind::EndWhile:
          close(i, StmtKind::While);
          break;
        case StmtKind::Until:
          close(i, StmtKind::Repeat);
          break;
        case StmtKind::Break:
        case StmtKind::Continue:
          loopExit(i);
          break;
        default:
          break;
      }
    }
    while (!open_.empty()) {
      const Block block = open_.back();
      open_.pop_back();
      unmatched(block, "without its closing statement");
    }
  }

 private:
  struct Block {
    int start;
    std::vector<int> branches;  // the opening line, then an if's elseif and else lines
    std::vector<int> exits;     // break and continue lines of a loop
    bool hasElse;
  };

  StmtKind kindOf(const Block& block) const { return body_[block.start].kind; }

  [[noreturn]] void structureError(int line, const std::string& detail) const {
    ErrorPlace place;
    place.line = line + 1;
    place.lineName = body_[line].name;
    throw LoadError{kErrBlockStructure, ExceptionSyntax, detail, place};
  }

  void invalidate(int line) {
    body_[line].kind = StmtKind::Invalid;
    body_[line].exprs.clear();
  }

  void unmatched(const Block& block, const char* detail) {
    if (!ignoreInvalid_) structureError(block.start, body_[block.start].name + " " + detail);
    for (int line : block.branches) invalidate(line);
    for (int line : block.exits) invalidate(line);
  }

  void branch(int i) {
    if (open_.empty() || kindOf(open_.back()) != StmtKind::If || open_.back().hasElse) {
      if (!ignoreInvalid_) structureError(i, body_[i].name + " without a matching if");
      invalidate(i);
      return;
    }
    Block& block = open_.back();
    body_[block.branches.back()].jump = i;
    block.branches.push_back(i);
    block.hasElse = body_[i].kind == StmtKind::Else;
  }

  void close(int i, StmtKind opener) {
    const int top = static_cast<int>(open_.size()) - 1;
    int match = top;
    while (match >= 0 && kindOf(open_[match]) != opener) --match;
    if (match < 0) {
      if (!ignoreInvalid_) structureError(i, body_[i].name + " without its opening statement");
      invalidate(i);
      return;
    }
    if (match != top && !ignoreInvalid_) {
      structureError(i, body_[i].name + " while the " + body_[open_[top].start].name + " of line " +
                            std::to_string(open_[top].start + 1) + " is still open");
    }
    while (static_cast<int>(open_.size()) - 1 > match) {
      const Block inner = open_.back();
      open_.pop_back();
      unmatched(inner, "without its closing statement");
    }
    const Block block = open_.back();
    open_.pop_back();
    if (opener == StmtKind::If) {
      body_[block.branches.back()].jump = i;
      for (int line : block.branches) body_[line].end = i;
      return;
    }
    body_[block.start].end = i;
    body_[i].jump = block.start;
    for (int line : block.exits) {
      if (body_[line].kind == StmtKind::Break) {
        body_[line].end = i;
      } else {
        // A for-loop's next iteration starts at endfor (which steps the variable), a while
        // loop's at its condition, a repeat loop's at until.
        body_[line].jump = opener == StmtKind::While ? block.start : i;
      }
    }
  }

  void loopExit(int i) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      if (kindOf(*it) != StmtKind::If) {
        it->exits.push_back(i);
        return;
      }
    }
    if (!ignoreInvalid_) structureError(i, body_[i].name + " outside a loop");
    invalidate(i);
  }

  std::vector<Stmt>& body_;
  bool ignoreInvalid_;
  std::vector<Block> open_;
};

}  // namespace

std::unique_ptr<ProcedureData> declareProcedure(const ProcedureSource& source,
                                                const std::string& file) {
  auto procedure = std::make_unique<ProcedureData>();
  procedure->name = source.name;
  procedure->file = file;
  for (int g = 0; g < kGroupCount; ++g) procedure->params[g] = source.params[g];
  for (int g : {kIconicIn, kIconicOut}) {
    for (const std::string& name : source.params[g]) {
      procedure->paramSlots[g].push_back(static_cast<int>(procedure->iconicVariables.size()));
      procedure->iconicVariables.push_back(name);
    }
  }
  for (int g : {kCtrlIn, kCtrlOut}) {
    for (const std::string& name : source.params[g]) {
      procedure->paramSlots[g].push_back(static_cast<int>(procedure->ctrlVariables.size()));
      procedure->ctrlVariables.push_back(name);
    }
  }
  return procedure;
}

void compileBody(ProcedureData* procedure, const ProcedureSource& source, ProcedureLookup* lookup,
                 const CompileOptions& options) {
  Binder binder(procedure, lookup, options);
  procedure->body.reserve(source.lines.size());
  for (std::size_t i = 0; i < source.lines.size(); ++i) {
    const SourceLine& line = source.lines[i];
    Stmt stmt;
    try {
      if (line.comment) {
        stmt.kind = StmtKind::Comment;
      } else {
        stmt = parseLine(line.text);
        binder.bind(&stmt);
      }
    } catch (LoadError& error) {
      // A callee that cannot be loaded reports its own file; it is no fault of this line.
      if (!error.place.file.empty() || !isLineError(error.number)) throw;
      if (options.ignoreInvalidLines) {
        stmt = Stmt{};
        stmt.kind = StmtKind::Invalid;
      } else {
        error.place.procedure = procedure->name;
        error.place.file = procedure->file;
        error.place.line = static_cast<int>(i) + 1;
        error.place.lineName = stmt.name;
        if (error.detail.empty())
          error.detail = line.text;
        else
          error.detail += " in '" + line.text + "'";
        throw;
      }
    }
    procedure->body.push_back(std::move(stmt));
  }
  try {
    BlockLinker(procedure, options.ignoreInvalidLines).link();
  } catch (LoadError& error) {
    error.place.procedure = procedure->name;
    error.place.file = procedure->file;
    throw;
  }
}

}  // namespace Standin
}  // namespace HDevEngineCpp
