// The matcher --batch uses on Windows, where the system's own has no bracket expressions.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "name_match.h"

#if !defined(_WIN32)
#include <fnmatch.h>
#endif

namespace quorvex::run {
namespace {

using Row = std::tuple<const char*, const char*, bool>;

void expectRows(std::initializer_list<Row> rows, LetterCase letterCase) {
  for (const auto& [pattern, name, expected] : rows)
    EXPECT_EQ(wildcardMatches(pattern, name, letterCase), expected) << pattern << " ~ " << name;
}

// clang-format off
TEST(NameMatch, WildcardsAndSets) {
  expectRows({{"img_?.png", "img_12.png", false}, {"img_0[0-3].png", "img_02.png", true},
              {"img_0[0-3].png", "img_04.png", false}, {"[!a]b", "cb", true},
              {"[^a]b", "ab", false}, {"[]a]", "]", true}, {"[a-]", "-", true},
              {"[a-", "[a-", true}, {"a\\*", "a*", false}, {"*", ".hidden", false},
              {"[.]h", ".h", false}, {".*", ".hidden", true}, {"?", "é", true},
              {"[à-ï]", "é", true}, {"*a*a*b", "xaxaxa", false}},
             LetterCase::kSensitive);
}

TEST(NameMatch, IgnoringCase) {
  expectRows({{"*.png", "IMG.PNG", true}, {"[A-C]x", "bX", true}, {"[!a-c]", "B", false},
              {"É", "é", false}},
             LetterCase::kIgnored);
}
// clang-format on

#if !defined(_WIN32)
std::vector<std::string> wordsOf(const std::string& alphabet, std::size_t longest) {
  std::vector<std::string> words{""};
  for (std::size_t from = 0; from < words.size(); ++from)
    if (words[from].size() < longest)
      for (char c : alphabet) words.push_back(words[from] + c);
  return words;
}

// Where glibc strays from POSIX, which the matcher follows: `[.` inside a set opens a
// collating symbol, which file names have no use for, and a set left open by a range running
// to the pattern's end fails the whole match instead of leaving the `[` an ordinary character.
bool beyondComparison(const std::string& pattern) {
  const std::size_t open = pattern.find('[');
  if (open == std::string::npos) return false;
  return pattern.back() == '-' || pattern.find("[.", open + 1) != std::string::npos;
}

TEST(NameMatch, AgreesWithFnmatch) {
  const std::vector<std::string> names = wordsOf("ab.[]!^-*?", 3);
  int disagreements = 0;
  for (const std::string& pattern : wordsOf("ab.[]!^-*?", 4)) {
    if (beyondComparison(pattern)) continue;
    for (const std::string& name : names) {
      const bool expected = fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0;
      if (wildcardMatches(pattern, name, LetterCase::kSensitive) == expected) continue;
      ADD_FAILURE() << pattern << " ~ " << name << " should be " << expected;
      if (++disagreements == 10) return;
    }
  }
}
#endif

TEST(NameMatch, ManyStarsNeverBacktrackExponentially) {
  const std::string name(20000, 'a');
  EXPECT_FALSE(wildcardMatches("*a*a*a*a*a*a*a*a*a*a*a*a*b", name, LetterCase::kSensitive));
}

}  // namespace
}  // namespace quorvex::run
