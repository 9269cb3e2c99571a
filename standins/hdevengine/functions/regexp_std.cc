// The regular expression functions' patterns matched by libstdc++'s ECMAScript engine, for
// the builds without PCRE2 (the 32-bit and Windows cross builds). It reads the Perl syntax
// programs use alike for everything but its rarer extensions.
//
// The matcher reads the subject through an iterator that counts every character it looks
// at and raises past the string's allowance: the count inside the backtracking that bounds
// a pattern such as '(a+)+$'.
//
// libstdc++ matches by recursion, some hundred bytes of stack per subject character and
// pattern element: a long subject overflows a thread's stack. Short subjects match on the
// caller's stack; a function with longer ones runs on a thread with a stack sized for the
// longest, up to a bound past which it is refused with an error instead of a crash.
#ifndef QUORVEX_HAVE_PCRE2
#include <functional>
#include <iterator>
#include <regex>
#include <string>

#include "functions/regexp_engine.h"
#include "runtime/engine_errors.h"
#include "runtime/large_stack.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// Read through the counting iterator, '^(a|b)*$' overflowed a stack of 1280 bytes a
// character on x86-64; the estimate errs well on the safe side of that.
constexpr std::size_t kStackPerCharacter = 1024;
constexpr std::size_t kStackPerCharacterAndPatternByte = 256;
constexpr std::size_t kStackReserve = std::size_t{256} << 10;
constexpr std::size_t kCallerStackLength = 128;
constexpr std::size_t kMaxMatchStack = std::size_t{64} << 20;

struct Allowance {
  std::uint64_t used = 0;
  std::uint64_t allowed = 0;
};

struct LimitReached {};

class CountingIterator {
 public:
  using iterator_category = std::bidirectional_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator() = default;
  CountingIterator(const char* at, Allowance* allowance) : at_(at), allowance_(allowance) {}

  reference operator*() const {
    if (++allowance_->used > allowance_->allowed) throw LimitReached{};
    return *at_;
  }
  CountingIterator& operator++() {
    ++at_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++at_;
    return before;
  }
  CountingIterator& operator--() {
    --at_;
    return *this;
  }
  CountingIterator operator--(int) {
    CountingIterator before = *this;
    --at_;
    return before;
  }
  bool operator==(const CountingIterator& other) const { return at_ == other.at_; }
  bool operator!=(const CountingIterator& other) const { return at_ != other.at_; }
  const char* at() const { return at_; }

 private:
  const char* at_ = nullptr;
  Allowance* allowance_ = nullptr;
};

using Results = std::match_results<CountingIterator>;

// Unescaped characters outside a bracket expression, rewritten by `rewrite` (which returns
// how many pattern bytes it consumed, after appending to `out`).
template <typename Rewrite>
std::string outsideClasses(const std::string& pattern, Rewrite rewrite) {
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
    } else if (inClass) {
      out += c;
    } else {
      i += rewrite(pattern, i, &out) - 1;
    }
  }
  return out;
}

// "." also matches line ends.
std::string dotMatchesAll(const std::string& pattern) {
  return outsideClasses(pattern, [](const std::string& p, std::size_t i, std::string* out) {
    *out += p[i] == '.' ? std::string("[\\s\\S]") : std::string(1, p[i]);
    return std::size_t{1};
  });
}

// Perl's extended form: white space and comments from '#' to the line's end are dropped.
std::string withoutSpace(const std::string& pattern) {
  return outsideClasses(pattern, [](const std::string& p, std::size_t i, std::string* out) {
    if (p[i] == '#') {
      const std::size_t end = p.find('\n', i);
      return (end == std::string::npos ? p.size() : end + 1) - i;
    }
    if (p[i] != ' ' && p[i] != '\t' && p[i] != '\n' && p[i] != '\r' && p[i] != '\f' &&
        p[i] != '\v') {
      *out += p[i];
    }
    return std::size_t{1};
  });
}

struct Work {
  const std::function<void()>* work;
  StepBudget* budget;
};

void runWork(void* context) {
  const auto* w = static_cast<Work*>(context);
  const MatchBudgetScope budget(w->budget);
  (*w->work)();
}

class StdRegex : public CompiledRegex {
 public:
  StdRegex(std::regex regex, std::size_t length) : regex_(std::move(regex)), length_(length) {}

  std::size_t groups() const override { return regex_.mark_count(); }

  bool search(const char* op, const std::string& subject, std::size_t start, bool notEmptyAt,
              std::vector<std::ptrdiff_t>* spans) const override {
    Allowance allowance{0, matchUnitsAllowed()};
    const char* base = subject.c_str();
    auto flags = std::regex_constants::match_default;
    if (start > 0) flags |= std::regex_constants::match_prev_avail;
    if (notEmptyAt)
      flags |= std::regex_constants::match_not_null | std::regex_constants::match_continuous;
    Results results;
    bool found = false;
    try {
      found = std::regex_search(CountingIterator(base + start, &allowance),
                                CountingIterator(base + subject.size(), &allowance), results,
                                regex_, flags);
    } catch (const LimitReached&) {
      chargeMatchUnits(allowance.allowed);
      matchLimitReached(op, allowance.allowed);
    }
    chargeMatchUnits(allowance.used);
    if (!found) return false;
    spans->assign(2 * (groups() + 1), -1);
    for (std::size_t g = 0; g <= groups(); ++g) {
      if (!results[g].matched) continue;
      (*spans)[2 * g] = results[g].first.at() - base;
      (*spans)[2 * g + 1] = results[g].second.at() - base;
    }
    return true;
  }

  void onStackFor(const char* op, std::size_t longest,
                  const std::function<void()>& work) const override {
    if (longest <= kCallerStackLength) {
      work();
      return;
    }
    const std::size_t perCharacter =
        kStackPerCharacter + kStackPerCharacterAndPatternByte * length_;
    const std::size_t limit = (kMaxMatchStack - kStackReserve) / perCharacter;
    Work context{&work, matchBudget()};
    if (longest > limit ||
        !runOnLargeStack(kStackReserve + longest * perCharacter, runWork, &context)) {
      throw RunError{kErrFunctionArgument, std::string(op) + " of a string of " +
                                               std::to_string(longest) +
                                               " characters, more than the " +
                                               std::to_string(limit) + " this pattern may match"};
    }
  }

 private:
  std::regex regex_;
  std::size_t length_;
};

}  // namespace

std::shared_ptr<const CompiledRegex> compileRegex(const std::string& pattern,
                                                  const RegexOptions& options) {
  std::regex::flag_type flags = std::regex::ECMAScript;
  if (options.ignoreCase) flags |= std::regex::icase;
  if (options.multiline) flags |= std::regex::multiline;
  std::string text = options.ignoreSpace ? withoutSpace(pattern) : pattern;
  if (options.dotMatchesAll) text = dotMatchesAll(text);
  try {
    return std::make_shared<const StdRegex>(std::regex(text, flags), text.size());
  } catch (const std::regex_error&) {
    return nullptr;
  }
}

const char* regexEngineName() {
  return "std";
}

}  // namespace Standin
}  // namespace HDevEngineCpp
#endif
