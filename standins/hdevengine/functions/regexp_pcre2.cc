// The regular expression functions' patterns matched by PCRE2, the library whose syntax the
// vendor's reference describes. PCRE2 counts its backtracking against a match limit; the
// limit starts small and grows fourfold while a string needs more, so a string is charged
// at most about five times what it cost, and a cheap one costs a fraction of a step.
#ifdef QUORVEX_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "functions/regexp_engine.h"
#include "runtime/engine_errors.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

constexpr std::uint64_t kFirstMatchLimit = 16;
// The backtracking frames one string's match may hold: a subject of some hundred thousand
// characters under a repeated group.
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;

template <typename T, void (*Free)(T*)>
struct Freed {
  void operator()(T* p) const { Free(p); }
};
using Code = std::unique_ptr<pcre2_code, Freed<pcre2_code, pcre2_code_free>>;
using MatchData = std::unique_ptr<pcre2_match_data, Freed<pcre2_match_data, pcre2_match_data_free>>;
using MatchContext =
    std::unique_ptr<pcre2_match_context, Freed<pcre2_match_context, pcre2_match_context_free>>;
using CompileContext = std::unique_ptr<pcre2_compile_context,
                                       Freed<pcre2_compile_context, pcre2_compile_context_free>>;

std::string errorText(int code) {
  PCRE2_UCHAR buffer[256];
  if (pcre2_get_error_message(code, buffer, sizeof buffer) < 0) return std::to_string(code);
  return reinterpret_cast<const char*>(buffer);
}

// One match context and match data a thread, kept: a global replace with an empty pattern
// matches at every position of a long subject, and allocating them for each match took most
// of its time.
struct Buffers {
  MatchContext context;
  MatchData data;
  std::size_t pairs = 0;
};

Buffers& buffersFor(std::size_t groups) {
  thread_local Buffers buffers;
  if (!buffers.context) {
    buffers.context.reset(pcre2_match_context_create(nullptr));
    if (!buffers.context) throw std::bad_alloc();
    pcre2_set_heap_limit(buffers.context.get(), kHeapLimitKiB);
  }
  if (!buffers.data || buffers.pairs < groups + 1) {
    buffers.data.reset(pcre2_match_data_create(static_cast<std::uint32_t>(groups + 1), nullptr));
    if (!buffers.data) throw std::bad_alloc();
    buffers.pairs = groups + 1;
  }
  return buffers;
}

class Pcre2Regex : public CompiledRegex {
 public:
  explicit Pcre2Regex(Code code) : code_(std::move(code)) {
    std::uint32_t count = 0;
    pcre2_pattern_info(code_.get(), PCRE2_INFO_CAPTURECOUNT, &count);
    groups_ = count;
  }

  std::size_t groups() const override { return groups_; }

  // PCRE2 keeps its backtracking on the heap.
  void onStackFor(const char*, std::size_t, const std::function<void()>& work) const override {
    work();
  }

  bool search(const char* op, const std::string& subject, std::size_t start, bool notEmptyAt,
              std::vector<std::ptrdiff_t>* spans) const override {
    Buffers& buffers = buffersFor(groups_);
    pcre2_match_data* data = buffers.data.get();
    pcre2_match_context* context = buffers.context.get();
    const std::uint32_t options = notEmptyAt ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    const std::uint64_t allowed = matchUnitsAllowed();
    std::uint64_t limit = kFirstMatchLimit;
    int rc = 0;
    for (;;) {
      limit = std::min(limit, allowed);
      pcre2_set_match_limit(context, static_cast<std::uint32_t>(limit));
      pcre2_set_depth_limit(context, static_cast<std::uint32_t>(limit));
      rc = pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                       start, options, data, context);
      if (rc != PCRE2_ERROR_MATCHLIMIT && rc != PCRE2_ERROR_DEPTHLIMIT) break;
      chargeMatchUnits(limit);
      if (limit == allowed) matchLimitReached(op, allowed);
      limit *= 4;
    }
    chargeMatchUnits(limit);
    if (rc == PCRE2_ERROR_NOMATCH) return false;
    if (rc < 0) {
      throw RunError{kErrFunctionArgument, std::string(op) + " of a string of " +
                                               std::to_string(subject.size()) +
                                               " characters: " + errorText(rc)};
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    spans->assign(2 * (groups_ + 1), -1);
    for (std::size_t i = 0; i < 2 * (groups_ + 1) && i < 2 * static_cast<std::size_t>(rc); ++i) {
      if (ovector[i] != PCRE2_UNSET) (*spans)[i] = static_cast<std::ptrdiff_t>(ovector[i]);
    }
    return true;
  }

 private:
  Code code_;
  std::size_t groups_ = 0;
};

}  // namespace

std::shared_ptr<const CompiledRegex> compileRegex(const std::string& pattern,
                                                  const RegexOptions& options) {
  std::uint32_t flags = 0;
  if (options.ignoreCase) flags |= PCRE2_CASELESS;
  if (options.multiline) flags |= PCRE2_MULTILINE;
  if (options.dotMatchesAll) flags |= PCRE2_DOTALL;
  if (options.ignoreSpace) flags |= PCRE2_EXTENDED;
  const CompileContext context(pcre2_compile_context_create(nullptr));
  if (!context) throw std::bad_alloc();
  switch (options.newline) {
    case RegexOptions::Newline::kLf:
      pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
      break;
    case RegexOptions::Newline::kCr:
      pcre2_set_newline(context.get(), PCRE2_NEWLINE_CR);
      break;
    case RegexOptions::Newline::kCrLf:
      pcre2_set_newline(context.get(), PCRE2_NEWLINE_CRLF);
      break;
  }
  int error = 0;
  PCRE2_SIZE offset = 0;
  Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags,
                          &error, &offset, context.get()));
  if (!code) return nullptr;
  return std::make_shared<const Pcre2Regex>(std::move(code));
}

const char* regexEngineName() {
  return "pcre2";
}

}  // namespace Standin
}  // namespace HDevEngineCpp
#endif
