// System / Information: what the operator table (data/operators.txt) and the chapter table
// (data/chapters.txt) know about the operators, through the vendor's eleven query
// operators. The online texts the vendor's library carries (short and long descriptions,
// keywords, examples) are not in the tables; those slots answer with an empty tuple
// (docs/standins.md, "Operator information").
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "operators/known_operators.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {

extern const char* const kKnownChapterLines[];
extern const std::size_t kKnownChapterLineCount;

namespace {

using HalconCpp::HException;
using HalconCpp::HTuple;

// get_operator_info's slots, in the order query_operator_info lists them.
const char* const kOperatorSlots[] = {
    "short",      "abstract",     "chapter",         "functionality", "keywords",   "example",
    "complexity", "effect",       "parallelization", "method",        "references", "module",
    "html_path",  "warning",      "attention",       "result",        "parameter",  "predecessor",
    "successor",  "alternatives", "see_also"};

// get_param_info's slots, in the order query_param_info lists them.
const char* const kParamSlots[] = {
    "description",   "parameter_class", "type_list",   "default_type", "sem_type",
    "default_value", "values",          "value_list",  "valuemin",     "valuemax",
    "valuenumber",   "assertion",       "steprec",     "steplim",      "value_function",
    "mixed_type",    "multivalue",      "multichannel"};

const char* const kParameterClasses[] = {"input_object", "output_object", "input_control",
                                         "output_control"};

template <std::size_t N>
bool isOneOf(const std::string& word, const char* const (&words)[N]) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

template <std::size_t N>
HTuple tupleOf(const char* const (&words)[N]) {
  HTuple tuple;
  for (const char* word : words) tuple.Append(HTuple(word));
  return tuple;
}

HTuple tupleOf(const std::vector<std::string>& words) {
  HTuple tuple;
  for (const std::string& word : words) tuple.Append(HTuple(word.c_str()));
  return tuple;
}

// One string in control input `index` (1-based), else 140x or 120x.
std::string oneText(const HTuple& value, const char* op, int index) {
  if (value.Length() != 1) throw HException::ForOperator(op, 1400 + index);
  if (value[0].Type() != HalconCpp::eElementTypeString) {
    throw HException::ForOperator(op, 1200 + index);
  }
  return value[0].S().Text();
}

// The operator named by control input 1; an unknown name is a wrong value of it.
const KnownOperator& operatorOf(const HTuple& name, const char* op) {
  const KnownOperator* known = findKnownOperator(oneText(name, op, 1));
  if (!known) throw HException::ForOperator(op, 1301);
  return *known;
}

// The vendor's type names of a control kind: handles are integers in 11.0.
std::string defaultType(const std::string& kind) {
  return kind == "handle" ? "integer" : kind;
}

HTuple typeList(const std::string& kind) {
  if (kind == "number") return HTuple("integer").Append(HTuple("real"));
  if (kind == "any") return HTuple("integer").Append(HTuple("real")).Append(HTuple("string"));
  return HTuple(defaultType(kind).c_str());
}

struct Chapters {
  // Chapter -> section -> operators, each as the table lists them.
  std::map<std::string, std::map<std::string, std::vector<std::string>>> tree;
  std::map<std::string, std::vector<std::string>> pathOf;  // operator -> [chapter, section]
};

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "Chapter / Section : count : names"; the table's own test checks the lines' form.
const Chapters& chapters() {
  static const Chapters parsed = [] {
    Chapters result;
    for (std::size_t i = 0; i < kKnownChapterLineCount; ++i) {
      const std::string line = kKnownChapterLines[i];
      const auto colon = line.find(':');
      const auto second = line.find(':', colon + 1);
      const std::string path = line.substr(0, colon);
      const auto slash = path.find(" / ");
      if (colon == std::string::npos || second == std::string::npos || slash == std::string::npos) {
        continue;
      }
      const std::string chapter = trimmed(path.substr(0, slash));
      const std::string section = trimmed(path.substr(slash + 3));
      std::vector<std::string>& names = result.tree[chapter][section];
      std::string rest = line.substr(second + 1) + " ";
      for (std::size_t start = 0, end; (end = rest.find(' ', start)) != std::string::npos;
           start = end + 1) {
        if (end == start) continue;
        names.push_back(rest.substr(start, end - start));
        result.pathOf.emplace(names.back(), std::vector<std::string>{chapter, section});
      }
    }
    return result;
  }();
  return parsed;
}

std::vector<std::string> parameterNames(const KnownOperator& known) {
  std::vector<std::string> names;
  for (const auto& group : known.groups) {
    for (const KnownParameter& parameter : group) names.push_back(parameter.name);
  }
  return names;
}

void getOperatorInfo(const OperatorArgs& args) {
  const char* op = "get_operator_info";
  const KnownOperator& known = operatorOf(*args.ctrlIn[0], op);
  const std::string slot = oneText(*args.ctrlIn[1], op, 2);
  if (!isOneOf(slot, kOperatorSlots)) throw HException::ForOperator(op, 1302);
  HTuple information;
  if (slot == "parameter") {
    information = tupleOf(parameterNames(known));
  } else if (slot == "chapter") {
    const auto found = chapters().pathOf.find(known.name);
    if (found != chapters().pathOf.end()) information = tupleOf(found->second);
  }
  *args.ctrlOut[0] = information;
}

void getOperatorName(const OperatorArgs& args) {
  const std::string pattern = oneText(*args.ctrlIn[0], "get_operator_name", 1);
  std::vector<std::string> names;
  for (const KnownOperator& known : knownOperators()) {
    if (known.name.find(pattern) != std::string::npos) names.push_back(known.name);
  }
  std::sort(names.begin(), names.end());
  *args.ctrlOut[0] = tupleOf(names);
}

void getParamInfo(const OperatorArgs& args) {
  const char* op = "get_param_info";
  const KnownOperator& known = operatorOf(*args.ctrlIn[0], op);
  const std::string name = oneText(*args.ctrlIn[1], op, 2);
  const std::string slot = oneText(*args.ctrlIn[2], op, 3);
  int group = -1;
  const KnownParameter* parameter = nullptr;
  for (int g = 0; g < 4 && !parameter; ++g) {
    for (const KnownParameter& candidate : known.groups[g]) {
      if (candidate.name == name) {
        parameter = &candidate;
        group = g;
        break;
      }
    }
  }
  if (!parameter) throw HException::ForOperator(op, 1302);
  if (!isOneOf(slot, kParamSlots)) throw HException::ForOperator(op, 1303);
  const bool iconic = group < 2;
  HTuple information;
  if (slot == "parameter_class") {
    information = HTuple(kParameterClasses[group]);
  } else if (slot == "sem_type" && iconic) {
    information = HTuple(parameter->kind.c_str());
  } else if (slot == "default_type" && !iconic) {
    information = HTuple(defaultType(parameter->kind).c_str());
  } else if (slot == "type_list" && !iconic) {
    information = typeList(parameter->kind);
  } else if (slot == "mixed_type" && !iconic) {
    information = HTuple(parameter->kind == "any" ? "true" : "false");
  }
  *args.ctrlOut[0] = information;
}

void getParamNames(const OperatorArgs& args) {
  const KnownOperator& known = operatorOf(*args.ctrlIn[0], "get_param_names");
  for (int group = 0; group < 4; ++group) {
    std::vector<std::string> names;
    for (const KnownParameter& parameter : known.groups[group]) names.push_back(parameter.name);
    *args.ctrlOut[group] = tupleOf(names);
  }
}

void getParamNum(const OperatorArgs& args) {
  const KnownOperator& known = operatorOf(*args.ctrlIn[0], "get_param_num");
  // The operator's function in the vendor's C interface carries the operator's own name.
  *args.ctrlOut[0] = HTuple(known.name.c_str());
  for (int group = 0; group < 4; ++group) {
    *args.ctrlOut[group + 1] = HTuple(static_cast<HalconCpp::Hlong>(known.count(group)));
  }
  const bool iconic = known.count(0) + known.count(1) > 0;
  *args.ctrlOut[5] = HTuple(iconic ? "iconic" : "non iconic");
}

void getParamTypes(const OperatorArgs& args) {
  const KnownOperator& known = operatorOf(*args.ctrlIn[0], "get_param_types");
  for (int group = 2; group < 4; ++group) {
    std::vector<std::string> types;
    for (const KnownParameter& parameter : known.groups[group]) {
      types.push_back(defaultType(parameter.kind));
    }
    *args.ctrlOut[group - 2] = tupleOf(types);
  }
}

void queryOperatorInfo(const OperatorArgs& args) {
  *args.ctrlOut[0] = tupleOf(kOperatorSlots);
}

void queryParamInfo(const OperatorArgs& args) {
  *args.ctrlOut[0] = tupleOf(kParamSlots);
}

// Keywords are texts of the vendor's online help, which the tables do not hold: no operator
// has any, so no keyword finds one.
void searchOperator(const OperatorArgs& args) {
  oneText(*args.ctrlIn[0], "search_operator", 1);
  *args.ctrlOut[0] = HTuple();
}

void getKeywords(const OperatorArgs& args) {
  const char* op = "get_keywords";
  // '' asks for every keyword there is.
  if (oneText(*args.ctrlIn[0], op, 1) != "") operatorOf(*args.ctrlIn[0], op);
  *args.ctrlOut[0] = HTuple();
}

// '' (or no value) lists the chapters; a chapter lists its sections, a chapter with its
// section the section's operators.
void getChapterInfo(const OperatorArgs& args) {
  const char* op = "get_chapter_info";
  const HTuple& chapter = *args.ctrlIn[0];
  if (chapter.Length() > 2) throw HException::ForOperator(op, 1401);
  std::vector<std::string> path;
  for (HalconCpp::Hlong i = 0; i < chapter.Length(); ++i) {
    if (chapter[i].Type() != HalconCpp::eElementTypeString) {
      throw HException::ForOperator(op, 1201);
    }
    path.push_back(chapter[i].S().Text());
  }
  if (path.size() == 1 && path[0].empty()) path.clear();
  const auto& tree = chapters().tree;
  std::vector<std::string> names;
  if (path.empty()) {
    for (const auto& entry : tree) names.push_back(entry.first);
  } else {
    const auto found = tree.find(path[0]);
    if (found == tree.end()) throw HException::ForOperator(op, 1301);
    if (path.size() == 1) {
      for (const auto& entry : found->second) names.push_back(entry.first);
    } else {
      const auto section = found->second.find(path[1]);
      if (section == found->second.end()) throw HException::ForOperator(op, 1301);
      names = section->second;
    }
  }
  *args.ctrlOut[0] = tupleOf(names);
}

constexpr OperatorSpec kInformationOperators[] = {
    {"get_operator_info", 0, 0, 2, 1, getOperatorInfo},
    {"get_operator_name", 0, 0, 1, 1, getOperatorName},
    {"get_param_info", 0, 0, 3, 1, getParamInfo},
    {"get_param_names", 0, 0, 1, 4, getParamNames},
    {"get_param_num", 0, 0, 1, 6, getParamNum},
    {"get_param_types", 0, 0, 1, 2, getParamTypes},
    {"query_operator_info", 0, 0, 0, 1, queryOperatorInfo},
    {"query_param_info", 0, 0, 0, 1, queryParamInfo},
    {"search_operator", 0, 0, 1, 1, searchOperator},
    {"get_keywords", 0, 0, 1, 1, getKeywords},
    {"get_chapter_info", 0, 0, 1, 1, getChapterInfo},
};

}  // namespace

OperatorGroup informationOperators() {
  return {kInformationOperators, sizeof kInformationOperators / sizeof kInformationOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
