// The system parameter 'standin_operators': every operator of the table with its signature
// and whether the stand-in implements it, for quorvex-run --operators and the tests, which
// reach the engine only through its public interfaces.
//
// get_system ('standin_operators', List) gives three elements an operator:
//   Name, Signature (empty for an implemented operator the table lacks), Status
// Status is 'implemented', 'not implemented', or, when a call written as the table says
// does not load, 'disagrees: ' and the load error.
#include <memory>
#include <string>
#include <vector>

#include "language/compiler.h"
#include "operators/display.h"
#include "operators/known_operators.h"
#include "operators/table.h"
#include "runtime/engine_errors.h"
#include "standin/controls.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

class NoProcedures : public ProcedureLookup {
 public:
  const ProcedureData* find(const std::string&) override { return nullptr; }
};

// A call of the operator with the table's parameters, each argument a variable of its kind.
std::string probeLine(const KnownOperator& known) {
  std::string line = known.name + " (";
  const char* prefixes[kGroupCount] = {"I", "O", "C", "D"};
  bool first = true;
  for (int group = 0; group < kGroupCount; ++group) {
    for (int i = 1; i <= known.count(group); ++i) {
      line += (first ? "" : ", ") + std::string(prefixes[group]) + std::to_string(i);
      first = false;
    }
  }
  return line + ")";
}

// Compiles the probe line as the engine compiles a user's line: the engine's own statements
// and the operators it runs count as implemented.
std::string statusOf(const KnownOperator& known) {
  ProcedureSource source;
  source.name = "operator_probe";
  source.lines.push_back(SourceLine{probeLine(known), false});
  std::unique_ptr<ProcedureData> procedure = declareProcedure(source, "");
  NoProcedures lookup;
  try {
    compileBody(procedure.get(), source, &lookup, CompileOptions{});
  } catch (const LoadError& error) {
    return "disagrees: " + error.detail;
  }
  const Stmt& stmt = procedure->body.at(0);
  if (stmt.kind == StmtKind::Call && stmt.callKind == CallKind::Unimplemented) {
    return "not implemented";
  }
  return "implemented";
}

std::vector<std::string> listing() {
  std::vector<std::string> rows;
  for (const KnownOperator& known : knownOperators()) {
    rows.insert(rows.end(), {known.name, known.signature(), statusOf(known)});
  }
  for (const OperatorGroup& group : allOperatorGroups()) {
    for (std::size_t i = 0; i < group.count; ++i) {
      if (!findKnownOperator(group.specs[i].name)) {
        rows.insert(rows.end(), {group.specs[i].name, "", "implemented"});
      }
    }
  }
  for (int i = 0; i < displayOperatorCount(); ++i) {
    if (!findKnownOperator(displayOperator(i).name)) {
      rows.insert(rows.end(), {displayOperator(i).name, "", "implemented"});
    }
  }
  return rows;
}

HTuple operatorListing() {
  // Operators do not change while the library is loaded.
  static const std::vector<std::string> rows = listing();
  HTuple value;
  for (const std::string& text : rows) value.Append(HTuple(text.c_str()));
  return value;
}

struct RegisterListing {
  RegisterListing() {
    HalconCpp::Standin::registerControl("standin_operators", nullptr, &operatorListing);
  }
} registerListing;

}  // namespace
}  // namespace Standin
}  // namespace HDevEngineCpp
