#include "operators/table.h"

#include <cctype>
#include <map>

namespace HDevEngineCpp {
namespace Standin {

const OperatorSpec* findOperator(const std::string& hdevelopName) {
  // Built once, on first use: the groups are fixed when the library is built.
  static const std::map<std::string, const OperatorSpec*> byName = [] {
    std::map<std::string, const OperatorSpec*> names;
    for (const OperatorGroup& group : allOperatorGroups()) {
      for (std::size_t i = 0; i < group.count; ++i)
        names.emplace(group.specs[i].name, &group.specs[i]);
    }
    return names;
  }();
  const auto it = byName.find(hdevelopName);
  return it == byName.end() ? nullptr : it->second;
}

std::string faultNameOf(const char* hdevelopName) {
  std::string name;
  bool wordStart = true;
  for (const char* c = hdevelopName; *c; ++c) {
    if (*c == '_') {
      wordStart = true;
      continue;
    }
    name.push_back(wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c)))
                             : *c);
    wordStart = false;
  }
  return name;
}

}  // namespace Standin
}  // namespace HDevEngineCpp
