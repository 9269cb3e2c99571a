#include "language/expression_parser.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "functions/functions.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr const char* kReserved[] = {
    "if",      "elseif",    "else",     "endif",  "for",   "endfor", "while", "endwhile", "repeat",
    "until",   "break",     "continue", "return", "stop",  "exit",   "and",   "or",       "xor",
    "not",     "to",        "by",       "try",    "catch", "endtry", "throw", "switch",   "case",
    "default", "endswitch", "global",   "band",   "bor",   "bxor",   "bnot",  "ifelse"};

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

}  // namespace

bool isReserved(const std::string& word) {
  static const std::unordered_set<std::string> kWords(std::begin(kReserved), std::end(kReserved));
  return kWords.count(word) != 0;
}

[[noreturn]] void laterRelease(const std::string& what, const char* release) {
  throw LoadError{kErrLaterRelease, ExceptionSyntax,
                  what + " needs HDevelop " + release + " or later; this engine runs 11.0 programs",
                  ErrorPlace{}};
}

ExpressionParser::ExpressionParser(const std::string& line) : reader_(line) {
  current_ = reader_.next();
  if (current_.kind != TokenKind::End) next_ = reader_.next();
  place_ = binaryPlaceOf(current_);
}

const Token& ExpressionParser::peek() const {
  return current_;
}

// Moves on to the next token; the end of the line stays where it is.
void ExpressionParser::advance() {
  if (current_.kind == TokenKind::End) return;
  current_ = std::move(next_);
  if (current_.kind != TokenKind::End) next_ = reader_.next();
  place_ = binaryPlaceOf(current_);
}

bool ExpressionParser::isSymbol(const char* symbol) const {
  return peek().kind == TokenKind::Symbol && peek().text == symbol;
}

bool ExpressionParser::isWord(const char* word) const {
  return peek().kind == TokenKind::Identifier && peek().text == word;
}

bool ExpressionParser::nextIsSymbol(const char* symbol) const {
  return current_.kind != TokenKind::End && next_.kind == TokenKind::Symbol && next_.text == symbol;
}

bool ExpressionParser::acceptSymbol(const char* symbol) {
  if (!isSymbol(symbol)) return false;
  advance();
  return true;
}

void ExpressionParser::expectSymbol(const char* symbol) {
  if (!acceptSymbol(symbol)) fail(std::string("expected '") + symbol + "'");
}

std::string ExpressionParser::describeNext() const {
  return current_.kind == TokenKind::End ? "" : next_.text;
}

std::string ExpressionParser::describe(const Token& token) {
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

[[noreturn]] void ExpressionParser::fail(const std::string& detail) const {
  std::string message = "column " + std::to_string(peek().column) + ": " + detail;
  if (detail.compare(0, 10, "unexpected") != 0) message += ", found " + describe(peek());
  throw LoadError{kErrSyntax, ExceptionSyntax, message, ErrorPlace{}};
}

[[noreturn]] void ExpressionParser::tooDeep() const {
  throw LoadError{kErrNestingDepth, ExceptionSyntax,
                  "more than " + std::to_string(kMaxExpressionDepth) + " levels", ErrorPlace{}};
}

ExprPtr ExpressionParser::node(ExprKind kind, std::vector<ExprPtr> operands) const {
  auto expr = std::make_unique<Expr>();
  expr->kind = kind;
  for (const ExprPtr& operand : operands) expr->depth = std::max(expr->depth, operand->depth + 1);
  if (expr->depth > kMaxExpressionDepth) tooDeep();
  expr->operands = std::move(operands);
  return expr;
}

// A call of a function of the table, for the operators that are functions underneath.
ExprPtr ExpressionParser::functionNode(const char* name, std::vector<ExprPtr> operands) const {
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

std::string ExpressionParser::variableName() {
  if (peek().kind != TokenKind::Identifier || isReserved(peek().text)) {
    fail("expected a variable name");
  }
  std::string name = current_.text;
  advance();
  return name;
}

ExprPtr ExpressionParser::expression() {
  Nesting nesting(this);
  return binary(0);
}

ExprPtr ExpressionParser::binary(std::size_t level) {
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

ExprPtr ExpressionParser::unary() {
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
ExprPtr ExpressionParser::formatted() {
  ExprPtr expr = postfix();
  while (acceptSymbol("$")) {
    std::vector<ExprPtr> operands;
    operands.push_back(std::move(expr));
    operands.push_back(postfix());
    expr = functionNode(kFormatFunction, std::move(operands));
  }
  return expr;
}

ExprPtr ExpressionParser::postfix() {
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

void ExpressionParser::laterDictionary() {
  laterRelease("dictionaries (dict{...})", "18.11");
}

ExprPtr ExpressionParser::literal(HTuple value) {
  ExprPtr expr = node(ExprKind::Literal, {});
  expr->value = std::move(value);
  advance();
  return expr;
}

ExprPtr ExpressionParser::primary() {
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
ExprPtr ExpressionParser::tupleLiteral() {
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

ExprPtr ExpressionParser::identifier() {
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
    const std::string takes = least == most ? std::to_string(least)
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

}  // namespace Standin
}  // namespace HDevEngineCpp
