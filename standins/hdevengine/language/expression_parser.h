// The expressions of a program line, read token by token with one token of look-ahead:
// the statement parser builds on this one.
#ifndef QUORVEX_STANDINS_HDEVENGINE_EXPRESSION_PARSER_H
#define QUORVEX_STANDINS_HDEVENGINE_EXPRESSION_PARSER_H

#include <cstddef>
#include <string>
#include <vector>

#include "halconcpp/HTuple.h"
#include "language/lexer.h"
#include "language/syntax.h"

namespace HDevEngineCpp {
namespace Standin {

// A reserved word of the language, which no variable may be named.
bool isReserved(const std::string& word);
// Refuses a construct of a later HDevelop release, naming it and the release.
[[noreturn]] void laterRelease(const std::string& what, const char* release);

// Where a token stands among the binary operators: its level and its place in that level.
struct BinaryPlace {
  int level = -1;
  int index = -1;
};

class ExpressionParser {
 public:
  explicit ExpressionParser(const std::string& line);

  ExprPtr expression();

 protected:
  const Token& peek() const;
  // Moves on to the next token; the end of the line stays where it is.
  void advance();
  bool isSymbol(const char* symbol) const;
  bool isWord(const char* word) const;
  bool nextIsSymbol(const char* symbol) const;
  bool acceptSymbol(const char* symbol);
  void expectSymbol(const char* symbol);
  std::string describeNext() const;
  static std::string describe(const Token& token);
  [[noreturn]] void fail(const std::string& detail) const;
  [[noreturn]] void tooDeep() const;
  ExprPtr node(ExprKind kind, std::vector<ExprPtr> operands) const;
  // A call of a function of the table, for the operators that are functions underneath.
  ExprPtr functionNode(const char* name, std::vector<ExprPtr> operands) const;
  std::string variableName();

 private:
  // Counts the parser's own recursion, so that a line like "((((...))))" fails cleanly.
  class Nesting {
   public:
    explicit Nesting(ExpressionParser* parser) : parser_(parser) {
      if (++parser_->nesting_ > kMaxExpressionDepth) parser_->tooDeep();
    }
    ~Nesting() { --parser_->nesting_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    ExpressionParser* parser_;
  };

  ExprPtr binary(std::size_t level);
  ExprPtr unary();
  // Value$Format binds tighter than any other operator but the postfix ones.
  ExprPtr formatted();
  ExprPtr postfix();
  ExprPtr literal(HalconCpp::HTuple value);
  ExprPtr primary();
  [[noreturn]] void laterDictionary();
  // [A, B, ...], where an element may be a range A:B or A:Step:B.
  ExprPtr tupleLiteral();
  ExprPtr identifier();

  // Tokens are read as the parser moves on, one ahead; the current one's place among the
  // binary operators is looked up once, not at every level.
  TokenReader reader_;
  Token current_{TokenKind::End, "", 0, 0.0, 0};
  Token next_{TokenKind::End, "", 0, 0.0, 0};
  BinaryPlace place_;
  int nesting_ = 0;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
