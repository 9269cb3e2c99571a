#include "parser.h"

#include <algorithm>
#include <utility>

#include "engine_errors.h"
#include "functions.h"
#include "lexer.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr const char* kReserved[] = {
    "if",    "elseif",   "else",   "endif", "for", "endfor", "while", "endwhile", "repeat", "until",
    "break", "continue", "return", "stop",  "and", "or",     "xor",   "not",      "to",     "by"};

bool isReserved(const std::string& word) {
  for (const char* reserved : kReserved) {
    if (word == reserved) return true;
  }
  return false;
}

struct BinaryLevel {
  const char* symbols[4];
  BinaryOp ops[4];
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  Stmt statement() {
    Stmt stmt;
    const Token& first = peek();
    if (first.kind == TokenKind::End) return stmt;
    if (first.kind != TokenKind::Identifier) fail("expected a statement");
    const std::string word = first.text;
    if (word == "if" || word == "elseif" || word == "while" || word == "until") {
      stmt.kind = word == "if"       ? StmtKind::If
                  : word == "elseif" ? StmtKind::ElseIf
                  : word == "while"  ? StmtKind::While
                                     : StmtKind::Until;
      stmt.name = word;
      ++pos_;
      stmt.exprs.push_back(expression());
    } else if (word == "for") {
      forHead(&stmt);
    } else if (isReserved(word)) {
      bareKeyword(&stmt);
    } else {
      ++pos_;
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
      } else {
        fail("expected ':=' or '(' after " + word);
      }
    }
    if (peek().kind != TokenKind::End) fail("unexpected " + describe(peek()));
    return stmt;
  }

 private:
  // Counts the parser's own recursion, so that a line like "((((...))))" fails cleanly.
  class Nesting {
   public:
    explicit Nesting(Parser* parser) : parser_(parser) {
      if (++parser_->nesting_ > kMaxExpressionDepth) parser_->tooDeep();
    }
    ~Nesting() { --parser_->nesting_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser* parser_;
  };

  const Token& peek() const { return tokens_[pos_]; }

  bool isSymbol(const char* symbol) const {
    return peek().kind == TokenKind::Symbol && peek().text == symbol;
  }

  bool isWord(const char* word) const {
    return peek().kind == TokenKind::Identifier && peek().text == word;
  }

  bool acceptSymbol(const char* symbol) {
    if (!isSymbol(symbol)) return false;
    ++pos_;
    return true;
  }

  void expectSymbol(const char* symbol) {
    if (!acceptSymbol(symbol)) fail(std::string("expected '") + symbol + "'");
  }

  static std::string describe(const Token& token) {
    switch (token.kind) {
      case TokenKind::End:
        return "end of line";
      case TokenKind::String:
        return "string '" + token.text + "'";
      case TokenKind::Integer:
        return "number " + std::to_string(token.integer);
      case TokenKind::Real:
        return "number";
      default:
        return "'" + token.text + "'";
    }
  }

  [[noreturn]] void fail(const std::string& detail) const {
    std::string message = "column " + std::to_string(peek().column) + ": " + detail;
    if (detail.compare(0, 10, "unexpected") != 0) message += ", found " + describe(peek());
    throw LoadError{kErrSyntax, ExceptionSyntax, message, ErrorPlace{}};
  }

  [[noreturn]] void tooDeep() const {
    throw LoadError{kErrNestingDepth, ExceptionSyntax,
                    "more than " + std::to_string(kMaxExpressionDepth) + " levels", ErrorPlace{}};
  }

  ExprPtr node(ExprKind kind, std::vector<ExprPtr> operands) const {
    auto expr = std::make_unique<Expr>();
    expr->kind = kind;
    for (const ExprPtr& operand : operands) expr->depth = std::max(expr->depth, operand->depth + 1);
    if (expr->depth > kMaxExpressionDepth) tooDeep();
    expr->operands = std::move(operands);
    return expr;
  }

  std::string variableName() {
    if (peek().kind != TokenKind::Identifier || isReserved(peek().text)) {
      fail("expected a variable name");
    }
    return tokens_[pos_++].text;
  }

  void bareKeyword(Stmt* stmt) {
    static constexpr std::pair<const char*, StmtKind> kBare[] = {
        {"else", StmtKind::Else},         {"endif", StmtKind::EndIf},
        {"endfor", StmtKind::EndFor},     {"endwhile", StmtKind::EndWhile},
        {"repeat", StmtKind::Repeat},     {"break", StmtKind::Break},
        {"continue", StmtKind::Continue}, {"return", StmtKind::Return},
        {"stop", StmtKind::Stop}};
    for (const auto& [word, kind] : kBare) {
      if (isWord(word)) {
        stmt->kind = kind;
        stmt->name = word;
        ++pos_;
        // "return ()" and "stop ()" are written with parentheses; the others may have them.
        if (acceptSymbol("(")) expectSymbol(")");
        return;
      }
    }
    fail("'" + peek().text + "' cannot start a statement");
  }

  void forHead(Stmt* stmt) {
    ++pos_;
    stmt->kind = StmtKind::For;
    stmt->name = "for";
    stmt->variable = variableName();
    expectSymbol(":=");
    stmt->exprs.push_back(expression());
    if (!isWord("to")) fail("expected 'to'");
    ++pos_;
    stmt->exprs.push_back(expression());
    if (isWord("by")) {
      ++pos_;
      stmt->exprs.push_back(expression());
    }
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
    } else {
      stmt->kind = StmtKind::Call;
    }
    stmt->name = callee;
    stmt->exprs = std::move(arguments);
  }

  ExprPtr expression() {
    Nesting nesting(this);
    return binary(0);
  }

  // Binary operators from the loosest binding to the tightest.
  ExprPtr binary(std::size_t level) {
    static const BinaryLevel kLevels[] = {
        {{"or"}, {BinaryOp::Or}},
        {{"xor"}, {BinaryOp::Xor}},
        {{"and"}, {BinaryOp::And}},
        {{"=", "==", "#", "!="},
         {BinaryOp::Equal, BinaryOp::Equal, BinaryOp::NotEqual, BinaryOp::NotEqual}},
        {{"<", ">", "<=", ">="},
         {BinaryOp::Less, BinaryOp::Greater, BinaryOp::LessEqual, BinaryOp::GreaterEqual}},
        {{"+", "-"}, {BinaryOp::Add, BinaryOp::Subtract}},
        {{"*", "/", "%"}, {BinaryOp::Multiply, BinaryOp::Divide, BinaryOp::Modulo}},
    };
    constexpr std::size_t kLevelCount = sizeof kLevels / sizeof kLevels[0];
    if (level == kLevelCount) return unary();
    ExprPtr left = binary(level + 1);
    for (;;) {
      const BinaryLevel& current = kLevels[level];
      int found = -1;
      for (int i = 0; i < 4 && current.symbols[i]; ++i) {
        const char* symbol = current.symbols[i];
        const bool word = symbol[0] >= 'a' && symbol[0] <= 'z';
        if (word ? isWord(symbol) : isSymbol(symbol)) found = i;
      }
      if (found < 0) return left;
      ++pos_;
      std::vector<ExprPtr> operands;
      operands.push_back(std::move(left));
      operands.push_back(binary(level + 1));
      left = node(ExprKind::Binary, std::move(operands));
      left->op = current.ops[found];
    }
  }

  ExprPtr unary() {
    if (isSymbol("-") || isWord("not")) {
      const bool negate = isSymbol("-");
      ++pos_;
      Nesting nesting(this);
      std::vector<ExprPtr> operands;
      operands.push_back(unary());
      return node(negate ? ExprKind::Negate : ExprKind::Not, std::move(operands));
    }
    return postfix();
  }

  ExprPtr postfix() {
    ExprPtr expr = primary();
    while (acceptSymbol("[")) {
      std::vector<ExprPtr> operands;
      operands.push_back(std::move(expr));
      operands.push_back(expression());
      ExprKind kind = ExprKind::Index;
      if (acceptSymbol(":")) {
        kind = ExprKind::Slice;
        operands.push_back(expression());
      }
      expectSymbol("]");
      expr = node(kind, std::move(operands));
    }
    return expr;
  }

  ExprPtr literal(HTuple value) {
    ExprPtr expr = node(ExprKind::Literal, {});
    expr->value = std::move(value);
    ++pos_;
    return expr;
  }

  ExprPtr primary() {
    const Token& token = peek();
    switch (token.kind) {
      case TokenKind::Integer:
        return literal(HTuple(token.integer));
      case TokenKind::Real:
        return literal(HTuple(token.real));
      case TokenKind::String:
        return literal(HTuple(token.text.c_str()));
      case TokenKind::Identifier:
        return identifier();
      default:
        break;
    }
    if (acceptSymbol("(")) {
      ExprPtr inner = expression();
      expectSymbol(")");
      return inner;
    }
    if (acceptSymbol("|")) {
      std::vector<ExprPtr> operands;
      operands.push_back(expression());
      expectSymbol("|");
      return node(ExprKind::Length, std::move(operands));
    }
    if (acceptSymbol("[")) {
      std::vector<ExprPtr> operands;
      if (!acceptSymbol("]")) {
        do {
          operands.push_back(expression());
        } while (acceptSymbol(","));
        expectSymbol("]");
      }
      return node(ExprKind::Tuple, std::move(operands));
    }
    fail("expected an expression");
  }

  ExprPtr identifier() {
    const std::string name = peek().text;
    if (name == "true") return literal(HTuple(1));
    if (name == "false") return literal(HTuple(0));
    if (isReserved(name)) fail("expected an expression");
    ++pos_;
    if (!acceptSymbol("(")) {
      ExprPtr expr = node(ExprKind::Variable, {});
      expr->name = name;
      return expr;
    }
    const int function = findFunction(name);
    if (function < 0) {
      throw LoadError{kErrUnknownFunction, ExceptionSyntax, "no function " + name, ErrorPlace{}};
    }
    std::vector<ExprPtr> operands;
    if (!acceptSymbol(")")) {
      do {
        operands.push_back(expression());
      } while (acceptSymbol(","));
      expectSymbol(")");
    }
    const int count = static_cast<int>(operands.size());
    const int least = functionMinArguments(function);
    const int most = functionMaxArguments(function);
    if (count < least || count > most) {
      const std::string takes = least == most
                                    ? std::to_string(least)
                                    : std::to_string(least) + " to " + std::to_string(most);
      throw LoadError{kErrSyntax, ExceptionSyntax,
                      name + " takes " + takes + " argument" + (most == 1 ? "" : "s") + ", not " +
                          std::to_string(count),
                      ErrorPlace{}};
    }
    ExprPtr expr = node(ExprKind::Function, std::move(operands));
    expr->name = name;
    expr->function = function;
    return expr;
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  int nesting_ = 0;
};

}  // namespace

Stmt parseLine(const std::string& text) {
  if (text.empty()) return Stmt{};
  if (text[0] == '*') {
    Stmt comment;
    comment.kind = StmtKind::Comment;
    return comment;
  }
  return Parser(tokenize(text)).statement();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
