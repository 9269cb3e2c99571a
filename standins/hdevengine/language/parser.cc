#include "language/parser.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "functions/functions.h"
#include "language/lexer.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr const char* kReserved[] = {
    "if",      "elseif",    "else",     "endif",  "for",   "endfor", "while", "endwhile", "repeat",
    "until",   "break",     "continue", "return", "stop",  "exit",   "and",   "or",       "xor",
    "not",     "to",        "by",       "try",    "catch", "endtry", "throw", "switch",   "case",
    "default", "endswitch", "global",   "band",   "bor",   "bxor",   "bnot",  "ifelse"};

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

[[noreturn]] void laterRelease(const std::string& what, const char* release) {
  throw LoadError{kErrLaterRelease, ExceptionSyntax,
                  what + " needs HDevelop " + release + " or later; this engine runs 11.0 programs",
                  ErrorPlace{}};
}

bool isReserved(const std::string& word) {
  static const std::unordered_set<std::string> kWords(std::begin(kReserved), std::end(kReserved));
  return kWords.count(word) != 0;
}

// One level of binary operators: each symbol either makes a Binary node or calls the
// function of the same name (band, bor, bxor, =~).
struct BinaryLevel {
  const char* symbols[4];
  BinaryOp ops[4];
  bool function;
};

// Binary operators from the loosest binding to the tightest.
const BinaryLevel kLevels[] = {
    {{"or"}, {BinaryOp::Or}, false},
    {{"xor"}, {BinaryOp::Xor}, false},
    {{"and"}, {BinaryOp::And}, false},
    {{"bor"}, {}, true},
    {{"bxor"}, {}, true},
    {{"band"}, {}, true},
    {{"=", "==", "#", "!="},
     {BinaryOp::Equal, BinaryOp::Equal, BinaryOp::NotEqual, BinaryOp::NotEqual},
     false},
    {{"=~"}, {}, true},
    {{"<", ">", "<=", ">="},
     {BinaryOp::Less, BinaryOp::Greater, BinaryOp::LessEqual, BinaryOp::GreaterEqual},
     false},
    {{"+", "-"}, {BinaryOp::Add, BinaryOp::Subtract}, false},
    {{"*", "/", "%"}, {BinaryOp::Multiply, BinaryOp::Divide, BinaryOp::Modulo}, false},
};
constexpr std::size_t kLevelCount = sizeof kLevels / sizeof kLevels[0];

// Where a token stands among the binary operators: its level and its place in that level.
struct BinaryPlace {
  int level = -1;
  int index = -1;
};

BinaryPlace binaryPlaceOf(const Token& token) {
  static const std::unordered_map<std::string, BinaryPlace> kPlaces = [] {
    std::unordered_map<std::string, BinaryPlace> places;
    for (std::size_t level = 0; level < kLevelCount; ++level) {
      for (int i = 0; i < 4 && kLevels[level].symbols[i]; ++i) {
        places[kLevels[level].symbols[i]] = BinaryPlace{static_cast<int>(level), i};
      }
    }
    return places;
  }();
  if (token.kind != TokenKind::Identifier && token.kind != TokenKind::Symbol) return {};
  const auto it = kPlaces.find(token.text);
  return it == kPlaces.end() ? BinaryPlace{} : it->second;
}

class Parser {
 public:
  explicit Parser(const std::string& line) : reader_(line) {
    current_ = reader_.next();
    if (current_.kind != TokenKind::End) next_ = reader_.next();
    place_ = binaryPlaceOf(current_);
  }

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

  const Token& peek() const { return current_; }

  // Moves on to the next token; the end of the line stays where it is.
  void advance() {
    if (current_.kind == TokenKind::End) return;
    current_ = std::move(next_);
    if (current_.kind != TokenKind::End) next_ = reader_.next();
    place_ = binaryPlaceOf(current_);
  }

  bool isSymbol(const char* symbol) const {
    return peek().kind == TokenKind::Symbol && peek().text == symbol;
  }

  bool isWord(const char* word) const {
    return peek().kind == TokenKind::Identifier && peek().text == word;
  }

  bool nextIsSymbol(const char* symbol) const {
    return current_.kind != TokenKind::End && next_.kind == TokenKind::Symbol &&
           next_.text == symbol;
  }

  bool acceptSymbol(const char* symbol) {
    if (!isSymbol(symbol)) return false;
    advance();
    return true;
  }

  void expectSymbol(const char* symbol) {
    if (!acceptSymbol(symbol)) fail(std::string("expected '") + symbol + "'");
  }

  std::string describeNext() const { return current_.kind == TokenKind::End ? "" : next_.text; }

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

  // A call of a function of the table, for the operators that are functions underneath.
  ExprPtr functionNode(const char* name, std::vector<ExprPtr> operands) const {
    const int function = findFunction(name);
    if (function < 0) {
      throw LoadError{kErrUnknownFunction, ExceptionSyntax, std::string("no function ") + name,
                      ErrorPlace{}};
    }
    ExprPtr expr = node(ExprKind::Function, std::move(operands));
    expr->name = name;
    expr->function = function;
    return expr;
  }

  std::string variableName() {
    if (peek().kind != TokenKind::Identifier || isReserved(peek().text)) {
      fail("expected a variable name");
    }
    std::string name = current_.text;
    advance();
    return name;
  }

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

  ExprPtr expression() {
    Nesting nesting(this);
    return binary(0);
  }

  ExprPtr binary(std::size_t level) {
    if (level == kLevelCount) return unary();
    ExprPtr left = binary(level + 1);
    for (;;) {
      const BinaryLevel& current = kLevels[level];
      if (place_.level != static_cast<int>(level)) return left;
      const int found = place_.index;
      advance();
      std::vector<ExprPtr> operands;
      operands.push_back(std::move(left));
      operands.push_back(binary(level + 1));
      if (current.function) {
        left = functionNode(current.symbols[found], std::move(operands));
      } else {
        left = node(ExprKind::Binary, std::move(operands));
        left->op = current.ops[found];
      }
    }
  }

  ExprPtr unary() {
    if (isSymbol("-") || isWord("not")) {
      const bool negate = isSymbol("-");
      advance();
      Nesting nesting(this);
      std::vector<ExprPtr> operands;
      operands.push_back(unary());
      // A negative number is a literal of its own, so that it joins its neighbours in a tuple.
      const HalconCpp::HTupleType kind = operands[0]->value.Type();
      if (negate && operands[0]->kind == ExprKind::Literal &&
          (kind == HalconCpp::eElementTypeLong || kind == HalconCpp::eElementTypeDouble)) {
        operands[0]->value = -operands[0]->value;
        return std::move(operands[0]);
      }
      return node(negate ? ExprKind::Negate : ExprKind::Not, std::move(operands));
    }
    if (isWord("bnot")) {
      advance();
      Nesting nesting(this);
      std::vector<ExprPtr> operands;
      operands.push_back(unary());
      return functionNode("bnot", std::move(operands));
    }
    return formatted();
  }

  // Value$Format binds tighter than any other operator but the postfix ones.
  ExprPtr formatted() {
    ExprPtr expr = postfix();
    while (acceptSymbol("$")) {
      std::vector<ExprPtr> operands;
      operands.push_back(std::move(expr));
      operands.push_back(postfix());
      expr = functionNode(kFormatFunction, std::move(operands));
    }
    return expr;
  }

  ExprPtr postfix() {
    ExprPtr expr = primary();
    for (;;) {
      if (acceptSymbol("[")) {
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
      } else if (acceptSymbol("{")) {
        // S{I} is one character of each string, S{A:B} the characters from A to B.
        const bool mayBeDictionary = expr->kind == ExprKind::Variable && expr->name == "dict";
        if (mayBeDictionary && isSymbol("}")) laterDictionary();
        std::vector<ExprPtr> operands;
        operands.push_back(std::move(expr));
        operands.push_back(expression());
        // dict{'key': Value, ...}: a later release's dictionary, where 11.0 reads a substring
        // of a variable named dict only with a number before the colon and no comma.
        if (mayBeDictionary &&
            (isSymbol(",") || (isSymbol(":") && operands[1]->kind == ExprKind::Literal &&
                               operands[1]->value.Type() == HalconCpp::eElementTypeString))) {
          laterDictionary();
        }
        if (acceptSymbol(":")) operands.push_back(expression());
        expectSymbol("}");
        expr = functionNode(kSubstringFunction, std::move(operands));
      } else if (isSymbol(".")) {
        laterRelease("dictionaries and vectors (." + describeNext() + ")", "12.0");
      } else {
        return expr;
      }
    }
  }

  [[noreturn]] void laterDictionary() { laterRelease("dictionaries (dict{...})", "18.11"); }

  ExprPtr literal(HTuple value) {
    ExprPtr expr = node(ExprKind::Literal, {});
    expr->value = std::move(value);
    advance();
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
    if (acceptSymbol("[")) return tupleLiteral();
    if (isSymbol("{")) laterRelease("vectors ({...})", "12.0");
    fail("expected an expression");
  }

  // [A, B, ...], where an element may be a range A:B or A:Step:B.
  ExprPtr tupleLiteral() {
    std::vector<ExprPtr> operands;
    if (!acceptSymbol("]")) {
      do {
        ExprPtr element = expression();
        if (acceptSymbol(":")) {
          std::vector<ExprPtr> bounds;
          bounds.push_back(std::move(element));
          bounds.push_back(expression());
          if (acceptSymbol(":")) bounds.push_back(expression());
          element = functionNode(kRangeFunction, std::move(bounds));
        }
        // Neighbouring literals become one: a long literal tuple costs its values, not a
        // node per element.
        if (element->kind == ExprKind::Literal && !operands.empty() &&
            operands.back()->kind == ExprKind::Literal) {
          operands.back()->value.Append(element->value);
        } else {
          operands.push_back(std::move(element));
        }
      } while (acceptSymbol(","));
      expectSymbol("]");
    }
    if (operands.size() == 1 && operands[0]->kind == ExprKind::Literal) {
      return std::move(operands[0]);
    }
    // A range alone is the tuple itself.
    if (operands.size() == 1 && operands[0]->kind == ExprKind::Function &&
        operands[0]->name == kRangeFunction) {
      return std::move(operands[0]);
    }
    return node(ExprKind::Tuple, std::move(operands));
  }

  ExprPtr identifier() {
    const std::string name = peek().text;
    if (name == "true") return literal(HTuple(1));
    if (name == "false") return literal(HTuple(0));
    // The operators' result codes, which programs compare the error variable with.
    static constexpr std::pair<const char*, int> kResultCodes[] = {
        {"H_MSG_TRUE", 2}, {"H_MSG_FALSE", 3}, {"H_MSG_VOID", 4}, {"H_MSG_FAIL", 5}};
    for (const auto& [constant, value] : kResultCodes) {
      if (name == constant) return literal(HTuple(value));
    }
    if (isReserved(name)) fail("expected an expression");
    advance();
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

  // Tokens are read as the parser moves on, one ahead; the current one's place among the
  // binary operators is looked up once, not at every level.
  TokenReader reader_;
  Token current_{TokenKind::End, "", 0, 0.0, 0};
  Token next_{TokenKind::End, "", 0, 0.0, 0};
  BinaryPlace place_;
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
  return Parser(text).statement();
}

}  // namespace Standin
}  // namespace HDevEngineCpp
