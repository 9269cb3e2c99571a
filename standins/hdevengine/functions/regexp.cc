// The regular expression functions. A pattern is a string or [Pattern, Option, ...]; the
// options are the vendor's ('ignore_case', 'multiline', 'dot_matches_all', 'ignore_space',
// 'newline_lf', 'newline_cr', 'newline_crlf', 'replace_all', 'invert_match'). The matching
// itself is the engine's of regexp_engine.h; what a match means for each function is here,
// the same whichever engine the build has.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/annotated_mutex.h"
#include "functions/regexp_engine.h"
#include "functions/tuple_functions.h"
#include "runtime/engine_errors.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr std::size_t kMaxCachedPatterns = 256;

struct Pattern {
  std::shared_ptr<const CompiledRegex> regex;
  bool replaceAll = false;
  bool invert = false;
};

// Compiled patterns by their text and options: programs test the same pattern in loops.
struct PatternCache {
  quorvex::common::Mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const CompiledRegex>> patterns
      QUORVEX_GUARDED_BY(mutex);
};

std::shared_ptr<const CompiledRegex> compiled(const char* op, const std::string& pattern,
                                              const RegexOptions& options) {
  static PatternCache* cache = new PatternCache;  // outlives every static destructor
  std::string key;
  key += options.ignoreCase ? 'i' : '-';
  key += options.multiline ? 'm' : '-';
  key += options.dotMatchesAll ? 's' : '-';
  key += options.ignoreSpace ? 'x' : '-';
  key += static_cast<char>('0' + static_cast<int>(options.newline));
  key += '/';
  key += pattern;
  {
    quorvex::common::Lock lock(cache->mutex);
    const auto found = cache->patterns.find(key);
    if (found != cache->patterns.end()) return found->second;
  }
  std::shared_ptr<const CompiledRegex> regex = compileRegex(pattern, options);
  if (!regex) wrongValue(op, 1);
  quorvex::common::Lock lock(cache->mutex);
  if (cache->patterns.size() >= kMaxCachedPatterns) cache->patterns.clear();
  cache->patterns.emplace(key, regex);
  return regex;
}

Pattern patternOf(const char* op, const HTuple& expression) {
  if (expression.Length() == 0) wrongCount(op, 1);
  const std::string text = stringAt(op, 1, expression, 0);
  RegexOptions options;
  Pattern pattern;
  for (Hlong i = 1; i < expression.Length(); ++i) {
    const std::string option = stringAt(op, 1, expression, i);
    if (option == "ignore_case") {
      options.ignoreCase = true;
    } else if (option == "multiline") {
      options.multiline = true;
    } else if (option == "dot_matches_all") {
      options.dotMatchesAll = true;
    } else if (option == "ignore_space") {
      options.ignoreSpace = true;
    } else if (option == "newline_lf") {
      options.newline = RegexOptions::Newline::kLf;
    } else if (option == "newline_cr") {
      options.newline = RegexOptions::Newline::kCr;
    } else if (option == "newline_crlf") {
      options.newline = RegexOptions::Newline::kCrLf;
    } else if (option == "replace_all") {
      pattern.replaceAll = true;
    } else if (option == "invert_match") {
      pattern.invert = true;
    } else {
      wrongValue(op, 1);
    }
  }
  pattern.regex = compiled(op, text, options);
  return pattern;
}

std::string subjectAt(const char* op, const HTuple& data, Hlong i) {
  return stringAt(op, 0, data, i);
}

std::string spanOf(const std::string& subject, const std::vector<std::ptrdiff_t>& spans,
                   std::size_t group) {
  if (2 * group + 1 >= spans.size() || spans[2 * group] < 0) return "";
  return subject.substr(static_cast<std::size_t>(spans[2 * group]),
                        static_cast<std::size_t>(spans[2 * group + 1] - spans[2 * group]));
}

// The longest subject of `data`, which the matches' stack is sized for; numbers are
// refused as subjects later, in order.
std::size_t longestSubject(const HTuple& data) {
  std::size_t longest = 0;
  for (Hlong i = 0; i < data.Length(); ++i) longest = std::max(longest, elementText(data, i));
  return longest;
}

void selectOrCount(const char* op, TupleArgs a, HTuple* r, bool count) {
  const Pattern pattern = patternOf(op, *a[1]);
  HTuple out;
  Hlong matching = 0;
  std::vector<std::ptrdiff_t> spans;
  pattern.regex->onStackFor(op, longestSubject(*a[0]), [&] {
    for (Hlong i = 0; i < a[0]->Length(); ++i) {
      if (pattern.regex->search(op, subjectAt(op, *a[0], i), 0, false, &spans) == pattern.invert) {
        continue;
      }
      ++matching;
      if (!count) out.Append(HTuple((*a[0])[i].C()));
    }
  });
  *r = count ? HTuple(matching) : std::move(out);
}

// Appends to a result and raises before it passes `room` bytes: an empty pattern inserts the
// replacement at every position of the subject.
class BoundedText {
 public:
  BoundedText(unsigned long long before, unsigned long long room) : before_(before), room_(room) {}
  void append(const std::string& text, std::size_t from, std::size_t count) {
    if (count > room_ - text_.size()) textTooLarge(before_ + text_.size() + count);
    text_.append(text, from, count);
  }
  const std::string& text() const { return text_; }

 private:
  unsigned long long before_;
  unsigned long long room_;
  std::string text_;
};

// The replacement for one match, as ECMAScript's format reads it: $& and $0 the match, $1 to
// $99 a group (empty when there is no such group), $` the text before the match, $' after
// it, $$ a dollar sign.
void appendReplacement(BoundedText* out, const std::string& replace, const std::string& subject,
                       const std::vector<std::ptrdiff_t>& spans, std::size_t prefixFrom) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t i = 0; i < replace.size(); ++i) {
    const char next = i + 1 < replace.size() ? replace[i + 1] : '\0';
    if (replace[i] != '$' || next == '\0') {
      out->append(replace, i, 1);
    } else if (next == '$') {
      out->append(replace, i, 1);
      ++i;
    } else if (next == '&') {
      out->append(spanOf(subject, spans, 0), 0, std::string::npos);
      ++i;
    } else if (next == '`') {
      const auto begin = static_cast<std::size_t>(spans[0]);
      out->append(subject, prefixFrom, begin - prefixFrom);
      ++i;
    } else if (next == '\'') {
      const auto end = static_cast<std::size_t>(spans[1]);
      out->append(subject, end, subject.size() - end);
      ++i;
    } else if (isDigit(next)) {
      std::size_t group = static_cast<std::size_t>(next - '0');
      ++i;
      if (i + 1 < replace.size() && isDigit(replace[i + 1])) {
        group = group * 10 + static_cast<std::size_t>(replace[++i] - '0');
      }
      const std::string text = spanOf(subject, spans, group);
      out->append(text, 0, text.size());
    } else {
      out->append(replace, i, 1);
    }
  }
}

}  // namespace

// The match, or its groups when the pattern has any: all of them for one string, the first
// for each of several. A string that does not match gives the empty string.
void tupleRegexpMatch(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_regexp_match";
  const Pattern pattern = patternOf(op, *a[1]);
  const HTuple& data = *a[0];
  const std::size_t groups = pattern.regex->groups();
  HTuple out;
  std::vector<std::ptrdiff_t> spans;
  pattern.regex->onStackFor(op, longestSubject(data), [&] {
    for (Hlong i = 0; i < data.Length(); ++i) {
      const std::string subject = subjectAt(op, data, i);
      const bool found = pattern.regex->search(op, subject, 0, false, &spans);
      if (groups == 0 || data.Length() > 1 || !found) {
        out.Append(HTuple(found ? spanOf(subject, spans, groups == 0 ? 0 : 1).c_str() : ""));
        continue;
      }
      for (std::size_t g = 1; g <= groups; ++g) {
        out.Append(HTuple(spanOf(subject, spans, g).c_str()));
      }
    }
  });
  *r = std::move(out);
}

// The first match replaced, or with 'replace_all' every match: after an empty match the next
// one is sought at the same place but must not be empty, else one character further on.
void tupleRegexpReplace(TupleArgs a, std::size_t, HTuple* r) {
  const char* op = "tuple_regexp_replace";
  const Pattern pattern = patternOf(op, *a[1]);
  if (a[2]->Length() != 1) wrongCount(op, 2);
  const std::string replace = stringAt(op, 2, *a[2], 0);
  TextTally tally;
  HTuple out;
  std::vector<std::ptrdiff_t> spans;
  pattern.regex->onStackFor(op, longestSubject(*a[0]), [&] {
    for (Hlong i = 0; i < a[0]->Length(); ++i) {
      const std::string subject = subjectAt(op, *a[0], i);
      const unsigned long long room = tally.room();
      BoundedText result(textLimit() - room, room);
      std::size_t copied = 0;
      std::size_t at = 0;
      bool notEmpty = false;
      while (at <= subject.size()) {
        if (!pattern.regex->search(op, subject, at, notEmpty, &spans)) {
          if (!notEmpty || at == subject.size()) break;
          ++at;
          notEmpty = false;
          continue;
        }
        const auto begin = static_cast<std::size_t>(spans[0]);
        const auto end = static_cast<std::size_t>(spans[1]);
        result.append(subject, copied, begin - copied);
        appendReplacement(&result, replace, subject, spans, copied);
        copied = end;
        if (!pattern.replaceAll) break;
        at = end;
        notEmpty = begin == end;
      }
      result.append(subject, copied, subject.size() - copied);
      tally.add(result.text().size());
      out.Append(HTuple(result.text().c_str()));
    }
  });
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
