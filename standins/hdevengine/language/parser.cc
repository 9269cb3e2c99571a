#include "language/parser.h"

#include <string>
#include <utility>
#include <vector>

#include "language/expression_parser.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Statements of later HDevelop releases, refused by name so that the record says why.
struct LaterConstruct {
  const char* word;
  const char* what;
  const char* release;
};
constexpr LaterConstruct kLaterStatements[] = {
    {"par_start", "par_start (parallel execution)", "12.0"},
    {"par_join", "par_join (parallel execution)", "12.0"},
    {"import", "import", "18.05"},
    {"convert_vector_to_tuple", "vectors", "12.0"},
    {"convert_tuple_to_vector_1d", "vectors", "12.0"},
    {"create_dict", "dictionaries", "18.11"},
    {"set_dict_tuple", "dictionaries", "18.11"},
    {"get_dict_tuple", "dictionaries", "18.11"},
    {"set_dict_object", "dictionaries", "18.11"},
    {"get_dict_object", "dictionaries", "18.11"},
    {"get_dict_param", "dictionaries", "18.11"},
    {"remove_dict_key", "dictionaries", "18.11"},
    {"copy_dict", "dictionaries", "18.11"},
    {"read_dict", "dictionaries", "18.11"},
    {"write_dict", "dictionaries", "18.11"},
};

class Parser : public ExpressionParser {
 public:
  using ExpressionParser::ExpressionParser;

  Stmt statement() {
    Stmt stmt;
    const Token& first = peek();
    if (first.kind == TokenKind::End) return stmt;
    if (first.kind != TokenKind::Identifier) fail("expected a statement");
    const std::string word = first.text;
    for (const LaterConstruct& later : kLaterStatements) {
      if (word == later.word) laterRelease(later.what, later.release);
    }
    if (word == "if" || word == "ifelse" || word == "elseif" || word == "while" ||
        word == "until" || word == "switch") {
      stmt.kind = word == "if" || word == "ifelse" ? StmtKind::If
                  : word == "elseif"               ? StmtKind::ElseIf
                  : word == "while"                ? StmtKind::While
                  : word == "switch"               ? StmtKind::Switch
                                                   : StmtKind::Until;
      stmt.name = word == "ifelse" ? "if" : word;
      advance();
      stmt.exprs.push_back(expression());
    } else if (word == "for") {
      forHead(&stmt);
    } else if (word == "case" || word == "default") {
      caseLabel(&stmt);
    } else if (word == "catch" || word == "throw") {
      advance();
      stmt.name = word;
      expectSymbol("(");
      if (word == "catch") {
        stmt.kind = StmtKind::Catch;
        stmt.variable = variableName();
      } else {
        stmt.kind = StmtKind::Throw;
        stmt.exprs.push_back(expression());
      }
      expectSymbol(")");
    } else if (word == "global") {
      globalDeclaration(&stmt);
    } else if (isReserved(word)) {
      bareKeyword(&stmt);
    } else {
      advance();
      if (acceptSymbol("(")) {
        callArguments(word, &stmt);
      } else if (acceptSymbol(":=")) {
        stmt.kind = StmtKind::Assign;
        stmt.name = "assign";
        stmt.variable = word;
        stmt.exprs.push_back(expression());
      } else if (acceptSymbol("[")) {
        stmt.kind = StmtKind::AssignElement;
        stmt.name = "assign";
        stmt.variable = word;
        stmt.exprs.push_back(expression());
        expectSymbol("]");
        expectSymbol(":=");
        stmt.exprs.push_back(expression());
      } else if (isSymbol(".")) {
        laterRelease("dictionaries and vectors (" + word + "." + describeNext() + ")", "12.0");
      } else {
        fail("expected ':=' or '(' after " + word);
      }
    }
    if (peek().kind != TokenKind::End) fail("unexpected " + describe(peek()));
    return stmt;
  }

 private:
  void bareKeyword(Stmt* stmt) {
    static constexpr std::pair<const char*, StmtKind> kBare[] = {
        {"else", StmtKind::Else},
        {"endif", StmtKind::EndIf},
        {"endfor", StmtKind::EndFor},
        {"endwhile", StmtKind::EndWhile},
        {"repeat", StmtKind::Repeat},
        {"break", StmtKind::Break},
        {"continue", StmtKind::Continue},
        {"return", StmtKind::Return},
        {"stop", StmtKind::Stop},
        {"exit", StmtKind::Exit},
        {"try", StmtKind::Try},
        {"endtry", StmtKind::EndTry},
        {"endswitch", StmtKind::EndSwitch}};
    for (const auto& [word, kind] : kBare) {
      if (isWord(word)) {
        stmt->kind = kind;
        stmt->name = word;
        advance();
        // "return ()" and "stop ()" are written with parentheses; the others may have them.
        if (acceptSymbol("(")) expectSymbol(")");
        return;
      }
    }
    fail("'" + peek().text + "' cannot start a statement");
  }

  void forHead(Stmt* stmt) {
    advance();
    stmt->kind = StmtKind::For;
    stmt->name = "for";
    stmt->variable = variableName();
    expectSymbol(":=");
    stmt->exprs.push_back(expression());
    if (!isWord("to")) fail("expected 'to'");
    advance();
    stmt->exprs.push_back(expression());
    if (isWord("by")) {
      advance();
      stmt->exprs.push_back(expression());
    }
  }

  // "case 3:" and "default:".
  void caseLabel(Stmt* stmt) {
    stmt->name = peek().text;
    stmt->kind = stmt->name == "case" ? StmtKind::Case : StmtKind::Default;
    advance();
    if (stmt->kind == StmtKind::Case) stmt->exprs.push_back(expression());
    expectSymbol(":");
  }

  // "global tuple X", "global def object Y": the declaration of a global variable.
  void globalDeclaration(Stmt* stmt) {
    advance();
    stmt->kind = StmtKind::Global;
    stmt->name = "global";
    if (isWord("def")) advance();
    if (isWord("object") || isWord("tuple")) {
      stmt->iconic = peek().text == "object";
      advance();
      if (isWord("vector") && nextIsSymbol("(")) {
        laterRelease("global vector variables", "12.0");
      }
    } else if (isWord("vector") || isWord("dict")) {
      laterRelease("global " + peek().text + " variables", "12.0");
    } else {
      fail("expected 'tuple' or 'object'");
    }
    stmt->variable = variableName();
  }

  void callArguments(const std::string& callee, Stmt* stmt) {
    std::vector<ExprPtr> arguments;
    if (!acceptSymbol(")")) {
      do {
        arguments.push_back(expression());
      } while (acceptSymbol(","));
      expectSymbol(")");
    }
    if (callee == "assign") {
      // The old spelling of "Result := Value".
      if (arguments.size() != 2 || arguments[1]->kind != ExprKind::Variable) {
        throw LoadError{kErrSyntax, ExceptionSyntax, "assign takes a value and a variable",
                        ErrorPlace{}};
      }
      stmt->kind = StmtKind::Assign;
      stmt->variable = arguments[1]->name;
      arguments.pop_back();
    } else if (callee == "insert") {
      // The old spelling of "Result := Tuple; Result[Index] := Value".
      if (arguments.size() != 4 || arguments[0]->kind != ExprKind::Variable ||
          arguments[3]->kind != ExprKind::Variable) {
        throw LoadError{kErrSyntax, ExceptionSyntax,
                        "insert takes a tuple variable, a value, an index and a variable",
                        ErrorPlace{}};
      }
      stmt->variable = arguments[3]->name;
      std::vector<ExprPtr> parts;
      parts.push_back(std::move(arguments[2]));
      parts.push_back(std::move(arguments[1]));
      stmt->kind =
          arguments[0]->name == stmt->variable ? StmtKind::AssignElement : StmtKind::Insert;
      if (stmt->kind == StmtKind::Insert) parts.push_back(std::move(arguments[0]));
      arguments = std::move(parts);
    } else {
      stmt->kind = StmtKind::Call;
    }
    stmt->name = callee;
    stmt->exprs = std::move(arguments);
  }
};

}  // namespace

Stmt parseLine(const std::string& text) {
  if (text.empty()) return Stmt{};
  if (text[0] == '*') {
    Stmt comment;
    comment.kind = StmtKind::Comment;
    return comment;
  }
  return Parser(text).statement();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
