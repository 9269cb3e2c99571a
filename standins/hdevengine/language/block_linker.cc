#include "language/block_linker.h"

#include <string>
#include <vector>

#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Links if/elseif/else/endif, the loops, try/catch/endtry, switch/case/endswitch and the
// break and continue statements. A statement without its partner fails the load, or, when
// invalid lines are ignored, is skipped.
class BlockLinker {
 public:
  BlockLinker(ProcedureData* procedure, bool ignoreInvalid)
      : procedure_(procedure), body_(procedure->body), ignoreInvalid_(ignoreInvalid) {}

  void link() {
    for (int i = 0; i < static_cast<int>(body_.size()); ++i) {
      switch (body_[i].kind) {
        case StmtKind::If:
        case StmtKind::For:
        case StmtKind::While:
        case StmtKind::Repeat:
        case StmtKind::Try:
        case StmtKind::Switch:
          open_.push_back(Block{i, {i}, {}, false});
          break;
        case StmtKind::ElseIf:
        case StmtKind::Else:
          branch(i, StmtKind::If, StmtKind::Else);
          break;
        case StmtKind::Catch:
          branch(i, StmtKind::Try, StmtKind::Catch);
          break;
        case StmtKind::Case:
        case StmtKind::Default:
          branch(i, StmtKind::Switch, StmtKind::Default);
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
        case StmtKind::EndTry:
          close(i, StmtKind::Try);
          break;
        case StmtKind::EndSwitch:
          close(i, StmtKind::Switch);
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
    // The opening line, then an if's elseif and else lines, a try's catch line, a switch's
    // case and default lines.
    std::vector<int> branches;
    std::vector<int> exits;  // break and continue lines of a loop, break lines of a switch
    bool closedBranches;     // an if's else, a try's catch or a switch's default was seen
  };

  StmtKind kindOf(const Block& block) const { return body_[block.start].kind; }

  static bool isLoop(StmtKind kind) {
    return kind == StmtKind::For || kind == StmtKind::While || kind == StmtKind::Repeat;
  }

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

  // else/elseif of an if, catch of a try, case/default of a switch. `last` is the branch
  // after which no other may come (a catch: only one).
  void branch(int i, StmtKind opener, StmtKind last) {
    const bool fits = !open_.empty() && kindOf(open_.back()) == opener &&
                      !(open_.back().closedBranches &&
                        (opener != StmtKind::Switch || body_[i].kind == StmtKind::Default));
    if (!fits) {
      if (!ignoreInvalid_) {
        structureError(i, body_[i].name + " without a matching " + body_[i].name.substr(0, 0) +
                              (opener == StmtKind::If    ? "if"
                               : opener == StmtKind::Try ? "try"
                                                         : "switch"));
      }
      invalidate(i);
      return;
    }
    Block& block = open_.back();
    if (opener == StmtKind::If) body_[block.branches.back()].jump = i;
    block.branches.push_back(i);
    if (body_[i].kind == last) block.closedBranches = true;
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
    switch (opener) {
      case StmtKind::If:
        body_[block.branches.back()].jump = i;
        for (int line : block.branches) body_[line].end = i;
        return;
      case StmtKind::Try:
        closeTry(block, i);
        return;
      case StmtKind::Switch:
        closeSwitch(block, i);
        return;
      default:
        break;
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

  void closeTry(const Block& block, int endtry) {
    if (block.branches.size() < 2) {
      if (!ignoreInvalid_) structureError(block.start, "try without its catch");
      invalidate(block.start);
      invalidate(endtry);
      return;
    }
    const int catchLine = block.branches[1];
    body_[block.start].jump = catchLine;
    body_[block.start].end = endtry;
    body_[catchLine].end = endtry;
    procedure_->tryBlocks.emplace_back(block.start, catchLine);
  }

  void closeSwitch(const Block& block, int endswitch) {
    Stmt& head = body_[block.start];
    head.end = endswitch;
    for (std::size_t b = 1; b < block.branches.size(); ++b) {
      const int line = block.branches[b];
      if (body_[line].kind == StmtKind::Default) {
        head.defaultLine = line;
      } else {
        head.cases.push_back(line);
      }
    }
    for (int line : block.exits) body_[line].end = endswitch;
  }

  // A break leaves the innermost loop or switch, a continue goes on with the innermost loop.
  void loopExit(int i) {
    const bool isBreak = body_[i].kind == StmtKind::Break;
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      const StmtKind kind = kindOf(*it);
      if (isLoop(kind) || (isBreak && kind == StmtKind::Switch)) {
        it->exits.push_back(i);
        return;
      }
    }
    if (!ignoreInvalid_) structureError(i, body_[i].name + " outside a loop");
    invalidate(i);
  }

  ProcedureData* procedure_;
  std::vector<Stmt>& body_;
  bool ignoreInvalid_;
  std::vector<Block> open_;
};

}  // namespace

void linkBlocks(ProcedureData* procedure, bool ignoreInvalid) {
  BlockLinker(procedure, ignoreInvalid).link();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
