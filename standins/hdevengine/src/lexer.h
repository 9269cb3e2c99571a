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

// Tokens of `line`, ending with an End token. Throws LoadError (syntax) for a character or
// literal it cannot read.
std::vector<Token> tokenize(const std::string& line);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
