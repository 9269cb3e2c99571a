#include "files/xml_reader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Deeper documents are refused: element trees are destroyed recursively, and no HDevelop
// file comes near this depth.
constexpr std::size_t kMaxDepth = 200;

struct Failure {
  std::string message;
  int line;
};

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void appendUtf8(std::uint32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

class Reader {
 public:
  explicit Reader(const std::string& input) : in_(input) {}

  XmlElement document() {
    if (in_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    skipMisc();
    if (atEnd() || peek() != '<') fail("expected the root element");
    XmlElement root = element();
    skipMisc();
    if (!atEnd()) fail("content after the root element");
    return root;
  }

 private:
  bool atEnd() const { return pos_ >= in_.size(); }
  char peek() const { return in_[pos_]; }
  bool startsWith(const char* text) const {
    return in_.compare(pos_, std::strlen(text), text) == 0;
  }

  [[noreturn]] void fail(const std::string& message) { throw Failure{message, line_}; }

  void advance(std::size_t count) {
    for (std::size_t i = 0; i < count && pos_ < in_.size(); ++i) {
      if (in_[pos_++] == '\n') ++line_;
    }
  }

  void skipSpace() {
    while (!atEnd() && isSpace(peek())) advance(1);
  }

  // Skips up to and past `terminator`; `what` names the construct for the error.
  void skipPast(const char* terminator, const char* what) {
    const std::size_t end = in_.find(terminator, pos_);
    if (end == std::string::npos) fail(std::string("unterminated ") + what);
    advance(end + std::strlen(terminator) - pos_);
  }

  // Whitespace, comments, processing instructions and a DOCTYPE between the top-level parts.
  void skipMisc() {
    for (;;) {
      skipSpace();
      if (startsWith("<?")) {
        skipPast("?>", "processing instruction");
      } else if (startsWith("<!--")) {
        skipPast("-->", "comment");
      } else if (startsWith("<!DOCTYPE")) {
        skipPast(">", "DOCTYPE");
      } else {
        return;
      }
    }
  }

  std::string name() {
    const std::size_t start = pos_;
    while (!atEnd() && isNameChar(peek())) advance(1);
    if (pos_ == start) fail("expected a name");
    return in_.substr(start, pos_ - start);
  }

  // At '&': decodes one entity reference into `out`.
  void entity(std::string* out) {
    const std::size_t end = in_.find(';', pos_);
    if (end == std::string::npos || end - pos_ > 12) fail("unterminated entity reference");
    const std::string ref = in_.substr(pos_ + 1, end - pos_ - 1);
    if (ref == "lt") {
      out->push_back('<');
    } else if (ref == "gt") {
      out->push_back('>');
    } else if (ref == "amp") {
      out->push_back('&');
    } else if (ref == "quot") {
      out->push_back('"');
    } else if (ref == "apos") {
      out->push_back('\'');
    } else if (ref.size() >= 2 && ref[0] == '#') {
      const bool hex = ref[1] == 'x' || ref[1] == 'X';
      const std::string digits = ref.substr(hex ? 2 : 1);
      char* rest = nullptr;
      const unsigned long code = std::strtoul(digits.c_str(), &rest, hex ? 16 : 10);
      if (digits.empty() || *rest != '\0' || digits[0] == '-' || digits[0] == '+' || code == 0 ||
          code > 0x10FFFF) {
        fail("invalid character reference &" + ref + ";");
      }
      appendUtf8(static_cast<std::uint32_t>(code), out);
    } else {
      fail("unknown entity &" + ref + ";");
    }
    advance(end + 1 - pos_);
  }

  std::string attributeValue() {
    if (atEnd() || (peek() != '"' && peek() != '\'')) fail("expected a quoted attribute value");
    const char quote = peek();
    advance(1);
    std::string value;
    for (;;) {
      if (atEnd()) fail("unterminated attribute value");
      const char c = peek();
      if (c == quote) break;
      if (c == '<') fail("'<' in an attribute value");
      if (c == '&') {
        entity(&value);
      } else {
        value.push_back(c);
        advance(1);
      }
    }
    advance(1);
    return value;
  }

  // Reads a start tag; true when it closes itself (<name/>).
  bool startTag(XmlElement* element) {
    element->line = line_;
    advance(1);  // '<'
    element->name = name();
    for (;;) {
      const std::size_t before = pos_;
      skipSpace();
      if (atEnd()) fail("unterminated start tag <" + element->name + ">");
      if (startsWith("/>")) {
        advance(2);
        return true;
      }
      if (peek() == '>') {
        advance(1);
        return false;
      }
      if (pos_ == before) fail("expected whitespace between attributes");
      std::string attributeName = name();
      skipSpace();
      if (atEnd() || peek() != '=') fail("expected '=' after attribute " + attributeName);
      advance(1);
      skipSpace();
      for (const auto& attribute : element->attributes) {
        if (attribute.first == attributeName) fail("duplicate attribute " + attributeName);
      }
      element->attributes.emplace_back(std::move(attributeName), attributeValue());
    }
  }

  // Reads an element and everything inside it. Open elements are kept on an explicit stack,
  // so that the reader's own depth does not grow with the document's.
  XmlElement element() {
    std::vector<XmlElement> open(1);
    if (startTag(&open.back())) return std::move(open.back());
    for (;;) {
      if (atEnd()) fail("unterminated element <" + open.back().name + ">");
      XmlElement& current = open.back();
      if (startsWith("</")) {
        advance(2);
        const std::string closing = name();
        skipSpace();
        if (atEnd() || peek() != '>') fail("expected '>' after </" + closing);
        advance(1);
        if (closing != current.name) {
          fail("</" + closing + "> closes <" + current.name + ">");
        }
        if (open.size() == 1) return std::move(open.back());
        XmlElement done = std::move(open.back());
        open.pop_back();
        open.back().children.push_back(std::move(done));
      } else if (startsWith("<!--")) {
        skipPast("-->", "comment");
      } else if (startsWith("<![CDATA[")) {
        advance(9);
        const std::size_t end = in_.find("]]>", pos_);
        if (end == std::string::npos) fail("unterminated CDATA section");
        current.text.append(in_, pos_, end - pos_);
        advance(end + 3 - pos_);
      } else if (startsWith("<?")) {
        skipPast("?>", "processing instruction");
      } else if (peek() == '<') {
        XmlElement child;
        if (startTag(&child)) {
          current.children.push_back(std::move(child));
        } else {
          if (open.size() >= kMaxDepth) fail("elements nested too deeply");
          open.push_back(std::move(child));
        }
      } else if (peek() == '&') {
        entity(&current.text);
      } else {
        current.text.push_back(peek());
        advance(1);
      }
    }
  }

  const std::string& in_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

const std::string* XmlElement::attribute(const char* attributeName) const {
  for (const auto& entry : attributes) {
    if (entry.first == attributeName) return &entry.second;
  }
  return nullptr;
}

bool parseXml(const std::string& input, XmlElement* root, XmlError* error) {
  try {
    *root = Reader(input).document();
    return true;
  } catch (const Failure& failure) {
    error->message = failure.message;
    error->line = failure.line;
    return false;
  }
}

}  // namespace Standin
}  // namespace HDevEngineCpp
