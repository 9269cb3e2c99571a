#include "name_match.h"

#include <cstddef>

namespace quorvex::run {
namespace {

// One character of a UTF-8 text: `?` and a set stand for a whole one, not for a byte of it.
struct Character {
  char32_t code;
  std::size_t length;
};

// A byte that begins no valid sequence stands alone, with a code no character has, so that no
// range of real characters takes it in.
Character stray(unsigned char byte) {
  return {char32_t{0x110000} + byte, 1};
}

Character characterAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() - at < length) return stray(lead);
  char32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return stray(lead);
    code = code << 6 | (next & 0x3F);
  }
  return {code, length};
}

char32_t otherCase(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
  return c;
}

bool inRange(char32_t c, char32_t low, char32_t high, LetterCase letterCase) {
  const auto within = [&](char32_t x) { return low <= x && x <= high; };
  return within(c) || (letterCase == LetterCase::kIgnored && within(otherCase(c)));
}

// What the pattern element at some position does to one character of the name.
struct Step {
  bool matches;
  std::size_t patternLength;
};

struct Wildcards {
  std::string_view text;
  // Found once, so that telling an unclosed `[` from a set costs no scan to the end each time.
  std::size_t lastClose;
  LetterCase letterCase;
};

// `at` is just past the `[`. An unclosed set leaves the `[` an ordinary character.
Step bracketStep(const Wildcards& wildcards, std::size_t at, char32_t c) {
  const std::string_view text = wildcards.text;
  const std::size_t open = at - 1;
  const bool negated = at < text.size() && (text[at] == '!' || text[at] == '^');
  if (negated) ++at;
  if (wildcards.lastClose == std::string_view::npos || wildcards.lastClose <= at) {
    return {c == '[', 1};
  }
  bool member = false;
  for (bool first = true;; first = false) {
    if (text[at] == ']' && !first) return {member != negated, at + 1 - open};
    const Character low = characterAt(text, at);
    at += low.length;
    Character high = low;
    if (text[at] == '-' && text[at + 1] != ']') {
      high = characterAt(text, at + 1);
      at += 1 + high.length;
    }
    member = member || inRange(c, low.code, high.code, wildcards.letterCase);
  }
}

Step stepAt(const Wildcards& wildcards, std::size_t at, char32_t c) {
  if (wildcards.text[at] == '?') return {true, 1};
  if (wildcards.text[at] == '[') return bracketStep(wildcards, at + 1, c);
  const Character literal = characterAt(wildcards.text, at);
  return {inRange(c, literal.code, literal.code, wildcards.letterCase), literal.length};
}

}  // namespace

// Greedy: a star first takes nothing, and on a mismatch only the latest star takes one more
// character. Earlier stars never need to move, since the latest one can absorb whatever they
// would, so no search tree grows and patterns like *a*a*a*b stay fast.
bool wildcardMatches(std::string_view pattern, std::string_view name, LetterCase letterCase) {
  const Wildcards wildcards{pattern, pattern.rfind(']'), letterCase};
  if (!name.empty() && name[0] == '.' && (pattern.empty() || pattern[0] != '.')) return false;
  std::size_t p = 0, n = 0;
  std::size_t starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starName = n;
      continue;
    }
    const Character c = characterAt(name, n);
    if (p < pattern.size()) {
      const Step step = stepAt(wildcards, p, c.code);
      if (step.matches) {
        p += step.patternLength;
        n += c.length;
        continue;
      }
    }
    if (starPattern == std::string_view::npos) return false;
    p = starPattern;
    starName += characterAt(name, starName).length;
    n = starName;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace quorvex::run
