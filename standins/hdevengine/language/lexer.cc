#include "language/lexer.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::Hlong;

[[noreturn]] void syntaxError(std::size_t column, const std::string& detail) {
  throw LoadError{kErrSyntax, ExceptionSyntax, "column " + std::to_string(column) + ": " + detail,
                  ErrorPlace{}};
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isIdentifierChar(char c) {
  return isIdentifierStart(c) || isDigit(c);
}

// Longest symbols first, so that ':=' is not read as ':' '='.
constexpr const char* kSymbols[] = {":=", "==", "!=", "<=", ">=", "=~", "(", ")", "[", "]",
                                    "{",  "}",  ",",  ":",  "=",  "#",  "<", ">", "+", "-",
                                    "*",  "/",  "%",  "|",  "$",  ".",  ";", "?"};

// Independent of the C library's locale: a host that set a decimal comma still reads 2.5.
double parseReal(const std::string& text) {
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: its infinity, or for a tiny value 0, as strtod gives.
    return text.find_first_of("eE") != std::string::npos && text.find("e-") == std::string::npos &&
                   text.find("E-") == std::string::npos
               ? std::numeric_limits<double>::infinity()
               : 0.0;
  }
  return value;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The whole UTF-8 sequence that starts at `at`, so that a message never shows half a
// character; a byte that starts no valid sequence is shown as it is.
std::string characterAt(const std::string& s, std::size_t at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (at + length > s.size()) length = 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80) length = 1;
  }
  return s.substr(at, length);
}

class Lexer {
 public:
  Lexer(const std::string& line, std::size_t at) : s_(line), pos_(at) {}

  Token next() {
    skipSpace();
    Token token{TokenKind::End, "", 0, 0.0, pos_ + 1};
    // "//" starts a comment that runs to the end of the line.
    if (pos_ >= s_.size() || s_.compare(pos_, 2, "//") == 0) {
      pos_ = s_.size();
      return token;
    }
    const char c = s_[pos_];
    if (isIdentifierStart(c)) {
      const std::size_t start = pos_;
      while (pos_ < s_.size() && isIdentifierChar(s_[pos_])) ++pos_;
      token.kind = TokenKind::Identifier;
      token.text = s_.substr(start, pos_ - start);
    } else if (isDigit(c) || (c == '.' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1]))) {
      number(&token);
    } else if (c == '\'') {
      string(&token);
    } else {
      symbol(&token);
    }
    return token;
  }

  std::size_t position() const { return pos_; }

 private:
  // Blanks, and a backslash before the end of a physical line: the line goes on on the next.
  void skipSpace() {
    for (;;) {
      while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
      if (pos_ >= s_.size() || s_[pos_] != '\\') return;
      std::size_t next = pos_ + 1;
      while (next < s_.size() && (s_[next] == ' ' || s_[next] == '\t')) ++next;
      if (next < s_.size() && s_[next] != '\r' && s_[next] != '\n') return;
      pos_ = next;
    }
  }

  void number(Token* token) {
    const std::size_t start = pos_;
    if (s_.compare(pos_, 2, "0x") == 0 || s_.compare(pos_, 2, "0X") == 0) {
      pos_ += 2;
      const std::size_t digits = pos_;
      while (pos_ < s_.size() && isHexDigit(s_[pos_])) ++pos_;
      if (pos_ == digits) syntaxError(start + 1, "hexadecimal number without digits");
      integer(token, s_.substr(digits, pos_ - digits), 16, start);
    } else {
      bool real = false;
      while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
      if (pos_ < s_.size() && s_[pos_] == '.') {
        real = true;
        ++pos_;
        while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
      }
      if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
        std::size_t exponent = pos_ + 1;
        if (exponent < s_.size() && (s_[exponent] == '+' || s_[exponent] == '-')) ++exponent;
        if (exponent < s_.size() && isDigit(s_[exponent])) {
          real = true;
          pos_ = exponent;
          while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
        }
      }
      const std::string text = s_.substr(start, pos_ - start);
      // A leading 0 makes an octal integer, as in C.
      const bool octal = !real && text.size() > 1 && text[0] == '0' &&
                         text.find_first_not_of("01234567") == std::string::npos;
      if (octal) {
        integer(token, text.substr(1), 8, start);
      } else if (real) {
        token->kind = TokenKind::Real;
        token->real = parseReal(text);
      } else {
        integer(token, text, 10, start);
      }
    }
    if (pos_ < s_.size() && isIdentifierChar(s_[pos_])) {
      syntaxError(start + 1, "malformed number " + s_.substr(start, pos_ - start + 1));
    }
  }

  void integer(Token* token, const std::string& digits, int base, std::size_t start) {
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, base);
    if (errno == ERANGE ||
        value > static_cast<unsigned long long>(std::numeric_limits<Hlong>::max())) {
      syntaxError(start + 1, "integer " + s_.substr(start, pos_ - start) + " is too large");
    }
    token->kind = TokenKind::Integer;
    token->integer = static_cast<Hlong>(value);
  }

  void string(Token* token) {
    const std::size_t start = pos_++;
    token->kind = TokenKind::String;
    for (;;) {
      if (pos_ >= s_.size()) syntaxError(start + 1, "unterminated string");
      const char c = s_[pos_++];
      if (c == '\'') return;
      if (c != '\\' || pos_ >= s_.size()) {
        token->text.push_back(c);
        continue;
      }
      const char escaped = s_[pos_++];
      switch (escaped) {
        case 'n':
          token->text.push_back('\n');
          break;
        case 't':
          token->text.push_back('\t');
          break;
        case 'r':
          token->text.push_back('\r');
          break;
        case '\'':
        case '\\':
        case '"':
          token->text.push_back(escaped);
          break;
        default:
          // Not an escape the language knows: the backslash stays, as it was written.
          token->text.push_back('\\');
          token->text.push_back(escaped);
      }
    }
  }

  void symbol(Token* token) {
    const char first = s_[pos_];
    for (const char* symbol : kSymbols) {
      if (symbol[0] != first) continue;
      const std::size_t length = symbol[1] ? 2 : 1;
      if (s_.compare(pos_, length, symbol) == 0) {
        token->kind = TokenKind::Symbol;
        token->text = symbol;
        pos_ += length;
        return;
      }
    }
    syntaxError(pos_ + 1, "unexpected character '" + characterAt(s_, pos_) + "'");
  }

  const std::string& s_;
  std::size_t pos_;
};

}  // namespace

Token TokenReader::next() {
  Lexer lexer(line_, at_);
  Token token = lexer.next();
  at_ = lexer.position();
  return token;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
