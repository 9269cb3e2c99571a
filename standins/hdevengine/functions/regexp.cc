// The regular expression functions. A pattern is a string or [Pattern, Option, ...]; the
// options are the vendor's ('ignore_case', 'multiline', 'dot_matches_all', 'newline_*',
// 'replace_all', 'invert_match'). Patterns run as ECMAScript expressions, which read the
// Perl syntax programs use alike for everything but its rarer extensions.
//
// libstdc++ matches by recursion, some hundred bytes of stack per subject character and
// pattern element: a long subject overflows a thread's stack. Short subjects match on the
// caller's stack; longer ones on a thread with a stack sized for them, up to a bound past
// which a subject is refused with an error instead of a crash.
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <unordered_map>

#include "common/annotated_mutex.h"
#include "functions/tuple_functions.h"
#include "runtime/engine_errors.h"
#include "runtime/large_stack.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Measured on x86-64: about 770 bytes a character for '^(a|b)*$', more with more
// alternatives; the estimate errs well on the safe side.
constexpr std::size_t kStackPerCharacter = 256;
constexpr std::size_t kStackPerCharacterAndPatternByte = 128;
constexpr std::size_t kStackReserve = std::size_t{256} << 10;
constexpr std::size_t kCallerStackLength = 128;
constexpr std::size_t kMaxMatchStack = std::size_t{64} << 20;
constexpr std::size_t kMaxCachedPatterns = 256;

struct Pattern {
  std::shared_ptr<const std::regex> regex;
  std::size_t length = 0;
  bool replaceAll = false;
  bool invert = false;
};

// "." also matches line ends: every unescaped dot outside a bracket expression.
std::string dotMatchesAll(const std::string& pattern) {
  std::string out;
  bool inClass = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '\\' && i + 1 < pattern.size()) {
      out += c;
      out += pattern[++i];
    } else if (c == '[' && !inClass) {
      inClass = true;
      out += c;
    } else if (c == ']' && inClass) {
      inClass = false;
      out += c;
    } else if (c == '.' && !inClass) {
      out += "[\\s\\S]";
    } else {
      out += c;
    }
  }
  return out;
}

// Compiled patterns by their text and flags: programs test the same pattern in loops.
struct PatternCache {
  quorvex::common::Mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const std::regex>> patterns
      QUORVEX_GUARDED_BY(mutex);
};

std::shared_ptr<const std::regex> compiled(const char* op, const std::string& pattern,
                                           std::regex::flag_type flags) {
  static PatternCache* cache = new PatternCache;  // outlives every static destructor
  const std::string key = std::to_string(static_cast<unsigned>(flags)) + '/' + pattern;
  {
    quorvex::common::Lock lock(cache->mutex);
    const auto found = cache->patterns.find(key);
    if (found != cache->patterns.end()) return found->second;
  }
  std::shared_ptr<const std::regex> regex;
  try {
    regex = std::make_shared<const std::regex>(pattern, flags);
  } catch (const std::regex_error&) {
    wrongValue(op, 1);
  }
  quorvex::common::Lock lock(cache->mutex);
  if (cache->patterns.size() >= kMaxCachedPatterns) cache->patterns.clear();
  cache->patterns.emplace(key, regex);
  return regex;
}

Pattern patternOf(const char* op, const HTuple& expression) {
  if (expression.Length() == 0) wrongCount(op, 1);
  std::string text = stringAt(op, 1, expression, 0);
  std::regex::flag_type flags = std::regex::ECMAScript;
  Pattern pattern;
  bool dotAll = false;
  for (Hlong i = 1; i < expression.Length(); ++i) {
    const std::string option = stringAt(op, 1, expression, i);
    if (option == "ignore_case") {
      flags |= std::regex::icase;
    } else if (option == "multiline") {
      flags |= std::regex::multiline;
    } else if (option == "dot_matches_all") {
      dotAll = true;
    } else if (option == "replace_all") {
      pattern.replaceAll = true;
    } else if (option == "invert_match") {
      pattern.invert = true;
    } else if (option.compare(0, 8, "newline_") != 0) {
      wrongValue(op, 1);
    }
  }
  if (dotAll) text = dotMatchesAll(text);
  pattern.regex = compiled(op, text, flags);
  pattern.length = text.size();
  return pattern;
}

const char* subjectAt(const char* op, const HTuple& data, Hlong i) {
  return stringAt(op, 0, data, i);
}

struct Search {
  const std::regex* regex;
  const char* subject;
  std::cmatch* match;
  bool found;
};

void search(void* context) {
  auto* s = static_cast<Search*>(context);
  s->found = s->match ? std::regex_search(s->subject, *s->match, *s->regex)
                      : std::regex_search(s->subject, *s->regex);
}

// Every match runs here, on a stack deep enough for the subject.
template <typename Work>
void onStackFor(const char* op, const Pattern& pattern, std::size_t subjectLength, Work& work,
                void (*run)(void*)) {
  if (subjectLength <= kCallerStackLength) {
    run(&work);
    return;
  }
  const std::size_t perCharacter =
      kStackPerCharacter + kStackPerCharacterAndPatternByte * pattern.length;
  const std::size_t limit = (kMaxMatchStack - kStackReserve) / perCharacter;
  if (subjectLength > limit ||
      !runOnLargeStack(kStackReserve + subjectLength * perCharacter, run, &work)) {
    throw RunError{kErrFunctionArgument, std::string(op) + " of a string of " +
                                             std::to_string(subjectLength) +
                                             " characters, more than the " + std::to_string(limit) +
                                             " this pattern may match"};
  }
}

bool searchIn(const char* op, const Pattern& pattern, const char* subject,
              std::cmatch* match = nullptr) {
  Search work{pattern.regex.get(), subject, match, false};
  onStackFor(op, pattern, std::char_traits<char>::length(subject), work, search);
  return work.found;
}

bool matches(const char* op, const Pattern& pattern, const HTuple& data, Hlong i) {
  return searchIn(op, pattern, subjectAt(op, data, i)) != pattern.invert;
}

void selectOrCount(const char* op, TupleArgs a, HTuple* r, bool count) {
  const Pattern pattern = patternOf(op, *a[1]);
  HTuple out;
  Hlong matching = 0;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    if (!matches(op, pattern, *a[0], i)) continue;
    ++matching;
    if (!count) out.Append(HTuple((*a[0])[i].C()));
  }
  *r = count ? HTuple(matching) : std::move(out);
}

// The vendor writes the whole match as $0; ECMAScript as $&.
std::string replacementFormat(const char* replace) {
  std::string out;
  for (const char* c = replace; *c; ++c) {
    if (c[0] == '$' && c[1] == '0' && !(c[2] >= '0' && c[2] <= '9')) {
      out += "$&";
      ++c;
    } else {
      out += *c;
    }
  }
  return out;
}

// Appends a replacement's output to a string and raises before the string passes `room`
// bytes: an empty pattern inserts the replacement at every position of the subject.
class BoundedAppender {
 public:
  using iterator_category = std::output_iterator_tag;
  using value_type = void;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = void;

  BoundedAppender(std::string* out, unsigned long long before, unsigned long long room)
      : out_(out), before_(before), room_(room) {}
  BoundedAppender& operator=(char c) {
    if (out_->size() >= room_) textTooLarge(before_ + out_->size() + 1);
    out_->push_back(c);
    return *this;
  }
  BoundedAppender& operator*() { return *this; }
  BoundedAppender& operator++() { return *this; }
  BoundedAppender& operator++(int) { return *this; }

 private:
  std::string* out_;
  unsigned long long before_;
  unsigned long long room_;
};

}  // namespace

// The match, or its groups when the pattern has any: all of them for one string, the first
// for each of several. A string that does not match gives the empty string.
void tupleRegexpMatch(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_regexp_match";
  const Pattern pattern = patternOf(op, *a[1]);
  const HTuple& data = *a[0];
  const std::size_t groups = pattern.regex->mark_count();
  HTuple out;
  for (Hlong i = 0; i < data.Length(); ++i) {
    std::cmatch match;
    const bool found = searchIn(op, pattern, subjectAt(op, data, i), &match);
    if (groups == 0 || data.Length() > 1 || !found) {
      out.Append(HTuple(found ? match.str(groups == 0 ? 0 : 1).c_str() : ""));
      continue;
    }
    for (std::size_t g = 1; g <= groups; ++g) out.Append(HTuple(match.str(g).c_str()));
  }
  *r = std::move(out);
}

void tupleRegexpReplace(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_regexp_replace";
  const Pattern pattern = patternOf(op, *a[1]);
  if (a[2]->Length() != 1) wrongCount(op, 2);
  const std::string format = replacementFormat(stringAt(op, 2, *a[2], 0));
  const auto flags = pattern.replaceAll ? std::regex_constants::format_default
                                        : std::regex_constants::format_first_only;
  struct Replace {
    const Pattern* pattern;
    const std::string* format;
    std::regex_constants::match_flag_type flags;
    std::string subject;
    std::string replaced;
    TextTally text;
  } work{&pattern, &format, flags, {}, {}, {}};
  const auto replace = [](void* context) {
    auto* w = static_cast<Replace*>(context);
    w->replaced.clear();
    const unsigned long long room = w->text.room();
    std::regex_replace(BoundedAppender(&w->replaced, textLimit() - room, room), w->subject.begin(),
                       w->subject.end(), *w->pattern->regex, *w->format, w->flags);
    w->text.add(w->replaced.size());
  };
  HTuple out;
  for (Hlong i = 0; i < a[0]->Length(); ++i) {
    work.subject = subjectAt(op, *a[0], i);
    onStackFor(op, pattern, work.subject.size(), work, replace);
    out.Append(HTuple(work.replaced.c_str()));
  }
  *r = std::move(out);
}

void tupleRegexpSelect(TupleArgs a, std::size_t, HTuple* r) {
  selectOrCount("tuple_regexp_select", a, r, false);
}

// How many of the strings match.
void tupleRegexpTest(TupleArgs a, std::size_t, HTuple* r) {
  selectOrCount("tuple_regexp_test", a, r, true);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
