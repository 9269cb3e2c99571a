#include "operators/known_operators.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <unordered_map>

namespace HDevEngineCpp {
namespace Standin {

// The table's lines without comments and blank lines, generated from data/operators.txt at
// configure time (known_operators_table.cc in the build folder).
extern const char* const kKnownOperatorLines[];
extern const std::size_t kKnownOperatorLineCount;

namespace {

const char* const kIconicKinds[] = {"object", "image", "region", "xld"};
const char* const kControlKinds[] = {"integer", "real", "number", "string", "handle", "any"};

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool isIdentifier(const std::string& text) {
  if (text.empty() || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_')) {
    return false;
  }
  return std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

template <std::size_t N>
bool isOneOf(const std::string& word, const char* const (&words)[N]) {
  return std::find_if(std::begin(words), std::end(words),
                      [&](const char* known) { return word == known; }) != std::end(words);
}

bool parseGroup(const std::string& text, int group, std::vector<KnownParameter>* parameters,
                std::string* error) {
  if (trimmed(text).empty()) return true;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = trimmed(text.substr(start, comma - start));
    const auto space = item.find_first_of(" \t");
    KnownParameter parameter;
    if (space != std::string::npos) {
      parameter.kind = item.substr(0, space);
      parameter.name = trimmed(item.substr(space));
    }
    const bool iconic = group < 2;
    if (!isIdentifier(parameter.name) || !(iconic ? isOneOf(parameter.kind, kIconicKinds)
                                                  : isOneOf(parameter.kind, kControlKinds))) {
      *error =
          "parameter '" + item + "' is not '<" + (iconic ? "iconic" : "control") + " kind> <Name>'";
      return false;
    }
    parameters->push_back(parameter);
    start = comma + 1;
  }
  return true;
}

struct Table {
  std::vector<KnownOperator> operators;
  std::unordered_map<std::string, std::size_t> byName;
};

const Table& table() {
  static const Table parsed = [] {
    Table result;
    for (std::size_t i = 0; i < kKnownOperatorLineCount; ++i) {
      KnownOperator entry;
      std::string ignored;
      // The table's own test rejects a line that does not parse; at run time such a line
      // only leaves its operator unknown.
      if (!parseKnownOperator(kKnownOperatorLines[i], &entry, &ignored)) continue;
      if (result.byName.count(entry.name)) continue;
      result.byName.emplace(entry.name, result.operators.size());
      result.operators.push_back(std::move(entry));
    }
    return result;
  }();
  return parsed;
}

}  // namespace

std::string KnownOperator::signature() const {
  std::string inside;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) inside += " : ";
    for (std::size_t i = 0; i < groups[group].size(); ++i) {
      if (i > 0) inside += ", ";
      inside += groups[group][i].kind + " " + groups[group][i].name;
    }
  }
  // Empty groups leave doubled spaces: "( :  : integer N : )" reads as "( : : integer N : )".
  std::string text = name + " (";
  for (char c : inside) {
    if (!(c == ' ' && !text.empty() && text.back() == ' ')) text += c;
  }
  return text + ")";
}

bool parseKnownOperator(const std::string& line, KnownOperator* parsed, std::string* error) {
  const std::string text = trimmed(line);
  const auto open = text.find('(');
  if (open == std::string::npos || text.back() != ')') {
    *error = "expected 'name (iconic in : iconic out : control in : control out)'";
    return false;
  }
  KnownOperator entry;
  entry.name = trimmed(text.substr(0, open));
  if (!isIdentifier(entry.name)) {
    *error = "'" + entry.name + "' is no operator name";
    return false;
  }
  const std::string inside = text.substr(open + 1, text.size() - open - 2);
  std::vector<std::string> groups;
  std::size_t start = 0;
  for (auto colon = inside.find(':'); colon != std::string::npos; colon = inside.find(':', start)) {
    groups.push_back(inside.substr(start, colon - start));
    start = colon + 1;
  }
  groups.push_back(inside.substr(start));
  if (groups.size() != 4) {
    *error =
        "expected four parameter groups separated by ':', found " + std::to_string(groups.size());
    return false;
  }
  for (int group = 0; group < 4; ++group) {
    if (!parseGroup(groups[group], group, &entry.groups[group], error)) return false;
  }
  *parsed = std::move(entry);
  return true;
}

const std::vector<KnownOperator>& knownOperators() {
  return table().operators;
}

const KnownOperator* findKnownOperator(const std::string& name) {
  const Table& known = table();
  const auto found = known.byName.find(name);
  return found == known.byName.end() ? nullptr : &known.operators[found->second];
}

}  // namespace Standin
}  // namespace HDevEngineCpp
