// Splits one HDevelop program line into tokens.
#ifndef QUORVEX_STANDINS_HDEVENGINE_LEXER_H
#define QUORVEX_STANDINS_HDEVENGINE_LEXER_H

#include <string>
#include <vector>

#include "halconcpp/HalconCppBase.h"

namespace HDevEngineCpp {
namespace Standin {

enum class TokenKind {
  Identifier,
  Integer,
  Real,
  String,
  Symbol,  // punctuation and operators: ( ) [ ] , : := = == # != < > <= >= + - * / % |
  End,
};

struct Token {
  TokenKind kind;
  std::string text;  // identifier, symbol, or the decoded string
  HalconCpp::Hlong integer = 0;
  double real = 0.0;
  std::size_t column = 0;  // from 1
};

// The tokens of `line`, read one at a time, so that a long line never holds all its tokens
// at once: an End token at the end, and after it. Throws LoadError (syntax) for a character
// or literal it cannot read.
class TokenReader {
 public:
  explicit TokenReader(const std::string& line) : line_(line) {}
  Token next();

 private:
  const std::string& line_;
  std::size_t at_ = 0;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
