// Every operator of the vendor's reference that a program may call, with its parameters, as
// listed in data/operators.txt and compiled into the engine. A program that calls an operator
// the stand-in does not implement still loads, its variables get their kinds from these
// parameters, and only the line itself fails when it runs.
#ifndef QUORVEX_STANDINS_HDEVENGINE_KNOWN_OPERATORS_H
#define QUORVEX_STANDINS_HDEVENGINE_KNOWN_OPERATORS_H

#include <string>
#include <vector>

namespace HDevEngineCpp {
namespace Standin {

struct KnownParameter {
  std::string kind;  // iconic: object, image, region, xld; control: see kControlKinds
  std::string name;
};

struct KnownOperator {
  std::string name;
  // Iconic inputs, iconic outputs, control inputs, control outputs (ParamGroup order).
  std::vector<KnownParameter> groups[4];

  int count(int group) const { return static_cast<int>(groups[group].size()); }
  // The reference's notation with each parameter's kind before its name:
  // "threshold (image Image : region Region : number MinGray, number MaxGray : )".
  std::string signature() const;
};

// Parses one line of the table (no comment, no blank line). On failure returns false and
// says why in `error`.
bool parseKnownOperator(const std::string& line, KnownOperator* parsed, std::string* error);

// The table in its file's order, parsed on first use.
const std::vector<KnownOperator>& knownOperators();

// The operator of that HDevelop name, or null.
const KnownOperator* findKnownOperator(const std::string& name);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
